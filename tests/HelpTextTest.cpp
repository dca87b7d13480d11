// The help launcher's path and messages, and the help pages held against the
// program: every worked example in them is what the calculation shows, and
// every message they explain is the one the program gives, word for word.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <regex>
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

struct Inputs {
  std::wstring ra, ia, rb, ib;
  bool polarA = false, polarB = false;
};

// Runs one calculation through the command logic, as a press would.
FakeForm1View Calculate(const Inputs& in) {
  FakeForm1View view;
  Form1Commands commands(view, L".");
  commands.Form_Load();
  view.SetInputs(in.ra, in.ia, in.rb, in.ib);
  view.Select(OptionGroup::optA, in.polarA ? 1 : 0);
  view.Select(OptionGroup::optB, in.polarB ? 1 : 0);
  commands.cmdExecute_Click();
  return view;
}

TEST(HelpPages, ResultTablesAreWhatTheCalculationShows) {
  const std::wregex table(
      L"<table title=\"A = ([^,]+), (\\S+) (Rectangular|Polar); B = ([^,]+), (\\S+) "
      L"(Rectangular|Polar)\">([\\s\\S]*?)</table>");
  const std::wregex row(
      L"<tr><td>(Quotient|Product|Sum|Difference)[^<]*</td><td class=\"num\">([^<]*)</td>"
      L"<td class=\"num\">([^<]*)</td><td class=\"num\">([^<]*)</td>"
      L"<td class=\"num\">([^<]*)</td></tr>");
  const std::map<std::wstring, Field> firstBox = {{L"Quotient", Field::txtQuotientReal},
                                                  {L"Product", Field::txtProductReal},
                                                  {L"Sum", Field::txtSumReal},
                                                  {L"Difference", Field::txtDifferenceReal}};
  int tables = 0;
  for (const char* name : {"Welcome.htm", "Results.htm"}) {
    const std::wstring page = Page(name);
    for (std::wsregex_iterator t(page.begin(), page.end(), table), end; t != end; ++t) {
      ++tables;
      const std::wsmatch& m = *t;
      const FakeForm1View view =
          Calculate({m[1], m[2], m[4], m[5], m[3] == L"Polar", m[6] == L"Polar"});
      EXPECT_TRUE(view.messages.empty()) << name;
      const std::wstring rows = m[7];
      int seen = 0;
      for (std::wsregex_iterator r(rows.begin(), rows.end(), row); r != end; ++r, ++seen) {
        const int first = static_cast<int>(firstBox.at((*r)[1]));
        for (int column = 0; column < 4; ++column) {
          EXPECT_EQ(view.texts[static_cast<std::size_t>(first + column)], (*r)[column + 2].str())
              << name << ": " << (*r)[1].str() << " column " << column;
        }
      }
      EXPECT_EQ(seen, 4) << name;
    }
  }
  EXPECT_EQ(tables, 2);
}

TEST(HelpPages, PolarInputsShowTheirRectangularFormAsDocumented) {
  const std::wstring page = Page("Inputs.htm");
  const std::wregex table(L"<table title=\"A Polar\">([\\s\\S]*?)</table>");
  std::wsmatch t;
  ASSERT_TRUE(std::regex_search(page, t, table));
  const std::wstring rows = t[1];
  const std::wregex row(
      L"<tr><td>(\\S+) at (\\S+)</td><td><code>([^<]*)</code> and <code>([^<]*)</code></td></tr>");
  int seen = 0;
  for (std::wsregex_iterator r(rows.begin(), rows.end(), row), end; r != end; ++r, ++seen) {
    const FakeForm1View view = Calculate({(*r)[1], (*r)[2], L"1", L"1", true, false});
    EXPECT_EQ(view.texts[static_cast<std::size_t>(Field::lblDisplayReal1)], (*r)[3].str())
        << (*r)[0].str();
    EXPECT_EQ(view.texts[static_cast<std::size_t>(Field::lblDisplayImag1)], (*r)[4].str())
        << (*r)[0].str();
  }
  EXPECT_GE(seen, 3);
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
  const Inputs failing[] = {
      {L"abc", L"4", L"1", L"1"}, {L"1E400", L"4", L"1", L"1"}, {L"1", L"0", L"1E-200", L"0"}};
  for (const Inputs& in : failing) {
    const FakeForm1View view = Calculate(in);
    ASSERT_FALSE(view.messages.empty()) << in.ra;
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
