#include "core/ComplexNotation.h"

#include "core/Failure.h"
#include "core/NumericText.h"

namespace quorvane {
namespace {

constexpr wchar_t kAngle = L'\u2220';
constexpr wchar_t kAngleMarks[] = {kAngle, L'<', L'\0'};
constexpr wchar_t kDegree = L'\u00B0';

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool IsSign(wchar_t c) { return c == L'+' || c == L'-'; }
bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }
bool IsJ(wchar_t c) { return c == L'j' || c == L'J' || c == L'i' || c == L'I'; }

std::wstring_view Trimmed(std::wstring_view t, bool lineEnds = false) {
  const auto skip = [&](wchar_t c) {
    return IsBlank(c) || (lineEnds && (c == L'\r' || c == L'\n'));
  };
  while (!t.empty() && skip(t.front())) t.remove_prefix(1);
  while (!t.empty() && skip(t.back())) t.remove_suffix(1);
  return t;
}

std::size_t SkipBlanks(std::wstring_view t, std::size_t i) {
  while (i < t.size() && IsBlank(t[i])) ++i;
  return i;
}

// Whether TextToNumber reads `t` as a number, however large.
bool IsNumber(std::wstring_view t, std::wstring_view sep) {
  try {
    TextToNumber(t, sep);
    return true;
  } catch (const RuntimeError& e) {
    return e.number == kErrOverflow;
  }
}

// The end of the longest number "[sign]digits[sep digits][E[sign]digits]"
// that starts at i, or i when none does.
std::size_t NumberEnd(std::wstring_view t, std::size_t i, std::wstring_view sep) {
  std::size_t k = i < t.size() && IsSign(t[i]) ? i + 1 : i;
  bool digits = false, separator = false;
  while (k < t.size()) {
    if (IsDigit(t[k])) {
      digits = true;
      ++k;
    } else if (!separator && !sep.empty() && t.substr(k, sep.size()) == sep) {
      separator = true;
      k += sep.size();
    } else {
      break;
    }
  }
  if (!digits) return i;
  if (k < t.size() && (t[k] == L'e' || t[k] == L'E')) {
    std::size_t e = k + 1 < t.size() && IsSign(t[k + 1]) ? k + 2 : k + 1;
    if (e < t.size() && IsDigit(t[e])) {
      while (e < t.size() && IsDigit(t[e])) ++e;
      k = e;
    }
  }
  return k;
}

// An imaginary term without a sign at i, "jb", "bj" or "b*j", to the end of
// `t`: its number, or nothing.
std::optional<std::wstring_view> Term(std::wstring_view t, std::size_t i, std::wstring_view sep) {
  const bool jFirst = i < t.size() && IsJ(t[i]);
  if (jFirst) i = SkipBlanks(t, i + 1);
  if (i >= t.size() || IsSign(t[i])) return std::nullopt;
  const std::size_t end = NumberEnd(t, i, sep);
  if (end == i) return std::nullopt;
  std::size_t k = end;
  if (!jFirst) {
    k = SkipBlanks(t, k);
    if (k < t.size() && t[k] == L'*') k = SkipBlanks(t, k + 1);
    if (k >= t.size() || !IsJ(t[k])) return std::nullopt;
    ++k;
  }
  if (k != t.size()) return std::nullopt;
  return t.substr(i, end - i);
}

std::wstring Signed(wchar_t sign, std::wstring_view number) {
  return (sign == L'-' ? L"-" : L"") + std::wstring(number);
}

std::optional<ComplexParts> Rectangular(std::wstring_view t, std::wstring_view sep) {
  // a + jb: the real part, its own sign kept, then the sign between the parts.
  const std::size_t realEnd = NumberEnd(t, 0, sep);
  const std::size_t signAt = SkipBlanks(t, realEnd);
  if (realEnd > 0 && signAt < t.size() && IsSign(t[signAt])) {
    if (const auto imag = Term(t, SkipBlanks(t, signAt + 1), sep)) {
      return ComplexParts{std::wstring(t.substr(0, realEnd)), Signed(t[signAt], *imag),
                          ComplexForm::Rectangular};
    }
    return std::nullopt;
  }
  // jb alone, with or without a sign.
  const bool sign = !t.empty() && IsSign(t[0]);
  const auto imag = Term(t, SkipBlanks(t, sign ? 1 : 0), sep);
  if (!imag) return std::nullopt;
  return ComplexParts{L"0", Signed(sign ? t[0] : L'+', *imag), ComplexForm::Rectangular};
}

std::optional<ComplexParts> Polar(std::wstring_view t, std::size_t mark, std::wstring_view sep) {
  const std::wstring_view magnitude = Trimmed(t.substr(0, mark));
  std::wstring_view angle = Trimmed(t.substr(mark + 1));
  if (!angle.empty() && angle.back() == kDegree) angle = Trimmed(angle.substr(0, angle.size() - 1));
  for (const std::wstring_view part : {magnitude, angle}) {
    if (part.empty() || NumberEnd(part, 0, sep) != part.size()) return std::nullopt;
  }
  return ComplexParts{std::wstring(magnitude), std::wstring(angle), ComplexForm::Polar};
}

// A number as a row shows it, with a 0 before a leading separator.
std::wstring Shown(std::wstring_view t, std::wstring_view sep) {
  t = Trimmed(t);
  std::wstring out(t);
  const std::size_t digits = !t.empty() && IsSign(t[0]) ? 1 : 0;
  if (!sep.empty() && t.substr(digits, sep.size()) == sep) out.insert(digits, 1, L'0');
  return out;
}

}  // namespace

std::optional<ComplexParts> ReadComplexText(std::wstring_view text, std::wstring_view sep) {
  if (text.size() > kMaxComplexTextLength) return std::nullopt;
  std::wstring_view t = Trimmed(text, true);
  if (t.size() >= 2 && t.front() == L'(' && t.back() == L')')
    t = Trimmed(t.substr(1, t.size() - 2));
  const std::size_t mark = t.find_first_of(kAngleMarks);
  std::optional<ComplexParts> parts =
      mark == std::wstring_view::npos ? Rectangular(t, sep) : Polar(t, mark, sep);
  // The scan and TextToNumber agree on what a number is; should they ever
  // not, the text is no complex number rather than a Data Entry Error.
  if (parts && (!IsNumber(parts->first, sep) || !IsNumber(parts->second, sep))) return std::nullopt;
  return parts;
}

std::wstring WriteComplexText(std::wstring_view first, std::wstring_view second, ComplexForm form,
                              std::wstring_view sep) {
  if (!IsNumber(first, sep) || !IsNumber(second, sep)) return L"";
  const std::wstring a = Shown(first, sep), b = Shown(second, sep);
  if (form == ComplexForm::Polar) return a + L" " + kAngle + L" " + b + kDegree;
  if (b[0] == L'-') return a + L" - j" + b.substr(1);
  return a + L" + j" + (b[0] == L'+' ? b.substr(1) : b);
}

}  // namespace quorvane
