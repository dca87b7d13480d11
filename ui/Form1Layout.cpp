#include "ui/Form1Layout.h"

namespace quorvane {
namespace {

using enum Kind;
using C = ControlId;

constexpr wchar_t kTipReal[] =
    L"Enter Real part of Cartesian form or the Magnitude of a Polar form.";
constexpr wchar_t kTipImag[] =
    L"Enter Imaginary part of Cartesian form or Angle in Degrees of a Polar form";
constexpr wchar_t kTipCopy[] = L"Press to copy this result to both input A and B";

constexpr ControlRow Input(C id, const wchar_t* name, int l, int t, int w, int h,
                           const wchar_t* tip, const wchar_t* spoken, Field f) {
  return {{id, name, TextBox, C::None, l, t, w, h, L"", FontId::Default, false, false, tip, spoken},
          f};
}
constexpr ControlRow Result(C id, const wchar_t* name, int l, int t, const wchar_t* spoken,
                            Field f) {
  return {{id, name, TextBox, C::None, l, t, 1095, 375, L"", FontId::Default, true, false, nullptr,
           spoken},
          f};
}
constexpr ControlRow Lbl(C id, const wchar_t* name, int l, int t, int w, int h,
                         const wchar_t* caption, FontId font = FontId::Default,
                         bool right = false) {
  return {{id, name, Label, C::None, l, t, w, h, caption, font, false, right}};
}
// A two-line heading that breaks its own caption, the same on every system.
constexpr ControlRow Heading(C id, const wchar_t* name, int l, int t, int w, int h,
                             const wchar_t* caption) {
  ControlRow row = Lbl(id, name, l, t, w, h, caption);
  row.ownLines = true;
  return row;
}
constexpr ControlRow Display(C id, const wchar_t* name, int l, int t, int w, Field f) {
  return {{id, name, Label, C::None, l, t, w, 225, L""}, f};
}
constexpr ControlRow Cmd(C id, const wchar_t* name, int l, int t, int w, int h,
                         const wchar_t* caption, const wchar_t* tip,
                         FontId font = FontId::Default) {
  return {{id, name, Button, C::None, l, t, w, h, caption, font, false, false, tip}};
}
constexpr ControlRow Frm(C id, const wchar_t* name, int l, int t, const wchar_t* tip,
                         const wchar_t* spoken) {
  return {
      {id, name, Frame, C::None, l, t, 1575, 735, L"", FontId::Default, false, false, tip, spoken}};
}
constexpr ControlRow Opt(C id, const wchar_t* name, C frame, int l, int t, int w, int h,
                         const wchar_t* caption, const wchar_t* tip, OptionGroup g, int item) {
  return {{id, name, Option, frame, l, t, w, h, caption, FontId::Default, false, false, tip},
          std::nullopt,
          g,
          item};
}

}  // namespace

const std::array<ControlRow, kControlCount> kForm1Controls = {{
    Input(C::txtRealA, L"txtRealA", 1080, 960, 1335, 375, kTipReal, L"A real part or magnitude",
          Field::txtRealA),
    Input(C::txtImagA, L"txtImagA", 2520, 960, 1455, 375, kTipImag,
          L"A imaginary part or angle in degrees", Field::txtImagA),
    Input(C::txtRealB, L"txtRealB", 1080, 1680, 1335, 375, kTipReal, L"B real part or magnitude",
          Field::txtRealB),
    Input(C::txtImagB, L"txtImagB", 2520, 1680, 1455, 375, kTipImag,
          L"B imaginary part or angle in degrees", Field::txtImagB),
    Frm(C::Frame1, L"Frame1", 4200, 840,
        L"Select Rectangular or Polar to define the interpretation of Vector A", L"Form of A"),
    Opt(C::optA0, L"optA(0)", C::Frame1, 105, 105, 1215, 195, L" Rectangular",
        L"Select Rectangular if Vector A is entered in Cartesian form.", OptionGroup::optA, 0),
    Opt(C::optA1, L"optA(1)", C::Frame1, 105, 420, 1335, 195, L"Polar",
        L"Select Polar if Vector A is entered in Polar form.", OptionGroup::optA, 1),
    Frm(C::Frame2, L"Frame2", 4200, 1560,
        L"Select Rectangular or Polar to define the interpretation of Vector B", L"Form of B"),
    Opt(C::optB1, L"optB(1)", C::Frame2, 105, 420, 1335, 195, L"Polar",
        L"Select Polar if Vector B is entered in Polar form.", OptionGroup::optB, 1),
    Opt(C::optB0, L"optB(0)", C::Frame2, 120, 105, 1290, 255, L"Rectangular",
        L"Select Rectangular if Vector B is entered in Cartesian form.", OptionGroup::optB, 0),
    Cmd(C::cmdClearInput, L"cmdClearInput", 1920, 2415, 1215, 375, L"Clear Inputs",
        L"Press to clear input boxes"),
    Cmd(C::cmdExecute, L"cmdExecute", 6600, 1080, 2415, 855, L"Execute Operations",
        L"Press after entering vectors A and B", FontId::Bold975),
    Lbl(C::Label1, L"Label1", 720, 960, 255, 375, L"A", FontId::Bold12),
    Lbl(C::Label2, L"Label2", 720, 1680, 255, 375, L"B", FontId::Bold12),
    Lbl(C::Label3, L"Label3", 360, 3720, 975, 255, L"Quotient A/B", FontId::Default, true),
    Result(C::txtQuotientReal, L"txtQuotientReal", 1440, 3600, L"Quotient A/B real part",
           Field::txtQuotientReal),
    Result(C::txtQuotientImag, L"txtQuotientImag", 2640, 3600, L"Quotient A/B imaginary part",
           Field::txtQuotientImag),
    Result(C::txtQuotientMag, L"txtQuotientMag", 4320, 3600, L"Quotient A/B magnitude",
           Field::txtQuotientMag),
    Result(C::txtQuotientAngle, L"txtQuotientAngle", 5520, 3600, L"Quotient A/B angle in degrees",
           Field::txtQuotientAngle),
    Cmd(C::cmdCopyQuotient, L"cmdCopyQuotient", 6960, 3600, 2175, 375, L"Copy Quotient to Input",
        kTipCopy),
    Lbl(C::Label4, L"Label4", 315, 4200, 975, 255, L"Product A * B", FontId::Default, true),
    Lbl(C::Label5, L"Label5", 315, 4620, 975, 255, L"Sum A + B", FontId::Default, true),
    Lbl(C::Label6, L"Label6", 105, 5145, 1200, 255, L"Difference A - B", FontId::Default, true),
    Result(C::txtProductReal, L"txtProductReal", 1440, 4080, L"Product A * B real part",
           Field::txtProductReal),
    Result(C::txtProductImag, L"txtProductImag", 2640, 4080, L"Product A * B imaginary part",
           Field::txtProductImag),
    Result(C::txtProductMag, L"txtProductMag", 4305, 4095, L"Product A * B magnitude",
           Field::txtProductMag),
    Result(C::txtProductAngle, L"txtProductAngle", 5520, 4095, L"Product A * B angle in degrees",
           Field::txtProductAngle),
    Result(C::txtSumReal, L"txtSumReal", 1440, 4560, L"Sum A + B real part", Field::txtSumReal),
    Result(C::txtSumImag, L"txtSumImag", 2640, 4560, L"Sum A + B imaginary part",
           Field::txtSumImag),
    Result(C::txtSumMag, L"txtSumMag", 4320, 4560, L"Sum A + B magnitude", Field::txtSumMag),
    Result(C::txtSumAngle, L"txtSumAngle", 5520, 4560, L"Sum A + B angle in degrees",
           Field::txtSumAngle),
    Result(C::txtDifferenceReal, L"txtDifferenceReal", 1440, 5040, L"Difference A - B real part",
           Field::txtDifferenceReal),
    Result(C::txtDifferenceImag, L"txtDifferenceImag", 2640, 5040,
           L"Difference A - B imaginary part", Field::txtDifferenceImag),
    Result(C::txtDifferenceMag, L"txtDifferenceMag", 4320, 5040, L"Difference A - B magnitude",
           Field::txtDifferenceMag),
    Result(C::txtDifferenceAngle, L"txtDifferenceAngle", 5520, 5040,
           L"Difference A - B angle in degrees", Field::txtDifferenceAngle),
    Cmd(C::cmdCopyProduct, L"cmdCopyProduct", 6960, 4080, 2175, 375, L"Copy Product to Input",
        kTipCopy),
    Cmd(C::cmdCopySum, L"cmdCopySum", 6960, 4560, 2175, 375, L"Copy Sum to Input", kTipCopy),
    Cmd(C::cmdCopyDifference, L"cmdCopyDifference", 6960, 5040, 2175, 375,
        L"Copy Difference to Input", kTipCopy),
    Display(C::lblDisplayReal1, L"lblDisplayReal1", 1050, 1365, 1380, Field::lblDisplayReal1),
    Display(C::lblDisplayImag1, L"lblDisplayImag1", 2520, 1365, 1485, Field::lblDisplayImag1),
    Lbl(C::Label7, L"Label7", 4305, 420, 5475, 435,
        L"When entering in Polar Form, use Degrees for the angle."),
    Lbl(C::Label8, L"Label8", 1260, 5670, 5790, 1170,
        L"Enter complex quantities A and B. Select Rectangular or Polar appropriate to your "
        L"entry. Upon Executing, the Quotient, Product, Sum, and Difference quantities will be "
        L"displayed"),
    Display(C::lblDisplayReal2, L"lblDisplayReal2", 1050, 2100, 1380, Field::lblDisplayReal2),
    Display(C::lblDisplayImag2, L"lblDisplayImag2", 2520, 2100, 1485, Field::lblDisplayImag2),
    Lbl(C::Label9, L"Label9", 1470, 3255, 2220, 225, L"        Real      + J    Imaginary"),
    Lbl(C::Label10, L"Label10", 4305, 3255, 2220, 225, L"   Magnitude        Angle (Deg)"),
    Heading(C::Label11, L"Label11", 1260, 525, 1065, 435, L"     Real or             Magnitude"),
    Heading(C::Label12, L"Label12", 2625, 525, 1275, 435,
            L"       Imaginary               or Angle"),
    Lbl(C::Label13, L"Label13", 1470, 2940, 2430, 225, L"Results in Rectangular Form",
        FontId::Bold825),
    Lbl(C::Label14, L"Label14", 4410, 2940, 2010, 225, L"Results in Polar Form", FontId::Bold825),
}};

namespace {
constexpr MenuItemRow kFileItems[] = {{MenuId::mnuFileExit, L"mnuFileExit", L"Exit"}};
constexpr MenuItemRow kHelpItems[] = {
    {MenuId::mnuHelpContents, L"mnuHelpContents", L"Help Contents"},
    {MenuId::mnuAbout, L"mnuAbout", L"About Quorvane"},
};
}  // namespace

const std::array<MenuRow, 2> kForm1Menus = {{
    {L"mnuFile", L"File", kFileItems},
    {L"mnuHelp", L"Help", kHelpItems},
}};

const ControlRow& RowOf(ControlId id) {
  for (const ControlRow& c : kForm1Controls) {
    if (c.id == id) return c;
  }
  return kForm1Controls.front();  // unreachable: every id is in the table
}

const ControlRow& RowOf(Field field) {
  for (const ControlRow& c : kForm1Controls) {
    if (c.field == field) return c;
  }
  return kForm1Controls.front();  // unreachable: every field is in the table
}

const ControlRow& RowOf(OptionGroup group, int item) {
  for (const ControlRow& c : kForm1Controls) {
    if (c.kind == Kind::Option && c.group == group && c.item == item) return c;
  }
  return kForm1Controls.front();  // unreachable: both items of both groups are here
}

}  // namespace quorvane
