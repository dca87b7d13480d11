// The modal message box, as the window supplies it and tests fake it.
#pragma once

#include <string_view>

namespace quorvane {

enum : unsigned {
  kMbOkOnly = 0,
  kMbOkCancel = 1,
};

enum : int {
  kNoAnswer = 0,  // the box could not be shown
  kAnswerOk = 1,
  kAnswerCancel = 2,
};

class IMessageBox {
 public:
  // An empty title shows the application's title.
  virtual int Show(std::wstring_view prompt, unsigned style, std::wstring_view title) = 0;

 protected:
  ~IMessageBox() = default;
};

}  // namespace quorvane
