// A complex number written as one text, the way engineers carry phasors
// between tools: rectangular ("3+4j", "(1.5-2.25j)", "3.0000 + 4.0000i",
// "1e3-2.5E-1j", "4*j") or polar ("5∠53.13°", "12 < -30"). Read into the two
// texts the input boxes take, and written from the texts a result row shows.
// The decimal separator is the user's, passed in as for the numeric text.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane {

enum class ComplexForm { Rectangular, Polar };

// The two texts of an input, each a number in the form TextToNumber reads.
struct ComplexParts {
  std::wstring first;   // real part or magnitude
  std::wstring second;  // imaginary part or angle in degrees
  ComplexForm form;
  friend bool operator==(const ComplexParts&, const ComplexParts&) = default;
};

// A longer text is never read as a complex number.
inline constexpr std::size_t kMaxComplexTextLength = 256;

// The parts as written, character for character: the imaginary part takes
// the sign written between the parts ("3-4j" gives "3" and "-4"), a pure
// imaginary number has the real part "0". Blanks (spaces, tabs) may stand
// around the sign, j, * and the angle marks; blanks and line ends around the
// whole and one pair of parentheses are ignored. Nothing for any other text.
std::optional<ComplexParts> ReadComplexText(std::wstring_view text, std::wstring_view decimalSep);

// Two texts shown in a row as one number: "re + jim" or "re - j|im|", or
// "mag ∠ angle°", each with a 0 before a leading decimal separator. Empty
// when either text is not a number.
std::wstring WriteComplexText(std::wstring_view first, std::wstring_view second, ComplexForm form,
                              std::wstring_view decimalSep);

}  // namespace quorvane
