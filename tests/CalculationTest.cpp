#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

#include "core/ComplexMath.h"
#include "tests/FakeForm1View.h"
#include "ui/Form1Commands.h"

namespace quorvane {
namespace {

using testing::FakeForm1View;

const wchar_t kDataEntryPrompt[] =
    L"Data in one or more of the required fields either invalid or missing!";
const wchar_t kUnknownPrompt[] = L"Unknown Error occurred while trying to process the inputs!";

constexpr Field kResultBoxes[] = {
    Field::txtQuotientReal,   Field::txtQuotientImag,   Field::txtQuotientMag,
    Field::txtQuotientAngle,  Field::txtProductReal,    Field::txtProductImag,
    Field::txtProductMag,     Field::txtProductAngle,   Field::txtSumReal,
    Field::txtSumImag,        Field::txtSumMag,         Field::txtSumAngle,
    Field::txtDifferenceReal, Field::txtDifferenceImag, Field::txtDifferenceMag,
    Field::txtDifferenceAngle};

struct Calculator {
  explicit Calculator(std::wstring sep = L".") : commands(view, std::move(sep)) {
    commands.Form_Load();
  }
  void Press(std::wstring ra, std::wstring ia, std::wstring rb, std::wstring ib) {
    view.SetInputs(std::move(ra), std::move(ia), std::move(rb), std::move(ib));
    commands.cmdExecute_Click();
  }
  std::wstring Results() const {
    std::wstring all;
    for (Field f : kResultBoxes) all += view.texts[static_cast<std::size_t>(f)] + L"|";
    return all;
  }
  FakeForm1View view;
  Form1Commands commands;
};

TEST(Calculation, SixteenBoxesForThreeFourOverOneOne) {
  Calculator calc;
  calc.Press(L"3", L"4", L"1", L"1");
  const std::map<Field, std::wstring> expected = {
      {Field::txtQuotientReal, L"3.5"},    {Field::txtQuotientImag, L".5"},
      {Field::txtQuotientMag, L"3.536"},   {Field::txtQuotientAngle, L"8.13"},
      {Field::txtProductReal, L"-1.0"},    {Field::txtProductImag, L"7.0"},
      {Field::txtProductMag, L"7.071"},    {Field::txtProductAngle, L"98.13"},
      {Field::txtSumReal, L"4.0"},         {Field::txtSumImag, L"5.0"},
      {Field::txtSumMag, L"6.403"},        {Field::txtSumAngle, L"51.34"},
      {Field::txtDifferenceReal, L"2.0"},  {Field::txtDifferenceImag, L"3.0"},
      {Field::txtDifferenceMag, L"3.606"}, {Field::txtDifferenceAngle, L"56.31"},
  };
  for (const auto& [field, text] : expected) EXPECT_EQ(calc.view[field], text) << int(field);
  for (Field f : {Field::lblDisplayReal1, Field::lblDisplayImag1, Field::lblDisplayReal2,
                  Field::lblDisplayImag2})
    EXPECT_EQ(calc.view[f], L"");
  EXPECT_TRUE(calc.view.messages.empty());
  // A completed run leaves A, B, the product and the polar difference.
  const Form1State& s = calc.commands.state();
  EXPECT_EQ(s.dblRealA, 3);
  EXPECT_EQ(s.dblImagA, 4);
  EXPECT_EQ(s.dblRealB, 1);
  EXPECT_EQ(s.dblImagB, 1);
  EXPECT_EQ(s.dblRealResult, -1);
  EXPECT_EQ(s.dblImagResult, 7);
  EXPECT_EQ(s.dblMagnitude, std::sqrt(13.0));
  EXPECT_NEAR(s.dblAngle * RadiansToDegrees, 56.30993247402021, 1e-12);  // atan(3 / 2)
}

TEST(Calculation, PolarInputsShowTheirRectangularForm) {
  struct Case {
    int optA, optB;
    const wchar_t *ra, *ia, *rb, *ib;
    const wchar_t *real1, *imag1, *real2, *imag2;
    bool invalidFromView = false;  // the window's text setting leaves FE_INVALID raised
  } cases[] = {
      {1, 0, L"2", L"90", L"1", L"1", L".0", L"2.0", L"", L""},
      {0, 1, L"3", L"4", L"5", L"90", L"", L"", L".0", L"5.0"},
      {1, 1, L"2", L"180", L"1", L"-90", L"-2.0", L".0", L".0", L"-1.0"},
      {1, 1, L"1000000", L"90", L"1", L"45", L".0", L"1000000.0", L".707", L".707"},
      {1, 1, L"10000", L"30", L"10000", L"90", L"8660.254", L"5000.0", L".0", L"10000.0"},
      {1, 1, L"10000", L"-150", L"1E9", L"180", L"-8660.254", L"-5000.0", L"-1000000000.0", L".0"},
      // Beyond the reduction's range, either sign.
      {1, 0, L"1000", L"1E15", L"1", L"1", L"172.814", L"-984.955", L"", L""},
      {1, 0, L"1000", L"-1E15", L"1", L"1", L"172.814", L"984.955", L"", L""},
      {1, 1, L"10000", L"30", L"10000", L"90", L"8660.254", L"5000.0", L".0", L"10000.0", true},
  };
  for (const auto& c : cases) {
    Calculator calc;
    calc.view.selected = {c.optA, c.optB};
    calc.view.invalidOnSetText = c.invalidFromView;
    calc.Press(c.ra, c.ia, c.rb, c.ib);
    SCOPED_TRACE(::testing::Message()
                 << c.optA << c.optB << " " << c.ra << "," << c.ia << " " << c.invalidFromView);
    EXPECT_EQ(calc.view[Field::lblDisplayReal1], c.real1);
    EXPECT_EQ(calc.view[Field::lblDisplayImag1], c.imag1);
    EXPECT_EQ(calc.view[Field::lblDisplayReal2], c.real2);
    EXPECT_EQ(calc.view[Field::lblDisplayImag2], c.imag2);
    EXPECT_TRUE(calc.view.messages.empty());
  }
}

TEST(Calculation, PolarAtNinetyDegreesLeavesOnlyTheCosineOfPiOverTwo) {
  Calculator calc;
  calc.view.selected = {1, 0};
  calc.Press(L"2", L"90", L"1", L"0");
  const Form1State& s = calc.commands.state();
  // 2 * cos(0x1.921fb54442d18p+0), the cosine correctly rounded.
  EXPECT_EQ(s.dblRealA, 1.2246467991473532e-16);
  EXPECT_EQ(s.dblImagA, 2.0);
}

TEST(Calculation, DifferenceIsAMinusB) {
  Calculator calc;
  calc.Press(L"1", L"1", L"3", L"5");
  EXPECT_EQ(calc.view[Field::txtDifferenceReal], L"-2.0");
  EXPECT_EQ(calc.view[Field::txtDifferenceImag], L"-4.0");
}

TEST(Calculation, SamePressTwiceGivesSameTexts) {
  Calculator calc;
  calc.Press(L"3", L"4", L"1", L"1");
  const std::wstring first = calc.Results();
  calc.commands.cmdExecute_Click();
  EXPECT_EQ(calc.Results(), first);
}

struct FailureCase {
  const char* name;
  int optA, optB;
  const wchar_t *ra, *ia, *rb, *ib;
  const wchar_t* title;
  const wchar_t* prompt;
  int resultsWritten;  // how many result boxes, in screen order, got new texts
};

TEST(Calculation, FailuresReportAndKeepWhatWasShown) {
  const FailureCase cases[] = {
      {"empty imag B", 0, 0, L"1", L"2", L"3", L"", L"Data Entry Error", kDataEntryPrompt, 0},
      {"garbage real A", 0, 0, L"abc", L"2", L"3", L"4", L"Data Entry Error", kDataEntryPrompt, 0},
      {"empty polar angle", 1, 0, L"1", L"", L"3", L"4", L"Data Entry Error", kDataEntryPrompt, 0},
      {"beyond range", 0, 0, L"1e400", L"0", L"1", L"1", L"Error in cmdExecute_Click",
       kUnknownPrompt, 0},
      {"product overflows", 0, 0, L"1E200", L"0", L"1E200", L"0", L"Error in cmdExecute_Click",
       kUnknownPrompt, 4},
      {"quotient magnitude overflows", 0, 0, L"1e200", L"0", L"1e-10", L"0",
       L"Error in cmdExecute_Click", kUnknownPrompt, 2},
      {"product magnitude overflows", 0, 0, L"1e300", L"1e300", L"1e-10", L"0",
       L"Error in cmdExecute_Click", kUnknownPrompt, 6},
      {"sum magnitude overflows", 0, 0, L"1e160", L"0", L"1e-160", L"0",
       L"Error in cmdExecute_Click", kUnknownPrompt, 10},
      {"sum overflows", 0, 0, L"1.7e308", L"0", L"1.7e308", L"0", L"Error in cmdExecute_Click",
       kUnknownPrompt, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Calculator calc;
    for (Field f : kResultBoxes) calc.view[f] = L"old";
    calc.view[Field::lblDisplayReal1] = L"x";
    calc.view.selected = {c.optA, c.optB};
    calc.Press(c.ra, c.ia, c.rb, c.ib);
    ASSERT_EQ(calc.view.messages.size(), 1u);
    EXPECT_EQ(calc.view.messages[0].title, c.title);
    EXPECT_EQ(calc.view.messages[0].prompt, c.prompt);
    EXPECT_EQ(calc.view.messages[0].style, kMbOkOnly);
    EXPECT_EQ(calc.view[Field::lblDisplayReal1], L"");
    for (int i = 0; i < 16; ++i) {
      const std::wstring& text = calc.view[kResultBoxes[i]];
      if (i < c.resultsWritten)
        EXPECT_NE(text, L"old") << i;
      else
        EXPECT_EQ(text, L"old") << i;
    }
  }
}

TEST(Calculation, PartlyReadInputStaysInTheState) {
  Calculator calc;
  calc.Press(L"1", L"2", L"3", L"");
  const Form1State& s = calc.commands.state();
  EXPECT_EQ(s.dblRealA, 1);
  EXPECT_EQ(s.dblImagA, 2);
  EXPECT_EQ(s.dblRealB, 3);
  EXPECT_EQ(s.dblImagB, 0);

  Calculator polar;
  polar.view.selected = {0, 1};
  polar.Press(L"1", L"2", L"7", L"zz");
  EXPECT_EQ(polar.commands.state().dblMagnitude, 7);
}

TEST(Calculation, ProductOverflowLeavesQuotientShownAndLaterBoxesUntouched) {
  Calculator calc;
  calc.Press(L"3", L"4", L"1", L"1");
  const std::wstring before = calc.view[Field::txtSumReal];
  calc.Press(L"1E200", L"0", L"1E200", L"0");
  // The squared magnitude of B overflows: the quotient is undefined, not stale.
  EXPECT_EQ(calc.view[Field::txtQuotientReal], L"Undefined");
  EXPECT_EQ(calc.view[Field::txtQuotientAngle], L"Undefined");
  EXPECT_EQ(calc.view[Field::txtProductReal], L"-1.0");
  EXPECT_EQ(calc.view[Field::txtSumReal], before);
  EXPECT_EQ(calc.commands.state().dblRealResult, HUGE_VAL);
}

TEST(Calculation, ZeroBIsReportedOnceAndTheRestIsComputed) {
  Calculator calc;
  calc.Press(L"3", L"4", L"1", L"1");  // leaves numbers that must not reappear
  calc.Press(L"3", L"4", L"0", L"0");
  ASSERT_EQ(calc.view.messages.size(), 1u);
  EXPECT_EQ(calc.view.messages[0].title, L"Complex Arithmetic Module in Routine CQuotient");
  EXPECT_EQ(calc.view.messages[0].prompt,
            L"Division by Zero Error Occurred - I was dividing 0 by 0");
  for (Field f : {Field::txtQuotientReal, Field::txtQuotientImag, Field::txtQuotientMag,
                  Field::txtQuotientAngle})
    EXPECT_EQ(calc.view[f], L"Undefined");
  EXPECT_EQ(calc.view[Field::txtProductReal], L".0");
  EXPECT_EQ(calc.view[Field::txtSumReal], L"3.0");
  EXPECT_EQ(calc.view[Field::txtDifferenceImag], L"4.0");
}

TEST(Calculation, TinyBShowsInfinityNotAStaleNumber) {
  Calculator calc;
  calc.Press(L"3", L"4", L"1", L"1");
  calc.Press(L"1", L"0", L"1E-200", L"0");
  ASSERT_EQ(calc.view.messages.size(), 1u);
  EXPECT_EQ(calc.view[Field::txtQuotientReal], L"Infinity");
  EXPECT_EQ(calc.view[Field::txtQuotientImag], L"Undefined");
  EXPECT_EQ(calc.view[Field::txtQuotientMag], L"Undefined");
  EXPECT_EQ(calc.view[Field::txtQuotientAngle], L"Undefined");
  EXPECT_EQ(calc.view[Field::txtProductReal], L".0");
}

TEST(Calculation, CommaLocaleReadsAndWritesCommas) {
  Calculator calc(L",");
  calc.Press(L"2,5", L"0", L"0,5", L"0");
  EXPECT_TRUE(calc.view.messages.empty());
  EXPECT_EQ(calc.view[Field::txtQuotientReal], L"5,0");
  EXPECT_EQ(calc.view[Field::txtProductReal], L"1,25");
  EXPECT_EQ(calc.view[Field::txtDifferenceReal], L"2,0");
  calc.Press(L"2.5", L"0", L"1", L"0");
  ASSERT_EQ(calc.view.messages.size(), 1u);
  EXPECT_EQ(calc.view.messages[0].title, L"Data Entry Error");
}

// The regional settings change while the window is open: the next press
// reads and writes with the new separator only, and nothing already on
// screen is rewritten.
TEST(Calculation, NewSeparatorServesTheNextPress) {
  struct Row {
    const wchar_t* sep;
    const wchar_t* realA;
    const wchar_t* quotient;  // after the press; ".25" is the earlier text kept
    bool refused;
  };
  const Row rows[] = {
      {L",", L"2,5", L"1,25", false},
      {L",", L"2.5", L".25", true},
      {L".", L"2.5", L"1.25", false},
      {L".", L"2,5", L".25", true},
      {L"\u066b", L"2\u066b5", L"1\u066b25", false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(::testing::PrintToString(std::wstring(r.sep)));
    Calculator calc;
    calc.Press(L"1", L"0", L"4", L"0");
    ASSERT_EQ(calc.view[Field::txtQuotientReal], L".25");
    const std::wstring before = calc.Results();
    const std::size_t writes = calc.view.writes.size();
    calc.commands.SetDecimalSep(r.sep);
    EXPECT_EQ(calc.view.writes.size(), writes);
    EXPECT_EQ(calc.Results(), before);
    calc.Press(r.realA, L"0", L"2", L"0");
    EXPECT_EQ(calc.view[Field::txtQuotientReal], r.quotient);
    EXPECT_EQ(calc.view.messages.size(), r.refused ? 1u : 0u);
  }
}

// The regional settings change while the division message is open: the rest
// of that press keeps its separator, the next press takes the new one.
TEST(Calculation, SeparatorChangedDuringAMessageServesTheNextPress) {
  for (const auto& [before, after] : {std::pair<std::wstring, std::wstring>{L".", L","},
                                      {L",", L"."},
                                      {L".", L"\u066b\u066b\u066b\u066b\u066b"}}) {
    Calculator calc(before);
    calc.view.onShow = [&] { calc.commands.SetDecimalSep(after); };
    calc.Press(L"1", L"0", L"1E-200", L"0");  // A/B divides by zero
    ASSERT_EQ(calc.view.messages.size(), 1u);
    EXPECT_EQ(calc.view[Field::txtSumReal], L"1" + before + L"0");
    calc.Press(L"2" + after + L"5", L"0", L"1", L"0");
    EXPECT_EQ(calc.view[Field::txtQuotientReal], L"2" + after + L"5");
  }
}

TEST(Calculation, NeverWritesInputsAndClearsLabelsFirst) {
  Calculator calc;
  calc.view.selected = {1, 1};
  calc.Press(L"2", L"30", L"3", L"60");
  ASSERT_GE(calc.view.writes.size(), 4u);
  EXPECT_EQ(calc.view.writes[0], Field::lblDisplayReal1);
  EXPECT_EQ(calc.view.writes[1], Field::lblDisplayImag1);
  EXPECT_EQ(calc.view.writes[2], Field::lblDisplayReal2);
  EXPECT_EQ(calc.view.writes[3], Field::lblDisplayImag2);
  for (Field f : calc.view.writes) {
    EXPECT_NE(f, Field::txtRealA);
    EXPECT_NE(f, Field::txtImagA);
    EXPECT_NE(f, Field::txtRealB);
    EXPECT_NE(f, Field::txtImagB);
  }
  EXPECT_EQ(calc.view.writes.size(), 4u + 4u + 16u);
  EXPECT_EQ(calc.view[Field::txtRealA], L"2");
}

}  // namespace
}  // namespace quorvane
