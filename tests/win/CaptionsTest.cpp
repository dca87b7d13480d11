// Every caption of the main window and the About box fits its control in the
// control's own font: a single-line caption's extent is at most the control's
// width, a word-wrapped one's height at most its height, and the two column
// headings over the inputs take exactly two lines. Under Wine this holds in
// the prepared prefix (scripts/wine-prefix.sh), with Wine's MS Sans Serif.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "about/frmAbout.h"
#include "tests/win/WinTestSupport.h"
#include "ui/HeadingLines.h"
#include "ui/win32/Form1Window.h"
#include "ui/win32/HeadingLabel.h"

namespace quorvane::testing {
namespace {

std::wstring TextOf(HWND h) {
  std::wstring s(static_cast<size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
  s.resize(static_cast<size_t>(GetWindowTextW(h, s.data(), static_cast<int>(s.size()))));
  return s;
}

std::wstring ClassOf(HWND h) {
  wchar_t cls[64] = {};
  GetClassNameW(h, cls, 64);
  return cls;
}

// A control's client DC with the control's own font selected.
class ControlDc {
 public:
  explicit ControlDc(HWND h) : h_(h), dc_(GetDC(h)) {
    old_ = SelectObject(dc_, reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)));
  }
  ~ControlDc() {
    SelectObject(dc_, old_);
    ReleaseDC(h_, dc_);
  }
  ControlDc(const ControlDc&) = delete;
  ControlDc& operator=(const ControlDc&) = delete;
  HDC get() const { return dc_; }
  int Extent(const std::wstring& text, UINT prefix = DT_NOPREFIX) const {
    RECT r{0, 0, 0, 0};
    DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_SINGLELINE | prefix);
    return r.right;
  }
  int LineHeight() const {
    TEXTMETRICW tm{};
    GetTextMetricsW(dc_, &tm);
    return tm.tmHeight;
  }

 private:
  HWND h_;
  HDC dc_;
  HGDIOBJ old_;
};

// The caption of one control, measured in its font against its client area.
void ExpectCaptionFits(HWND h, const std::string& name) {
  SCOPED_TRACE(name);
  const std::wstring text = TextOf(h);
  const std::wstring cls = ClassOf(h);
  if (text.empty() || lstrcmpiW(cls.c_str(), L"Edit") == 0) return;
  RECT client;
  GetClientRect(h, &client);
  const int width = client.right, height = client.bottom;
  const LONG style = GetWindowLongW(h, GWL_STYLE);
  ControlDc dc(h);
  if (lstrcmpiW(cls.c_str(), L"Static") == 0) {
    if ((style & SS_TYPEMASK) == SS_OWNERDRAW) {
      // A heading that breaks its own caption: exactly two lines, each fits.
      const auto lines = win32::HeadingLines(dc.get(), text, width);
      ASSERT_EQ(lines.size(), 2u);
      for (const std::wstring& line : lines) EXPECT_LE(dc.Extent(line), width);
      EXPECT_LE(2 * dc.LineHeight(), height);
      return;
    }
    // The system's word wrap, as the static control draws it.
    RECT r{0, 0, width, 0};
    DrawTextW(dc.get(), text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    EXPECT_LE(r.bottom, height) << "wrapped to " << r.bottom / dc.LineHeight() << " lines";
    EXPECT_LE(r.right, width);
    return;
  }
  ASSERT_EQ(lstrcmpiW(cls.c_str(), L"Button"), 0);
  const LONG type = style & BS_TYPEMASK;
  if (type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON) {
    // The text stands right of the 13-pixel round box and a small gap.
    const int dpi = static_cast<int>(GetDpiForWindow(h));
    EXPECT_LE(dc.Extent(text), width - MulDiv(13 + 4, dpi, 96));
  } else {
    EXPECT_LE(dc.Extent(text, 0), width);  // "&S" shows as an underlined S
  }
}

std::string Narrow(const wchar_t* s) { return std::string(s, s + wcslen(s)); }

struct MainWindow {
  MainWindow() : form(std::make_unique<win32::Form1Window>(L".")) {
    EXPECT_TRUE(form->Create(GetModuleHandleW(nullptr), SW_SHOWNORMAL, nullptr, false));
    SetForegroundWindow(form->hwnd());
    Pump(50);
  }
  std::unique_ptr<win32::Form1Window> form;
};

TEST(Captions, TheDesignsFontsAreThemselves) {
  // Wine draws a face it lacks with another; the prepared prefix has them all.
  HDC dc = GetDC(nullptr);
  for (const wchar_t* face : {L"MS Sans Serif", L"Marlett", L"Courier", L"Times New Roman"}) {
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

TEST(Captions, EveryCaptionOfTheMainWindowFitsItsControl) {
  MainWindow w;
  int checked = 0;
  for (const ControlSpec& c : kForm1Controls) {
    ExpectCaptionFits(w.form->Control(c.id), Narrow(c.name));
    checked += *c.caption != L'\0';
  }
  EXPECT_GE(checked, 20);
}

TEST(Captions, TheTwoHeadingsDrawTwoLinesAndOnlyThey) {
  MainWindow w;
  for (const ControlSpec& c : kForm1Controls) {
    if (c.kind != Kind::Label) continue;
    const LONG type = GetWindowLongW(w.form->Control(c.id), GWL_STYLE) & SS_TYPEMASK;
    EXPECT_EQ(type == SS_OWNERDRAW, BreaksItsOwnCaption(c.id)) << c.name;
  }
  for (ControlId id : {ControlId::Label11, ControlId::Label12}) {
    HWND label = w.form->Control(id);
    RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    Pump(30);
    RECT rc;
    GetClientRect(label, &rc);
    int lineHeight = 0;
    {
      ControlDc dc(label);
      lineHeight = dc.LineHeight();
    }
    // Text-coloured pixels in each line's band, as painted on the screen.
    HDC dc = GetDC(label);
    const COLORREF ink = GetSysColor(COLOR_WINDOWTEXT);
    int inLine[3] = {};
    for (int y = 0; y < rc.bottom; ++y) {
      for (int x = 0; x < rc.right; ++x) {
        if (GetPixel(dc, x, y) == ink) ++inLine[y / lineHeight < 2 ? y / lineHeight : 2];
      }
    }
    ReleaseDC(label, dc);
    EXPECT_GT(inLine[0], 20) << SpecOf(id).name;
    EXPECT_GT(inLine[1], 20) << SpecOf(id).name;
    EXPECT_EQ(inLine[2], 0) << SpecOf(id).name;
  }
}

TEST(Captions, EveryCaptionOfTheAboutBoxFitsItsControl) {
  frmAbout box;
  std::atomic<bool> done{false};
  std::thread driver([&] {
    HWND about = nullptr;
    if (WaitFor([&] {
          return (about = FindProcessWindow(GetCurrentProcessId(), frmAbout::kClassName,
                                            nullptr)) != nullptr;
        })) {
      Sleep(100);
      for (const AboutControlSpec& c : kAboutControls) {
        ExpectCaptionFits(box.Control(c.id), Narrow(c.name));
      }
      PostMessageW(about, WM_CLOSE, 0, 0);
    } else {
      ADD_FAILURE() << "the About box did not appear";
    }
    if (!WaitFor([&] { return done.load(); }, 10000)) ADD_FAILURE() << "the box did not close";
  });
  box.Show(1, nullptr);
  done = true;
  driver.join();
}

}  // namespace
}  // namespace quorvane::testing
