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

// A text of a page as the reader sees it, character references decoded.
std::wstring Decoded(std::wstring text) {
  for (std::size_t at, end; (at = text.find(L"&#")) != std::wstring::npos &&
                            (end = text.find(L';', at)) != std::wstring::npos;) {
    text.replace(at, end - at + 1, 1, static_cast<wchar_t>(std::stoi(text.substr(at + 2))));
  }
  return PlainText(text);
}

// A step as the reader takes it: "txtRealA=10" types into a box,
// "optB=Polar" selects a form, "Execute" and "Copy Sum" press buttons,
// "pasteA=3+4j" pastes into A's first box.
using Steps = std::vector<std::wstring>;

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }
std::string Describe(const Steps& steps) {
  std::wstring out;
  for (const auto& s : steps) out += s + L"; ";
  return Narrow(out);
}

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

// The steps an example's title lists: "A = 5, 90 Polar" types into A's boxes
// and selects its form (kept when none is named); "Execute", "Copy Product".
Steps StepsOf(const std::wstring& title, const std::string& where) {
  const std::wregex split(L"; "), copy(L"Copy (Quotient|Product|Sum|Difference)"),
      input(L"(A|B) = ([^,]+), (\\S+)(?: (Rectangular|Polar))?"), paste(L"Paste (.+) into (A|B)");
  Steps steps;
  for (std::wsregex_token_iterator s(title.begin(), title.end(), split, -1), end; s != end; ++s) {
    const std::wstring step = *s;
    std::wsmatch m;
    if (step == L"Execute" || std::regex_match(step, copy)) {
      steps.push_back(step);
    } else if (std::regex_match(step, m, paste)) {
      steps.push_back(L"paste" + m[2].str() + L"=" + m[1].str());
    } else if (std::regex_match(step, m, input)) {
      steps.push_back(L"txtReal" + m[1].str() + L"=" + m[2].str());
      steps.push_back(L"txtImag" + m[1].str() + L"=" + m[3].str());
      if (m[4].matched) steps.push_back(L"opt" + m[1].str() + L"=" + m[4].str());
    } else {
      ADD_FAILURE() << where << ": no such step: " << Narrow(step);
    }
  }
  return steps;
}

// The window as the reader works it, each step through the command logic.
// After a Copy button the four inputs hold the row's two texts.
struct Window {
  FakeForm1View view;
  Form1Commands commands{view, L"."};
  Window() { commands.Form_Load(); }
  void Do(const std::wstring& step, const std::string& where) {
    const std::size_t eq = step.find(L'=');
    if (step == L"Execute") {
      commands.cmdExecute_Click();
    } else if (step.starts_with(L"paste")) {
      EXPECT_TRUE(commands.PasteIntoInput(step[5] == L'B' ? Field::txtRealB : Field::txtRealA,
                                          step.substr(eq + 1)))
          << where << ": " << Narrow(step);
    } else if (step.starts_with(L"opt")) {
      view.Select(step[3] == L'B' ? OptionGroup::optB : OptionGroup::optA,
                  step.substr(eq + 1) == L"Polar");
    } else if (eq != std::wstring::npos) {
      view.texts[static_cast<std::size_t>(FieldNamed(step.substr(0, eq)))] = step.substr(eq + 1);
    } else {
      const auto row = std::ranges::find(kRows, step.substr(5)) - kRows;
      const auto real = static_cast<std::size_t>(Field::txtQuotientReal) + 4 * row;
      const std::wstring part[] = {view.texts[real], view.texts[real + 1]};
      commands.CopyResultToInput(static_cast<ResultRow>(row));
      for (std::size_t box = 0; box < 4; ++box) {
        EXPECT_EQ(view.texts[box], part[box % 2]) << where << ": after " << Narrow(step);
      }
    }
  }
};

FakeForm1View Replay(const std::wstring& title, const std::string& where) {
  Window window;
  for (const auto& step : StepsOf(title, where)) window.Do(step, where);
  return window.view;
}

// A number as written in the words: "- j9.2" is -9.2, "0.08" is .08.
bool SameNumber(std::wstring written, const std::wstring& shown) {
  std::erase_if(written, [](wchar_t c) { return c == L' ' || c == L'j'; });
  wchar_t *endW = nullptr, *endS = nullptr;
  const double w = std::wcstod(written.c_str(), &endW), s = std::wcstod(shown.c_str(), &endS);
  return written == shown || (!written.empty() && !shown.empty() && !*endW && !*endS && w == s);
}

