#include "win32/DarkPainters.h"

#include <string>

namespace quorvane::win32 {
namespace {

int Scaled(int pixels, HWND h) { return MulDiv(pixels, static_cast<int>(GetDpiForWindow(h)), 96); }

std::wstring TextOf(HWND h) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(h, text.data(), static_cast<int>(text.size()))));
  return text;
}

HFONT FontOf(HWND h) { return reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)); }

// A rounded rectangle (`round` > 0) or an ellipse, outlined and filled.
void Outline(HDC dc, const RECT& r, COLORREF pen, COLORREF fill, int round) {
  SelectObject(dc, GetStockObject(DC_PEN));
  SelectObject(dc, GetStockObject(DC_BRUSH));
  SetDCPenColor(dc, pen);
  SetDCBrushColor(dc, fill);
  if (round) {
    RoundRect(dc, r.left, r.top, r.right, r.bottom, round, round);
  } else {
    Ellipse(dc, r.left, r.top, r.right, r.bottom);
  }
}

// What Windows shows of the keyboard's use: the focus rectangle and the
// access letters, each hidden until the keyboard is used (WM_UPDATEUISTATE).
LRESULT UiState(HWND h) { return SendMessageW(h, WM_QUERYUISTATE, 0, 0); }

// The caption of a button in its font, in `colour` on whatever lies beneath.
void Caption(HDC dc, HWND button, RECT r, COLORREF colour, UINT format) {
  SelectObject(dc, FontOf(button));
  const std::wstring text = TextOf(button);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  DrawCaption(dc, text, r, format | DT_SINGLELINE | DT_VCENTER,
              !(UiState(button) & UISF_HIDEACCEL));
}

void Focus(HDC dc, RECT r, COLORREF text, COLORREF back) {
  SetTextColor(dc, text);
  SetBkColor(dc, back);
  DrawFocusRect(dc, &r);
}

void PushButton(const NMCUSTOMDRAW& draw, const WindowColours& colours, bool isDefault,
                bool focus) {
  const Palette& p = colours.palette();
  HWND button = draw.hdr.hwndFrom;
  RECT r = draw.rc;
  const UINT state = draw.uItemState;
  const bool disabled = state & CDIS_DISABLED;
  const Shade back = disabled                  ? p.button
                     : (state & CDIS_SELECTED) ? p.buttonPressed
                     : (state & CDIS_HOT)      ? p.buttonHot
                                               : p.button;
  FillRect(draw.hdc, &r, colours.Brush(p.face));
  // The default button, and the focused one, outlined in the text colour.
  const bool marked = !disabled && (focus || isDefault);
  Outline(draw.hdc, r, colours.Colour(marked ? p.buttonText : p.buttonEdge), colours.Colour(back),
          Scaled(6, button));
  Caption(draw.hdc, button, r, colours.Colour(disabled ? p.disabledText : p.buttonText), DT_CENTER);
  if (focus) {
    InflateRect(&r, -Scaled(3, button), -Scaled(3, button));
    Focus(draw.hdc, r, colours.Colour(p.buttonText), colours.Colour(back));
  }
}

// An option button: its circle (lit under the pointer, darker held down),
// its dot when selected, its caption.
void OptionButton(const NMCUSTOMDRAW& draw, const WindowColours& colours, bool focus) {
  const Palette& p = colours.palette();
  HWND button = draw.hdr.hwndFrom;
  HDC dc = draw.hdc;
  const RECT& r = draw.rc;
  const UINT state = draw.uItemState;
  const bool disabled = state & CDIS_DISABLED;
  const Shade ink = disabled ? p.disabledText : p.text;
  const Shade fill = disabled                  ? p.face
                     : (state & CDIS_SELECTED) ? p.buttonPressed
                     : (state & CDIS_HOT)      ? p.buttonHot
                                               : p.input;
  FillRect(dc, &r, colours.Brush(p.face));
  const int size = Scaled(13, button);
  const int top = r.top + (r.bottom - r.top - size) / 2;
  RECT circle{r.left, top, r.left + size, top + size};
  Outline(dc, circle, colours.Colour(ink), colours.Colour(fill), 0);
  if (SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED) {
    const int inset = size / 4 + 1;
    InflateRect(&circle, -inset, -inset);
    Outline(dc, circle, colours.Colour(ink), colours.Colour(ink), 0);
  }
  RECT text = r;
  text.left += size + Scaled(5, button);
  Caption(dc, button, text, colours.Colour(ink), DT_LEFT);
  if (!focus) return;
  // Around the caption only, as Windows draws it.
  RECT around = text;
  const std::wstring caption = TextOf(button);
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &around,
            DT_CALCRECT | DT_SINGLELINE);
  const int h = around.bottom - around.top;
  around.top = r.top + (r.bottom - r.top - h) / 2;
  around.bottom = around.top + h;
  InflateRect(&around, 1, 1);
  Focus(dc, around, colours.Colour(p.text), colours.Colour(p.face));
}

}  // namespace

void DrawCaption(HDC dc, std::wstring_view text, RECT r, UINT format, bool showAccel) {
  std::wstring shown(text);
  if (!showAccel) {
    // Each prefix character goes, and "&&" stands for one ampersand.
    shown.clear();
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] == L'&' && i + 1 < text.size()) ++i;
      shown += text[i];
    }
    format |= DT_NOPREFIX;
  }
  DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &r, format);
}

LRESULT DrawButton(const NMCUSTOMDRAW& draw, const WindowColours& colours) {
  if (draw.dwDrawStage != CDDS_PREPAINT) return CDRF_DODEFAULT;
  HWND button = draw.hdr.hwndFrom;
  const auto type = GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK;
  const bool push = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
  const bool option = type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON;
  if (!push && !option) return CDRF_DODEFAULT;
  const bool focus = (draw.uItemState & CDIS_FOCUS) && !(UiState(button) & UISF_HIDEFOCUS);
  const SavedDc saved(draw.hdc);
  if (push) {
    PushButton(draw, colours, type == BS_DEFPUSHBUTTON || (draw.uItemState & CDIS_DEFAULT), focus);
  } else {
    OptionButton(draw, colours, focus);
  }
  return CDRF_SKIPDEFAULT;
}

void PaintFrame(HWND frame, HDC dc, const WindowColours& colours) {
  const Palette& p = colours.palette();
  const SavedDc saved(dc);
  RECT r;
  GetClientRect(frame, &r);
  FillRect(dc, &r, colours.Brush(p.face));
  // Etched, as Windows draws it: a dark line with a light one inside it.
  RECT inner{r.left + 1, r.top + 1, r.right, r.bottom};
  RECT outer{r.left, r.top, r.right - 1, r.bottom - 1};
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  SelectObject(dc, GetStockObject(DC_PEN));
  SetDCPenColor(dc, colours.Colour(p.hilight));
  Rectangle(dc, inner.left, inner.top, inner.right, inner.bottom);
  SetDCPenColor(dc, colours.Colour(p.shadow));
  Rectangle(dc, outer.left, outer.top, outer.right, outer.bottom);
}

}  // namespace quorvane::win32
