#include "core/NumericText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

#include "core/Failure.h"

namespace quorvane {

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

[[noreturn]] void TypeMismatch() { throw RuntimeError{kErrTypeMismatch}; }

// The magnitude rounded to 15 significant digits: digits[0..14] and the
// decimal exponent of digits[0]. std::to_chars rounds the exact binary value
// to nearest; a tie (an exactly representable value halfway at the 15th
// digit, such as 1234567890123445) goes to the even digit.
struct Digits15 {
  std::array<char, 15> d;
  int exponent;
};

Digits15 Round15(double magnitude) {
  std::array<char, 32> buf{};
  const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), magnitude,
                                 std::chars_format::scientific, 14);
  // Layout: d.dddddddddddddde[+-]XX[X]
  Digits15 out{};
  out.d[0] = buf[0];
  for (int i = 1; i < 15; ++i) out.d[i] = buf[i + 1];
  const char* p = buf.data() + 17;  // past 'e'
  const bool negExp = *p == '-';
  int e = 0;
  for (++p; p < res.ptr; ++p) e = e * 10 + (*p - '0');
  out.exponent = negExp ? -e : e;
  return out;
}

std::wstring NonFinite(double value) {
  if (std::isnan(value)) return L"Undefined";
  return value < 0 ? L"-Infinity" : L"Infinity";
}

// Where the parts of an accepted number lie in its text.
struct Matched {
  bool negative;
  std::size_t mantissaStart, mantissaEnd;
  std::size_t sepAt;         // npos without a separator
  std::size_t digits;        // of the mantissa
  std::size_t intDigits;     // before the separator
  std::size_t firstNonZero;  // among the digits; npos when all are zeros
  long long exponent;
};

// The exponent after "E": saturated far beyond any double either way.
long long MatchExponent(std::wstring_view text, std::size_t& i) {
  const std::size_t n = text.size();
  bool negative = false;
  if (i < n && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
  if (i >= n || !IsDigit(text[i])) TypeMismatch();
  long long exponent = 0;
  for (; i < n && IsDigit(text[i]); ++i) {
    if (exponent < 100000000) exponent = exponent * 10 + (text[i] - L'0');
  }
  return negative ? -exponent : exponent;
}

// Matches "[spaces][sign]digits[sep digits][E[sign]digits][spaces]" and
// notes where its parts lie; anything else is a type mismatch.
Matched Match(std::wstring_view text, std::wstring_view decimalSep) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && text[i] == L' ') ++i;
  bool negative = false;
  if (i < n && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
  const std::size_t mantissaStart = i;
  std::size_t sepAt = std::wstring_view::npos;
  std::size_t digits = 0;
  std::size_t intDigits = 0;
  std::size_t firstNonZero = std::wstring_view::npos;
  while (i < n) {
    if (IsDigit(text[i])) {
      if (firstNonZero == std::wstring_view::npos && text[i] != L'0') firstNonZero = digits;
      ++digits;
      if (sepAt == std::wstring_view::npos) ++intDigits;
      ++i;
    } else if (sepAt == std::wstring_view::npos && !decimalSep.empty() &&
               text.substr(i, decimalSep.size()) == decimalSep) {
      sepAt = i;
      i += decimalSep.size();
    } else {
      break;
    }
  }
  const std::size_t mantissaEnd = i;
  if (digits == 0) TypeMismatch();
  long long exponent = 0;
  if (i < n && (text[i] == L'E' || text[i] == L'e')) exponent = MatchExponent(text, ++i);
  while (i < n && text[i] == L' ') ++i;
  if (i != n) TypeMismatch();
  return {negative, mantissaStart, mantissaEnd, sepAt, digits, intDigits, firstNonZero, exponent};
}

// The matched magnitude: its digits in plain ASCII for std::from_chars, on
// the stack unless the text is long.
double Convert(std::wstring_view text, std::wstring_view decimalSep, const Matched& m,
               long long leadExponent) {
  std::array<char, 96> small;
  std::string large;
  const std::size_t need = m.digits + 16;
  char* out = small.data();
  if (need > small.size()) {
    large.resize(need);
    out = large.data();
  }
  char* p = out;
  for (std::size_t k = m.mantissaStart; k < m.mantissaEnd; ++k) {
    if (k == m.sepAt) {
      *p++ = '.';
      k += decimalSep.size() - 1;
    } else {
      *p++ = static_cast<char>(text[k]);
    }
  }
  *p++ = 'e';
  p = std::to_chars(p, out + need, m.exponent).ptr;
  double value = 0;
  const auto res = std::from_chars(out, p, value, std::chars_format::general);
  if (res.ec == std::errc::result_out_of_range) {
    if (leadExponent > 0) throw RuntimeError{kErrOverflow};
    value = 0;
  } else if (res.ec != std::errc() || res.ptr != p) {
    TypeMismatch();
  }
  if (std::isinf(value)) throw RuntimeError{kErrOverflow};
  return value;
}

}  // namespace

