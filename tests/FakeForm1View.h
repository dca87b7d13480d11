// A recording fake of the main window's controls and message box.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "ui/Form1View.h"

namespace quorvane::testing {

struct ShownMessage {
  std::wstring prompt;
  unsigned style;
  std::wstring title;
};

class FakeForm1View : public IForm1View {
 public:
  std::wstring GetText(Field field) override { return texts[Index(field)]; }
  void SetText(Field field, std::wstring_view text) override {
    texts[Index(field)] = std::wstring(text);
    writes.push_back(field);
    if (invalidOnSetText) {
      // As a real control's own arithmetic may: FE_INVALID left raised.
      volatile double zero = 0;
      zero = zero / zero;
    }
  }
  bool IsSelected(OptionGroup group, int item) override {
    return selected[static_cast<int>(group)] == item;
  }
  void Select(OptionGroup group, int item) override { selected[static_cast<int>(group)] = item; }
  int Show(std::wstring_view prompt, unsigned style, std::wstring_view title) override {
    messages.push_back({std::wstring(prompt), style, std::wstring(title)});
    if (onShow) onShow();  // what happens while the box is open
    return kAnswerOk;
  }

  std::wstring& operator[](Field field) { return texts[Index(field)]; }
  void SetInputs(std::wstring ra, std::wstring ia, std::wstring rb, std::wstring ib) {
    (*this)[Field::txtRealA] = std::move(ra);
    (*this)[Field::txtImagA] = std::move(ia);
    (*this)[Field::txtRealB] = std::move(rb);
    (*this)[Field::txtImagB] = std::move(ib);
  }

  std::array<std::wstring, kFieldCount> texts{};
  bool invalidOnSetText = false;
  std::array<int, 2> selected{0, 0};
  std::vector<ShownMessage> messages;
  std::vector<Field> writes;
  std::function<void()> onShow;

 private:
  static std::size_t Index(Field f) { return static_cast<std::size_t>(f); }
};

}  // namespace quorvane::testing
