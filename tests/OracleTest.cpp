// Differential checks of the number texts against an exact decimal oracle.
//
// The oracle never asks the C++ library to round a double. It expands the
// double's exact binary value m * 2^q with a small big-integer type, keeps the
// leading 18 or 19 decimal digits and a sticky flag for whatever lies beyond,
// and applies the display rules to that exact expansion. Reading is checked
// the other way round: the decimal value of a text is compared exactly with
// the midpoints between the double that was read and its neighbours.
//
// QUORVANE_ORACLE_CASES scales the number of random doubles (default
// 1,000,000); the other groups scale with it.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "core/Failure.h"
#include "core/NumericText.h"

namespace quorvane {
namespace {

constexpr std::array<uint64_t, 20> kPow10 = [] {
  std::array<uint64_t, 20> p{};
  p[0] = 1;
  for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 10;
  return p;
}();

constexpr std::array<uint32_t, 14> kPow5 = [] {
  std::array<uint32_t, 14> p{};
  p[0] = 1;
  for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 5;
  return p;
}();

// Unsigned integer of up to kLimbs 32-bit limbs, least significant first.
class BigUInt {
 public:
  static constexpr int kLimbs = 176;

  BigUInt() = default;
  explicit BigUInt(uint64_t v) {
    limbs_[0] = static_cast<uint32_t>(v);
    limbs_[1] = static_cast<uint32_t>(v >> 32);
    size_ = limbs_[1] != 0 ? 2 : (limbs_[0] != 0 ? 1 : 0);
  }

  // From decimal digits ('0'..'9' only).
  static BigUInt FromDecimal(std::string_view digits) {
    BigUInt b;
    std::size_t i = 0;
    const std::size_t head = digits.size() % 9;
    const auto chunk = [&](std::size_t len) {
      uint32_t v = 0;
      for (std::size_t k = 0; k < len; ++k) v = v * 10 + static_cast<uint32_t>(digits[i++] - '0');
      return v;
    };
    if (head != 0) b.MulAdd(1, chunk(head));
    while (i < digits.size()) b.MulAdd(1000000000u, chunk(9));
    return b;
  }

  bool IsZero() const { return size_ == 0; }
  int BitLength() const {
    return size_ == 0 ? 0 : (size_ - 1) * 32 + static_cast<int>(std::bit_width(limbs_[size_ - 1]));
  }
  uint64_t Low64() const {
    return (size_ > 0 ? limbs_[0] : 0u) | (size_ > 1 ? uint64_t{limbs_[1]} << 32 : 0u);
  }

  // this = this * f + add.
  void MulAdd(uint32_t f, uint32_t add) {
    uint64_t carry = add;
    for (int i = 0; i < size_; ++i) {
      const uint64_t p = uint64_t{limbs_[i]} * f + carry;
      limbs_[i] = static_cast<uint32_t>(p);
      carry = p >> 32;
    }
    if (carry != 0) {
      Grow(size_ + 1);
      limbs_[size_ - 1] = static_cast<uint32_t>(carry);
    }
  }
  void MulPow5(int n) {
    for (; n >= 13; n -= 13) MulAdd(kPow5[13], 0);
    if (n > 0) MulAdd(kPow5[static_cast<std::size_t>(n)], 0);
  }
  void MulPow10(int n) {
    MulPow5(n);
    ShiftLeft(n);
  }
  void ShiftLeft(int bits) {
    if (size_ == 0 || bits == 0) return;
    const int words = bits / 32;
    const int rest = bits % 32;
    const int old = size_;
    Grow(old + words + 1);
    if (rest == 0) {
      limbs_[old + words] = 0;
      for (int i = old - 1; i >= 0; --i) limbs_[i + words] = limbs_[i];
    } else {
      limbs_[old + words] = limbs_[old - 1] >> (32 - rest);
      for (int i = old - 1; i > 0; --i) {
        limbs_[i + words] = (limbs_[i] << rest) | (limbs_[i - 1] >> (32 - rest));
      }
      limbs_[words] = limbs_[0] << rest;
    }
    for (int i = 0; i < words; ++i) limbs_[i] = 0;
    Trim();
  }
  // Floor of this / 2^bits; sticky is set when a nonzero part is dropped.
  void ShiftRight(int bits, bool& sticky) {
    const int words = bits / 32;
    const int rest = bits % 32;
    if (words >= size_) {
      sticky = sticky || size_ != 0;
      size_ = 0;
      return;
    }
    for (int i = 0; i < words; ++i) sticky = sticky || limbs_[i] != 0;
    if (rest != 0) sticky = sticky || (limbs_[words] & ((1u << rest) - 1)) != 0;
    const int n = size_ - words;
    for (int i = 0; i < n; ++i) {
      uint32_t v = limbs_[i + words];
      if (rest != 0) {
        v >>= rest;
        if (i + words + 1 < size_) v |= limbs_[i + words + 1] << (32 - rest);
      }
      limbs_[i] = v;
    }
    size_ = n;
    Trim();
  }
  // Floor of this / 10^n; sticky as for ShiftRight.
  void DivPow10(int n, bool& sticky) {
    ShiftRight(n, sticky);
    for (; n >= 13; n -= 13) sticky = DivConst<kPow5[13]>() != 0 || sticky;
    if (n > 0) sticky = DivBy(kPow5[static_cast<std::size_t>(n)]) != 0 || sticky;
  }
  std::string ToDecimal() const {
    if (size_ == 0) return "0";
    BigUInt t = *this;
    std::vector<uint32_t> chunks;
    while (!t.IsZero()) chunks.push_back(t.DivConst<1000000000u>());
    std::string s = std::to_string(chunks.back());
    for (std::size_t i = chunks.size() - 1; i-- > 0;) {
      const std::string c = std::to_string(chunks[i]);
      s.append(9 - c.size(), '0');
      s += c;
    }
    return s;
  }
  void SubOne() {  // requires nonzero
    for (int i = 0; i < size_; ++i) {
      if (limbs_[i]-- != 0) break;
    }
    Trim();
  }

