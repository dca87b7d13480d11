#include "ui/win32/HeadingLabel.h"

#include "ui/HeadingLines.h"
#include "win32/Owned.h"

namespace quorvane::win32 {

std::vector<std::wstring> HeadingLines(HDC dc, std::wstring_view caption, int width) {
  const auto extent = [dc](std::wstring_view text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    return static_cast<int>(size.cx);
  };
  std::vector<std::wstring> lines;
  for (std::wstring_view line : BreakCaption(caption, width, extent)) lines.emplace_back(line);
  return lines;
}

bool DrawHeadingLabel(const DRAWITEMSTRUCT& item) {
  if (item.CtlType != ODT_STATIC) return false;
  HWND label = item.hwndItem;
  HDC dc = item.hDC;
  const SavedDc saved(dc);
  const int length = GetWindowTextLengthW(label);
  std::wstring caption(static_cast<size_t>(length) + 1, L'\0');
  caption.resize(static_cast<size_t>(GetWindowTextW(label, caption.data(), length + 1)));

  // As a static control paints: the parent chooses the colours and the brush.
  auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(label), WM_CTLCOLORSTATIC,
                                                     reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(label)));
  if (!brush) brush = GetSysColorBrush(COLOR_3DFACE);
  RECT rc = item.rcItem;
  FillRect(dc, &rc, brush);
  SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
  SetBkMode(dc, TRANSPARENT);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  RECT line = rc;
  for (const std::wstring& text : HeadingLines(dc, caption, rc.right - rc.left)) {
    line.bottom = line.top + tm.tmHeight;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &line,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    line.top = line.bottom;
  }
  return true;
}

}  // namespace quorvane::win32
