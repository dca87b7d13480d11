// The main window's commands that do not calculate: the confirmation asked
// before the window closes, File > Exit, Help Contents and About.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "core/MessageBox.h"

namespace quorvane {

// The shutdown question, shared by the close confirmation and File > Exit.
inline constexpr wchar_t kShutdownPrompt[] = L"Shut down Quorvane?";
inline constexpr wchar_t kShutdownTitle[] = L"Quorvane Shutting Down";

// Reasons a close request gives: from the window's own menu or close box, and
// from Windows ending the session.
inline constexpr std::int16_t kUnloadFromControlMenu = 0;
inline constexpr std::int16_t kUnloadByWindows = 2;

class IHelpLauncher {
 public:
  virtual void OpenHelpFile() = 0;

 protected:
  ~IHelpLauncher() = default;
};

class IAboutBox {
 public:
  virtual ~IAboutBox() = default;
  // Returns when the box is closed; modal 1 keeps the main window inert.
  virtual void Show(int modal) = 0;
};

class IProgramEnd {
 public:
  // Ends the program at once: no window is asked to close.
  virtual void EndNow() = 0;

 protected:
  ~IProgramEnd() = default;
};

class Form1MenuCommands {
 public:
  using AboutFactory = std::function<std::unique_ptr<IAboutBox>()>;

  Form1MenuCommands(IMessageBox& box, IHelpLauncher& help, AboutFactory makeAbout, IProgramEnd& end)
      : box_(box), help_(help), makeAbout_(std::move(makeAbout)), end_(end) {}

  // The close request: Cancel sets the flag, which refuses the close.
  void Form_QueryUnload(std::int16_t& Cancel, std::int16_t UnloadMode);
  void mnuFileExit_Click();
  void mnuHelpContents_Click();
  void mnuAbout_Click();

  // The About box, once the About command has created it.
  IAboutBox* aboutBox() const { return about_.get(); }

 private:
  int AskShutdown();

  IMessageBox& box_;
  IHelpLauncher& help_;
  AboutFactory makeAbout_;
  IProgramEnd& end_;
  std::unique_ptr<IAboutBox> about_;
};

}  // namespace quorvane
