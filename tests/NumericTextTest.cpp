#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/Failure.h"
#include "core/NumericText.h"

namespace quorvane {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

int ErrorOf(std::wstring_view text, std::wstring_view sep = L".") {
  try {
    TextToNumber(text, sep);
  } catch (const RuntimeError& e) {
    return e.number;
  }
  return 0;
}

struct TextCase {
  const wchar_t* text;
  double value;
};

TEST(TextToNumber, ReadsTheAcceptedForm) {
  const TextCase cases[] = {
      {L"3", 3},
      {L"-2.5", -2.5},
      {L"+7", 7},
      {L" 4 ", 4},
      {L".5", 0.5},
      {L"5.", 5},
      {L"1e3", 1000},
      {L"1.5E-3", 0.0015},
      {L"  -0.125e+1  ", -1.25},
      {L"007", 7},
      {L"0.1", 0.1},
      {L"1E-200", 1e-200},
      {L"1e-400", 0},
      {L"0e999999999", 0},
      {L"1.7976931348623157E+308", 1.7976931348623157e308},
      {L"4.9406564584124654E-324", 4.9406564584124654e-324},
      {L"100000000000000000000.0", 1e20},
      {L"000000000000000000001e-5", 1e-5},
      {L"0.000000000000000000000000000000000000000001e42", 1},
      // An exponent past 2^64 must not wrap around to a small one.
      {L"1E-18446744073709551617", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextToNumber(c.text, L"."), c.value) << testing::PrintToString(std::wstring(c.text));
  }
}

TEST(TextToNumber, RejectsEverythingElseAsTypeMismatch) {
  const wchar_t* bad[] = {
      L"",   L"   ",      L"abc",       L"1.2.3",     L".",   L"-",    L"+-1",   L"1e",    L"1e+",
      L"e5", L"1 2",      L"1,5",       L"\t1",       L"1\t", L"0x10", L"&h10",  L"1d5",   L"(1)",
      L"1-", L"Infinity", L"-Infinity", L"Undefined", L"NaN", L"inf",  L"1,000", L"\x0661"};
  for (const wchar_t* text : bad) {
    EXPECT_EQ(ErrorOf(text), kErrTypeMismatch) << testing::PrintToString(std::wstring(text));
  }
}

TEST(TextToNumber, BeyondTheDoubleRangeIsOverflow) {
  for (const wchar_t* text : {L"1e400", L"-1e400", L"1.8e308", L"1e99999999999999999999",
                              L"1.7976931348623159e308", L"1E10000000000000000000"}) {
    EXPECT_EQ(ErrorOf(text), kErrOverflow) << testing::PrintToString(std::wstring(text));
  }
}

TEST(TextToNumber, UsesTheLocaleSeparator) {
  EXPECT_EQ(TextToNumber(L"2,5", L","), 2.5);
  EXPECT_EQ(TextToNumber(L",5e1", L","), 5);
  EXPECT_EQ(ErrorOf(L"2.5", L","), kErrTypeMismatch);
  EXPECT_EQ(ErrorOf(L"2,5,1", L","), kErrTypeMismatch);
}

TEST(TextToNumber, VeryLongTextIsReadOrRejectedWhole) {
  std::wstring digits(200000, L'1');
  EXPECT_EQ(ErrorOf(digits), kErrOverflow);
  std::wstring small = L"0." + std::wstring(200000, L'0') + L"1";
  EXPECT_EQ(TextToNumber(small, L"."), 0);
  std::wstring garbage = std::wstring(200000, L'1') + L"x";
  EXPECT_EQ(ErrorOf(garbage), kErrTypeMismatch);
  std::wstring longOne = L"1." + std::wstring(100000, L'0');
  EXPECT_EQ(TextToNumber(longOne, L"."), 1);
}

struct FormatCase {
  double value;
  const wchar_t* text;
};

TEST(FormatResult, FollowsThePattern) {
  const FormatCase cases[] = {
      {0, L".0"},
      {0.5, L".5"},
      {-0.5, L"-.5"},
      {1, L"1.0"},
      {1.5, L"1.5"},
      {-2.25, L"-2.25"},
      {0.44, L".44"},
      {0.08, L".08"},
      {3.14159, L"3.142"},
      {12.3456, L"12.346"},
      {99.9996, L"100.0"},
      {0.9995, L"1.0"},
      {0.0005, L".001"},
      {0.0625, L".063"},
      {1.0005, L"1.001"},
      {45.000038009906035, L"45.0"},
      {134.99996199009396, L"135.0"},
      {-134.99996199009396, L"-135.0"},
      {53.130147231271486, L"53.13"},
      {126.8698527687285, L"126.87"},
      {1234567.891, L"1234567.891"},
      {6.633974483387664E-06, L".0"},
      {4.999999999995599, L"5.0"},
      {1E+20, L"100000000000000000000.0"},
      {1152921504606846976.0, L"1152921504606850000.0"},
      // A negative value that rounds to zero shows no sign.
      {-0.0004, L".0"},
      {-0.0, L".0"},
      {-0.0005, L"-.001"},
      {999.9995, L"1000.0"},
      {5e-324, L".0"},
      // Exact tie at the 15th digit goes to the even digit.
      {1234567890123445.0, L"1234567890123440.0"},
      {1234567890123455.0, L"1234567890123460.0"},
      {kInf, L"Infinity"},
      {-kInf, L"-Infinity"},
      {kNaN, L"Undefined"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatResult(c.value, L"."), c.text) << c.value;
  }
  EXPECT_EQ(FormatResult(1.7976931348623157e308, L".").size(), 311u);
}

TEST(FormatResult, WritesTheLocaleSeparator) {
  EXPECT_EQ(FormatResult(2.5, L","), L"2,5");
  EXPECT_EQ(FormatResult(-0.125, L","), L"-,125");
  EXPECT_EQ(FormatResult(0, L","), L",0");
}

TEST(NumberToText, WritesTheGeneralForm) {
  const FormatCase cases[] = {
      {0, L"0"},
      {-0.0, L"0"},
      {0.5, L"0.5"},
      {-1.5, L"-1.5"},
      {100, L"100"},
      {1.0 / 3, L"0.333333333333333"},
      {2.0 / 3, L"0.666666666666667"},
      {0.1 + 0.2, L"0.3"},
      {0.0001, L"0.0001"},
      {0.0009765625, L"0.0009765625"},
      {0.00001, L"1E-05"},
      {2.5E-05, L"2.5E-05"},
      {1E-200, L"1E-200"},
      {-2E-200, L"-2E-200"},
      {123456789012345, L"123456789012345"},
      {1E+15, L"1E+15"},
      {999999999999999.9, L"1E+15"},
      {1.7976931348623157e308, L"1.79769313486232E+308"},
      {5e-324, L"4.94065645841247E-324"},
      {kInf, L"Infinity"},
      {-kInf, L"-Infinity"},
      {kNaN, L"Undefined"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NumberToText(c.value, L"."), c.text) << c.value;
  }
  EXPECT_EQ(NumberToText(-2.5E-05, L","), L"-2,5E-05");
  EXPECT_EQ(NumberToText(0.75, L","), L"0,75");
}

TEST(NumericText, DisplayedTextsReadBack) {
  for (double v : {0.0, 1.0, -2.25, 3.14159, 1e20, 1234567.891, 0.0625}) {
    const std::wstring shown = FormatResult(v, L".");
    EXPECT_EQ(FormatResult(TextToNumber(shown, L"."), L"."), shown);
  }
  EXPECT_EQ(ErrorOf(FormatResult(kNaN, L".")), kErrTypeMismatch);
  EXPECT_EQ(ErrorOf(FormatResult(-kInf, L".")), kErrTypeMismatch);
}

}  // namespace
}  // namespace quorvane
