// The help launcher's path and messages, and the help pages held against the
// program: every worked example in them is what the calculation shows, and
// every message they explain is the one the program gives, word for word.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "FakeForm1View.h"
#include "about/SysInfoText.h"
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

// Replays the steps an example's title lists through the command logic, as
// the presses would: "A = 5, 90 Polar" types into A's boxes and selects its
// form (kept when none is named), "Execute" and "Copy Product" press buttons.
FakeForm1View Replay(const std::wstring& steps) {
  FakeForm1View view;
  Form1Commands commands(view, L".");
  commands.Form_Load();
  const std::wregex input(L"(A|B) = ([^,]+), (\\S+)(?: (Rectangular|Polar))?");
  const std::wregex copy(L"Copy (Quotient|Product|Sum|Difference)");
  const std::wregex split(L"; ");
  for (std::wsregex_token_iterator s(steps.begin(), steps.end(), split, -1), end; s != end; ++s) {
    const std::wstring step = *s;
    std::wsmatch m;
    if (step == L"Execute") {
      commands.cmdExecute_Click();
    } else if (std::regex_match(step, m, copy)) {
      const std::wstring rows[] = {L"Quotient", L"Product", L"Sum", L"Difference"};
      commands.CopyResultToInput(static_cast<ResultRow>(std::find(rows, rows + 4, m[1]) - rows));
    } else if (std::regex_match(step, m, input)) {
      const bool a = m[1] == L"A";
      view[a ? Field::txtRealA : Field::txtRealB] = m[2];
      view[a ? Field::txtImagA : Field::txtImagB] = m[3];
      if (m[4].matched) view.Select(a ? OptionGroup::optA : OptionGroup::optB, m[4] == L"Polar");
    } else {
      ADD_FAILURE() << "no such step: " << std::string(step.begin(), step.end());
    }
  }
  return view;
}

// Every example table of every page: its title lists the steps, each row
// names the boxes it shows ("Quotient A/B", "Under B") or the messages that
// came, and each cell of class "num" is a text the program shows there, in
// the box of its column. Other cells are words for the reader.
TEST(HelpPages, EveryExampleIsWhatTheProgramShows) {
  const std::wregex table(L"<table title=\"([^\"]*)\">([\\s\\S]*?)</table>");
  const std::wregex row(L"<tr><td>([^<]*)</td>((?:<td[^>]*>[^<]*</td>)+)</tr>");
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
    for (std::wsregex_iterator t(page.begin(), page.end(), table), end; t != end; ++t) {
      pagesWithExamples.insert(name);
      const std::wstring steps = (*t)[1], rows = (*t)[2];
      const std::string where = name + ": " + std::string(steps.begin(), steps.end());
      const FakeForm1View view = Replay(steps);
      std::vector<std::wstring> messages;
      for (std::wsregex_iterator r(rows.begin(), rows.end(), row); r != end; ++r) {
        const std::wstring label = (*r)[1], cells = (*r)[2];
        const auto* group = std::find_if(std::begin(groups), std::end(groups),
                                         [&](const auto& g) { return label.starts_with(g.first); });
        ASSERT_NE(group, std::end(groups)) << where << ": a row of no box";
        std::size_t box = static_cast<std::size_t>(group->second);
        for (std::wsregex_iterator c(cells.begin(), cells.end(), cell); c != end; ++c, ++box) {
          if (!(*c)[1].matched) continue;
          if (group->first == L"Message") {
            messages.push_back((*c)[2]);
          } else {
            EXPECT_EQ(view.texts[box], (*c)[2].str())
                << where << ": " << std::string(label.begin(), label.end());
          }
        }
      }
      std::vector<std::wstring> shown;
      for (const auto& m : view.messages) shown.push_back(m.title);
      EXPECT_EQ(shown, messages) << where;
    }
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
    const FakeForm1View view = Replay(steps);
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
