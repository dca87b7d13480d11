// A long session of real use: Quorvane.exe driven from outside, as a user
// would, with random presses, while the same presses run through the
// portable command logic here. After every press the window must show what
// the logic shows, with exactly the message boxes the logic asks for, and it
// must still answer. At the end the program's windows, handles and memory
// must not have grown with the number of presses.
//
// QUORVANE_SOAK_PRESSES sets how many presses (default 600, about a minute), and
// QUORVANE_SOAK_SEED the random seed (default: from the clock, printed, so a
// failing run can be replayed).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "tests/FakeForm1View.h"
#include "tests/soak/ProcessProbe.h"
#include "tests/win/WinTestSupport.h"
#include "ui/Form1Commands.h"
#include "ui/Form1Layout.h"

namespace quorvane::testing {
namespace {

// A megabyte of text, a million characters: about the most that Wine passes
// in one message between processes (just under 2 MiB of data).
constexpr std::size_t kMegabyte = 1000000;

std::wstring Short(const std::wstring& s) {
  if (s.size() <= 40) return s;
  return s.substr(0, 30) + L"...(" + std::to_wstring(s.size()) + L" chars)";
}

// Random texts for the boxes: numbers in the user's notation, edges of the
// notation and of the double range, garbage, and very long texts.
class Texts {
 public:
  Texts(std::mt19937_64& random, std::wstring sep) : random_(random), sep_(std::move(sep)) {}

  std::wstring Any() {
    switch (Pick(20)) {
      case 0:
        return L"";
      case 1:
      case 2:
        return Edge();
      case 3:
      case 4:
        return Garbage();
      case 5:
        return Long();
      default:
        return Number();
    }
  }
  std::wstring Number() {
    std::wstring digits = std::to_wstring(Pick(100000));
    std::wstring text;
    switch (Pick(4)) {
      case 0:
        text = digits;
        break;
      case 1:
        text = digits + sep_ + std::to_wstring(Pick(1000));
        break;
      case 2:
        text = sep_ + std::to_wstring(Pick(1000));
        break;
      default:
        text = digits.substr(0, 1) + sep_ + digits.substr(1) + Exponent();
        break;
    }
    const wchar_t* signs[] = {L"", L"", L"-", L"+"};
    text = signs[Pick(4)] + text;
    if (Pick(10) == 0) text = L"  " + text + L" ";
    return text;
  }
  std::wstring Edge() {
    const std::wstring edges[] = {L"0",
                                  L"-0",
                                  L"+0",
                                  L"1E308",
                                  L"-1E308",
                                  L"1" + sep_ + L"7976931348623157E308",
                                  L"1" + sep_ + L"7976931348623159E308",
                                  L"1E309",
                                  L"-1E400",
                                  L"1E-400",
                                  L"4" + sep_ + L"9E-324",
                                  L"2" + sep_ + L"2250738585072014E-308",
                                  L"1E-200",
                                  L"1E200",
                                  L"1E154",
                                  L"9" + sep_ + L"999999999999999E22",
                                  L"1e+5",
                                  L"1E-0",
                                  L"5" + sep_,
                                  sep_ + L"5",
                                  L"1" + std::wstring(400, L'0'),
                                  L"0" + sep_ + std::wstring(400, L'0') + L"1",
                                  L"90",
                                  L"180",
                                  L"-180",
                                  L"270",
                                  L"360",
                                  L"1E6",
                                  L"0" + sep_ + L"0005",
                                  L"-0" + sep_ + L"0005",
                                  L"0" + sep_ + L"00049999"};
    return edges[Pick(std::size(edges))];
  }
  std::wstring Garbage() {
    const std::wstring garbage[] = {
        L"abc", L"1.2.3", L"1,2,3", L"--1",    L"+-1",    L"1e",  L"e5",  L"E",   L".",   L",",
        L"1 2", L"0x10",  L"1E5.5", L"\u00bd", L"\u0661", L"1\t", L"inf", L"NaN", L"1d5", L"(1)"};
    if (Pick(2)) return garbage[Pick(std::size(garbage))];
    const wchar_t alphabet[] = L"0123456789+-eE .,x";
    std::wstring text;
    for (int n = 1 + Pick(8); n > 0; --n) text += alphabet[Pick(std::size(alphabet) - 1)];
    return text;
  }
  // Up to a megabyte: letters (a data-entry error), or a number padded with
  // blanks or digits.
  std::wstring Long() {
    const std::size_t length = 1 + static_cast<std::size_t>(random_() % kMegabyte);
    switch (Pick(3)) {
      case 0:
        return std::wstring(length, L'x');
      case 1:
        return L"1" + std::wstring(length - 1, L' ');
      // Long runs of digits are slow in Wine's edit control, so they stay short.
      default:
        return std::wstring(std::min<std::size_t>(length, 3000), L'7');
    }
  }
  int Pick(std::size_t n) { return static_cast<int>(random_() % n); }