  friend int Compare(const BigUInt& a, const BigUInt& b) {
    if (a.size_ != b.size_) return a.size_ < b.size_ ? -1 : 1;
    for (int i = a.size_ - 1; i >= 0; --i) {
      if (a.limbs_[i] != b.limbs_[i]) return a.limbs_[i] < b.limbs_[i] ? -1 : 1;
    }
    return 0;
  }

 private:
  template <uint32_t D>
  uint32_t DivConst() {
    uint64_t rem = 0;
    for (int i = size_ - 1; i >= 0; --i) {
      const uint64_t cur = (rem << 32) | limbs_[i];
      limbs_[i] = static_cast<uint32_t>(cur / D);
      rem = cur % D;
    }
    Trim();
    return static_cast<uint32_t>(rem);
  }
  uint32_t DivBy(uint32_t d) {
    uint64_t rem = 0;
    for (int i = size_ - 1; i >= 0; --i) {
      const uint64_t cur = (rem << 32) | limbs_[i];
      limbs_[i] = static_cast<uint32_t>(cur / d);
      rem = cur % d;
    }
    Trim();
    return static_cast<uint32_t>(rem);
  }
  void Grow(int n) {
    if (n > kLimbs) {
      std::fprintf(stderr, "BigUInt capacity exceeded\n");
      std::abort();
    }
    size_ = n;
  }
  void Trim() {
    while (size_ > 0 && limbs_[size_ - 1] == 0) --size_;
  }

  std::array<uint32_t, kLimbs> limbs_{};
  int size_ = 0;
};

// x = m * 2^q exactly, for a positive finite double.
struct Binary {
  uint64_t m;
  int q;
};

Binary Decompose(double x) {
  const uint64_t bits = std::bit_cast<uint64_t>(x);
  const int biased = static_cast<int>((bits >> 52) & 0x7ff);
  const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
  if (biased == 0) return {fraction, -1074};
  return {fraction | (uint64_t{1} << 52), biased - 1075};
}

int DigitCount(uint64_t v) {
  int n = 1;
  while (n < 20 && v >= kPow10[static_cast<std::size_t>(n)]) ++n;
  return n;
}

std::string Decimal(uint64_t v) {
  std::string s;
  do {
    s.insert(s.begin(), static_cast<char>('0' + v % 10));
    v /= 10;
  } while (v != 0);
  return s;
}

// x = (lead + r) * 10^pow exactly, 0 <= r < 1, lead of 18 or 19 digits;
// sticky tells r > 0.
struct Expansion {
  uint64_t lead;
  int pow;
  bool sticky;
};

Expansion Expand(double x) {
  const Binary b = Decompose(x);
  const int log2 = b.q + static_cast<int>(std::bit_width(b.m)) - 1;
  int k = ((log2 * 315653) >> 20) - 17;  // floor(log2 * log10(2)) - 17
  for (;;) {
    BigUInt v(b.m);
    bool sticky = false;
    if (b.q > 0) v.ShiftLeft(b.q);
    if (k < 0) v.MulPow10(-k);
    if (b.q < 0) v.ShiftRight(-b.q, sticky);
    if (k > 0) v.DivPow10(k, sticky);
    if (v.BitLength() > 64 || v.Low64() >= kPow10[19]) {
      ++k;
    } else if (v.Low64() < kPow10[17]) {
      --k;
    } else {
      return {v.Low64(), k, sticky};
    }
  }
}

// `digits` has exactly n digits; the value is digits * 10^(exp - n + 1).
struct Rounded {
  uint64_t digits;
  int exp;
  bool tie;  // the exact value lay halfway between two candidates
};

// Round to nearest, an exact tie to the even digit.
Rounded RoundToDigits(const Expansion& x, int n) {
  const int len = DigitCount(x.lead);
  const uint64_t p = kPow10[static_cast<std::size_t>(len - n)];
  uint64_t q = x.lead / p;
  const uint64_t r = x.lead % p;
  const uint64_t half = p / 2;
  const bool tie = r == half && !x.sticky;
  if (r > half || (r == half && (x.sticky || (q & 1) != 0))) ++q;
  int exp = x.pow + len - 1;
  if (q == kPow10[static_cast<std::size_t>(n)]) {
    q = kPow10[static_cast<std::size_t>(n - 1)];
    ++exp;
  }
  return {q, exp, tie};
}

std::wstring Widen(std::string_view s) { return std::wstring(s.begin(), s.end()); }

std::string Narrow(std::wstring_view s) {
  std::string out;
  for (const wchar_t c : s) {
    if (c >= 0x20 && c < 0x7f) {
      out += static_cast<char>(c);
    } else {
      char buf[16];
      std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(c));
      out += buf;
    }
  }
  return out;
}

std::string Quoted(std::wstring_view s) {
  std::string q = "\"";
  q += Narrow(s);
  q += '"';
  return q;
}

std::string Describe(double x) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%a (0x%016llx)", x,
                static_cast<unsigned long long>(std::bit_cast<uint64_t>(x)));
  return buf;
}