// What the examples work out on the way, from the data they start with:
// 50 Hz, 47 uF, 100 ohm, 100 mH, a line voltage of 400 V, 10000 at 30 degrees,
// a power factor of 0.95.
double Quantity(const std::wstring& name) {
  const double f = 50, C = 47e-6, R = 100, L = 0.1, VL = 400, w = 2 * Pi * f;
  const double rad30 = 30 / RadiansToDegrees;
  const std::pair<const wchar_t*, double> quantities[] = {
      {L"f", f},
      {L"C", C * 1e6},
      {L"R", R},
      {L"VL", VL},
      {L"omega", w},
      {L"omegaC", w * C},
      {L"omegaCuS", w * C * 1e6},
      {L"XC", 1 / (w * C)},
      {L"XL", w * L},
      {L"omegaRC", w * R * C},
      {L"pf30", std::cos(rad30)},
      {L"R2D", RadiansToDegrees},
      {L"rad30", rad30},
      {L"cos30x10000", 10000 * std::cos(rad30)},
      {L"sin30x10000", 10000 * std::sin(rad30)},
      {L"Vph", VL / std::sqrt(3.0)},
      {L"sqrt3", std::sqrt(3.0)},
      {L"sqrt3VL", std::sqrt(3.0) * VL},
      {L"phi95", std::acos(0.95) * RadiansToDegrees},
      {L"angle1000", std::atan2(0.4, 1000) * RadiansToDegrees}};
  const auto* q = std::ranges::find_if(quantities, [&](const auto& p) { return p.first == name; });
  return q == std::end(quantities) ? std::nan("") : q->second;
}

