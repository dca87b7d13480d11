#include "about/frmAbout.h"

#include "about/AboutResource.h"
#include "about/SysInfo.h"
#include "about/Version.h"
#include "win32/MessageLoop.h"
#include "win32/Picture.h"
#include "win32/WindowClass.h"
#include "win32/WindowMessageBox.h"

namespace quorvane {
namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// One line of the etched rule, `pixels` high at 96 dpi.
void FillRule(HDC dc, int dpi, int rightTwips, int pixels, COLORREF colour) {
  const int top = TwipsToPixels(kRuleTopTwips, dpi);
  const RECT line{TwipsToPixels(kRuleLeftTwips, dpi), top, TwipsToPixels(rightTwips, dpi),
                  top + MulDiv(pixels, dpi, 96)};
  const win32::OwnedBrush brush(CreateSolidBrush(colour));
  FillRect(dc, &line, brush.get());
}

}  // namespace

frmAbout::frmAbout() : sysInfo_([](IMessageBox& box) { StartSysInfo(box); }) {}

frmAbout::~frmAbout() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool frmAbout::Create(HWND owner) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!win32::RegisterClassOnce(instance, kClassName, win32::OwnedWindowProc<frmAbout>,
                                reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1))) {
    return false;
  }
  // The picture is decoded once and kept for every later showing.
  if (!picture_) {
    picture_ = win32::DecodePicture(win32::ResourceBytes(IDR_PICICON, RT_RCDATA),
                                    GetSysColor(COLOR_3DFACE));
  }
  if (!CreateWindowExW(kExStyle, kClassName, L"frmAbout", kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 100,
                       100, owner, nullptr, instance, this)) {
    return false;
  }
  dpi_ = win32::DpiOf(hwnd_);
  controls_.Create(hwnd_, kAboutControls, kAboutFonts, dpi_);
  win32::SetPicture(Control(AboutId::picIcon), picture_.get());
  win32::PlaceClientArea(hwnd_, kAboutLeftTwips, kAboutTopTwips, kAboutClientWidthTwips,
                         kAboutClientHeightTwips, dpi_);
  Form_Load();
  return true;
}

void frmAbout::Form_Load() {
  SetWindowTextW(hwnd_, kAboutCaption);
  SetWindowTextW(Control(AboutId::lblVersion), QUORVANE_VERSION_LINE);
  SetWindowTextW(Control(AboutId::lblTitle), kAboutTitleLine);
}

void frmAbout::Paint() {
  win32::Painting paint(hwnd_);
  FillRule(paint.dc(), dpi_, kWhiteRightTwips, 2, RGB(255, 255, 255));
  FillRule(paint.dc(), dpi_, kGreyRightTwips, 1, RGB(128, 128, 128));
}

void frmAbout::Unload() {
  closed_ = true;
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
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    return;
  }
  win32::OtherWindowsDisabled others(hwnd_);
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  const std::optional<int> quit =
      win32::RunMessages([this] { return hwnd_; }, [this] { return closed_; });
  // The other windows come back before this one goes, so activation returns
  // to them rather than to another program.
  others.Restore();
  if (hwnd_) DestroyWindow(hwnd_);
  if (quit) PostQuitMessage(*quit);
}

LRESULT frmAbout::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
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
    case WM_CTLCOLORSTATIC: {
      // The labels' black text is the system's text on button faces: black
      // in the standard scheme, and in a high-contrast one whatever stands
      // out from the face.
      HDC dc = reinterpret_cast<HDC>(wp);
      SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_PAINT:
      Paint();
      return 0;
    case WM_DPICHANGED: {
      // Where Windows puts the box, at the size it gives; the designed
      // position is only where each showing starts.
      dpi_ = HIWORD(wp);
      controls_.Scale(dpi_);
      const RECT* r = reinterpret_cast<const RECT*>(lp);
      SetWindowPos(hwnd_, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      InvalidateRect(hwnd_, nullptr, TRUE);
      return 0;
    }
    case WM_ACTIVATE:
      if (controls_.KeepFocus(hwnd_, wp, Control(AboutId::cmdOK))) return 0;
      break;
    case WM_CLOSE:
      Unload();
      return 0;
    case WM_NCDESTROY:
      closed_ = true;
      controls_.Forget();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace quorvane