// The display text and the decimal it stands for: sign, n * 10^k10.
struct Shown {
  std::wstring text;
  bool negative;
  uint64_t n;
  int k10;
  bool tie15;  // halfway at the 15th significant digit
  bool tie3;   // the 15-digit decimal halfway at the third decimal
};

Shown OracleFormatResult(double x, std::wstring_view sep) {
  if (std::isnan(x)) return {L"Undefined", false, 0, 0, false, false};
  if (std::isinf(x)) return {x < 0 ? L"-Infinity" : L"Infinity", false, 0, 0, false, false};
  // The magnitude in thousandths, as n * 10^(k10 + 3).
  uint64_t n = 0;
  int k10 = -3;
  std::string thousandths = "0";
  bool tie15 = false;
  bool tie3 = false;
  if (x != 0) {
    const Rounded r = RoundToDigits(Expand(std::fabs(x)), 15);
    tie15 = r.tie;
    const int t = r.exp - 11;  // r.digits * 10^t thousandths
    if (t >= 0) {
      n = r.digits;
      k10 = t - 3;
      thousandths = Decimal(r.digits) + std::string(static_cast<std::size_t>(t), '0');
    } else if (-t <= 15) {
      const uint64_t p = kPow10[static_cast<std::size_t>(-t)];
      n = r.digits / p;
      tie3 = (r.digits % p) * 2 == p;
      if ((r.digits % p) * 2 >= p) ++n;  // halves away from zero
      thousandths = Decimal(n);
    }
  }
  if (thousandths.size() < 4) thousandths.insert(0, 4 - thousandths.size(), '0');
  const std::size_t fracStart = thousandths.size() - 3;
  std::size_t intStart = 0;
  while (intStart < fracStart && thousandths[intStart] == '0') ++intStart;
  std::size_t fracEnd = thousandths.size();
  while (fracEnd > fracStart + 1 && thousandths[fracEnd - 1] == '0') --fracEnd;
  const bool negative = x < 0 && n != 0;
  std::wstring text = negative ? L"-" : L"";
  text += Widen(std::string_view(thousandths).substr(intStart, fracStart - intStart));
  text += sep;
  text += Widen(std::string_view(thousandths).substr(fracStart, fracEnd - fracStart));
  return {text, negative, n, k10, tie15, tie3};
}

std::wstring OracleNumberToText(double x, std::wstring_view sep) {
  if (std::isnan(x)) return L"Undefined";
  if (std::isinf(x)) return x < 0 ? L"-Infinity" : L"Infinity";
  if (x == 0) return L"0";
  const Rounded r = RoundToDigits(Expand(std::fabs(x)), 15);
  std::string d = Decimal(r.digits);
  while (d.size() > 1 && d.back() == '0') d.pop_back();
  const int e = r.exp;
  std::wstring out = x < 0 ? L"-" : L"";
  if (e >= -4 && e < 15) {
    const auto intLen = static_cast<std::size_t>(e + 1);
    if (e >= 0) {
      std::string ip = d.substr(0, std::min(intLen, d.size()));
      ip.append(intLen - ip.size(), '0');
      out += Widen(ip);
      if (d.size() > intLen) {
        out += sep;
        out += Widen(d.substr(intLen));
      }
    } else {
      out += L"0";
      out += sep;
      out += Widen(std::string(static_cast<std::size_t>(-e - 1), '0') + d);
    }
    return out;
  }
  out += static_cast<wchar_t>(d[0]);
  if (d.size() > 1) {
    out += sep;
    out += Widen(d.substr(1));
  }
  std::string ex = Decimal(static_cast<uint64_t>(e < 0 ? -e : e));
  if (ex.size() < 2) ex.insert(0, "0");
  out += e < 0 ? L"E-" : L"E+";
  out += Widen(ex);
  return out;
}