 private:
  std::wstring Exponent() {
    const wchar_t* marks[] = {L"E", L"e", L"E+", L"E-", L"e-"};
    return marks[Pick(5)] + std::to_wstring(Pick(330));
  }
  std::mt19937_64& random_;
  std::wstring sep_;
};

struct Tally {
  std::map<std::string, int> presses;
  std::map<std::wstring, int> messages;  // by title as the user sees it
  int mismatches = 0;
  int unexpectedBoxes = 0;
  int hangs = 0;
  double longestLongInputMs = 0;  // a press with a text of 512K chars or more
  int longInputPresses = 0;
};

class Soak {
 public:
  Soak(std::uint64_t seed, std::wstring sep)
      : random_(seed), texts_(random_, sep), commands_(mirror_, sep) {}

  bool Start() {
    if (!process_.Start(ThisFolder() + L"\\Quorvane.exe")) return Fail("cannot start");
    WaitFor(
        [&] {
          return (form_ = FindProcessWindow(process_.pid(), L"QuorvaneForm1", nullptr)) != nullptr;
        },
        "the main window");
    if (!form_) return Fail("no main window");
    for (const ControlRow& row : kForm1Controls) {
      HWND parent = row.container == ControlId::None
                        ? form_
                        : GetDlgItem(form_, static_cast<int>(row.container));
      controls_[row.id] = GetDlgItem(parent, static_cast<int>(row.id));
      if (!controls_[row.id]) return Fail("a control is missing");
    }
    watcher_ = std::make_unique<MessageBoxWatcher>(IDOK, process_.pid());
    commands_.Form_Load();
    return Check("start", 0);
  }

  bool Press() {
    const int kind = texts_.Pick(100);
    if (kind < 45) return Execute();
    if (kind < 55) return SwitchForm();
    if (kind < 60) return ClearInputs();
    if (kind < 75) return Copy();
    if (kind < 85) return TypeInto(ResultBox());
    if (kind < 98) return TypeInto(InputBox());
    return About();
  }

  // Warm-up: every kind of press once, and a megabyte text in every box
  // that takes one, so that each edit control's buffer has met the largest
  // text of the run before the first measurement.
  bool WarmUp() {
    for (Field field : EditBoxes()) {
      if (!SetText(field, std::wstring(kMegabyte, L'x'))) return false;
    }
    if (!Execute(false) || !About() || !SwitchForm() || !Copy() || !ClearInputs()) return false;
    for (int i = 0; i < 30; ++i) {
      if (!Press()) return false;
    }
    return true;
  }

  // Empties every box (Clear Inputs for the inputs), so that measurements
  // compare like with like.
  Footprint Measure() {
    ClearInputs();
    for (Field field : EditBoxes()) SetText(field, L"");
    Check("emptying the boxes", mirror_.messages.size());
    QueueRoundTrip(Control(Field::txtRealA));
    return quorvane::testing::Measure(process_.handle(), process_.pid());
  }

  // Closes the program as a user does and checks it ends.
  bool Close() {
    watcher_->Clear();
    PostMessageW(form_, WM_CLOSE, 0, 0);
    DWORD code = 1;
    if (!process_.WaitExit(&code)) return Fail("did not end after the close question");
    const std::vector<SeenBox> seen = watcher_->Seen();
    if (seen.size() != 1 || seen[0].title != L"Quorvane Shutting Down") {
      return Fail("the close question was not asked once");
    }
    return code == 0 || Fail("ended with a failure code");
  }

  Tally tally;
  std::string failure;

 private:
  static Field InputField(int i) { return static_cast<Field>(i); }
  static std::vector<Field> EditBoxes() {
    std::vector<Field> boxes;
    for (int i = 0; i < 4; ++i) boxes.push_back(InputField(i));
    for (int i = 0; i < 16; ++i) {
      boxes.push_back(static_cast<Field>(static_cast<int>(Field::txtQuotientReal) + i));
    }
    return boxes;
  }
  Field InputBox() { return InputField(texts_.Pick(4)); }
  Field ResultBox() {
    return static_cast<Field>(static_cast<int>(Field::txtQuotientReal) + texts_.Pick(16));
  }
  HWND Control(Field field) { return controls_[RowOf(field).id]; }

