// The About box as data: its controls in tab order with twips rectangles,
// texts and fonts, its etched rule, and the version line.
#pragma once

#include <array>
#include <string>

#include "win32/WindowTable.h"

namespace quorvane {

enum class AboutFont { Default, Title, Version };

// The box's default font is the main window's, MS Sans Serif 8.25 pt. Both
// bitmap faces of the design are asked for by their TrueType counterparts,
// Microsoft Sans Serif and Courier New, which Windows draws smooth at every
// scale.
inline constexpr std::array<FontRow, 3> kAboutFonts = {{
    {L"Microsoft Sans Serif", 825, false},
    {L"Times New Roman", 1800, true},
    {L"Courier New", 975, true},
}};

// Ids; cmdOK is IDOK, so Enter and Escape reach it through the dialog keyboard.
enum class AboutId : int {
  None = 0,
  cmdOK = 1,
  picIcon = 300,
  cmdSysInfo,
  lblDescription,
  lblDisclaimer,
  lblTitle,
  lblVersion,
};

// The load step sets some captions anew; the table holds the designed ones.
using AboutControlRow = ControlRowOf<AboutId, AboutFont>;

inline constexpr wchar_t kAboutCaption[] = L"About Quorvane";
inline constexpr wchar_t kAboutTitleLine[] = L"Quorvane\r\nby its engineers";

inline constexpr std::array<AboutControlRow, 7> kAboutControls = {{
    {AboutId::cmdOK, L"cmdOK", Kind::DefaultButton, AboutId::None, 4305, 3150, 1260, 345, L"OK"},
    {AboutId::picIcon, L"picIcon", Kind::Picture, AboutId::None, 105, 105, 1560, 1935, L""},
    {AboutId::cmdSysInfo, L"cmdSysInfo", Kind::Button, AboutId::None, 4305, 3675, 1245, 345,
     L"&System Info..."},
    {AboutId::lblDescription, L"lblDescription", Kind::Label, AboutId::None, 525, 2205, 4830, 540,
     L"Quorvane calculates and displays the Quotient, Product, Sum and Difference of two "
     L"Vectors entered by the User."},
    {AboutId::lblDisclaimer, L"lblDisclaimer", Kind::Label, AboutId::None, 255, 3150, 3870, 825,
     L"This program is provided as is, without warranty of any kind. Check every result "
     L"that matters before you rely on it."},
    {AboutId::lblTitle, L"lblTitle", Kind::Label, AboutId::None, 1995, 240, 3390, 1110,
     L"Application Title", AboutFont::Title},
    {AboutId::lblVersion, L"lblVersion", Kind::Label, AboutId::None, 1995, 1575, 3045, 225, L"  ",
     AboutFont::Version},
}};

inline constexpr int kAboutClientWidthTwips = 5790;
inline constexpr int kAboutClientHeightTwips = 4185;
inline constexpr int kAboutLeftTwips = 2340;
inline constexpr int kAboutTopTwips = 1935;

// The etched rule: a white line two pixels wide under a grey one.
inline constexpr int kRuleTopTwips = 2940;
inline constexpr int kRuleLeftTwips = 105;
inline constexpr int kWhiteRightTwips = 5654;
inline constexpr int kGreyRightTwips = 5669;

}  // namespace quorvane
