#include <gtest/gtest.h>

#include "tests/FakeForm1View.h"
#include "ui/Form1Commands.h"

namespace quorvane {
namespace {

using testing::FakeForm1View;

constexpr Field kInputs[] = {Field::txtRealA, Field::txtImagA, Field::txtRealB, Field::txtImagB};
constexpr Field kLabels[] = {Field::lblDisplayReal1, Field::lblDisplayImag1, Field::lblDisplayReal2,
                             Field::lblDisplayImag2};

TEST(StartUp, BothInputsRectangular) {
  FakeForm1View view;
  view.selected = {1, 1};
  Form1Commands commands(view, L".");
  commands.Form_Load();
  EXPECT_TRUE(view.IsSelected(OptionGroup::optA, 0));
  EXPECT_TRUE(view.IsSelected(OptionGroup::optB, 0));
  EXPECT_FALSE(view.IsSelected(OptionGroup::optA, 1));
  EXPECT_TRUE(view.writes.empty());
  const Form1State& s = commands.state();
  for (double v : {s.dblRealA, s.dblRealB, s.dblRealResult, s.dblImagA, s.dblImagB, s.dblImagResult,
                   s.dblMagnitude, s.dblAngle})
    EXPECT_EQ(v, 0);
}

TEST(ClearInputs, EmptiesInputsAndLabelsOnly) {
  FakeForm1View view;
  Form1Commands commands(view, L".");
  commands.Form_Load();
  view.selected = {1, 0};
  view.SetInputs(L"2", L"90", L"1", L"1");
  commands.cmdExecute_Click();
  const auto results = view.texts;
  commands.cmdClearInput_Click();
  for (Field f : kInputs) EXPECT_EQ(view[f], L"");
  for (Field f : kLabels) EXPECT_EQ(view[f], L"");
  for (int i = static_cast<int>(Field::txtQuotientReal); i < kFieldCount; ++i)
    EXPECT_EQ(view.texts[i], results[i]);
  EXPECT_EQ(view.selected[0], 1);
  EXPECT_EQ(view.selected[1], 0);
  EXPECT_EQ(commands.state().dblRealB, 1);
}

struct CopyCase {
  ResultRow row;
  Field real, imag;
};

TEST(CopyResultToInput, CopiesTheShownTextIntoBothInputs) {
  const CopyCase cases[] = {
      {ResultRow::Quotient, Field::txtQuotientReal, Field::txtQuotientImag},
      {ResultRow::Product, Field::txtProductReal, Field::txtProductImag},
      {ResultRow::Sum, Field::txtSumReal, Field::txtSumImag},
      {ResultRow::Difference, Field::txtDifferenceReal, Field::txtDifferenceImag},
  };
  for (const auto& c : cases) {
    FakeForm1View view;
    Form1Commands commands(view, L".");
    commands.Form_Load();
    view[c.real] = L" typed 1 ";
    view[c.imag] = L"-.5";
    view[Field::lblDisplayImag2] = L"stale";
    view[Field::txtQuotientMag] = L"keep";
    commands.CopyResultToInput(c.row);
    EXPECT_EQ(view[Field::txtRealA], L" typed 1 ");
    EXPECT_EQ(view[Field::txtImagA], L"-.5");
    EXPECT_EQ(view[Field::txtRealB], L" typed 1 ");
    EXPECT_EQ(view[Field::txtImagB], L"-.5");
    EXPECT_EQ(view[Field::lblDisplayImag2], L"");
    EXPECT_EQ(view[Field::txtQuotientMag], L"keep");
    EXPECT_TRUE(view.messages.empty());
  }
}

TEST(CopyResultToInput, EmptySourcesGiveEmptyInputs) {
  FakeForm1View view;
  Form1Commands commands(view, L".");
  view.SetInputs(L"1", L"2", L"3", L"4");
  commands.CopyResultToInput(ResultRow::Sum);
  for (Field f : kInputs) EXPECT_EQ(view[f], L"");
}

TEST(CopyResultToInput, CopiesTheShortenedTextAndChains) {
  FakeForm1View view;
  Form1Commands commands(view, L".");
  commands.Form_Load();
  view.SetInputs(L"1", L"0", L"3", L"0");
  commands.cmdExecute_Click();
  commands.CopyResultToInput(ResultRow::Quotient);
  EXPECT_EQ(view[Field::txtRealA], L".333");
  EXPECT_EQ(view[Field::txtRealB], L".333");

  view.SetInputs(L"3", L"4", L"1", L"1");
  commands.cmdExecute_Click();
  commands.CopyResultToInput(ResultRow::Sum);  // 4 + j5 into A and B
  commands.cmdExecute_Click();
  EXPECT_EQ(view[Field::txtQuotientReal], L"1.0");
  EXPECT_EQ(view[Field::txtQuotientImag], L".0");
  EXPECT_EQ(view[Field::txtDifferenceReal], L".0");
  EXPECT_EQ(view[Field::txtDifferenceImag], L".0");
  EXPECT_EQ(view[Field::txtProductReal], L"-9.0");
  EXPECT_EQ(view[Field::txtProductImag], L"40.0");
  EXPECT_EQ(view[Field::txtSumReal], L"8.0");
  EXPECT_EQ(view[Field::txtSumImag], L"10.0");
}

TEST(CopyResultToInput, PolarSelectionReadsTheCopyAsMagnitudeAndAngle) {
  FakeForm1View view;
  Form1Commands commands(view, L".");
  commands.Form_Load();
  view[Field::txtSumReal] = L"2.0";
  view[Field::txtSumImag] = L"90.0";
  view.selected = {1, 0};
  commands.CopyResultToInput(ResultRow::Sum);
  EXPECT_EQ(view.selected[0], 1);
  commands.cmdExecute_Click();
  EXPECT_EQ(view[Field::lblDisplayReal1], L".0");
  EXPECT_EQ(view[Field::lblDisplayImag1], L"2.0");
}

TEST(CopyResultToInput, TypedGarbageLeadsToTheDataEntryMessage) {
  FakeForm1View view;
  Form1Commands commands(view, L".");
  commands.Form_Load();
  view[Field::txtProductReal] = L"abc";
  view[Field::txtProductImag] = L"1";
  commands.CopyResultToInput(ResultRow::Product);
  EXPECT_EQ(view[Field::txtRealB], L"abc");
  commands.cmdExecute_Click();
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0].title, L"Data Entry Error");
}