  bool Fail(const std::string& what) {
    if (failure.empty()) failure = what;
    return false;
  }

  bool SetText(Field field, const std::wstring& text) {
    DWORD_PTR ignored;
    if (!SendMessageTimeoutW(Control(field), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                             SMTO_NORMAL, DeadlineMs(), &ignored)) {
      std::fprintf(stderr, "WM_SETTEXT of %zu chars failed: %lu\n", text.size(), GetLastError());
      ++tally.hangs;
      return Fail("a box did not take its text");
    }
    mirror_[field] = text;
    return true;
  }

  // Types a short text key by key, as a user would.
  bool Type(Field field, const std::wstring& text) {
    if (!SetText(field, L"")) return false;
    for (wchar_t c : text) {
      DWORD_PTR ignored;
      if (!SendMessageTimeoutW(Control(field), WM_CHAR, c, 1, SMTO_NORMAL, DeadlineMs(),
                               &ignored)) {
        ++tally.hangs;
        return Fail("a box did not take a key");
      }
    }
    mirror_[field] = text;
    return true;
  }

  bool Click(ControlId id) {
    DWORD_PTR ignored;
    if (!SendMessageTimeoutW(controls_[id], BM_CLICK, 0, 0, SMTO_NORMAL, DeadlineMs(), &ignored)) {
      ++tally.hangs;
      return Fail("a click was not answered");
    }
    return true;
  }

  bool TypeInto(Field field) {
    const std::wstring text = texts_.Any();
    const bool printable =
        std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L' '; });
    const bool typed = printable && text.size() <= 12 && texts_.Pick(3) == 0;
    tally.presses[typed ? "keys typed into a box" : "text put into a box"]++;
    if (!(typed ? Type(field, text) : SetText(field, text))) return false;
    return Check("text into a box", mirror_.messages.size());
  }

  bool Execute(bool newInputs = true) {
    tally.presses["Execute Operations"]++;
    if (newInputs) {
      for (int i = 0; i < 4; ++i) {
        if (texts_.Pick(10) < 7 && !SetText(InputField(i), texts_.Any())) return false;
      }
    }
    std::size_t longest = 0;
    for (int i = 0; i < 4; ++i) longest = std::max(longest, mirror_[InputField(i)].size());
    const std::size_t before = mirror_.messages.size();
    commands_.cmdExecute_Click();
    watcher_->Clear();
    const auto start = std::chrono::steady_clock::now();
    if (!Click(ControlId::cmdExecute)) return false;
    if (longest >= kMegabyte / 2) {
      tally.longestLongInputMs = std::max(tally.longestLongInputMs, MillisecondsSince(start));
      ++tally.longInputPresses;
    }
    return Check("Execute Operations", before);
  }

  bool SwitchForm() {
    tally.presses["Rectangular/Polar"]++;
    const OptionGroup group = texts_.Pick(2) ? OptionGroup::optA : OptionGroup::optB;
    const int item = texts_.Pick(2);
    if (!Click(RowOf(group, item).id)) return false;
    mirror_.Select(group, item);
    return Check("Rectangular/Polar", mirror_.messages.size());
  }

  bool ClearInputs() {
    tally.presses["Clear Inputs"]++;
    commands_.cmdClearInput_Click();
    return Click(ControlId::cmdClearInput) && Check("Clear Inputs", mirror_.messages.size());
  }

  bool Copy() {
    tally.presses["Copy"]++;
    const ResultRow row = static_cast<ResultRow>(texts_.Pick(4));
    const ControlId buttons[] = {ControlId::cmdCopyQuotient, ControlId::cmdCopyProduct,
                                 ControlId::cmdCopySum, ControlId::cmdCopyDifference};
    commands_.CopyResultToInput(row);
    return Click(buttons[static_cast<int>(row)]) && Check("Copy", mirror_.messages.size());
  }

  bool About() {
    tally.presses["About opened and closed"]++;
    PostMessageW(form_, WM_COMMAND, static_cast<WPARAM>(MenuId::mnuAbout), 0);
    HWND about = nullptr;
    if (!WaitFor(
            [&] {
              return (about = FindProcessWindow(process_.pid(), nullptr, L"About Quorvane")) !=
                     nullptr;
            },
            "the About box")) {
      return Fail("the About box did not open");
    }
    if (IsWindowEnabled(form_)) return Fail("the main window took input under the About box");
    PostMessageW(about, WM_COMMAND, texts_.Pick(2) ? IDOK : IDCANCEL, 0);
    if (!WaitFor([&] { return !IsWindowVisible(about) && IsWindowEnabled(form_); },
                 "the About box to close")) {
      return Fail("the About box did not close");
    }
    return Check("About", mirror_.messages.size());
  }

