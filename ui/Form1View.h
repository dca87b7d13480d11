// What the main window's commands read and write, as the window supplies it
// and tests fake it.
#pragma once

#include <string>
#include <string_view>

#include "core/MessageBox.h"

namespace quorvane {

// Texts of the main window that the commands touch: the inputs, the labels
// under them and the sixteen result boxes.
enum class Field : int {
  txtRealA,
  txtImagA,
  txtRealB,
  txtImagB,
  lblDisplayReal1,
  lblDisplayImag1,
  lblDisplayReal2,
  lblDisplayImag2,
  txtQuotientReal,
  txtQuotientImag,
  txtQuotientMag,
  txtQuotientAngle,
  txtProductReal,
  txtProductImag,
  txtProductMag,
  txtProductAngle,
  txtSumReal,
  txtSumImag,
  txtSumMag,
  txtSumAngle,
  txtDifferenceReal,
  txtDifferenceImag,
  txtDifferenceMag,
  txtDifferenceAngle,
};
inline constexpr int kFieldCount = static_cast<int>(Field::txtDifferenceAngle) + 1;

// The Rectangular/Polar groups; item 0 is Rectangular, item 1 Polar.
enum class OptionGroup : int { optA, optB };

class IForm1View : public IMessageBox {
 public:
  virtual std::wstring GetText(Field field) = 0;
  virtual void SetText(Field field, std::wstring_view text) = 0;
  virtual bool IsSelected(OptionGroup group, int item) = 0;
  virtual void Select(OptionGroup group, int item) = 0;

 protected:
  ~IForm1View() = default;
};

}  // namespace quorvane