// A text pasted into a box: one complex number fills that input and selects
// its form, anything else leaves every box and form as it was.
TEST(PasteIntoInput, AComplexNumberFillsItsInputAndSelectsItsForm) {
  constexpr int R = 0, P = 1, None = -1;
  const struct {
    const wchar_t* text;
    Field box;
    const wchar_t *first, *second;
    int form;
    const wchar_t* sep = L".";
  } cases[] = {
      {L"3+4j", Field::txtRealA, L"3", L"4", R},
      {L"3 - 4j", Field::txtImagA, L"3", L"-4", R},
      {L"3-j4", Field::txtRealB, L"3", L"-4", R},
      {L"3 + j 4", Field::txtImagB, L"3", L"4", R},
      {L"3+4 * J", Field::txtRealA, L"3", L"4", R},
      {L"+3+4I", Field::txtRealA, L"+3", L"4", R},
      {L"(1.5-2.25j)", Field::txtImagB, L"1.5", L"-2.25", R},
      {L"( 1.5 - 2.25i )", Field::txtImagB, L"1.5", L"-2.25", R},
      {L"3.0000 + 4.0000i", Field::txtRealA, L"3.0000", L"4.0000", R},
      {L"1e3-2.5E-1j", Field::txtRealB, L"1e3", L"-2.5E-1", R},
      {L"-3e+2+4e-2J", Field::txtRealB, L"-3e+2", L"4e-2", R},
      {L"\t.5+.25i\r\n", Field::txtImagA, L".5", L".25", R},
      {L"4j", Field::txtImagA, L"0", L"4", R},
      {L"-4*j", Field::txtImagA, L"0", L"-4", R},
      {L"j4", Field::txtRealB, L"0", L"4", R},
      {L"- j 4", Field::txtRealB, L"0", L"-4", R},
      {L"1,5-2,25j", Field::txtRealA, L"1,5", L"-2,25", R, L","},
      {L"5\u222053.13\u00b0", Field::txtRealA, L"5", L"53.13", P},
      {L"5 \u2220 53.13 \u00b0", Field::txtImagB, L"5", L"53.13", P},
      {L"12 < -30", Field::txtRealB, L"12", L"-30", P},
      {L"(-12<+30\u00b0)", Field::txtImagA, L"-12", L"+30", P},
      {L"2,5\u222030", Field::txtImagA, L"2,5", L"30", P, L","},
      {L"1e400<0", Field::txtImagA, L"1e400", L"0", P},
      {L"42", Field::txtRealA, nullptr, nullptr, None},
      {L"3+4", Field::txtRealA, nullptr, nullptr, None},
      {L"abc", Field::txtImagB, nullptr, nullptr, None},
      {L"3+-4j", Field::txtRealA, nullptr, nullptr, None},
      {L"3+4k", Field::txtRealA, nullptr, nullptr, None},
      {L"3x+4j", Field::txtRealA, nullptr, nullptr, None},
      {L"3+4jj", Field::txtRealA, nullptr, nullptr, None},
      {L"3+j*4", Field::txtRealA, nullptr, nullptr, None},
      {L"3 4", Field::txtRealA, nullptr, nullptr, None},
      {L"3+4j\r\n5+6j", Field::txtRealA, nullptr, nullptr, None},
      {L"3+j", Field::txtRealA, nullptr, nullptr, None},
      {L"j", Field::txtRealA, nullptr, nullptr, None},
      {L"\u222030", Field::txtRealB, nullptr, nullptr, None},
      {L"5<\u00b0", Field::txtRealB, nullptr, nullptr, None},
      {L"5<30<40", Field::txtRealB, nullptr, nullptr, None},
      {L"((3+4j))", Field::txtRealA, nullptr, nullptr, None},
      {L"", Field::txtRealA, nullptr, nullptr, None},
      {L"1.5-2j", Field::txtRealA, nullptr, nullptr, None, L","},
      {L"3+4j", Field::txtSumReal, nullptr, nullptr, None},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(std::wstring(c.text)));
    FakeForm1View view;
    Form1Commands commands(view, c.sep);
    const int before = c.form == P ? R : P;  // the form a paste changes
    view.selected = {before, before};
    view.SetInputs(L"1", L"2", L"3", L"4");
    view[Field::lblDisplayReal1] = L"kept";
    auto expected = view.texts;
    const bool a = c.box == Field::txtRealA || c.box == Field::txtImagA;
    if (c.form != None) {
      expected[a ? 0 : 2] = c.first;
      expected[a ? 1 : 3] = c.second;
    }
    EXPECT_EQ(commands.PasteIntoInput(c.box, c.text), c.form != None);
    EXPECT_EQ(view.texts, expected);
    EXPECT_EQ(view.selected[a ? 0 : 1], c.form == None ? before : c.form);
    EXPECT_EQ(view.selected[a ? 1 : 0], before);
    EXPECT_TRUE(view.messages.empty());
  }
  // At most 256 characters are read as a number, blanks included.
  FakeForm1View view;
  Form1Commands commands(view, L".");
  EXPECT_TRUE(commands.PasteIntoInput(Field::txtRealA, std::wstring(252, L' ') + L"3+4j"));
  EXPECT_FALSE(commands.PasteIntoInput(Field::txtRealA, std::wstring(253, L' ') + L"3+4j"));
}

