// The main window as data: every control with its name, kind, container,
// twips rectangle, caption, font, colour and tooltip, in tab order; the menus;
// the window's client size. No window code here, so native tests check it.
#pragma once

#include <array>
#include <optional>
#include <span>

#include "ui/Form1View.h"
#include "win32/WindowTable.h"

namespace quorvane {

enum class FontId { Default, Bold825, Bold975, Bold12 };

// Controls without a font entry use MS Sans Serif 8.25 pt, the face and size
// the layout's two-line headings wrap at. Windows is asked for Microsoft Sans
// Serif, the TrueType face with MS Sans Serif's design and metrics: the
// bitmap font would be drawn jagged at any scale above 100%.
inline constexpr std::array<FontRow, 4> kFonts = {{
    {L"Microsoft Sans Serif", 825, false},
    {L"Microsoft Sans Serif", 825, true},
    {L"Microsoft Sans Serif", 975, true},
    {L"Microsoft Sans Serif", 1200, true},
}};

// Control ids; they double as WM_COMMAND ids. None is IDOK or IDCANCEL, so
// Enter and Escape, which the dialog manager reports as those, start nothing.
enum class ControlId : int {
  None = 0,
  txtRealA = 100,
  txtImagA,
  txtRealB,
  txtImagB,
  Frame1,
  optA0,
  optA1,
  Frame2,
  optB1,
  optB0,
  cmdClearInput,
  cmdExecute,
  Label1,
  Label2,
  Label3,
  txtQuotientReal,
  txtQuotientImag,
  txtQuotientMag,
  txtQuotientAngle,
  cmdCopyQuotient,
  Label4,
  Label5,
  Label6,
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
  cmdCopyProduct,
  cmdCopySum,
  cmdCopyDifference,
  lblDisplayReal1,
  lblDisplayImag1,
  Label7,
  Label8,
  lblDisplayReal2,
  lblDisplayImag2,
  Label9,
  Label10,
  Label11,
  Label12,
  Label13,
  Label14,
};

// A control of the window, with what the commands know it by.
struct ControlRow : ControlRowOf<ControlId, FontId> {
  std::optional<Field> field = std::nullopt;  // the text the commands use
  OptionGroup group = OptionGroup::optA;      // option buttons only
  int item = 0;                               // option buttons only
};

inline constexpr int kClientWidthTwips = 9960;
inline constexpr int kClientHeightTwips = 6855;
inline constexpr int kDesignedLeftTwips = 2220;
inline constexpr int kDesignedTopTwips = 2535;

inline constexpr int kControlCount = 50;
extern const std::array<ControlRow, kControlCount> kForm1Controls;

const ControlRow& RowOf(ControlId id);
const ControlRow& RowOf(Field field);
const ControlRow& RowOf(OptionGroup group, int item);

// Menus: a bar of popups, each with its items; no access keys, no separators.
enum class MenuId : int {
  mnuFileExit = 201,
  mnuHelpContents = 202,
  mnuAbout = 203,
};

struct MenuItemRow {
  MenuId id;
  const wchar_t* name;
  const wchar_t* caption;
};

struct MenuRow {
  const wchar_t* name;
  const wchar_t* caption;
  std::span<const MenuItemRow> items;
};

extern const std::array<MenuRow, 2> kForm1Menus;

}  // namespace quorvane