// Sign of n * 10^k10 - a * 2^e2 (n, a nonzero), exactly.
int CompareDecBin(const BigUInt& n, int k10, uint64_t a, int e2) {
  // Cheap answer when the magnitudes are far apart: n*10^k10 lies in
  // [2^lo, 2^(lo+1)) up to rounding of lo, and a*2^e2 in [2^hi, 2^(hi+1)).
  const double lo = (n.BitLength() - 1) + k10 * 3.321928094887362;
  const double hi = static_cast<int>(std::bit_width(a)) - 1 + e2;
  if (lo > hi + 2) return 1;
  if (lo + 2 < hi) return -1;
  BigUInt left = n;
  BigUInt right(a);
  if (k10 >= 0) {
    left.MulPow5(k10);
  } else {
    right.MulPow5(-k10);
  }
  const int twos = k10 - e2;
  if (twos >= 0) {
    left.ShiftLeft(twos);
  } else {
    right.ShiftLeft(-twos);
  }
  return Compare(left, right);
}

// n * 10^k10 rounds to infinity: at or beyond the midpoint between the
// largest double and 2^1024.
bool Overflows(const BigUInt& n, int k10) {
  return !n.IsZero() && CompareDecBin(n, k10, (uint64_t{1} << 54) - 1, 970) >= 0;
}

// y (>= 0, finite) is the double nearest to n * 10^k10, a tie going to the
// even significand.
bool IsNearest(const BigUInt& n, int k10, double y) {
  if (y == 0) return n.IsZero() || CompareDecBin(n, k10, 1, -1075) <= 0;
  if (n.IsZero()) return false;
  const Binary b = Decompose(y);
  const bool even = (b.m & 1) == 0;
  const int up = CompareDecBin(n, k10, 2 * b.m + 1, b.q - 1);
  if (up > 0 || (up == 0 && !even)) return false;
  const bool binadeBottom = b.m == (uint64_t{1} << 52) && b.q > -1074;
  const int down = binadeBottom ? CompareDecBin(n, k10, (uint64_t{1} << 54) - 1, b.q - 2)
                                : CompareDecBin(n, k10, 2 * b.m - 1, b.q - 1);
  return down > 0 || (down == 0 && even);
}

long long CaseCount() {
  if (const char* env = std::getenv("QUORVANE_ORACLE_CASES")) {
    char* end = nullptr;
    const long long n = std::strtoll(env, &end, 10);
    if (end != env && *end == '\0' && n > 0) return n;
  }
  return 1000000;
}

// Mismatches of one property, with the first few for the failure message.
struct Tally {
  explicit Tally(const char* what) : name(what) {}
  void Fail(const std::string& detail) {
    if (++failures <= 8) {
      examples += "\n  ";
      examples += detail;
    }
  }
  std::string Report() const {
    std::string s = name;
    return s + ": " + std::to_string(failures) + " mismatches of " + std::to_string(checked) +
           " checked" + examples;
  }
  const char* name;
  long long checked = 0;
  long long failures = 0;
  std::string examples;
};

// Reads text; the outcome is the double or the error number.
struct ReadOutcome {
  double value = 0;
  int error = 0;
};

ReadOutcome Read(std::wstring_view text, std::wstring_view sep) {
  ReadOutcome r;
  try {
    r.value = TextToNumber(text, sep);
  } catch (const RuntimeError& e) {
    r.error = e.number;
  }
  return r;
}

std::string OutcomeText(const ReadOutcome& r) {
  if (r.error == 0) return Describe(r.value);
  std::string s = "error ";
  return s += std::to_string(r.error);
}

// Checks the outcome of reading text whose exact value is (negative) n * 10^k10.
void CheckRead(Tally& t, std::wstring_view text, std::wstring_view sep, bool negative,
               const BigUInt& n, int k10) {
  ++t.checked;
  const ReadOutcome r = Read(text, sep);
  bool ok;
  const char* want;
  if (Overflows(n, k10)) {
    ok = r.error == kErrOverflow;
    want = "error 6";
  } else {
    ok = r.error == 0 && (r.value == 0 || std::signbit(r.value) == negative) &&
         IsNearest(n, k10, std::fabs(r.value));
    want = "the nearest double";
  }
  if (!ok) {
    t.Fail(Quoted(text) + " (sep '" + Narrow(sep) + "'): want " + want + ", got " + OutcomeText(r));
  }
}

// The separators the program meets: the locale's "." or ",".
std::wstring_view SepFor(uint64_t r) { return (r & 1) != 0 ? L"," : L"."; }

double WithSign(double v, uint64_t r) { return (r & 1) != 0 ? -v : v; }

