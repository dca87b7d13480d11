// The whole program around the main window: the menus, the close and
// end-of-session questions, the help launcher and the one About box.
#pragma once

#include <functional>

#include "ui/Form1MenuCommands.h"
#include "ui/win32/Form1Window.h"

namespace quorvane {

class Form1Program final : public win32::IForm1Events, public IHelpLauncher, public IProgramEnd {
 public:
  // endNow ends the process at once; tests replace it.
  explicit Form1Program(win32::Form1Window& form, std::function<void()> endNow = nullptr);

  void OnMenu(MenuId id) override;
  bool OnQueryUnload() override;
  bool OnQueryEndSession() override;
  void OpenHelpFile() override;
  void EndNow() override;

  Form1MenuCommands& menu() { return menu_; }

 private:
  win32::Form1Window& form_;
  std::function<void()> endNow_;
  Form1MenuCommands menu_;
};

}  // namespace quorvane
