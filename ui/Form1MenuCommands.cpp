#include "ui/Form1MenuCommands.h"

namespace quorvane {

int Form1MenuCommands::AskShutdown() {
  return box_.Show(kShutdownPrompt, kMbOkCancel, kShutdownTitle);
}

void Form1MenuCommands::Form_QueryUnload(std::int16_t& Cancel, std::int16_t /*UnloadMode*/) {
  // Whatever asks for the close, the question is the same.
  if (AskShutdown() == kAnswerCancel) Cancel = 1;
}

void Form1MenuCommands::mnuFileExit_Click() {
  if (AskShutdown() != kAnswerCancel) end_.EndNow();
}

void Form1MenuCommands::mnuHelpContents_Click() { help_.OpenHelpFile(); }

void Form1MenuCommands::mnuAbout_Click() {
  if (!about_) about_ = makeAbout_();
  about_->Show(1);
}

}  // namespace quorvane
