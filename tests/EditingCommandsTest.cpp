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

// A text pasted into an input box: one complex number fills that input, its
// parts as written, and selects its form; any other text changes nothing.
TEST(PasteIntoInput, AComplexNumberFillsItsInputAndSelectsItsForm) {
  constexpr int R = 0, P = 1;
  const std::wstring padded = std::wstring(252, L' ') + L"3+4j", huge = L" " + padded;
  struct Case {
    const wchar_t *text, *first, *second;
    int form;
    const wchar_t* sep = L".";
  };
  const Case cases[] = {
      {L"3+4j", L"3", L"4", R},
      {L"3 - 4j", L"3", L"-4", R},
      {L"3-j4", L"3", L"-4", R},
      {L"+3 + j 4", L"+3", L"4", R},
      {L"3+4 * J", L"3", L"4", R},
      {L"-3+4I", L"-3", L"4", R},
      {L"( 1.5 - 2.25i )", L"1.5", L"-2.25", R},
      {L"1e3-2.5E-1j", L"1e3", L"-2.5E-1", R},
      {L"\t.5+.25i\r\n", L".5", L".25", R},
      {L"-4*j", L"0", L"-4", R},
      {L"j4", L"0", L"4", R},
      {L"1,5-2,25j", L"1,5", L"-2,25", R, L","},
      {L"5\u222053.13\u00b0", L"5", L"53.13", P},
      {L"(-5 \u2220 +53.13 \u00b0)", L"-5", L"+53.13", P},
      {L"12<-30", L"12", L"-30", P},
      {L"2,5 < 30\u00b0", L"2,5", L"30", P, L","},
      {L"1e400<0", L"1e400", L"0", P},
      {padded.c_str(), L"3", L"4", R},
  };
  // No complex number, whichever box it is pasted into.
  const wchar_t* none[] = {L"42",       L"3+4",   L"abc",      L"3+-4j",    L"3+4k",
                           L"x3+4j",    L"3+4jj", L"3+j*4",    L"3 4",      L"3+4j\r\n5+6j",
                           L"3+j",      L"j",     L"\u222030", L"5<\u00b0", L"5<30<40",
                           L"((3+4j))", L"",      L"1.5-2j",   huge.c_str()};
  const Field inputs[] = {Field::txtRealA, Field::txtImagA, Field::txtRealB, Field::txtImagB};
  for (std::size_t i = 0; i < std::size(cases) + std::size(none) * 4; ++i) {
    const Case c =
        i < std::size(cases) ? cases[i] : Case{none[(i - std::size(cases)) / 4], {}, {}, -1, L","};
    SCOPED_TRACE(::testing::PrintToString(std::wstring(c.text)));
    FakeForm1View view;
    Form1Commands commands(view, c.sep);
    const int other = c.form == P ? R : P;  // the form before, which a paste changes
    view.selected = {other, other};
    view.SetInputs(L"1", L"2", L"3", L"4");
    view[Field::lblDisplayReal1] = L"kept";
    auto expected = view.texts;
    const std::size_t input = i % 4 / 2 * 2;  // 0 for A, 2 for B
    if (c.first) {
      expected[input] = c.first;
      expected[input + 1] = c.second;
    }
    EXPECT_EQ(commands.PasteIntoInput(inputs[i % 4], c.text), c.first != nullptr);
    EXPECT_EQ(view.texts, expected);
    EXPECT_EQ(view.selected[input / 2], c.first ? c.form : other);
    EXPECT_EQ(view.selected[1 - input / 2], other);
  }
  FakeForm1View view;
  EXPECT_FALSE(Form1Commands(view, L".").PasteIntoInput(Field::txtSumReal, L"3+4j"));
}

TEST(RowText, TheRowAsShownWithAZeroBeforeALeadingSeparator) {
  const struct {
    const wchar_t *re, *im, *mag, *angle, *sep, *rectangular, *polar;
  } cases[] = {
      {L".202", L"-.1", L".225", L"-26.31", L".", L"0.202 - j0.1", L"0.225 \u2220 -26.31\u00b0"},
      {L"-1.0", L"7.0", L"7.071", L"98.13", L".", L"-1.0 + j7.0", L"7.071 \u2220 98.13\u00b0"},
      {L"-.5", L".5", L"-.5", L"135.0", L".", L"-0.5 + j0.5", L"-0.5 \u2220 135.0\u00b0"},
      {L",202", L"-,1", L",225", L"-26,31", L",", L"0,202 - j0,1", L"0,225 \u2220 -26,31\u00b0"},
      {L" 7 ", L"+2", L"1e3", L"-0", L".", L"7 + j2", L"1e3 \u2220 -0\u00b0"},
      {L"", L"", L"", L"", L".", L"", L""},
      {L"Undefined", L"Undefined", L"Undefined", L"Undefined", L".", L"", L""},
      {L"Infinity", L"1.0", L"1.0", L"-Infinity", L".", L"", L""},
      {L"abc", L"1.0", L"1.0", L"", L".", L"", L""},
      {L"1.5", L"2.0", L"1,5", L"2.0", L",", L"", L""},
  };
  for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
    const auto& c = cases[i];
    FakeForm1View view;
    Form1Commands commands(view, c.sep);
    const auto row = static_cast<ResultRow>(i % 4);
    auto box = static_cast<std::size_t>(Field::txtQuotientReal) + 4 * (i % 4);
    for (const wchar_t* text : {c.re, c.im, c.mag, c.angle}) view.texts[box++] = text;
    EXPECT_EQ(commands.RowText(row, ComplexForm::Rectangular), c.rectangular);
    EXPECT_EQ(commands.RowText(row, ComplexForm::Polar), c.polar);
  }
}

// Every row copied out and pasted back gives what its Copy button gives,
// with a 0 before a leading separator, and the form it was copied in.
TEST(RowText, PastedBackGivesWhatTheCopyButtonGives) {
  FakeForm1View view;
  Form1Commands commands(view, L".");
  view.SetInputs(L"1", L"1", L"3", L"4");
  commands.cmdExecute_Click();
  ASSERT_EQ(view[Field::txtQuotientReal], L".28");
  for (std::size_t box = static_cast<std::size_t>(Field::txtQuotientReal); box < kFieldCount;
       box += 2) {
    const bool polar = box % 4 == 2;
    const std::wstring text =
        commands.RowText(*ResultRowOf(static_cast<Field>(box)),
                         polar ? ComplexForm::Polar : ComplexForm::Rectangular);
    ASSERT_TRUE(commands.PasteIntoInput(Field::txtImagB, text)) << ::testing::PrintToString(text);
    for (std::size_t part = 0; part < 2; ++part) {
      std::wstring copied = view.texts[box + part];  // as the Copy button copies it
      const std::size_t sign = copied[0] == L'-';
      if (copied.find(L'.') == sign) copied.insert(sign, 1, L'0');
      EXPECT_EQ(view.texts[2 + part], copied);
    }
    EXPECT_EQ(view.selected[1], polar);
  }
}

}  // namespace
}  // namespace quorvane
