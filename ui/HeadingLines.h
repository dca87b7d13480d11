// The two-line column headings over the inputs, Label11 and Label12, break
// their own captions into lines by the rule of Windows' DrawText with
// DT_WORDBREAK for left-aligned text, so that they show the same two lines
// wherever they run; Wine's own word break puts the run of blanks at the
// break at the start of the next line and makes three lines of them.
//
// The rule, for each line (Microsoft's Windows 3.1 SDK on DrawText: a space
// is "interpreted as a wordwrap character ... the line is broken at the
// wordwrap character that is closest to the end of the line"; Wine's notes on
// Windows' DrawText in user32's text.c: the blanks after a line's last word
// that fit stay on that line, and a blank that would begin the next line is
// skipped):
//   - the longest start of the text that fits the width is taken;
//   - if the first character that does not fit is a blank, the line ends
//     before it (blanks that fit stay, unseen, at its end) and that one blank
//     is dropped; any further blanks of the run begin the next line;
//   - otherwise the line ends after the last blank before that character,
//     and the next line starts with the word that did not fit;
//   - a word wider than the whole line stands alone on it, overflowing, and
//     the blank after it is dropped;
//   - CR LF, CR or LF end a line.
// No window code here, so native tests check it.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "ui/Form1Layout.h"

namespace quorvane {

// The width in pixels of a piece of text in the label's font.
using TextExtent = std::function<int(std::wstring_view)>;

// The lines of `caption` in a label `width` pixels wide. Each line is a view
// into `caption`; an empty caption has no lines.
std::vector<std::wstring_view> BreakCaption(std::wstring_view caption, int width,
                                            const TextExtent& extent);

// The labels that break their own captions, as the window's table marks them;
// every other label keeps the system's wrapping.
inline bool BreaksItsOwnCaption(ControlId id) { return RowOf(id).ownLines; }

}  // namespace quorvane
