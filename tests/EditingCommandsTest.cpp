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

}  // namespace
}  // namespace quorvane
