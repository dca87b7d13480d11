#include "ui/Form1Commands.h"

#include <exception>

#include "core/ComplexMath.h"
#include "core/Failure.h"
#include "core/NumericText.h"

namespace quorvane {

namespace {

constexpr int kRectangular = 0;

struct RowFields {
  Field real, imag, mag, angle;
};

constexpr RowFields kRows[] = {
    {Field::txtQuotientReal, Field::txtQuotientImag, Field::txtQuotientMag,
     Field::txtQuotientAngle},
    {Field::txtProductReal, Field::txtProductImag, Field::txtProductMag, Field::txtProductAngle},
    {Field::txtSumReal, Field::txtSumImag, Field::txtSumMag, Field::txtSumAngle},
    {Field::txtDifferenceReal, Field::txtDifferenceImag, Field::txtDifferenceMag,
     Field::txtDifferenceAngle},
};

const RowFields& Row(ResultRow row) { return kRows[static_cast<int>(row)]; }

constexpr const wchar_t* kRowNames[] = {L"Quotient", L"Product", L"Sum", L"Difference"};

}  // namespace

std::optional<ResultRow> ResultRowOf(Field field) {
  const int i = static_cast<int>(field) - static_cast<int>(Field::txtQuotientReal);
  if (i < 0 || i >= 16) return std::nullopt;
  return static_cast<ResultRow>(i / 4);
}

std::wstring RowCommandCaption(ResultRow row, ComplexForm form, std::wstring_view rowText) {
  std::wstring caption = std::wstring(L"Copy ") + kRowNames[static_cast<int>(row)] +
                         (form == ComplexForm::Rectangular ? L" as &Rectangular" : L" as P&olar");
  if (!rowText.empty()) caption += L": " + std::wstring(rowText);
  return caption;
}

std::wstring Form1Commands::Text(Field field) {
  std::wstring text = view_.GetText(field);
  ClearFloatStatus();
  return text;
}

void Form1Commands::Put(Field field, std::wstring_view text) {
  view_.SetText(field, text);
  ClearFloatStatus();
}

void Form1Commands::Show(Field field, double value) { Put(field, FormatResult(value, pressSep_)); }

void Form1Commands::ShowDegrees(Field field, double radians) {
  const double degrees = FpMul(radians, RadiansToDegrees);
  CheckFloatStatus();
  Show(field, degrees);
}

double Form1Commands::Read(Field field) { return TextToNumber(Text(field), pressSep_); }

void Form1Commands::ReadInput(OptionGroup group, Field realBox, Field imagBox, double& re,
                              double& im, Field realLabel, Field imagLabel) {
  const bool rectangular = view_.IsSelected(group, kRectangular);
  ClearFloatStatus();
  if (rectangular) {
    re = Read(realBox);
    im = Read(imagBox);
    return;
  }
  state_.dblMagnitude = Read(realBox);
  state_.dblAngle = FpDiv(Read(imagBox), RadiansToDegrees);
  CheckFloatStatus();
  PolarToRect(state_.dblMagnitude, state_.dblAngle, re, im);
  Show(realLabel, re);
  Show(imagLabel, im);
}

void Form1Commands::ShowPolarOf(const double& re, const double& im, Field magBox, Field angleBox) {
  RectToPolar(re, im, state_.dblMagnitude, state_.dblAngle);
  Show(magBox, state_.dblMagnitude);
  ShowDegrees(angleBox, state_.dblAngle);
}

void Form1Commands::cmdExecute_Click() {
  Form1State& s = state_;
  ClearFloatStatus();
  try {
    pressSep_ = decimalSep_;
    Put(Field::lblDisplayReal1, L"");
    Put(Field::lblDisplayImag1, L"");
    Put(Field::lblDisplayReal2, L"");
    Put(Field::lblDisplayImag2, L"");
    ReadInput(OptionGroup::optA, Field::txtRealA, Field::txtImagA, s.dblRealA, s.dblImagA,
              Field::lblDisplayReal1, Field::lblDisplayImag1);
    ReadInput(OptionGroup::optB, Field::txtRealB, Field::txtImagB, s.dblRealB, s.dblImagB,
              Field::lblDisplayReal2, Field::lblDisplayImag2);

    CQuotient(s.dblRealA, s.dblImagA, s.dblRealB, s.dblImagB, s.dblRealResult, s.dblImagResult,
              view_, pressSep_);
    Show(Field::txtQuotientReal, s.dblRealResult);
    Show(Field::txtQuotientImag, s.dblImagResult);
    ShowPolarOf(s.dblRealResult, s.dblImagResult, Field::txtQuotientMag, Field::txtQuotientAngle);

    CProduct(s.dblRealA, s.dblImagA, s.dblRealB, s.dblImagB, s.dblRealResult, s.dblImagResult);
    Show(Field::txtProductReal, s.dblRealResult);
    Show(Field::txtProductImag, s.dblImagResult);
    ShowPolarOf(s.dblRealResult, s.dblImagResult, Field::txtProductMag, Field::txtProductAngle);

    // The sum and the difference live in temporaries, never in the state.
    const double sumRe = FpAdd(s.dblRealA, s.dblRealB);
    CheckFloatStatus();
    Show(Field::txtSumReal, sumRe);
    const double sumIm = FpAdd(s.dblImagA, s.dblImagB);
    CheckFloatStatus();
    Show(Field::txtSumImag, sumIm);
    ShowPolarOf(sumRe, sumIm, Field::txtSumMag, Field::txtSumAngle);

    const double diffRe = FpSub(s.dblRealA, s.dblRealB);
    CheckFloatStatus();
    Show(Field::txtDifferenceReal, diffRe);
    const double diffIm = FpSub(s.dblImagA, s.dblImagB);
    CheckFloatStatus();
    Show(Field::txtDifferenceImag, diffIm);
    ShowPolarOf(diffRe, diffIm, Field::txtDifferenceMag, Field::txtDifferenceAngle);
  } catch (const RuntimeError& e) {
    ClearFloatStatus();
    if (e.number == kErrTypeMismatch) {
      view_.Show(L"Data in one or more of the required fields either invalid or missing!",
                 kMbOkOnly, L"Data Entry Error");
    } else {
      view_.Show(L"Unknown Error occurred while trying to process the inputs!", kMbOkOnly,
                 L"Error in cmdExecute_Click");
    }
    ClearFloatStatus();
  } catch (const std::exception&) {
    // Out of memory and the like: reported as an unexpected failure.
    ClearFloatStatus();
    view_.Show(L"Unknown Error occurred while trying to process the inputs!", kMbOkOnly,
               L"Error in cmdExecute_Click");
    ClearFloatStatus();
  }
}

void Form1Commands::cmdClearInput_Click() {
  for (const Field f :
       {Field::txtRealA, Field::txtImagA, Field::txtRealB, Field::txtImagB, Field::lblDisplayReal1,
        Field::lblDisplayImag1, Field::lblDisplayReal2, Field::lblDisplayImag2}) {
    view_.SetText(f, L"");
  }
}

void Form1Commands::CopyResultToInput(ResultRow row) {
  cmdClearInput_Click();
  const RowFields& r = Row(row);
  const std::wstring real = view_.GetText(r.real);
  const std::wstring imag = view_.GetText(r.imag);
  view_.SetText(Field::txtRealA, real);
  view_.SetText(Field::txtImagA, imag);
  view_.SetText(Field::txtRealB, real);
  view_.SetText(Field::txtImagB, imag);
}

bool Form1Commands::PasteIntoInput(Field box, std::wstring_view text) {
  const bool a = box == Field::txtRealA || box == Field::txtImagA;
  if (!a && box != Field::txtRealB && box != Field::txtImagB) return false;
  const std::optional<ComplexParts> parts = ReadComplexText(text, decimalSep_);
  if (!parts) return false;
  view_.SetText(a ? Field::txtRealA : Field::txtRealB, parts->first);
  view_.SetText(a ? Field::txtImagA : Field::txtImagB, parts->second);
  view_.Select(a ? OptionGroup::optA : OptionGroup::optB,
               parts->form == ComplexForm::Rectangular ? kRectangular : 1);
  return true;
}

std::wstring Form1Commands::RowText(ResultRow row, ComplexForm form) {
  const RowFields& r = Row(row);
  const bool rectangular = form == ComplexForm::Rectangular;
  return WriteComplexText(view_.GetText(rectangular ? r.real : r.mag),
                          view_.GetText(rectangular ? r.imag : r.angle), form, decimalSep_);
}

void Form1Commands::Form_Load() {
  view_.Select(OptionGroup::optA, kRectangular);
  view_.Select(OptionGroup::optB, kRectangular);
}

}  // namespace quorvane
