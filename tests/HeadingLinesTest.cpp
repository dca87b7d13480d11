// The word break of the two-line headings: the headings themselves measured
// with the widths of MS Sans Serif 8 pt at 96 dpi (the raster font of Windows,
// which fonts-wine carries with the same metrics), and the rule's cases with
// one pixel a character.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "ui/HeadingLines.h"

namespace quorvane {
namespace {

// Advance widths of the characters 32 to 126 in MS Sans Serif 8 pt at 96 dpi.
// clang-format off
constexpr std::array<int, 95> kSansSerif8 = {
    3, 3, 5, 7, 6, 8, 6, 2, 3, 3, 4, 6, 3, 3, 3, 5,   //  !"#$%&'()*+,-./
    6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 3, 3, 6, 6, 6, 6,   // 0123456789:;<=>?
    11, 7, 7, 7, 8, 7, 6, 8, 8, 3, 5, 7, 6, 9, 8, 8,  // @ABCDEFGHIJKLMNO
    7, 8, 8, 7, 7, 8, 7, 11, 7, 7, 7, 3, 5, 3, 6, 6,  // PQRSTUVWXYZ[\]^_
    3, 6, 6, 6, 6, 6, 3, 6, 6, 2, 2, 6, 2, 8, 6, 6,   // `abcdefghijklmno
    6, 6, 3, 5, 3, 6, 6, 8, 5, 5, 5, 4, 2, 4, 7,      // pqrstuvwxyz{|}~
};
// clang-format on

int SansSerif8(std::wstring_view text) {
  int width = 0;
  for (wchar_t c : text) width += kSansSerif8.at(static_cast<size_t>(c - 32));
  return width;
}

int OnePixelEach(std::wstring_view text) { return static_cast<int>(text.size()); }

std::vector<std::wstring> Lines(std::wstring_view caption, int width, const TextExtent& extent) {
  std::vector<std::wstring> out;
  for (std::wstring_view line : BreakCaption(caption, width, extent)) out.emplace_back(line);
  return out;
}

TEST(HeadingLines, TheTwoHeadingsTakeTwoLinesWithTheirWordsOverEachOther) {
  // Label11 is 71 pixels wide: "     Real or" and seven blanks fill 70; the
  // eighth blank is the break, and the five after it lead "Magnitude".
  // Label12 is 85 pixels wide.
  const struct {
    ControlId id;
    int width;
    std::vector<std::wstring> lines;
  } cases[] = {
      {ControlId::Label11, 71, {L"     Real or       ", L"     Magnitude"}},
      {ControlId::Label12, 85, {L"       Imaginary      ", L"        or Angle"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Lines(RowOf(c.id).caption, c.width, SansSerif8), c.lines) << RowOf(c.id).name;
    EXPECT_TRUE(BreaksItsOwnCaption(c.id));
  }
  EXPECT_FALSE(BreaksItsOwnCaption(ControlId::Label9));
}

TEST(HeadingLines, BreaksAsWindowsDrawTextDoes) {
  const struct {
    const wchar_t* caption;
    int width;
    std::vector<std::wstring> lines;
  } cases[] = {
      // A blank that does not fit ends the line and goes; the rest of its run
      // leads the next line.
      {L"ab      cd", 5, {L"ab   ", L"  cd"}},
      {L"abcde fgh", 5, {L"abcde", L"fgh"}},
      // A word that does not fit moves whole, after the blanks before it.
      {L"ab  cdef", 6, {L"ab  ", L"cdef"}},
      {L"one two three four", 9, {L"one two ", L"three ", L"four"}},
      {L"   abcdef", 6, {L"   ", L"abcdef"}},
      // A word wider than the line stands alone, uncut.
      {L"abcdefgh ij", 4, {L"abcdefgh", L"ij"}},
      {L"ab cd", 0, {L"ab", L"cd"}},
      // Line ends break; what fits is one line; nothing is no line.
      {L"Quorvane\r\nby its engineers", 100, {L"Quorvane", L"by its engineers"}},
      {L"a\nb\rc\r\n\r\nd", 100, {L"a", L"b", L"c", L"", L"d"}},
      {L"fits exactly", 12, {L"fits exactly"}},
      {L"", 10, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Lines(c.caption, c.width, OnePixelEach), c.lines) << c.caption << " at " << c.width;
  }
}

}  // namespace
}  // namespace quorvane
