// libFuzzer entry over the number texts. The input is read as UTF-16 text
// (little-endian code units) with either decimal separator, and its first
// eight bytes as a double. Nothing may crash; a double's texts must be what
// TextToNumber accepts and must read back to a double showing the same text.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "core/Failure.h"
#include "core/NumericText.h"

namespace {

using quorvane::FormatResult;
using quorvane::NumberToText;
using quorvane::RuntimeError;
using quorvane::TextToNumber;

constexpr std::wstring_view kSeparators[] = {L".", L","};

[[noreturn]] void Fail(const char* what, std::wstring_view text, std::wstring_view sep) {
  std::fprintf(stderr, "%s: \"", what);
  for (const wchar_t c : text) {
    if (c >= 0x20 && c < 0x7f) {
      std::fputc(static_cast<int>(c), stderr);
    } else {
      std::fprintf(stderr, "\\u%04X", static_cast<unsigned>(c));
    }
  }
  std::fprintf(stderr, "\" with separator \"%ls\"\n", std::wstring(sep).c_str());
  std::abort();
}

// The number read, or the error it raised.
struct Outcome {
  std::optional<double> value;
  int error = 0;
  bool operator==(const Outcome& o) const {
    if (value.has_value() != o.value.has_value()) return false;
    if (!value) return error == o.error;
    return std::memcmp(&*value, &*o.value, sizeof(double)) == 0;
  }
};

Outcome Read(std::wstring_view text, std::wstring_view sep) {
  Outcome r;
  try {
    r.value = TextToNumber(text, sep);
  } catch (const RuntimeError& e) {
    r.error = e.number;
  }
  return r;
}

// A double's display text and general text each read back to a double with
// the same text; only the display of magnitudes rounding to 1.79769313486232E+308
// (beyond the largest double) may overflow instead.
void CheckDouble(double x, std::wstring_view sep) {
  const std::wstring shown = FormatResult(x, sep);
  const std::wstring general = NumberToText(x, sep);
  if (std::isnan(x)) {
    if (shown != L"Undefined" || general != L"Undefined") Fail("NaN text", shown, sep);
    return;
  }
  if (std::isinf(x)) {
    const wchar_t* want = x < 0 ? L"-Infinity" : L"Infinity";
    if (shown != want || general != want) Fail("infinity text", shown, sep);
    return;
  }
  const bool atTop = NumberToText(std::fabs(x), L".") == L"1.79769313486232E+308";
  for (const std::wstring* text : {&shown, &general}) {
    const Outcome back = Read(*text, sep);
    if (!back.value) {
      if (back.error == quorvane::kErrOverflow && atTop) continue;
      Fail("a number's own text is refused", *text, sep);
    }
    if (!std::isfinite(*back.value)) Fail("text read as a non-finite value", *text, sep);
    const std::wstring again =
        text == &shown ? FormatResult(*back.value, sep) : NumberToText(*back.value, sep);
    if (again != *text) Fail("text does not survive reading back", *text, sep);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  std::wstring text;
  text.reserve(size / 2);
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
  }
  Outcome outcomes[2];
  for (int s = 0; s < 2; ++s) {
    const std::wstring_view sep = kSeparators[s];
    outcomes[s] = Read(text, sep);
    const Outcome& r = outcomes[s];
    if (r.value) {
      if (!std::isfinite(*r.value)) Fail("text read as a non-finite value", text, sep);
      CheckDouble(*r.value, sep);
    } else if (r.error != quorvane::kErrTypeMismatch && r.error != quorvane::kErrOverflow) {
      Fail("unexpected error number", text, sep);
    }
  }
  // Without either separator character the choice of separator is irrelevant.
  if (text.find_first_of(L".,") == std::wstring::npos && !(outcomes[0] == outcomes[1])) {
    Fail("result depends on an absent separator", text, L".");
  }
  if (size >= sizeof(double)) {
    double x;
    std::memcpy(&x, data, sizeof x);
    for (const std::wstring_view sep : kSeparators) CheckDouble(x, sep);
  }
  return 0;
}
