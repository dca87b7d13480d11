#include "ui/HeadingLines.h"

namespace quorvane {
namespace {

constexpr wchar_t kBlank = L' ';

// How many characters from the start of `text` fit in `width`: the extent
// grows with the length, so the count is found by halving.
size_t CharsThatFit(std::wstring_view text, int width, const TextExtent& extent) {
  size_t lo = 0, hi = text.size();
  while (lo < hi) {
    const size_t mid = lo + (hi - lo + 1) / 2;
    if (extent(text.substr(0, mid)) <= width) {
      lo = mid;
    } else {
      hi = mid - 1;
    }
  }
  return lo;
}

// One paragraph (text without line ends) broken into lines.
void BreakParagraph(std::wstring_view text, int width, const TextExtent& extent,
                    std::vector<std::wstring_view>& lines) {
  do {
    const size_t fit = CharsThatFit(text, width, extent);
    if (fit == text.size()) {
      lines.push_back(text);
      return;
    }
    if (text[fit] == kBlank) {
      // The line ends before the blank that does not fit; that blank goes.
      lines.push_back(text.substr(0, fit));
      text.remove_prefix(fit + 1);
      continue;
    }
    const size_t blank = fit == 0 ? std::wstring_view::npos : text.rfind(kBlank, fit - 1);
    if (blank != std::wstring_view::npos) {
      // The line ends after the last blank before the word that does not fit.
      lines.push_back(text.substr(0, blank + 1));
      text.remove_prefix(blank + 1);
      continue;
    }
    // A word wider than the line: it stands alone, and the blank after it goes.
    const size_t end = text.find(kBlank, fit);
    if (end == std::wstring_view::npos) {
      lines.push_back(text);
      return;
    }
    lines.push_back(text.substr(0, end));
    text.remove_prefix(end + 1);
  } while (!text.empty());
}

}  // namespace

std::vector<std::wstring_view> BreakCaption(std::wstring_view caption, int width,
                                            const TextExtent& extent) {
  std::vector<std::wstring_view> lines;
  while (!caption.empty()) {
    const size_t end = caption.find_first_of(L"\r\n");
    const std::wstring_view paragraph = caption.substr(0, end);
    if (paragraph.empty()) {
      lines.push_back(paragraph);
    } else {
      BreakParagraph(paragraph, width, extent, lines);
    }
    if (end == std::wstring_view::npos) break;
    // CR LF is one line end; so is a CR or an LF alone.
    const size_t next = caption.compare(end, 2, L"\r\n") == 0 ? end + 2 : end + 1;
    caption.remove_prefix(next);
  }
  return lines;
}

}  // namespace quorvane