// Every example of every page lies in a <div class="example">, its numbers
// in marks: <kbd class="txtRealA"> is typed into that box; a span of class
// "ui optB" selects a form, "ui cmdExecute" or "ui cmdCopy" presses a
// button; a span or code named after a box is what the box shows at that
// point of the steps; one named after a quantity is worked out here (a code
// as a box would show it, a span to its written decimals); "given" repeats
// a typed number and "formula" holds a formula's constants. The steps
// marked before a titled table are the steps its title replays (all of
// them, or those after the table before); each row of the table names the
// boxes it shows ("Quotient A/B", "Under B") or the messages that came, and
// each cell of class "num" is a text the program shows there.
TEST(HelpPages, EveryExampleIsWhatTheProgramShows) {
  const std::wregex heading(L"<h[23][^>]*>([^<]*)</h[23]>"), tableRow(L"<tr>([\\s\\S]*?)</tr>"),
      marked(
          L"<table title=\"([^\"]*)\">([\\s\\S]*?)</table>|<kbd class=\"(\\w+)\">([^<]*)</kbd>|"
          L"<(span|code) class=\"([^\"]*)\">((?:[^<]|<su[bp]>[^<]*</su[bp]>)*)</\\5>"),
      row(L"<td>([^<]*)</td>((?:<td[^>]*>[^<]*</td>)+)"),
      cell(L"<td( class=\"num\")?[^>]*>([^<]*)</td>"), word(L"\\S+"),
      copyButton(L"Copy (Quotient|Product|Sum|Difference) to Input"),
      rowText(L"(Quotient|Product|Sum|Difference)(Rectangular|Polar)");
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
    std::ptrdiff_t tables = 0;
    // Found without a regex, whose recursion a long example takes past the
    // stack under the sanitizers.
    const std::wstring open = L"<div class=\"example\">";
    const std::wsregex_iterator end;
    for (auto at = page.find(open); at != std::wstring::npos; at = page.find(open, at + 1)) {
      pagesWithExamples.insert(name);
      const std::size_t from = at + open.size();
      const std::wstring text = page.substr(from, page.find(L"</div>", from) - from),
                         before = page.substr(0, at);
      std::wstring title;
      for (std::wsregex_iterator h(before.begin(), before.end(), heading); h != end; ++h)
        title = (*h)[1];
      const std::string where = name + ", the example under \"" + Narrow(title) + "\"";
      Steps typed, chain, written;
      for (std::wsregex_iterator m(text.begin(), text.end(), marked); m != end; ++m) {
        if ((*m)[3].matched) typed.push_back((*m)[4]);
      }
      Window window;
      std::wstring unmarked = std::regex_replace(text, marked, L" ");
      for (std::wsregex_iterator m(text.begin(), text.end(), marked); m != end; ++m) {
        Steps now;
        if ((*m)[1].matched) {  // a titled table
          ++tables;
          const std::wstring steps = Decoded((*m)[1]), rows = (*m)[2];
          const std::string at = where + ", table \"" + Narrow(steps) + "\"";
          const Steps replayed = StepsOf(steps, at);
          Steps continued = chain;
          continued.insert(continued.end(), written.begin(), written.end());
          EXPECT_TRUE(replayed == continued || replayed == written)
              << at << ": the words say " << Describe(written);
          chain = replayed;
          written.clear();
          const FakeForm1View view = Replay(steps, at);
          std::vector<std::wstring> messages, shown;
          for (std::wsregex_iterator tr(rows.begin(), rows.end(), tableRow); tr != end; ++tr) {
            const std::wstring cells =
                std::regex_replace((*tr)[1].str(), std::wregex(L">\\s+<"), L"><");
            std::wsmatch r;
            if (cells.starts_with(L"<th>")) continue;
            if (!std::regex_match(cells, r, row)) {
              ADD_FAILURE() << at << ": a row that cannot be read: " << Narrow(cells);
              continue;
            }
            const std::wstring label = r[1], cellText = r[2];
            const auto* group = std::ranges::find_if(
                groups, [&](const auto& g) { return label.starts_with(g.first); });
            ASSERT_NE(group, std::end(groups)) << at << ": a row of no box";
            auto box = static_cast<std::size_t>(group->second);
            for (std::wsregex_iterator c(cellText.begin(), cellText.end(), cell); c != end;
                 ++c, ++box) {
              if (group->first == L"Message") {
                messages.push_back((*c)[2]);
              } else if ((*c)[1].matched) {
                EXPECT_EQ(view.texts[box], (*c)[2].str()) << at << ": " << Narrow(label);
              }
            }
          }
          for (const auto& msg : view.messages) shown.push_back(msg.title);
          EXPECT_EQ(shown, messages) << at;
        } else if ((*m)[3].matched) {  // typed into an input box
          const int box = FieldNamed((*m)[3]);
          if (box >= 0 && box < 4)
            now.push_back((*m)[3].str() + L"=" + (*m)[4].str());
          else if ((*m)[3] == L"pasteA" || (*m)[3] == L"pasteB")
            now.push_back((*m)[3].str() + L"=" + Decoded((*m)[4]));
          else
            ADD_FAILURE() << where << ": typed into " << Narrow((*m)[3]);
        } else {
          const std::wstring content = (*m)[7], classes = (*m)[6];
          for (std::wsregex_iterator w(classes.begin(), classes.end(), word); w != end; ++w) {
            const std::wstring c = (*w)[0];
            const std::string what = where + ": \"" + Narrow(content) + "\" (" + Narrow(c) + ")";
            const double q = Quantity(c);
            std::wsmatch copy;
            if (c == L"ui" || c == L"formula") {
            } else if (c == L"optA" || c == L"optB") {
              EXPECT_TRUE(content == L"Polar" || content == L"Rectangular") << what;
              now.push_back(c + L"=" + content);
            } else if (c == L"cmdExecute" && content == L"Execute Operations") {
              now.push_back(L"Execute");
            } else if (c == L"cmdCopy" && std::regex_match(content, copy, copyButton)) {
              now.push_back(L"Copy " + copy[1].str());
            } else if (std::regex_match(c, copy, rowText)) {
              const auto row = std::ranges::find(kRows, copy[1].str()) - kRows;
              EXPECT_EQ(Decoded(content),
                        window.commands.RowText(
                            static_cast<ResultRow>(row),
                            copy[2] == L"Polar" ? ComplexForm::Polar : ComplexForm::Rectangular))
                  << what;
            } else if (c == L"given") {
              EXPECT_TRUE(std::ranges::any_of(typed,
                                              [&](const std::wstring& t) {
                                                return SameNumber(content, t) ||
                                                       SameNumber(L"-" + content, t) ||
                                                       SameNumber(content, L"-" + t);
                                              }))
                  << what << " is typed nowhere in the example";
            } else if (FieldNamed(c) >= 0) {
              const std::wstring& box = window.view.texts[static_cast<std::size_t>(FieldNamed(c))];
              EXPECT_TRUE(SameNumber(content, box))
                  << what << ": the box shows \"" << Narrow(box) << "\" after " << Describe(chain)
                  << Describe(written);
            } else if ((*m)[5] == L"code" && !std::isnan(q)) {
              EXPECT_EQ(content, FormatResult(q, L".")) << what;
            } else if (!std::isnan(q)) {
              const std::size_t point = std::min(content.find(L'.'), content.size() - 1);
              EXPECT_NEAR(std::wcstod(content.c_str(), nullptr), q,
                          0.5000001 * std::pow(10.0, point + 1.0 - content.size()))
                  << what;
            } else {
              ADD_FAILURE() << what << ": no such box, control or quantity";
            }
          }
        }
        for (const auto& step : now) window.Do(step, where);
        written.insert(written.end(), now.begin(), now.end());
      }
      std::wsmatch digit;
      unmarked =
          std::regex_replace(unmarked, std::wregex(L"<sub>[^<]*</sub>|<[^>]*>|&#?\\w+;"), L" ");
      if (std::regex_search(unmarked, digit, std::wregex(L".{0,30}[0-9].{0,30}"))) {
        ADD_FAILURE() << where << ": a number that nothing checks: " << Narrow(digit[0]);
      }
      EXPECT_TRUE(written.empty())
          << where << ": steps after the last table: " << Describe(written);
    }
    const std::wregex titled(L"<table title=");
    EXPECT_EQ(std::distance(std::wsregex_iterator(page.begin(), page.end(), titled), {}), tables)
        << name << ": a titled table outside an example";
  }
  EXPECT_EQ(pagesWithExamples,
            (std::set<std::string>{"Calculations.htm", "Chaining.htm", "Clipboard.htm",
                                   "Inputs.htm", "Results.htm", "Welcome.htm"}));
}

// The explained message with the given heading: the box's text, one line
// per line of the page, each line but the last ended by <br>.
std::wstring ExplainedMessage(const std::wstring& page, const std::wstring& heading) {
  const std::wregex entry(
      L"<h2 id=\"\\w+\">([^<]*)</h2>\\s*<div class=\"msg\">((?:[^<]|<br>\r?\n)*)</div>");
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
