// Cost of the number texts per value, beside the standard library's
// conversions on the same values, and of one press of Calculate.
#include <benchmark/benchmark.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "core/NumericText.h"
#include "ui/Form1Commands.h"
#include "ui/Form1View.h"

namespace {

constexpr std::size_t kCount = 4096;  // a power of two, indexed with a mask

// Results as the window shows them: magnitudes from 1e-3 to 1e6, either sign,
// a quarter of them short decimals such as 12.5 or 0.75.
const std::vector<double>& Values() {
  static const std::vector<double> values = [] {
    std::mt19937_64 rng(12345);
    std::uniform_real_distribution<double> exponent(-3.0, 6.0);
    std::vector<double> v(kCount);
    for (std::size_t i = 0; i < kCount; ++i) {
      double x = std::pow(10.0, exponent(rng));
      if (i % 4 == 0) x = std::round(x * 100) / 100;
      v[i] = (rng() & 1) != 0 ? -x : x;
    }
    return v;
  }();
  return values;
}

// The display texts of Values(), as typed back into an input box.
const std::vector<std::wstring>& WideTexts() {
  static const std::vector<std::wstring> texts = [] {
    std::vector<std::wstring> t;
    for (const double x : Values()) t.push_back(quorvane::FormatResult(x, L"."));
    return t;
  }();
  return texts;
}

const std::vector<std::string>& NarrowTexts() {
  static const std::vector<std::string> texts = [] {
    std::vector<std::string> t;
    for (const std::wstring& w : WideTexts()) t.emplace_back(w.begin(), w.end());
    return t;
  }();
  return texts;
}

void BM_FormatResult(benchmark::State& state) {
  const auto& values = Values();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(quorvane::FormatResult(values[i++ & (kCount - 1)], L"."));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatResult);

void BM_NumberToText(benchmark::State& state) {
  const auto& values = Values();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(quorvane::NumberToText(values[i++ & (kCount - 1)], L"."));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_NumberToText);

// The standard conversion both of the above build on: 15 significant digits.
void BM_ToCharsScientific14(benchmark::State& state) {
  const auto& values = Values();
  std::array<char, 32> buf;
  std::size_t i = 0;
  for (auto _ : state) {
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), values[i++ & (kCount - 1)],
                                   std::chars_format::scientific, 14);
    benchmark::DoNotOptimize(res.ptr);
    benchmark::DoNotOptimize(buf);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ToCharsScientific14);

void BM_TextToNumber(benchmark::State& state) {
  const auto& texts = WideTexts();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(quorvane::TextToNumber(texts[i++ & (kCount - 1)], L"."));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TextToNumber);

void BM_FromChars(benchmark::State& state) {
  const auto& texts = NarrowTexts();
  std::size_t i = 0;
  for (auto _ : state) {
    const std::string& t = texts[i++ & (kCount - 1)];
    double v = 0;
    const auto res = std::from_chars(t.data(), t.data() + t.size(), v);
    benchmark::DoNotOptimize(res.ec);
    benchmark::DoNotOptimize(v);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FromChars);

// The window's controls as plain texts, both groups on Rectangular.
class BenchView final : public quorvane::IForm1View {
 public:
  std::wstring GetText(quorvane::Field field) override { return texts[Index(field)]; }
  void SetText(quorvane::Field field, std::wstring_view text) override {
    texts[Index(field)].assign(text);
  }
  bool IsSelected(quorvane::OptionGroup, int item) override { return item == 0; }
  void Select(quorvane::OptionGroup, int) override {}
  int Show(std::wstring_view, unsigned, std::wstring_view) override {
    ++messages;
    return quorvane::kAnswerOk;
  }

  std::array<std::wstring, quorvane::kFieldCount> texts{};
  int messages = 0;

 private:
  static std::size_t Index(quorvane::Field f) { return static_cast<std::size_t>(f); }
};

// One press of Calculate with A = 3 + 4i and B = 1 + 1i: four reads, four
// results each with magnitude and angle, sixteen display texts.
void BM_CalculatePress(benchmark::State& state) {
  BenchView view;
  view.texts[static_cast<std::size_t>(quorvane::Field::txtRealA)] = L"3";
  view.texts[static_cast<std::size_t>(quorvane::Field::txtImagA)] = L"4";
  view.texts[static_cast<std::size_t>(quorvane::Field::txtRealB)] = L"1";
  view.texts[static_cast<std::size_t>(quorvane::Field::txtImagB)] = L"1";
  quorvane::Form1Commands commands(view, L".");
  commands.Form_Load();
  commands.cmdExecute_Click();
  if (view.messages != 0 ||
      view.texts[static_cast<std::size_t>(quorvane::Field::txtSumReal)] != L"4.0") {
    state.SkipWithError("the calculation did not complete");
    return;
  }
  for (auto _ : state) {
    commands.cmdExecute_Click();
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CalculatePress);

}  // namespace

BENCHMARK_MAIN();
