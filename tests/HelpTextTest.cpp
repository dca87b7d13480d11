// The help launcher's path and messages, and the help pages held against the
// program: every worked example in them is what the calculation shows, and
// every message they explain is the one the program gives, word for word.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "FakeForm1View.h"
#include "about/SysInfoText.h"
#include "core/ComplexMath.h"
#include "core/NumericText.h"
#include "help/HelpPath.h"
#include "ui/Form1Commands.h"
#include "ui/Form1MenuCommands.h"

namespace quorvane {
namespace {

using testing::FakeForm1View;

TEST(HelpPath, BuiltFromTheExecutablesFolderOnly) {
  const struct {
    std::wstring modulePath, directory, helpFile;
  } cases[] = {
      {L"C:\\Program Files\\Quorvane\\Quorvane.exe", L"C:\\Program Files\\Quorvane",
       L"C:\\Program Files\\Quorvane\\QuorvaneHelp.chm"},
      // A drive root keeps its backslash, so the path gets two in a row.
      {L"C:\\Quorvane.exe", L"C:\\", L"C:\\\\QuorvaneHelp.chm"},
      {L"\\\\server\\tools\\Quorvane.exe", L"\\\\server\\tools",
       L"\\\\server\\tools\\QuorvaneHelp.chm"},
      {L"D:\\\u00e9t\u00e9 \u03a9\\\u7535\\Quorvane.exe", L"D:\\\u00e9t\u00e9 \u03a9\\\u7535",
       L"D:\\\u00e9t\u00e9 \u03a9\\\u7535\\QuorvaneHelp.chm"},
      // A folder whose name looks like a drive is not a root.
      {L"C:\\a:\\Quorvane.exe", L"C:\\a:", L"C:\\a:\\QuorvaneHelp.chm"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExecutableDirectory(c.modulePath), c.directory);
    EXPECT_EQ(HelpFilePath(ExecutableDirectory(c.modulePath)), c.helpFile);
  }
}

TEST(HelpPath, MessagesAsTheUserReadsThem) {
  EXPECT_EQ(HelpNotFoundPrompt(L"C:\\\\QuorvaneHelp.chm"),
            L"HTML Help File Not Found \r\nC:\\\\QuorvaneHelp.chm");
  const struct {
    int number;
    std::wstring prompt;
  } cases[] = {{453, L"Error in Invoking Help!\r\nError Code = 453"},
               {48, L"Error in Invoking Help!\r\nError Code = 48"},
               {0, L"Error in Invoking Help!\r\nError Code = 0"},
               {-5, L"Error in Invoking Help!\r\nError Code = -5"}};
  for (const auto& c : cases) EXPECT_EQ(HelpErrorPrompt(c.number), c.prompt);
}

// A help page as the viewer shows its text: tags dropped, entities decoded.
std::wstring Page(const std::string& name) {
  std::ifstream f(std::string(QUORVANE_SOURCE_DIR) + "/help/chm/" + name, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  EXPECT_FALSE(bytes.empty()) << name;
  std::wstring page;
  for (unsigned char c : bytes) page += static_cast<wchar_t>(c);  // the pages keep to Latin-1
  return page;
}

std::wstring PlainText(std::wstring html) {
  html = std::regex_replace(html, std::wregex(L"<[^>]*>"), L"");
  const std::pair<const wchar_t*, const wchar_t*> entities[] = {
      {L"&lt;", L"<"}, {L"&gt;", L">"}, {L"&quot;", L"\""}, {L"&amp;", L"&"}};
  for (const auto& [entity, text] : entities) {
    html = std::regex_replace(html, std::wregex(entity), text);
  }
  return html;
}

// One thing the reader does: types a text into an input box, selects a form
// for an input, or presses Execute Operations or a Copy button.
struct Action {
  enum Kind { Type, Select, Execute, Copy } kind;
  int target = 0;     // the Field typed into, the OptionGroup or the ResultRow
  std::wstring text;  // what is typed; "Polar" or "Rectangular"
  bool operator==(const Action&) const = default;
};
using Actions = std::vector<Action>;

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

const std::wstring kRows[] = {L"Quotient", L"Product", L"Sum", L"Difference"};
const wchar_t* const kFieldNames[] = {
    L"txtRealA",          L"txtImagA",          L"txtRealB",         L"txtImagB",
    L"lblDisplayReal1",   L"lblDisplayImag1",   L"lblDisplayReal2",  L"lblDisplayImag2",
    L"txtQuotientReal",   L"txtQuotientImag",   L"txtQuotientMag",   L"txtQuotientAngle",
    L"txtProductReal",    L"txtProductImag",    L"txtProductMag",    L"txtProductAngle",
    L"txtSumReal",        L"txtSumImag",        L"txtSumMag",        L"txtSumAngle",
    L"txtDifferenceReal", L"txtDifferenceImag", L"txtDifferenceMag", L"txtDifferenceAngle"};
int FieldNamed(const std::wstring& name) {
  const auto* f = std::find(std::begin(kFieldNames), std::end(kFieldNames), name);
  return f == std::end(kFieldNames) ? -1 : static_cast<int>(f - std::begin(kFieldNames));
}

std::string Describe(const Actions& actions) {
  std::wstring out;
  for (const Action& a : actions) {
    switch (a.kind) {
      case Action::Type:
        out += std::wstring(kFieldNames[a.target]) + L"=" + a.text;
        break;
      case Action::Select:
        out += (a.target == 0 ? L"A:" : L"B:") + a.text;
        break;
      case Action::Execute:
        out += L"Execute";
        break;
      case Action::Copy:
        out += L"Copy " + kRows[a.target];
        break;
    }
    out += L" | ";
  }
  return Narrow(out);
}

// Between two presses the order of typing and selecting does not matter:
// the typing first, box by box, then the forms.
Actions Canonical(Actions actions) {
  auto run = actions.begin();
  for (auto a = actions.begin();; ++a) {
    if (a == actions.end() || a->kind == Action::Execute || a->kind == Action::Copy) {
      std::stable_sort(run, a, [](const Action& x, const Action& y) {
        return std::pair(x.kind, x.target) < std::pair(y.kind, y.target);
      });
      if (a == actions.end()) return actions;
      run = a + 1;
    }
  }
}

// The steps an example's title lists: "A = 5, 90 Polar" types into A's boxes
// and selects its form (kept when none is named), "Execute" and "Copy Product"
// press buttons.
Actions StepsOf(const std::wstring& title, const std::string& where) {
  const std::wregex input(L"(A|B) = ([^,]+), (\\S+)(?: (Rectangular|Polar))?");
  const std::wregex copy(L"Copy (Quotient|Product|Sum|Difference)");
  const std::wregex split(L"; ");
  Actions actions;
  for (std::wsregex_token_iterator s(title.begin(), title.end(), split, -1), end; s != end; ++s) {
    const std::wstring step = *s;
    std::wsmatch m;
    if (step == L"Execute") {
      actions.push_back({Action::Execute, 0, {}});
    } else if (std::regex_match(step, m, copy)) {
      actions.push_back(
          {Action::Copy, static_cast<int>(std::ranges::find(kRows, m[1]) - kRows), {}});
    } else if (std::regex_match(step, m, input)) {
      const int b = m[1] == L"B";
      actions.push_back({Action::Type, static_cast<int>(Field::txtRealA) + 2 * b, m[2]});
      actions.push_back({Action::Type, static_cast<int>(Field::txtImagA) + 2 * b, m[3]});
      if (m[4].matched) actions.push_back({Action::Select, b, m[4]});
    } else {
      ADD_FAILURE() << where << ": no such step: " << Narrow(step);
    }
  }
  return actions;
}

// The window as the reader works it: each action through the command logic.
struct Window {
  FakeForm1View view;
  Form1Commands commands{view, L"."};
  Window() { commands.Form_Load(); }
  void Do(const Action& a, const std::string& where) {
    switch (a.kind) {
      case Action::Type:
        view.texts[a.target] = a.text;
        break;
      case Action::Select:
        view.Select(static_cast<OptionGroup>(a.target), a.text == L"Polar");
        break;
      case Action::Execute:
        commands.cmdExecute_Click();
        break;
      case Action::Copy: {
        const std::size_t real = static_cast<std::size_t>(Field::txtQuotientReal) + 4 * a.target;
        const std::wstring part[] = {view.texts[real], view.texts[real + 1]};
        commands.CopyResultToInput(static_cast<ResultRow>(a.target));
        for (int box = 0; box < 4; ++box) {
          EXPECT_EQ(view.texts[box], part[box % 2])
              << where << ": after Copy " << Narrow(kRows[a.target]) << ", "
              << Narrow(kFieldNames[box]);
        }
      }
    }
  }
};

FakeForm1View Replay(const std::wstring& title, const std::string& where) {
  Window window;
  for (const Action& a : StepsOf(title, where)) window.Do(a, where);
  return window.view;
}

// A number as written in the text: "- j9.2" is -9.2, "0.08" is .08.
bool SameNumber(std::wstring written, const std::wstring& shown) {
  std::erase_if(written, [](wchar_t c) { return c == L' ' || c == L'j'; });
  if (written == shown) return true;
  wchar_t *endW = nullptr, *endS = nullptr;
  const double w = std::wcstod(written.c_str(), &endW), s = std::wcstod(shown.c_str(), &endS);
  return !written.empty() && !shown.empty() && *endW == 0 && *endS == 0 && w == s;
}

// Quantities the examples work out on the way, by the test's own arithmetic.
double Quantity(const std::wstring& name) {
  // The data the examples start from: 50 Hz, 47 uF, 100 ohm, 400 V.
  const double f = 50, C = 47e-6, R = 100, VL = 400, omega = 2 * Pi * f;
  const std::pair<const wchar_t*, double> quantities[] = {
      {L"f", f},
      {L"C", C * 1e6},
      {L"R", R},
      {L"VL", VL},
      {L"omega", omega},
      {L"omegaC", omega * C},
      {L"omegaCuS", omega * C * 1e6},
      {L"XC", 1 / (omega * C)},
      {L"XL", omega * 0.1},
      {L"omegaRC", omega * R * C},
      {L"omegaRCshown", 1.477},
      {L"pf30", std::cos(30 / RadiansToDegrees)},
      {L"R2D", RadiansToDegrees},
      {L"rad30", 30 / RadiansToDegrees},
      {L"cos30x10000", 10000 * std::cos(30 / RadiansToDegrees)},
      {L"sin30x10000", 10000 * std::sin(30 / RadiansToDegrees)},
      {L"Vph", VL / std::sqrt(3.0)},
      {L"angle1000", std::atan(0.4 / 1000) * RadiansToDegrees},
  };
  for (const auto& [n, v] : quantities) {
    if (n == name) return v;
  }
  return std::nan("");
}

// Every example of every page lies in a <div class="example">. Its words
// are marked where they hold a number: <kbd class="txtRealA"> is typed into
// that box; <span class="ui optB">Polar</span> selects the form of an input;
// <span class="ui cmdExecute"> and <span class="ui cmdCopy"> press buttons;
// a span or code of a box's name ("txtSumReal") is what that box shows at
// that point of the steps; one of a quantity's name is worked out by the
// test (a code as the box would show it, a span to its written decimals);
// "given" repeats a typed number and "formula" holds a formula's constants.
// The steps written before each titled table are the steps its title
// replays (all of them, or those after the table before); each row of the
// table names the boxes it shows ("Quotient A/B", "Under B") or the messages
// that came, and each cell of class "num" is a text the program shows there.
TEST(HelpPages, EveryExampleIsWhatTheProgramShows) {
  const std::wregex example(L"<div class=\"example\">([\\s\\S]*?)</div>");
  const std::wregex heading(L"<h[23][^>]*>([^<]*)</h[23]>");
  const std::wregex marked(
      L"<table title=\"([^\"]*)\">([\\s\\S]*?)</table>|<kbd class=\"(\\w+)\">([^<]*)</kbd>|"
      L"<(span|code) class=\"([^\"]*)\">((?:[^<]|<su[bp]>[^<]*</su[bp]>)*)</\\5>");
  const std::wregex tableRow(L"<tr>([\\s\\S]*?)</tr>");
  const std::wregex row(L"<td>([^<]*)</td>((?:<td[^>]*>[^<]*</td>)+)");
  const std::wregex cell(L"<td( class=\"num\")?[^>]*>([^<]*)</td>");
  const std::pair<std::wstring, Field> groups[] = {
      {L"Quotient", Field::txtQuotientReal}, {L"Product", Field::txtProductReal},
      {L"Sum", Field::txtSumReal},           {L"Difference", Field::txtDifferenceReal},
      {L"Under A", Field::lblDisplayReal1},  {L"Under B", Field::lblDisplayReal2},
      {L"Message", Field::txtRealA}};
  std::set<std::string> pagesWithExamples;
  for (const auto& file : std::filesystem::directory_iterator(
           std::filesystem::path(QUORVANE_SOURCE_DIR) / "help" / "chm")) {
    if (file.path().extension() != ".htm") continue;
    const std::string name = file.path().filename().string();
    const std::wstring page = Page(name);
    std::size_t tablesInExamples = 0;
    for (std::wsregex_iterator x(page.begin(), page.end(), example), end; x != end; ++x) {
      pagesWithExamples.insert(name);
      const std::wstring text = (*x)[1];
      std::wstring title = L"(none)";
      const std::wstring before = page.substr(0, static_cast<std::size_t>(x->position()));
      for (std::wsregex_iterator h(before.begin(), before.end(), heading); h != end; ++h) {
        title = (*h)[1];
      }
      const std::string where = name + ", the example under \"" + Narrow(title) + "\"";
      std::set<std::wstring> typed;
      for (std::wsregex_iterator m(text.begin(), text.end(), marked); m != end; ++m) {
        if ((*m)[3].matched) typed.insert((*m)[4]);
      }
      Window window;
      Actions chain, written;
      std::wstring unmarked;
      std::size_t last = 0;
      for (std::wsregex_iterator m(text.begin(), text.end(), marked); m != end; ++m) {
        unmarked += text.substr(last, static_cast<std::size_t>(m->position()) - last);
        last = static_cast<std::size_t>(m->position() + m->length());
        Actions now;
        if ((*m)[1].matched) {  // a titled table
          ++tablesInExamples;
          const std::wstring steps = (*m)[1], rows = (*m)[2];
          const std::string at = where + ", table \"" + Narrow(steps) + "\"";
          const Actions title = Canonical(StepsOf(steps, at));
          Actions continued = chain;
          continued.insert(continued.end(), written.begin(), written.end());
          EXPECT_TRUE(title == Canonical(continued) || title == Canonical(written))
              << at << ": the words say " << Describe(written);
          chain = title;
          written.clear();
          const FakeForm1View view = Replay(steps, at);
          std::vector<std::wstring> messages;
          for (std::wsregex_iterator tr(rows.begin(), rows.end(), tableRow); tr != end; ++tr) {
            const std::wstring cells =
                std::regex_replace((*tr)[1].str(), std::wregex(L">\\s+<"), L"><");
            if (cells.starts_with(L"<th>")) continue;
            std::wsmatch r;
            if (!std::regex_match(cells, r, row)) {
              ADD_FAILURE() << at << ": a row that cannot be read: " << Narrow(cells);
              continue;
            }
            const std::wstring label = r[1];
            const auto* group =
                std::find_if(std::begin(groups), std::end(groups),
                             [&](const auto& g) { return label.starts_with(g.first); });
            ASSERT_NE(group, std::end(groups)) << at << ": a row of no box";
            const std::wstring cellText = r[2];
            std::size_t box = static_cast<std::size_t>(group->second);
            for (std::wsregex_iterator c(cellText.begin(), cellText.end(), cell); c != end;
                 ++c, ++box) {
              if (!(*c)[1].matched) continue;
              if (group->first == L"Message") {
                messages.push_back((*c)[2]);
              } else {
                EXPECT_EQ(view.texts[box], (*c)[2].str()) << at << ": " << Narrow(label);
              }
            }
          }
          std::vector<std::wstring> shown;
          for (const auto& msg : view.messages) shown.push_back(msg.title);
          EXPECT_EQ(shown, messages) << at;
        } else if ((*m)[3].matched) {  // typed
          const int box = FieldNamed((*m)[3]);
          EXPECT_TRUE(box >= 0 && box < 4) << where << ": typed into " << Narrow((*m)[3]);
          if (box >= 0 && box < 4) now.push_back({Action::Type, box, (*m)[4]});
        } else {
          const std::wstring content = (*m)[7];
          const std::wstring classes = (*m)[6];
          const std::wregex word(L"\\S+");
          for (std::wsregex_iterator w(classes.begin(), classes.end(), word); w != end; ++w) {
            const std::wstring c = (*w)[0];
            const std::string what = where + ": \"" + Narrow(content) + "\" (" + Narrow(c) + ")";
            std::wsmatch copy;
            if (c == L"ui" || c == L"formula") {
            } else if (c == L"optA" || c == L"optB") {
              EXPECT_TRUE(content == L"Polar" || content == L"Rectangular") << what;
              now.push_back({Action::Select, c == L"optB", content});
            } else if (c == L"cmdExecute") {
              EXPECT_EQ(content, L"Execute Operations") << what;
              now.push_back({Action::Execute, 0, {}});
            } else if (c == L"cmdCopy") {
              const std::wregex copyButton(L"Copy (Quotient|Product|Sum|Difference) to Input");
              if (!std::regex_match(content, copy, copyButton)) {
                ADD_FAILURE() << what;
              } else {
                now.push_back({Action::Copy,
                               static_cast<int>(std::ranges::find(kRows, copy[1]) - kRows),
                               {}});
              }
            } else if (c == L"given") {
              EXPECT_TRUE(std::ranges::any_of(typed,
                                              [&](const std::wstring& t) {
                                                return SameNumber(content, t) ||
                                                       SameNumber(L"-" + content, t) ||
                                                       SameNumber(content, L"-" + t);
                                              }))
                  << what << " is not typed in this example";
            } else if (FieldNamed(c) >= 0) {
              EXPECT_TRUE(SameNumber(content, window.view.texts[FieldNamed(c)]))
                  << what << ": the box shows \"" << Narrow(window.view.texts[FieldNamed(c)])
                  << "\" after " << Describe(chain) << Describe(written);
            } else if (const double q = Quantity(c); !std::isnan(q)) {
              const std::size_t point = content.find(L'.');
              const int decimals =
                  point == std::wstring::npos ? 0 : static_cast<int>(content.size() - point - 1);
              if ((*m)[5] == L"code") {
                EXPECT_EQ(content, FormatResult(q, L".")) << what;
              } else {
                EXPECT_NEAR(std::wcstod(content.c_str(), nullptr), q,
                            0.5000001 * std::pow(10.0, -decimals))
                    << what;
              }
            } else {
              ADD_FAILURE() << what << ": no such box, control or quantity";
            }
          }
        }
        for (const Action& a : now) window.Do(a, where);
        written.insert(written.end(), now.begin(), now.end());
      }
      unmarked += text.substr(last);
      unmarked =
          std::regex_replace(unmarked, std::wregex(L"<sub>[^<]*</sub>|<[^>]*>|&#?\\w+;"), L" ");
      std::wsmatch digit;
      if (std::regex_search(unmarked, digit, std::wregex(L".{0,30}[0-9].{0,30}"))) {
        ADD_FAILURE() << where << ": a number that nothing checks: " << Narrow(digit[0]);
      }
      EXPECT_TRUE(written.empty())
          << where << ": steps after the last table: " << Describe(written);
    }
    std::size_t tables = 0;
    for (std::size_t at = 0; (at = page.find(L"<table title=", at)) != std::wstring::npos; ++at) {
      ++tables;
    }
    EXPECT_EQ(tables, tablesInExamples) << name << ": a titled table outside an example";
  }
  EXPECT_EQ(pagesWithExamples, (std::set<std::string>{"Calculations.htm", "Chaining.htm",
                                                      "Inputs.htm", "Results.htm", "Welcome.htm"}));
}

// The explained message with the given heading: the box's text, one line
// per line of the page.
std::wstring ExplainedMessage(const std::wstring& page, const std::wstring& heading) {
  const std::wregex entry(L"<h2 id=\"\\w+\">([^<]*)</h2>\\s*<div class=\"msg\">([^<]*)</div>");
  for (std::wsregex_iterator e(page.begin(), page.end(), entry), end; e != end; ++e) {
    if ((*e)[1] == heading) {
      return std::regex_replace(PlainText((*e)[2]), std::wregex(L"\r?\n"), L"\r\n");
    }
  }
  return L"(no entry headed " + heading + L")";
}

TEST(HelpPages, EveryMessageIsExplainedWordForWord) {
  const std::wstring page = Page("Messages.htm");
  struct Shown {
    std::wstring title, prompt;
  };
  std::vector<Shown> shown;
  // The calculation's three messages, as the command logic gives them.
  for (const wchar_t* steps : {L"A = abc, 4; B = 1, 1; Execute", L"A = 1E400, 4; B = 1, 1; Execute",
                               L"A = 1, 0; B = 1E-200, 0; Execute"}) {
    const FakeForm1View view = Replay(steps, Narrow(steps));
    ASSERT_FALSE(view.messages.empty());
    shown.push_back({view.messages[0].title, view.messages[0].prompt});
  }
  shown.push_back({kShutdownTitle, kShutdownPrompt});
  shown.push_back({L"", kSysInfoUnavailable});
  shown.push_back({L"", HelpErrorPrompt(453)});

  for (const Shown& s : shown) {
    // A box with no title of its own is explained under its first line.
    const std::wstring heading =
        s.title.empty() ? s.prompt.substr(0, s.prompt.find(L'\r')) : s.title;
    EXPECT_EQ(ExplainedMessage(page, heading), s.prompt);
  }
  // The missing file's message names a path of the reader's own.
  const std::wstring missing = ExplainedMessage(page, L"HTML Help File Not Found");
  const std::wstring example = missing.substr(missing.find(L"\r\n") + 2);
  EXPECT_EQ(missing, HelpNotFoundPrompt(example));
  EXPECT_EQ(example.substr(example.rfind(L'\\')), L"\\QuorvaneHelp.chm");
}

}  // namespace
}  // namespace quorvane