double TextToNumber(std::wstring_view text, std::wstring_view decimalSep) {
  const Matched m = Match(text, decimalSep);
  if (m.firstNonZero == std::wstring_view::npos) return m.negative ? -0.0 : 0.0;
  // Decimal exponent of the first significant digit decides overflow and
  // underflow before from_chars sees a text of any length.
  const long long leadExponent =
      static_cast<long long>(m.intDigits) - 1 - static_cast<long long>(m.firstNonZero) + m.exponent;
  if (leadExponent > 400) throw RuntimeError{kErrOverflow};
  if (leadExponent < -400) return m.negative ? -0.0 : 0.0;
  const double value = Convert(text, decimalSep, m, leadExponent);
  return m.negative ? -value : value;
}

std::wstring FormatResult(double value, std::wstring_view decimalSep) {
  if (!std::isfinite(value)) return NonFinite(value);
  const bool negative = value < 0;
  std::wstring out;
  if (value == 0) {
    out = decimalSep;
    out += L'0';
    return out;
  }
  const Digits15 r = Round15(std::fabs(value));
  const int e = r.exponent;
  // Digit at decimal position p (10^p), digits past the 15th being zeros.
  const auto digitAt = [&](int p) -> int {
    const int k = e - p;
    return (k >= 0 && k < 15) ? r.d[static_cast<std::size_t>(k)] - '0' : 0;
  };
  const int top = e > 0 ? e : 0;
  // Slot 0 is spare for a carry; then positions top..-3, most significant
  // first. The largest double has 309 integer digits.
  std::array<char, 320> digits;
  const std::size_t count = static_cast<std::size_t>(top + 5);
  digits[0] = '0';
  for (int p = top; p >= -3; --p) {
    digits[static_cast<std::size_t>(top - p + 1)] = static_cast<char>('0' + digitAt(p));
  }
  if (digitAt(-4) >= 5) {  // halves away from zero
    std::size_t k = count;
    while (digits[--k] == '9') digits[k] = '0';
    ++digits[k];
  }
  const std::size_t fracStart = count - 3;
  std::size_t intStart = 0;
  while (intStart < fracStart && digits[intStart] == '0') ++intStart;
  std::size_t fracEnd = count;
  while (fracEnd > fracStart + 1 && digits[fracEnd - 1] == '0') --fracEnd;
  const bool isZero = intStart == fracStart && fracEnd == fracStart + 1 && digits[fracStart] == '0';
  out.reserve(fracEnd - intStart + decimalSep.size() + 1);
  // A negative value that rounds to zero shows no sign.
  if (negative && !isZero) out += L'-';
  for (std::size_t k = intStart; k < fracStart; ++k) out += static_cast<wchar_t>(digits[k]);
  out += decimalSep;
  for (std::size_t k = fracStart; k < fracEnd; ++k) out += static_cast<wchar_t>(digits[k]);
  return out;
}

std::wstring NumberToText(double value, std::wstring_view decimalSep) {
  if (!std::isfinite(value)) return NonFinite(value);
  if (value == 0) return L"0";
  std::wstring out;
  if (value < 0) out += L'-';
  const Digits15 r = Round15(std::fabs(value));
  int count = 15;
  while (count > 1 && r.d[static_cast<std::size_t>(count - 1)] == '0') --count;
  const auto digit = [&](int k) { return static_cast<wchar_t>(r.d[static_cast<std::size_t>(k)]); };
  const int e = r.exponent;
  if (e >= -4 && e < 15) {
    if (e >= 0) {
      for (int k = 0; k <= e; ++k) out += k < count ? digit(k) : L'0';
      if (count > e + 1) {
        out += decimalSep;
        for (int k = e + 1; k < count; ++k) out += digit(k);
      }
    } else {
      out += L'0';
      out += decimalSep;
      out.append(static_cast<std::size_t>(-e - 1), L'0');
      for (int k = 0; k < count; ++k) out += digit(k);
    }
    return out;
  }
  out += digit(0);
  if (count > 1) {
    out += decimalSep;
    for (int k = 1; k < count; ++k) out += digit(k);
  }
  out += L'E';
  out += e < 0 ? L'-' : L'+';
  const int ae = e < 0 ? -e : e;
  if (ae < 10) out += L'0';
  for (const char c : std::to_string(ae)) out += static_cast<wchar_t>(c);
  return out;
}

}  // namespace quorvane
