#include "about/frmAbout.h"

#include <vector>

#include "about/AboutResource.h"
#include "about/GifPicture.h"
#include "about/SysInfo.h"
#include "about/Version.h"
#include "win32/WindowClass.h"
#include "win32/WindowMessageBox.h"

namespace quorvane {
namespace {

constexpr wchar_t kPictureClass[] = L"QuorvanePicture";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

int Px(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

// The picture shipped in the program, decoded once into a bitmap.
HBITMAP LoadPicture(int& width, int& height) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(IDR_PICICON), MAKEINTRESOURCEW(10));
  if (!res) return nullptr;
  HGLOBAL loaded = LoadResource(module, res);
  const auto* bytes = static_cast<const std::uint8_t*>(LockResource(loaded));
  if (!bytes) return nullptr;
  const auto picture = DecodeGif({bytes, SizeofResource(module, res)});
  if (!picture) return nullptr;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = picture->width;
  bi.bmiHeader.biHeight = -picture->height;  // top row first
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return nullptr;
  auto* out = static_cast<std::uint32_t*>(bits);
  // Transparent pixels show the box's face colour.
  const COLORREF face = GetSysColor(COLOR_3DFACE);
  const std::uint32_t faceBgr = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
  for (size_t i = 0; i < picture->pixels.size(); ++i) {
    const std::uint32_t p = picture->pixels[i];
    out[i] = (p >> 24) ? (p & 0xFFFFFF) : faceBgr;
  }
  width = picture->width;
  height = picture->height;
  return bitmap;
}

// The sunken picture box; it paints the bitmap it is given at its own size.
LRESULT CALLBACK PictureProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    auto bitmap = reinterpret_cast<HBITMAP>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    RECT rc;
    GetClientRect(hwnd, &rc);
    if (bitmap) {
      BITMAP bm;
      GetObjectW(bitmap, sizeof bm, &bm);
      HDC mem = CreateCompatibleDC(dc);
      HGDIOBJ old = SelectObject(mem, bitmap);
      SetStretchBltMode(dc, COLORONCOLOR);
      StretchBlt(dc, 0, 0, rc.right, rc.bottom, mem, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
      SelectObject(mem, old);
      DeleteDC(mem);
    } else {
      FillRect(dc, &rc, GetSysColorBrush(COLOR_3DFACE));
    }
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

bool RegisterClasses(HINSTANCE instance, WNDPROC aboutProc) {
  return win32::RegisterClassOnce(instance, frmAbout::kClassName, aboutProc,
                                  reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1)) &&
         win32::RegisterClassOnce(instance, kPictureClass, PictureProc, nullptr);
}

struct DisabledWindows {
  HWND except;
  std::vector<HWND> list;
};

BOOL CALLBACK DisableOne(HWND h, LPARAM lp) {
  auto* d = reinterpret_cast<DisabledWindows*>(lp);
  if (h != d->except && IsWindowEnabled(h) && IsWindowVisible(h)) {
    EnableWindow(h, FALSE);
    d->list.push_back(h);
  }
  return TRUE;
}

}  // namespace

frmAbout::frmAbout() : sysInfo_([](IMessageBox& box) { StartSysInfo(box); }) {}

frmAbout::~frmAbout() {
  if (hwnd_) DestroyWindow(hwnd_);
  for (HFONT& f : fonts_) {
    if (f) DeleteObject(f);
  }
  if (picture_) DeleteObject(picture_);
}

HWND frmAbout::Control(AboutId id) const {
  for (size_t i = 0; i < kAboutControls.size(); ++i) {
    if (kAboutControls[i].id == id) return controls_[i];
  }
  return nullptr;
}