TEST(RowText, TheRowAsShownWithAZeroBeforeALeadingSeparator) {
  const struct {
    ResultRow row;
    const wchar_t *re, *im, *mag, *angle, *sep, *rectangular, *polar;
  } cases[] = {
      {ResultRow::Quotient, L".202", L"-.1", L".225", L"-26.31", L".", L"0.202 - j0.1",
       L"0.225 \u2220 -26.31\u00b0"},
      {ResultRow::Product, L"-1.0", L"7.0", L"7.071", L"98.13", L".", L"-1.0 + j7.0",
       L"7.071 \u2220 98.13\u00b0"},
      {ResultRow::Sum, L"-.5", L".5", L"-.5", L"135.0", L".", L"-0.5 + j0.5",
       L"-0.5 \u2220 135.0\u00b0"},
      {ResultRow::Difference, L",202", L"-,1", L",225", L"-26,31", L",", L"0,202 - j0,1",
       L"0,225 \u2220 -26,31\u00b0"},
      {ResultRow::Sum, L" 7 ", L"+2", L"1e3", L"-0", L".", L"7 + j2", L"1e3 \u2220 -0\u00b0"},
      {ResultRow::Quotient, L"", L"", L"", L"", L".", L"", L""},
      {ResultRow::Quotient, L"Undefined", L"Undefined", L"Undefined", L"Undefined", L".", L"", L""},
      {ResultRow::Product, L"Infinity", L"1.0", L"1.0", L"-Infinity", L".", L"", L""},
      {ResultRow::Difference, L"abc", L"1.0", L"1.0", L"", L".", L"", L""},
      {ResultRow::Sum, L"1.5", L"2.0", L"1,5", L"2.0", L",", L"", L""},
  };
  for (const auto& c : cases) {
    FakeForm1View view;
    Form1Commands commands(view, c.sep);
    const auto first =
        static_cast<std::size_t>(Field::txtQuotientReal) + 4 * static_cast<int>(c.row);
    view.texts[first] = c.re;
    view.texts[first + 1] = c.im;
    view.texts[first + 2] = c.mag;
    view.texts[first + 3] = c.angle;
    EXPECT_EQ(commands.RowText(c.row, ComplexForm::Rectangular), c.rectangular);
    EXPECT_EQ(commands.RowText(c.row, ComplexForm::Polar), c.polar);
  }
  EXPECT_EQ(RowCommandCaption(ResultRow::Quotient, ComplexForm::Rectangular, L"0.202 - j0.1"),
            L"Copy Quotient as &Rectangular: 0.202 - j0.1");
  EXPECT_EQ(RowCommandCaption(ResultRow::Difference, ComplexForm::Polar, L""),
            L"Copy Difference as P&olar");
}

