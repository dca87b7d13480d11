#include "app/Form1Program.h"

#include "about/frmAbout.h"
#include "help/HelpHTML.h"

namespace quorvane {
namespace {

// Reasons a close request gives; the question does not look at them.
constexpr std::int16_t kCloseFromControlMenu = 0;
constexpr std::int16_t kCloseByWindows = 2;

class AboutBox final : public IAboutBox {
 public:
  void Show(int modal) override { box_.Show(modal, nullptr); }

 private:
  frmAbout box_;
};

}  // namespace

Form1Program::Form1Program(win32::Form1Window& form, std::function<void()> endNow)
    : form_(form),
      endNow_(std::move(endNow)),
      menu_(
          form, *this, [] { return std::make_unique<AboutBox>(); }, *this) {}

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
  menu_.Form_QueryUnload(cancel, kCloseFromControlMenu);
  return cancel != 0;
}

bool Form1Program::OnQueryEndSession() {
  std::int16_t cancel = 0;
  menu_.Form_QueryUnload(cancel, kCloseByWindows);
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
