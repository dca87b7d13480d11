// A handle's owner releases each handle it held exactly once: when replaced,
// reset or gone, never when it gives the handle up or moves it on.
#include <gtest/gtest.h>

#include <vector>

#include "win32/Owner.h"

namespace quorvane::win32 {
namespace {

std::vector<int> g_released;
void Release(int handle) { g_released.push_back(handle); }
using Handle = Owned<int, Release>;

TEST(Owned, ReleasesWhatItHeldOnceAndNothingElse) {
  struct Row {
    const char* what;
    void (*act)();
    std::vector<int> released;
  } rows[] = {
      {"moved over a held handle",
       [] {
         Handle a(1), b(2);
         a = std::move(b);
       },
       {1, 2}},
      {"moved over nothing",
       [] {
         Handle a, b(2);
         a = std::move(b);
       },
       {2}},
      {"moved onto itself",
       [] {
         Handle a(1);
         Handle& same = a;
         a = std::move(same);
       },
       {1}},
      {"moved into a new owner", [] { Handle a(1), b(std::move(a)); }, {1}},
      {"reset to another",
       [] {
         Handle a(1);
         a.Reset(3);
       },
       {1, 3}},
      {"written anew",
       [] {
         Handle a(1);
         *a.out() = 4;
       },
       {1, 4}},
      {"given up",
       [] {
         Handle a(1);
         a.Forget();
       },
       {}},
  };
  for (const Row& r : rows) {
    g_released.clear();
    r.act();
    EXPECT_EQ(g_released, r.released) << r.what;
  }
}

}  // namespace
}  // namespace quorvane::win32
