// The word break of the two-line headings, measured with the widths of MS Sans
// Serif 8 pt at 96 dpi (the raster font of Windows, which fonts-wine carries
// with the same metrics) and with a plain one-pixel-a-character measure.
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

std::vector<std::wstring> Lines(std::wstring_view caption, int width,
                                const TextExtent& extent = OnePixelEach) {
  std::vector<std::wstring> out;
  for (std::wstring_view line : BreakCaption(caption, width, extent)) out.emplace_back(line);
  return out;
}

// The captions as the layout holds them, so a change there is seen here.
std::wstring_view CaptionOf(ControlId id) { return SpecOf(id).caption; }

TEST(HeadingLines, Label11ShowsRealOrOverMagnitude) {
  // 1065 twips are 71 pixels: "     Real or" and seven blanks fill 70 of them.
  const auto lines = Lines(CaptionOf(ControlId::Label11), 71, SansSerif8);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], L"     Real or       ");
  // The eighth blank is where the line breaks; the five after it lead the
  // next line, which puts "Magnitude" under "Real or".
  EXPECT_EQ(lines[1], L"     Magnitude");
  EXPECT_LE(SansSerif8(lines[0]), 71);
  EXPECT_LE(SansSerif8(lines[1]), 71);
}

TEST(HeadingLines, Label12ShowsImaginaryOverOrAngle) {
  const auto lines = Lines(CaptionOf(ControlId::Label12), 85, SansSerif8);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], L"       Imaginary      ");
  EXPECT_EQ(lines[1], L"        or Angle");
  EXPECT_LE(SansSerif8(lines[1]), 85);
}

TEST(HeadingLines, OnlyTheTwoHeadingsBreakTheirOwnCaptions) {
  for (const ControlSpec& c : kForm1Controls) {
    const bool own = c.id == ControlId::Label11 || c.id == ControlId::Label12;
    EXPECT_EQ(BreaksItsOwnCaption(c.id), own) << c.name;
    if (own) {
      EXPECT_EQ(c.kind, Kind::Label);
    }
  }
}

TEST(HeadingLines, ABlankThatDoesNotFitIsDroppedAndTheRestOfTheRunCarries) {
  // Width 5: "ab" and three blanks fit; the fourth blank goes; two remain.
  EXPECT_EQ(Lines(L"ab      cd", 5), (std::vector<std::wstring>{L"ab   ", L"  cd"}));
  // A blank exactly at the edge: the line is the word alone.
  EXPECT_EQ(Lines(L"abcde fgh", 5), (std::vector<std::wstring>{L"abcde", L"fgh"}));
  // One blank between words: nothing is carried.
  EXPECT_EQ(Lines(L"ab cd", 3), (std::vector<std::wstring>{L"ab ", L"cd"}));
}

TEST(HeadingLines, AWordThatDoesNotFitMovesWholeToTheNextLine) {
  // The break comes after the last blank before the word, with the blanks.
  EXPECT_EQ(Lines(L"ab  cdef", 6), (std::vector<std::wstring>{L"ab  ", L"cdef"}));
  EXPECT_EQ(Lines(L"one two three four", 9),
            (std::vector<std::wstring>{L"one two ", L"three ", L"four"}));
  // Leading blanks count as a break before the first word.
  EXPECT_EQ(Lines(L"   abcdef", 6), (std::vector<std::wstring>{L"   ", L"abcdef"}));
}

TEST(HeadingLines, AWordWiderThanTheLineStandsAloneAndIsNotCut) {
  EXPECT_EQ(Lines(L"abcdefgh ij", 4), (std::vector<std::wstring>{L"abcdefgh", L"ij"}));
  EXPECT_EQ(Lines(L"abcdefgh", 4), (std::vector<std::wstring>{L"abcdefgh"}));
  // Nothing fits at all: each word on its own line.
  EXPECT_EQ(Lines(L"ab cd", 0), (std::vector<std::wstring>{L"ab", L"cd"}));
}

TEST(HeadingLines, LineEndsBreakAndTextThatFitsIsOneLine) {
  EXPECT_EQ(Lines(L"Quorvane\r\nby its engineers", 100),
            (std::vector<std::wstring>{L"Quorvane", L"by its engineers"}));
  EXPECT_EQ(Lines(L"a\nb\rc", 100), (std::vector<std::wstring>{L"a", L"b", L"c"}));
  EXPECT_EQ(Lines(L"a\r\n\r\nb", 100), (std::vector<std::wstring>{L"a", L"", L"b"}));
  EXPECT_EQ(Lines(L"fits exactly", 12), (std::vector<std::wstring>{L"fits exactly"}));
  EXPECT_TRUE(Lines(L"", 10).empty());
}

TEST(HeadingLines, EveryCharacterIsOnALineOrIsTheOneBlankDroppedAtABreak) {
  // Over many widths, the lines put back together, with one blank at each
  // break that dropped one, give the caption again; no line but a lone word
  // is wider than the label.
  for (ControlId id : {ControlId::Label11, ControlId::Label12}) {
    const std::wstring caption(CaptionOf(id));
    for (int width = 0; width <= 200; ++width) {
      const auto lines = BreakCaption(caption, width, SansSerif8);
      size_t at = 0;
      for (std::wstring_view line : lines) {
        ASSERT_EQ(caption.compare(at, line.size(), line), 0) << width;
        if (line.find(L' ', line.find_first_not_of(L' ')) != std::wstring_view::npos) {
          EXPECT_LE(SansSerif8(line), width) << width;
        }
        at += line.size();
        // A line never ends just before a blank it could have kept.
        if (at < caption.size() && caption[at] == L' ') ++at;
      }
      EXPECT_EQ(at, caption.size()) << width;
    }
  }
}

}  // namespace
}  // namespace quorvane