// Doubles over every exponent and the display range, and the rounding edges:
// ties at the 15th digit, ties at the third decimal, decimals near x.xxx5,
// powers of ten, and their neighbours.
double SampleDouble(long long i, std::mt19937_64& rng) {
  const uint64_t r = rng();
  switch (i % 20) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
      return std::bit_cast<double>(r);
    case 8:
    case 9:
    case 10:
    case 11:
    case 12:
    case 13:
    case 14:
    case 15: {
      // |x| in [2^-20, 2^67): about 1e-6 to 1.5e20.
      const uint64_t biased = 1023 - 20 + (r >> 12) % 87;
      const uint64_t fraction = rng() & ((uint64_t{1} << 52) - 1);
      return WithSign(std::bit_cast<double>((biased << 52) | fraction), r);
    }
    case 16: {
      // u / 2^j whose exact decimal has 16 digits ending in 5: a tie at the
      // 15th digit. Every other draw steps one or two ulps away from it.
      const int j = static_cast<int>((r >> 8) % 23);
      const uint64_t p5 = [&] {
        uint64_t p = 1;
        for (int k = 0; k < j; ++k) p *= 5;
        return p;
      }();
      const uint64_t lo = (kPow10[15] + p5 - 1) / p5;
      const uint64_t hi = std::min(kPow10[16] / p5, uint64_t{1} << 53);
      uint64_t u = lo + rng() % (hi - lo);
      if ((u & 1) == 0) u = u + 1 < hi ? u + 1 : u - 1;
      double x = std::ldexp(static_cast<double>(u), -j);
      const int step = static_cast<int>((r >> 40) % 5) - 2;
      if ((r >> 50) % 2 == 0) {
        for (int s = 0; s < std::abs(step); ++s) x = std::nextafter(x, step > 0 ? 1e300 : 0.0);
      }
      return WithSign(x, r);
    }
    case 17: {
      // k / 2^n for small n: k/16 ties at the third decimal, with integer
      // parts short and long enough that the 15-digit step matters.
      const int n = (r >> 8) % 2 != 0 ? 4 : 1 + static_cast<int>((r >> 9) % 8);
      const int bits = 1 + static_cast<int>((r >> 16) % 53);
      const uint64_t k = (rng() >> (64 - bits)) | 1;
      return WithSign(std::ldexp(static_cast<double>(k), -n), r);
    }
    case 18: {
      // The double nearest to a decimal I / 10^j (division rounds correctly
      // as I and 10^j are exact): 1.0005, 99.9996 and the like.
      const int j = static_cast<int>((r >> 8) % 23);
      const int len = 1 + static_cast<int>((r >> 16) % 16);
      uint64_t v = rng() % kPow10[static_cast<std::size_t>(len)];
      if ((r >> 24) % 2 == 0) v = v / 10 * 10 + 5;
      if ((r >> 25) % 4 == 0) v = v / 10000 * 10000 + 9995 + (r >> 27) % 5;
      double p = 1;
      for (int k = 0; k < j; ++k) p *= 10;  // exact up to 10^22
      return WithSign(static_cast<double>(v) / p, r);
    }
    default: {
      // Powers of ten across the range and up to three ulps either side.
      const int e = static_cast<int>((r >> 8) % 633) - 324;
      double x = std::pow(10.0, e);
      const int step = static_cast<int>((r >> 20) % 7) - 3;
      for (int s = 0; s < std::abs(step); ++s) x = std::nextafter(x, step > 0 ? 1e308 : 0.0);
      return WithSign(x, r);
    }
  }
}

// A text of 17 significant digits (the exact value rounded) in one of the
// accepted shapes, with optional spaces and sign.
std::wstring SeventeenDigitText(double x, std::wstring_view sep, std::mt19937_64& rng) {
  const uint64_t r = rng();
  std::wstring body;
  if (x == 0) {
    body = L"0";
  } else {
    const Rounded d = RoundToDigits(Expand(std::fabs(x)), 17);
    const std::wstring s = Widen(Decimal(d.digits));
    const auto exponent = [&](int e) {
      std::wstring t = (r >> 4) % 2 != 0 ? L"E" : L"e";
      if (e < 0) {
        t += L'-';
      } else if ((r >> 5) % 2 != 0) {
        t += L'+';
      }
      if ((r >> 6) % 4 == 0) t += L"00";
      t += Widen(Decimal(static_cast<uint64_t>(e < 0 ? -e : e)));
      return t;
    };
    const int e = d.exp;
    switch ((r >> 8) % 4) {
      case 0:
        body = s.substr(0, 1) + std::wstring(sep) + s.substr(1) + exponent(e);
        break;
      case 1:
        body = s + exponent(e - 16);
        break;
      case 2:
        body = L"0" + std::wstring(sep) + s + exponent(e + 1);
        break;
      default:
        if (e >= 16 && e <= 30) {
          body = s + std::wstring(static_cast<std::size_t>(e - 16), L'0');
        } else if (e >= 0 && e < 16) {
          body = s.substr(0, static_cast<std::size_t>(e + 1)) + std::wstring(sep) +
                 s.substr(static_cast<std::size_t>(e + 1));
        } else if (e < 0 && e >= -30) {
          body = ((r >> 10) % 2 != 0 ? L"0" : L"") + std::wstring(sep) +
                 std::wstring(static_cast<std::size_t>(-e - 1), L'0') + s;
        } else {
          body = s + exponent(e - 16);
        }
    }
  }
  std::wstring text(static_cast<std::size_t>((r >> 12) % 3), L' ');
  if (std::signbit(x)) {
    text += L'-';
  } else if ((r >> 14) % 3 == 0) {
    text += L'+';
  }
  text += body;
  text.append(static_cast<std::size_t>((r >> 16) % 3), L' ');
  return text;
}

