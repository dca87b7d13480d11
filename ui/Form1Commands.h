// The main window's commands as plain logic over IForm1View: the calculation,
// Clear Inputs, the four Copy commands, the start-up defaults, and the
// clipboard's complex numbers: pasted into an input, copied out of a row.
#pragma once

#include <optional>
#include <string>

#include "core/ComplexNotation.h"
#include "ui/Form1View.h"

namespace quorvane {

// Kept between calculations; all zero when the window is created.
struct Form1State {
  double dblRealA = 0;
  double dblRealB = 0;
  double dblRealResult = 0;
  double dblImagA = 0;
  double dblImagB = 0;
  double dblImagResult = 0;
  double dblMagnitude = 0;
  double dblAngle = 0;
};

enum class ResultRow : int { Quotient, Product, Sum, Difference };

// The row a result box belongs to; nothing for any other field.
std::optional<ResultRow> ResultRowOf(Field field);

// The caption of a row's copy command in its context menu: "Copy Quotient as
// &Rectangular: 0.202 - j0.1", without the value when rowText is empty.
std::wstring RowCommandCaption(ResultRow row, ComplexForm form, std::wstring_view rowText);

class Form1Commands {
 public:
  Form1Commands(IForm1View& view, std::wstring decimalSep)
      : view_(view), decimalSep_(std::move(decimalSep)) {}

  void Form_Load();
  void cmdExecute_Click();
  void cmdClearInput_Click();
  void CopyResultToInput(ResultRow row);

  // A text pasted into `box`: when the box is an input and the text one
  // complex number, both boxes of that input take its parts and its form is
  // selected, and true. Otherwise nothing changes, and false: the box's own
  // paste follows.
  bool PasteIntoInput(Field box, std::wstring_view text);
  // The row as one number for the clipboard, as its boxes show it; empty
  // when they do not both hold a number.
  std::wstring RowText(ResultRow row, ComplexForm form);

  // The user changed the regional settings: the next calculation reads and
  // writes numbers with this separator; texts already shown stay as they are.
  void SetDecimalSep(std::wstring decimalSep) { decimalSep_ = std::move(decimalSep); }

  const Form1State& state() const { return state_; }

 private:
  // Control access, each followed by clearing the floating-point flags so a
  // check reports only what arithmetic raised since.
  std::wstring Text(Field field);
  void Put(Field field, std::wstring_view text);
  void Show(Field field, double value);
  void ShowDegrees(Field field, double radians);
  double Read(Field field);

  void ReadInput(OptionGroup group, Field realBox, Field imagBox, double& re, double& im,
                 Field realLabel, Field imagLabel);
  void ShowPolarOf(const double& re, const double& im, Field magBox, Field angleBox);

  IForm1View& view_;
  std::wstring decimalSep_;
  // The separator of the press under way, its own copy: a message box it
  // shows may let a change of the settings in, which serves the next press.
  std::wstring pressSep_;
  Form1State state_;
};

}  // namespace quorvane