  // The invariant after a press: the program runs and answers, the boxes it
  // showed are the ones the logic asked for, and every text and option is
  // the logic's.
  bool Check(const char* press, std::size_t messagesBefore) {
    if (!process_.Running()) return Fail(std::string("the program ended after ") + press);
    DWORD_PTR ignored;
    if (!SendMessageTimeoutW(form_, WM_NULL, 0, 0, SMTO_NORMAL, DeadlineMs(), &ignored)) {
      ++tally.hangs;
      return Fail(std::string("the window did not answer after ") + press);
    }
    const std::vector<SeenBox> seen = watcher_->Seen();
    watcher_->Clear();
    const std::size_t expected = mirror_.messages.size() - messagesBefore;
    bool same = seen.size() == expected;
    for (std::size_t i = 0; same && i < expected; ++i) {
      const ShownMessage& m = mirror_.messages[messagesBefore + i];
      const std::wstring title = m.title.empty() ? L"Quorvane" : m.title;
      same = seen[i].prompt == m.prompt && seen[i].title == title && seen[i].hasOk &&
             !seen[i].hasCancel && !seen[i].hasIcon;
    }
    for (const SeenBox& box : seen) tally.messages[box.title]++;
    if (!same) {
      ++tally.unexpectedBoxes;
      std::fprintf(stderr, "after %s: %zu boxes seen, %zu expected\n", press, seen.size(),
                   expected);
      for (const SeenBox& box : seen) {
        std::fprintf(stderr, "  seen: %ls / %ls\n", box.title.c_str(), Short(box.prompt).c_str());
      }
      return Fail("the message boxes were not the ones the input calls for");
    }
    for (int f = 0; f < kFieldCount; ++f) {
      const Field field = static_cast<Field>(f);
      bool answered = false;
      const std::wstring shown = RemoteText(Control(field), &answered, DeadlineMs());
      if (!answered) return Fail("a box did not give its text");
      if (shown != mirror_[field]) {
        if (++tally.mismatches <= 5) {
          std::fprintf(stderr, "after %s: %ls shows \"%ls\", the logic \"%ls\"\n", press,
                       RowOf(field).name, Short(shown).c_str(), Short(mirror_[field]).c_str());
        }
        mirror_[field] = shown;  // go on from what the window shows
      }
    }
    for (OptionGroup group : {OptionGroup::optA, OptionGroup::optB}) {
      for (int item : {0, 1}) {
        DWORD_PTR state = 0;
        SendMessageTimeoutW(controls_[RowOf(group, item).id], BM_GETCHECK, 0, 0, SMTO_NORMAL,
                            DeadlineMs(), &state);
        if ((state == BST_CHECKED) != mirror_.IsSelected(group, item)) {
          ++tally.mismatches;
          std::fprintf(stderr, "after %s: %ls is %s\n", press, RowOf(group, item).name,
                       state == BST_CHECKED ? "selected" : "not selected");
        }
      }
    }
    return true;
  }

  std::mt19937_64 random_;
  Texts texts_;
  FakeForm1View mirror_;
  Form1Commands commands_;
  ChildProcess process_;
  HWND form_ = nullptr;
  std::map<ControlId, HWND> controls_;
  std::unique_ptr<MessageBoxWatcher> watcher_;
};

std::wstring UserDecimalSeparator() {
  wchar_t sep[8] = {};
  const int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, sep, 8);
  return n > 1 ? std::wstring(sep) : L".";
}

std::uint64_t EnvNumber(const char* name, std::uint64_t fallback) {
  const char* text = std::getenv(name);
  return text && *text ? std::strtoull(text, nullptr, 10) : fallback;
}

