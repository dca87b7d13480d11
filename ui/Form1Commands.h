// The main window's commands as plain logic over IForm1View: the calculation,
// Clear Inputs, the four Copy commands and the start-up defaults.
#pragma once

#include <string>

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

class Form1Commands {
 public:
  Form1Commands(IForm1View& view, std::wstring decimalSep)
      : view_(view), decimalSep_(std::move(decimalSep)) {}

  void Form_Load();
  void cmdExecute_Click();
  void cmdClearInput_Click();
  void CopyResultToInput(ResultRow row);

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
