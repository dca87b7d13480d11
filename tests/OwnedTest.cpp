// A handle's owner releases each handle it held exactly once: when replaced
// or gone, never when it moves the handle on or gives it up.
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
    int held, moved;  // 0: nothing, -1: the owner itself, moved onto itself
    std::vector<int> released;
  } rows[] = {{"a handle moved over a held one", 1, 2, {1, 2}},
              {"a handle moved over nothing", 0, 2, {2}},
              {"a held handle moved onto itself", 1, -1, {1}}};
  for (const Row& r : rows) {
    g_released.clear();
    {
      Handle owner(r.held), other(r.moved > 0 ? r.moved : 0);
      owner = std::move(r.moved < 0 ? owner : other);
    }
    EXPECT_EQ(g_released, r.released) << r.what;
  }
  g_released.clear();
  { Handle(3).Forget(); }
  EXPECT_TRUE(g_released.empty()) << "given up";
}

}  // namespace
}  // namespace quorvane::win32