void PrintFootprints(const Footprint& start, const Footprint& third, const Footprint& twoThirds,
                     const Footprint& end) {
  std::printf("%-34s %12s %12s %12s %12s\n", "", "start", "a third", "two thirds", "end");
  auto row = [&](const char* name, auto Footprint::*field, long long unit = 1) {
    std::printf(
        "%-34s %12lld %12lld %12lld %12lld\n", name, static_cast<long long>(start.*field) / unit,
        static_cast<long long>(third.*field) / unit,
        static_cast<long long>(twoThirds.*field) / unit, static_cast<long long>(end.*field) / unit);
  };
  row("windows", &Footprint::windows);
  row("USER objects (GetGuiResources)", &Footprint::userObjects);
  row("GDI objects (handle table)", &Footprint::gdiObjects);
  row("handles (GetProcessHandleCount)", &Footprint::handles);
  row("kernel handles (system list)", &Footprint::kernelHandles);
  row("private committed KiB", &Footprint::privateBytes, 1024);
  row("working set KiB", &Footprint::workingSet, 1024);
}

// What may not grow with the number of presses. Object and handle counts are
// compared from the first measurement to the last (GDI objects and handles
// with a slack of two for what a press in progress holds); counts the platform
// reports as zero pass trivially and are printed as such. Memory is compared
// over the last two thirds of the run, after the heaps have met the largest
// texts the presses bring, and has grown only where it grew in both thirds:
// a leak grows with the presses, even a short text's in each of them, where
// one megabyte block that Wine's heap keeps now and then (the same presses,
// replayed, keep it or not) grows it once.
std::vector<std::string> Growth(const Footprint& start, const Footprint& third,
                                const Footprint& twoThirds, const Footprint& end) {
  std::vector<std::string> grown;
  if (end.windows != start.windows) grown.push_back("windows");
  if (end.userObjects > start.userObjects) grown.push_back("USER objects");
  if (end.gdiObjects > start.gdiObjects + 2 || end.gdiObjects < 0) grown.push_back("GDI objects");
  if (end.handles > start.handles + 2) grown.push_back("handles");
  if (end.kernelHandles > start.kernelHandles + 2) grown.push_back("kernel handles");
  constexpr std::uint64_t kSlack = 256 * 1024;
  if (twoThirds.privateBytes > third.privateBytes + kSlack &&
      end.privateBytes > twoThirds.privateBytes + kSlack) {
    grown.push_back("private memory");
  }
  return grown;
}

int Run() {
  const std::uint64_t seed = EnvNumber(
      "QUORVANE_SOAK_SEED",
      static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
  const int presses = static_cast<int>(EnvNumber("QUORVANE_SOAK_PRESSES", 600));
  std::printf("soak: seed %llu, %d presses (QUORVANE_SOAK_SEED, QUORVANE_SOAK_PRESSES)\n",
              static_cast<unsigned long long>(seed), presses);
  std::fflush(stdout);
  const auto began = std::chrono::steady_clock::now();
  Soak soak(seed, UserDecimalSeparator());
  bool ok = soak.Start() && soak.WarmUp();
  Footprint start, third, twoThirds, end;
  if (ok) start = soak.Measure();
  for (int i = 0; ok && i < presses; ++i) {
    ok = soak.Press();
    if (ok && i == presses / 3) third = soak.Measure();
    if (ok && i == 2 * presses / 3) twoThirds = soak.Measure();
  }
  if (ok) end = soak.Measure();
  const bool closed = ok && soak.Close();

  const Tally& t = soak.tally;
  int total = 0;
  for (const auto& [name, n] : t.presses) total += n;
  std::printf("presses: %d in %.1f s\n", total, MillisecondsSince(began) / 1000);
  for (const auto& [name, n] : t.presses) std::printf("  %-28s %6d\n", name.c_str(), n);
  std::printf("messages seen:\n");
  for (const auto& [title, n] : t.messages) std::printf("  %-48ls %6d\n", title.c_str(), n);
  std::printf("mismatches: %d, unexpected boxes: %d, hangs: %d\n", t.mismatches, t.unexpectedBoxes,
              t.hangs);
  std::printf("presses with a text of 512K chars or more: %d, longest %.0f ms\n",
              t.longInputPresses, t.longestLongInputMs);
  if (ok) PrintFootprints(start, third, twoThirds, end);
  std::vector<std::string> grown;
  if (ok) grown = Growth(start, third, twoThirds, end);
  for (const std::string& g : grown) std::printf("grew: %s\n", g.c_str());
  if (!soak.failure.empty()) std::printf("FAILED: %s\n", soak.failure.c_str());
  const bool passed = ok && closed && t.mismatches == 0 && grown.empty();
  std::printf("%s\n", passed ? "soak passed" : "soak FAILED");
  return passed ? 0 : 1;
}

}  // namespace
}  // namespace quorvane::testing

int main() { return quorvane::testing::Run(); }