TEST(OracleTest, AgreesWithTheWrittenExamples) {
  // The oracle itself against the display rules' own examples, so that it
  // cannot share a misreading with the code it checks.
  const struct {
    double x;
    const wchar_t* shown;
    const wchar_t* general;
  } cases[] = {
      {0.0, L".0", L"0"},
      {0.0625, L".063", L"0.0625"},
      {1.0005, L"1.001", L"1.0005"},
      {99.9996, L"100.0", L"99.9996"},
      {1e20, L"100000000000000000000.0", L"1E+20"},
      {-0.0004, L".0", L"-0.0004"},
      {-2.5, L"-2.5", L"-2.5"},
      {1e15, L"1000000000000000.0", L"1E+15"},
      {123456789012345.0, L"123456789012345.0", L"123456789012345"},
      {0.00001, L".0", L"1E-05"},
      {1e-300, L".0", L"1E-300"},
      {1234567890123445.0, L"1234567890123440.0", L"1.23456789012344E+15"},
      {1234567890123455.0, L"1234567890123460.0", L"1.23456789012346E+15"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(OracleFormatResult(c.x, L".").text, c.shown) << c.x;
    EXPECT_EQ(OracleNumberToText(c.x, L"."), c.general) << c.x;
    EXPECT_EQ(FormatResult(c.x, L"."), c.shown) << c.x;
    EXPECT_EQ(NumberToText(c.x, L"."), c.general) << c.x;
  }
}

TEST(OracleTest, DoublesFormatAndReadBackAsTheirExactExpansionDictates) {
  const long long cases = CaseCount();
  std::mt19937_64 rng(0x51A7E0F1CE5ull);
  Tally shown("FormatResult");
  Tally general("NumberToText");
  Tally exact("TextToNumber of 17 significant digits");
  Tally display("TextToNumber of FormatResult");
  long long ties15 = 0;
  long long ties3 = 0;
  for (long long i = 0; i < cases; ++i) {
    const double x = SampleDouble(i, rng);
    const std::wstring_view sep = SepFor(rng());

    ++shown.checked;
    const Shown want = OracleFormatResult(x, sep);
    ties15 += want.tie15;
    ties3 += want.tie3;
    const std::wstring got = FormatResult(x, sep);
    if (got != want.text) {
      shown.Fail(Describe(x) + ": want \"" + Narrow(want.text) + "\", got \"" + Narrow(got) + "\"");
    }

    ++general.checked;
    const std::wstring wantGeneral = OracleNumberToText(x, sep);
    const std::wstring gotGeneral = NumberToText(x, sep);
    if (gotGeneral != wantGeneral) {
      general.Fail(Describe(x) + ": want \"" + Narrow(wantGeneral) + "\", got \"" +
                   Narrow(gotGeneral) + "\"");
    }

    if (!std::isfinite(x)) continue;

    ++exact.checked;
    const std::wstring text = SeventeenDigitText(x, sep, rng);
    const ReadOutcome back = Read(text, sep);
    const bool same = back.error == 0 && (x == 0 ? back.value == 0 : back.value == x);
    if (!same) {
      exact.Fail(Quoted(text) + ": want " + Describe(x) + ", got " + OutcomeText(back));
    }

    // The display text reads as the double nearest to the decimal it shows.
    if (got == want.text) CheckRead(display, got, sep, want.negative, BigUInt(want.n), want.k10);
  }
  std::cout << "oracle cases: " << cases << " doubles (" << ties15 << " ties at the 15th digit, "
            << ties3 << " at the third decimal)\n";
  RecordProperty("oracle_cases", std::to_string(cases));
  if (cases >= 10000) {  // a draw this large reaches both tie rules
    EXPECT_GT(ties15, cases / 200);
    EXPECT_GT(ties3, cases / 200);
  }
  EXPECT_EQ(shown.failures, 0) << shown.Report();
  EXPECT_EQ(general.failures, 0) << general.Report();
  EXPECT_EQ(exact.failures, 0) << exact.Report();
  EXPECT_EQ(display.failures, 0) << display.Report();
}

// A random digit string of the given length (leading zeros allowed).
std::string RandomDigits(std::size_t len, std::mt19937_64& rng) {
  std::string s(len, '0');
  for (char& c : s) c = static_cast<char>('0' + rng() % 10);
  return s;
}

// digits * 10^k10 written with the separator `sepAt` digits from the left
// (none when beyond the end) and an exponent, with optional spaces and sign.
std::wstring DecimalText(const std::string& digits, int k10, bool negative, std::wstring_view sep,
                         std::mt19937_64& rng) {
  const uint64_t r = rng();
  std::wstring text(static_cast<std::size_t>(r % 3), L' ');
  if (negative) {
    text += L'-';
  } else if ((r >> 2) % 3 == 0) {
    text += L'+';
  }
  const std::size_t sepAt = (r >> 4) % 3 == 0 ? digits.size() + 1 : (r >> 8) % (digits.size() + 1);
  int exponent = k10;
  if (sepAt <= digits.size()) {
    text += Widen(digits.substr(0, sepAt));
    text += sep;
    text += Widen(digits.substr(sepAt));
    exponent += static_cast<int>(digits.size() - sepAt);
  } else {
    text += Widen(digits);
  }
  if (exponent != 0 || (r >> 20) % 2 != 0) {
    text += (r >> 21) % 2 != 0 ? L"e" : L"E";
    if (exponent < 0) {
      text += L'-';
    } else if ((r >> 22) % 2 != 0) {
      text += L'+';
    }
    text += Widen(Decimal(static_cast<uint64_t>(exponent < 0 ? -exponent : exponent)));
  }
  text.append(static_cast<std::size_t>((r >> 24) % 3), L' ');
  return text;
}

TEST(OracleTest, DecimalTextsReadAsTheNearestDouble) {
  const long long cases = CaseCount() / 10 + 1;
  std::mt19937_64 rng(0xDEC1A1ull);
  Tally random("TextToNumber of random decimals");
  Tally halfway("TextToNumber at and beside midpoints");
  for (long long i = 0; i < cases; ++i) {
    const std::wstring_view sep = SepFor(rng());
    const bool negative = (rng() & 1) != 0;
    if (i % 4 != 0) {
      // Up to 40 digits, the first significant digit anywhere from 10^-330
      // (below the subnormals) to 10^310 (beyond the largest double).
      // Every eighth text carries zeros in front (up to 12000) or behind (up
      // to 1500), so that its written exponent lies far outside the double
      // range.
      std::string digits = RandomDigits(1 + rng() % 40, rng);
      const int lead = static_cast<int>(rng() % 641) - 330;
      int k10 = lead - static_cast<int>(digits.size()) + 1;
      const uint64_t pad = rng();
      if (pad % 8 == 0) {
        if ((pad >> 4) % 2 != 0) {
          digits.insert(0, static_cast<std::size_t>((pad >> 8) % 12000), '0');
        } else {
          const auto zeros = static_cast<std::size_t>((pad >> 8) % 1500);
          digits.append(zeros, '0');
          k10 -= static_cast<int>(zeros);
        }
      }
      CheckRead(random, DecimalText(digits, k10, negative, sep, rng), sep, negative,
                BigUInt::FromDecimal(digits), k10);
      continue;
    }
    // The exact midpoint (2m+1) * 2^(q-1) between a double and the next one
    // up, written out in full, and the decimals just above and below it.
    double y;
    do {
      y = std::fabs(std::bit_cast<double>(rng()));
    } while (!std::isfinite(y));
    const Binary b = Decompose(y);
    BigUInt mid(2 * b.m + 1);
    int k10 = 0;
    if (b.q - 1 >= 0) {
      mid.ShiftLeft(b.q - 1);
    } else {
      mid.MulPow5(1 - b.q);
      k10 = b.q - 1;
    }
    const std::string exactDigits = mid.ToDecimal();
    CheckRead(halfway, DecimalText(exactDigits, k10, negative, sep, rng), sep, negative, mid, k10);
    BigUInt above = mid;
    above.MulPow10(6);
    BigUInt below = above;
    above.MulAdd(1, 1);
    below.SubOne();
    CheckRead(halfway, DecimalText(exactDigits + "000001", k10 - 6, negative, sep, rng), sep,
              negative, above, k10 - 6);
    CheckRead(halfway, DecimalText(below.ToDecimal(), k10 - 6, negative, sep, rng), sep, negative,
              below, k10 - 6);
  }
  std::cout << "oracle cases: " << random.checked + halfway.checked << " decimal texts\n";
  RecordProperty("oracle_texts", std::to_string(random.checked + halfway.checked));
  EXPECT_EQ(random.failures, 0) << random.Report();
  EXPECT_EQ(halfway.failures, 0) << halfway.Report();
}

// The accepted form, recognised independently of the code under test:
// [spaces][sign]digits with at most one separator, at least one digit
// [E|e [sign] digits][spaces]. On success fills the value as digits * 10^k10
// (the exponent saturated far beyond the double range).
bool Recognise(std::wstring_view s, wchar_t sep, std::string& digits, long long& k10,
               bool& negative) {
  std::size_t i = 0;
  const auto isDigit = [](wchar_t c) { return c >= L'0' && c <= L'9'; };
  while (i < s.size() && s[i] == L' ') ++i;
  negative = false;
  if (i < s.size() && (s[i] == L'+' || s[i] == L'-')) negative = s[i++] == L'-';
  digits.clear();
  long long fraction = 0;
  bool seenSep = false;
  for (; i < s.size(); ++i) {
    if (isDigit(s[i])) {
      digits += static_cast<char>(s[i]);
      if (seenSep) ++fraction;
    } else if (s[i] == sep && !seenSep) {
      seenSep = true;
    } else {
      break;
    }
  }
  if (digits.empty()) return false;
  long long exponent = 0;
  if (i < s.size() && (s[i] == L'E' || s[i] == L'e')) {
    ++i;
    bool expNegative = false;
    if (i < s.size() && (s[i] == L'+' || s[i] == L'-')) expNegative = s[i++] == L'-';
    if (i == s.size() || !isDigit(s[i])) return false;
    for (; i < s.size() && isDigit(s[i]); ++i) {
      exponent = std::min(exponent * 10 + (s[i] - L'0'), 1000000LL);
    }
    if (expNegative) exponent = -exponent;
  }
  while (i < s.size() && s[i] == L' ') ++i;
  if (i != s.size()) return false;
  k10 = exponent - fraction;
  return true;
}

TEST(OracleTest, ExactlyTheNumberFormIsAccepted) {
  // Short strings over digits, signs, separators, exponent letters, spaces
  // and look-alikes that must be refused (tab, no-break and ideographic
  // spaces, full-width and Arabic-Indic digits, NUL).
  static constexpr wchar_t kAlphabet[] = {
      L'0',  L'1',  L'5',      L'9',      L'0',      L'7',      L' ',      L' ',
      L'+',  L'-',  L'.',      L',',      L'E',      L'e',      L'x',      L'D',
      L'\t', L'\0', L'\u00A0', L'\u3000', L'\uFF11', L'\u0660', L'\u2212', L'_'};
  // Every other text mostly of digits, so that numbers turn up often.
  static constexpr wchar_t kNumberish[] = {L'0', L'1', L'2', L'5', L'8', L'9', L'0', L'3',
                                           L' ', L'+', L'-', L'.', L',', L'E', L'e'};
  const long long cases = CaseCount() / 10 + 1;
  std::mt19937_64 rng(0x6A77A7ull);
  Tally form("acceptance and value of short texts");
  long long accepted = 0;
  for (long long i = 0; i < cases; ++i) {
    const wchar_t sep = (rng() & 1) != 0 ? L',' : L'.';
    std::wstring text(static_cast<std::size_t>(rng() % 13), L' ');
    for (wchar_t& c : text) {
      c = i % 2 != 0 ? kAlphabet[rng() % std::size(kAlphabet)]
                     : kNumberish[rng() % std::size(kNumberish)];
    }
    std::string digits;
    long long k10 = 0;
    bool negative = false;
    const std::wstring_view sepText(&sep, 1);
    if (!Recognise(text, sep, digits, k10, negative)) {
      ++form.checked;
      const ReadOutcome r = Read(text, sepText);
      if (r.error != kErrTypeMismatch) {
        form.Fail(Quoted(text) + " (sep '" + Narrow(sepText) + "'): want error 13, got " +
                  OutcomeText(r));
      }
      continue;
    }
    ++accepted;
    const BigUInt n = BigUInt::FromDecimal(digits);
    const long long lead = static_cast<long long>(digits.size()) - 1 + k10;
    if (n.IsZero() || (lead >= -400 && lead <= 400)) {
      CheckRead(form, text, sepText, negative, n, static_cast<int>(n.IsZero() ? 0 : k10));
    } else {
      ++form.checked;
      const ReadOutcome r = Read(text, sepText);
      const bool ok = lead > 0 ? r.error == kErrOverflow : r.error == 0 && r.value == 0;
      if (!ok) {
        form.Fail(Quoted(text) + ": want " + (lead > 0 ? "error 6" : "zero") + ", got " +
                  OutcomeText(r));
      }
    }
  }
  std::cout << "oracle cases: " << form.checked << " short texts (" << accepted << " numbers)\n";
  RecordProperty("oracle_short_texts", std::to_string(form.checked));
  if (cases >= 1000) {  // a draw this large reaches the accepting paths
    EXPECT_GT(accepted, cases / 20);
  }
  EXPECT_EQ(form.failures, 0) << form.Report();
}

}  // namespace
}  // namespace quorvane
