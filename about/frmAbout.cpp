#include "about/frmAbout.h"

#include "about/AboutResource.h"
#include "about/SysInfo.h"
#include "about/Version.h"
#include "win32/MessageLoop.h"
#include "win32/Picture.h"
#include "win32/WindowMessageBox.h"

namespace quorvane {
namespace {

constexpr win32::WindowDesign kDesign{
    frmAbout::kClassName,
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
    WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
    {kAboutLeftTwips, kAboutTopTwips, kAboutClientWidthTwips, kAboutClientHeightTwips},
    static_cast<int>(AboutId::cmdOK)};

// One line of the etched rule, `pixels` high at 96 dpi, in a colour of the
// palette (a system colour outside dark mode) so that it stays visible in
// every colour scheme.
void FillRule(HDC dc, int dpi, int rightTwips, int pixels, HBRUSH brush) {
  const int top = TwipsToPixels(kRuleTopTwips, dpi);
  const RECT line{TwipsToPixels(kRuleLeftTwips, dpi), top, TwipsToPixels(rightTwips, dpi),
                  top + MulDiv(pixels, dpi, 96)};
  FillRect(dc, &line, brush);
}

}  // namespace

frmAbout::frmAbout() : sysInfo_([](IMessageBox& box) { StartSysInfo(box); }) {}

frmAbout::~frmAbout() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool frmAbout::Create(HWND owner) {
  if (!CreateTopLevel(kDesign, kAboutControls, kAboutFonts, L"frmAbout", GetModuleHandleW(nullptr),
                      owner)) {
    return false;
  }
  ShowPicture();
  Form_Load();
  return true;
}

// The picture is decoded once and kept for every later showing, and again
// only when the face it lies on changes colour.
void frmAbout::ShowPicture() {
  const COLORREF face = colours_.Colour(colours_.palette().face);
  if (!picture_ || face != pictureFace_) {
    picture_ = win32::DecodePicture(win32::ResourceBytes(IDR_PICICON, RT_RCDATA), face);
    pictureFace_ = face;
  }
  win32::SetPicture(Control(AboutId::picIcon), picture_.get());
}

void frmAbout::Form_Load() {
  SetWindowTextW(hwnd_, kAboutCaption);
  SetWindowTextW(Control(AboutId::lblVersion), QUORVANE_VERSION_LINE);
  SetWindowTextW(Control(AboutId::lblTitle), kAboutTitleLine);
}

void frmAbout::Paint() {
  win32::Painting paint(hwnd_);
  const win32::Palette& p = colours_.palette();
  FillRule(paint.dc(), dpi_, kWhiteRightTwips, 2, colours_.Brush(p.hilight));
  FillRule(paint.dc(), dpi_, kGreyRightTwips, 1, colours_.Brush(p.shadow));
}

void frmAbout::Unload() {
  closed_ = true;
  // As a dialog ends: the other windows come back before this one goes, so
  // that activation returns to the owner rather than to another program.
  if (othersDisabled_) othersDisabled_->Restore();
  if (hwnd_) DestroyWindow(hwnd_);
}

void frmAbout::cmdSysInfo_Click() {
  win32::WindowMessageBox box(hwnd_);
  sysInfo_(box);
}

void frmAbout::Show(int modal, HWND owner) {
  if (hwnd_) {
    SetForegroundWindow(hwnd_);
    return;
  }
  if (!Create(owner)) return;
  closed_ = false;
  if (modal != 1) {
    ShowTopLevel(SW_SHOWNORMAL);
    return;
  }
  win32::OtherWindowsDisabled others(hwnd_);
  othersDisabled_ = &others;
  ShowTopLevel(SW_SHOWNORMAL);
  const std::optional<int> quit =
      win32::RunMessages([this] { return hwnd_; }, [this] { return closed_; });
  othersDisabled_ = nullptr;
  // A WM_QUIT ended the loop: the other windows come back before this one goes.
  others.Restore();
  if (hwnd_) DestroyWindow(hwnd_);
  if (quit) PostQuitMessage(*quit);
}

// The labels' black text is the system's text on button faces: black in the
// standard scheme, in a high-contrast one whatever stands out from the face,
// and the palette's light text in dark mode.
LRESULT frmAbout::OnControlColour(UINT msg, HDC dc, HWND) {
  if (msg != WM_CTLCOLORSTATIC) return 0;
  const win32::Palette& p = colours_.palette();
  return colours_.Answer(dc, p.text, p.face);
}

LRESULT frmAbout::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND: {
      const int id = LOWORD(wp);
      if (id == IDCANCEL) {
        Unload();  // Escape
      } else if (id == IDOK) {
        // Enter presses System Info when it has the focus, OK otherwise.
        if (GetFocus() == Control(AboutId::cmdSysInfo)) {
          cmdSysInfo_Click();
        } else {
          Unload();
        }
      } else if (id == static_cast<int>(AboutId::cmdSysInfo) && HIWORD(wp) == BN_CLICKED) {
        cmdSysInfo_Click();
      }
      return 0;
    }
    case WM_PAINT:
      Paint();
      return 0;
    case WM_CLOSE:
      Unload();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace quorvane
