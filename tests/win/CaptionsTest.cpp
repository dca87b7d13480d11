// Every caption of the main window and the About box fits its control in the
// control's own font: a single-line caption's extent is at most the control's
// width, a word-wrapped one's height at most its height, and the two column
// headings over the inputs take exactly two lines. Under Wine this holds in
// the prepared prefix (scripts/wine-prefix.sh), with Wine's MS Sans Serif
// standing in for Microsoft Sans Serif.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>

#include "about/frmAbout.h"
#include "tests/win/WinTestSupport.h"
#include "ui/HeadingLines.h"
#include "ui/win32/Form1Window.h"
#include "ui/win32/HeadingLabel.h"

namespace quorvane::testing {
namespace {

bool IsClass(HWND h, const wchar_t* cls) {
  wchar_t name[64] = {};
  GetClassNameW(h, name, 64);
  return lstrcmpiW(name, cls) == 0;
}

// The caption of one control, measured in its font against its client area.
void ExpectCaptionFits(HWND h, const wchar_t* name) {
  SCOPED_TRACE(std::string(name, name + wcslen(name)));
  const std::wstring text = TextOf(h);
  if (text.empty() || IsClass(h, L"Edit")) return;
  RECT client;
  GetClientRect(h, &client);
  const LONG style = GetWindowLongW(h, GWL_STYLE);
  HDC dc = GetDC(h);
  const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)));
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  const auto extent = [&](const std::wstring& s, UINT prefix) {
    RECT r{};
    DrawTextW(dc, s.c_str(), static_cast<int>(s.size()), &r, DT_CALCRECT | DT_SINGLELINE | prefix);
    return static_cast<int>(r.right);
  };
  if (IsClass(h, L"Static") && (style & SS_TYPEMASK) == SS_OWNERDRAW) {
    const auto lines = win32::HeadingLines(dc, text, client.right);
    EXPECT_EQ(lines.size(), 2u);
    for (const std::wstring& line : lines) EXPECT_LE(extent(line, DT_NOPREFIX), client.right);
    EXPECT_LE(2 * tm.tmHeight, client.bottom);
  } else if (IsClass(h, L"Static")) {
    // The system's word wrap, as the static control draws it.
    RECT r{0, 0, client.right, 0};
    DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    EXPECT_LE(r.bottom, client.bottom) << "wraps to " << r.bottom / tm.tmHeight << " lines";
    EXPECT_LE(r.right, client.right);
  } else if ((style & BS_TYPEMASK) == BS_AUTORADIOBUTTON) {
    // The text stands right of the 13-pixel round box and a small gap.
    const int box = MulDiv(13 + 4, static_cast<int>(GetDpiForWindow(h)), 96);
    EXPECT_LE(extent(text, DT_NOPREFIX), client.right - box);
  } else {
    EXPECT_LE(extent(text, 0), client.right);  // "&S" shows as an underlined S
  }
  SelectObject(dc, old);
  ReleaseDC(h, dc);
}

TEST(Captions, TheDesignsFontsAreThemselves) {
  // Wine draws a face it lacks with another; the prepared prefix has them,
  // and substitutes the design's faces for the TrueType faces asked for.
  HDC dc = GetDC(nullptr);
  for (const wchar_t* face : {L"MS Sans Serif", L"Microsoft Sans Serif", L"Marlett", L"Courier",
                              L"Courier New", L"Times New Roman"}) {
    LOGFONTW lf{};
    lf.lfHeight = -13;
    lf.lfCharSet = DEFAULT_CHARSET;
    wcscpy_s(lf.lfFaceName, face);
    HFONT font = CreateFontIndirectW(&lf);
    const HGDIOBJ old = SelectObject(dc, font);
    wchar_t got[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, got);
    EXPECT_STREQ(got, face);
    SelectObject(dc, old);
    DeleteObject(font);
  }
  ReleaseDC(nullptr, dc);
}

TEST(Captions, EveryCaptionOfTheMainWindowFitsAndTheHeadingsDrawTwoLines) {
  win32::Form1Window form(L".");
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr), SW_SHOWNORMAL, nullptr, false));
  SetForegroundWindow(form.hwnd());
  Drain();
  // Painted now, on this thread, before the screen is read.
  RedrawWindow(form.hwnd(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  GdiFlush();
  for (const ControlRow& c : kForm1Controls) {
    HWND h = form.Control(c.id);
    ExpectCaptionFits(h, c.name);
    if (c.kind != Kind::Label) continue;
    const bool ownLines = (GetWindowLongW(h, GWL_STYLE) & SS_TYPEMASK) == SS_OWNERDRAW;
    EXPECT_EQ(ownLines, BreaksItsOwnCaption(c.id)) << c.name;
    if (!ownLines) continue;
    // Text-coloured pixels on the screen in each line's band, and none below.
    RECT rc;
    GetClientRect(h, &rc);
    HDC dc = GetDC(h);
    SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    int ink[3] = {};
    for (int y = 0; y < rc.bottom; ++y) {
      for (int x = 0; x < rc.right; ++x) {
        ink[std::min(y / tm.tmHeight, 2L)] += GetPixel(dc, x, y) == GetSysColor(COLOR_WINDOWTEXT);
      }
    }
    ReleaseDC(h, dc);
    EXPECT_GT(ink[0], 20) << c.name;
    EXPECT_GT(ink[1], 20) << c.name;
    EXPECT_EQ(ink[2], 0) << c.name;
  }
}

TEST(Captions, EveryCaptionOfTheAboutBoxFits) {
  frmAbout box;
  EXPECT_TRUE(WhileModal(
      [&] { box.Show(1, nullptr); },
      [] { return FindProcessWindow(GetCurrentProcessId(), frmAbout::kClassName, nullptr); },
      [&](HWND about) {
        for (const AboutControlRow& c : kAboutControls)
          ExpectCaptionFits(box.Control(c.id), c.name);
        PostMessageW(about, WM_CLOSE, 0, 0);
      }));
}

}  // namespace
}  // namespace quorvane::testing
