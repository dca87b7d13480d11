#include "ui/Form1MenuCommands.h"

namespace quorvane {

int Form1MenuCommands::AskShutdown() {
  return box_.Show(kShutdownPrompt, kMbOkCancel, kShutdownTitle);
}

void Form1MenuCommands::Form_QueryUnload(std::int16_t& Cancel, std::int16_t UnloadMode) {
  // Whatever asks for the close, the question is the same. A question that
  // could not be shown is no answer: the window stays open, except when
  // Windows ends the session, which a program cannot stop without asking.
  const int answer = AskShutdown();
  if (answer == kAnswerCancel || (answer == kNoAnswer && UnloadMode != kUnloadByWindows)) {
    Cancel = 1;
  }
}

void Form1MenuCommands::mnuFileExit_Click() {
  const int answer = AskShutdown();
  if (answer != kAnswerCancel && answer != kNoAnswer) end_.EndNow();
}

void Form1MenuCommands::mnuHelpContents_Click() { help_.OpenHelpFile(); }

void Form1MenuCommands::mnuAbout_Click() {
  if (!about_) about_ = makeAbout_();
  about_->Show(1);
}

}  // namespace quorvane