// Every row copied out and pasted back gives what its Copy button gives,
// with a 0 before a leading separator, and the form it was copied in.
TEST(RowText, PastedBackGivesWhatTheCopyButtonGives) {
  FakeForm1View view;
  Form1Commands commands(view, L".");
  commands.Form_Load();
  view.SetInputs(L"1", L"1", L"3", L"4");
  commands.cmdExecute_Click();
  const auto zeroed = [](std::wstring t) {
    if (t[0] == L'.' || t.starts_with(L"-.")) t.insert(t[0] == L'-', 1, L'0');
    return t;
  };
  for (int row = 0; row < 4; ++row) {
    for (const ComplexForm form : {ComplexForm::Rectangular, ComplexForm::Polar}) {
      const std::size_t box = static_cast<std::size_t>(Field::txtQuotientReal) + 4 * row +
                              (form == ComplexForm::Polar ? 2 : 0);
      const std::wstring text = commands.RowText(static_cast<ResultRow>(row), form);
      SCOPED_TRACE(::testing::PrintToString(text));
      ASSERT_TRUE(commands.PasteIntoInput(row % 2 ? Field::txtImagB : Field::txtRealA, text));
      const std::size_t input = row % 2 ? 2 : 0;
      EXPECT_EQ(view.texts[input], zeroed(view.texts[box]));
      EXPECT_EQ(view.texts[input + 1], zeroed(view.texts[box + 1]));
      EXPECT_EQ(view.selected[row % 2], form == ComplexForm::Polar);
    }
  }
  EXPECT_EQ(view[Field::txtQuotientReal], L".28");  // the row below 1 was carried
}

}  // namespace
}  // namespace quorvane