bool frmAbout::Create(HWND owner) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!RegisterClasses(instance, win32::OwnedWindowProc<frmAbout>)) return false;
  if (!picture_) picture_ = LoadPicture(pictureWidth_, pictureHeight_);
  if (!CreateWindowExW(kExStyle, kClassName, L"frmAbout", kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 100,
                       100, owner, nullptr, instance, this)) {
    return false;
  }
  dpi_ = static_cast<int>(GetDpiForWindow(hwnd_));
  if (dpi_ <= 0) dpi_ = 96;
  for (size_t i = 0; i < kAboutControls.size(); ++i) {
    const AboutControlRow& c = kAboutControls[i];
    const wchar_t* cls = L"STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD exStyle = 0;
    switch (c.kind) {
      case AboutKind::Button:
        cls = L"BUTTON";
        style |= WS_TABSTOP | (c.id == AboutId::cmdOK ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        break;
      case AboutKind::Picture:
        cls = kPictureClass;
        exStyle = WS_EX_CLIENTEDGE;
        break;
      case AboutKind::Label:
        style |= SS_LEFT | SS_NOPREFIX;
        break;
    }
    controls_[i] =
        CreateWindowExW(exStyle, cls, c.text, style, 0, 0, 0, 0, hwnd_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
  }
  SetWindowLongPtrW(Control(AboutId::picIcon), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(picture_));
  LayOut();
  Form_Load();
  return true;
}

void frmAbout::Form_Load() {
  SetWindowTextW(hwnd_, kAboutCaption);
  SetWindowTextW(
      Control(AboutId::lblVersion),
      VersionLine(QUORVANE_VERSION_MAJOR, QUORVANE_VERSION_MINOR, QUORVANE_VERSION_REVISION)
          .c_str());
  SetWindowTextW(Control(AboutId::lblTitle), kAboutTitleLine);
}

void frmAbout::LayOut() {
  for (size_t i = 0; i < kAboutFonts.size(); ++i) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(kAboutFonts[i].pointsX100, dpi_, 7200);
    lf.lfWeight = kAboutFonts[i].bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    wcscpy_s(lf.lfFaceName, kAboutFonts[i].face);
    if (fonts_[i]) DeleteObject(fonts_[i]);
    fonts_[i] = CreateFontIndirectW(&lf);
  }
  for (size_t i = 0; i < kAboutControls.size(); ++i) {
    const AboutControlRow& c = kAboutControls[i];
    SetWindowPos(controls_[i], nullptr, Px(c.left, dpi_), Px(c.top, dpi_), Px(c.width, dpi_),
                 Px(c.height, dpi_), SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(Font(c.font)), TRUE);
  }
  RECT rc{Px(kAboutLeftTwips, dpi_), Px(kAboutTopTwips, dpi_), 0, 0};
  rc.right = rc.left + Px(kAboutClientWidthTwips, dpi_);
  rc.bottom = rc.top + Px(kAboutClientHeightTwips, dpi_);
  AdjustWindowRectExForDpi(&rc, kStyle, FALSE, kExStyle, static_cast<UINT>(dpi_));
  SetWindowPos(hwnd_, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmAbout::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  const int top = Px(kRuleTopTwips, dpi_);
  const int left = Px(kRuleLeftTwips, dpi_);
  const int thick = MulDiv(2, dpi_, 96);
  const int thin = MulDiv(1, dpi_, 96);
  RECT white{left, top, Px(kWhiteRightTwips, dpi_), top + thick};
  HBRUSH whiteBrush = CreateSolidBrush(RGB(255, 255, 255));
  FillRect(dc, &white, whiteBrush);
  DeleteObject(whiteBrush);
  RECT grey{left, top, Px(kGreyRightTwips, dpi_), top + thin};
  HBRUSH greyBrush = CreateSolidBrush(RGB(128, 128, 128));
  FillRect(dc, &grey, greyBrush);
  DeleteObject(greyBrush);
  EndPaint(hwnd_, &ps);
}

void frmAbout::Unload() {
  closed_ = true;
  if (hwnd_) DestroyWindow(hwnd_);
}

void frmAbout::Show(int modal, HWND owner) {
  if (hwnd_) {
    SetForegroundWindow(hwnd_);
    return;
  }
  lastFocus_ = nullptr;
  if (!Create(owner)) return;
  closed_ = false;
  if (modal != 1) {
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    return;
  }
  DisabledWindows disabled{hwnd_, {}};
  EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&disabled));
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  MSG msg;
  bool quit = false;
  while (!closed_) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      quit = got == 0;
      break;
    }
    if (hwnd_ && IsDialogMessageW(hwnd_, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  // The other windows come back before this one goes, so activation returns
  // to them rather than to another program.
  for (HWND h : disabled.list) {
    if (IsWindow(h)) EnableWindow(h, TRUE);
  }
  if (hwnd_) DestroyWindow(hwnd_);
  if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
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
          win32::WindowMessageBox box(hwnd_);
          sysInfo_(box);
        } else {
          Unload();
        }
      } else if (id == static_cast<int>(AboutId::cmdSysInfo) && HIWORD(wp) == BN_CLICKED) {
        win32::WindowMessageBox box(hwnd_);
        sysInfo_(box);
      }
      return 0;
    }
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wp);
      SetTextColor(dc, RGB(0, 0, 0));
      SetBkColor(dc, GetSysColor(COLOR_3DFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_3DFACE));
    }
    case WM_PAINT:
      Paint();
      return 0;
    case WM_DPICHANGED:
      dpi_ = HIWORD(wp);
      LayOut();
      InvalidateRect(hwnd_, nullptr, TRUE);
      return 0;
    case WM_ACTIVATE:
      // As in a dialog: the focus goes back to a control, OK at first.
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
      } else {
        SetFocus(lastFocus_ && IsChild(hwnd_, lastFocus_) ? lastFocus_ : Control(AboutId::cmdOK));
        return 0;
      }
      break;
    case WM_CLOSE:
      Unload();
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      closed_ = true;
      controls_.fill(nullptr);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace quorvane
