#include "app/Form1Program.h"

#include "about/frmAbout.h"
#include "help/HelpHTML.h"

namespace quorvane {
namespace {

// Owned by the main window: it stays above it, has no taskbar entry of its
// own, comes forward when the main window is clicked, and opens on its monitor.
class AboutBox final : public IAboutBox {
 public:
  explicit AboutBox(const win32::Form1Window& owner) : owner_(owner) {}
  void Show(int modal) override { box_.Show(modal, owner_.hwnd()); }

 private:
  const win32::Form1Window& owner_;
  frmAbout box_;
};

}  // namespace

Form1Program::Form1Program(win32::Form1Window& form, std::function<void()> endNow)
    : form_(form),
      endNow_(std::move(endNow)),
      menu_(
          form, *this, [&form] { return std::make_unique<AboutBox>(form); }, *this) {}

void Form1Program::OnMenu(MenuId id) {
  switch (id) {
    case MenuId::mnuFileExit:
      menu_.mnuFileExit_Click();
      break;
    case MenuId::mnuHelpContents:
      menu_.mnuHelpContents_Click();
      break;
    case MenuId::mnuAbout:
      menu_.mnuAbout_Click();
      break;
  }
}

bool Form1Program::OnQueryUnload() {
  std::int16_t cancel = 0;
  menu_.Form_QueryUnload(cancel, kUnloadFromControlMenu);
  return cancel != 0;
}

bool Form1Program::OnQueryEndSession() {
  std::int16_t cancel = 0;
  menu_.Form_QueryUnload(cancel, kUnloadByWindows);
  return cancel != 0;
}

void Form1Program::OpenHelpFile() { quorvane::OpenHelpFile(form_); }

void Form1Program::EndNow() {
  if (endNow_) {
    endNow_();
    return;
  }
  // At once: no window is asked to close and nothing is unloaded.
  ExitProcess(0);
}

}  // namespace quorvane
