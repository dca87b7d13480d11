// The close confirmation, File > Exit, Help Contents and About, with fakes
// that record what was asked, launched and ended.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/Form1MenuCommands.h"

namespace quorvane {
namespace {

struct Asked {
  std::wstring prompt;
  unsigned style;
  std::wstring title;
};

struct Fakes : IMessageBox, IHelpLauncher, IProgramEnd {
  int Show(std::wstring_view prompt, unsigned style, std::wstring_view title) override {
    asked.push_back({std::wstring(prompt), style, std::wstring(title)});
    return answer;
  }
  void OpenHelpFile() override { ++helpCalls; }
  void EndNow() override { ++ends; }

  int answer = kAnswerOk;
  std::vector<Asked> asked;
  int helpCalls = 0;
  int ends = 0;
};

struct FakeAbout : IAboutBox {
  explicit FakeAbout(std::vector<int>& shows) : shows(shows) {}
  void Show(int modal) override { shows.push_back(modal); }
  std::vector<int>& shows;
};

struct Menu {
  Fakes fakes;
  int created = 0;
  std::vector<int> shows;
  Form1MenuCommands commands{fakes, fakes,
                             [this] {
                               ++created;
                               return std::make_unique<FakeAbout>(shows);
                             },
                             fakes};
};

void ExpectShutdownQuestion(const Asked& a) {
  EXPECT_EQ(a.prompt, L"Shut down Quorvane?");
  EXPECT_EQ(a.title, L"Quorvane Shutting Down");
  EXPECT_EQ(a.style, 1u);
}

TEST(CloseConfirmation, OnlyCancelRefusesWhateverTheReason) {
  struct Row {
    int answer;
    std::int16_t mode;
    std::int16_t cancel;
  };
  const Row rows[] = {
      {kAnswerCancel, 0, 1},
      {kAnswerCancel, 1, 1},
      {kAnswerCancel, 3, 1},
      {kAnswerOk, 0, 0},
      {kAnswerOk, 2, 0},
      {kAnswerOk, 3, 0},
      // A question that could not be shown keeps the window, unless Windows
      // ends the session.
      {kNoAnswer, 0, 1},
      {kNoAnswer, 2, 0},
  };
  for (const Row& r : rows) {
    Menu m;
    m.fakes.answer = r.answer;
    std::int16_t cancel = 0;
    m.commands.Form_QueryUnload(cancel, r.mode);
    EXPECT_EQ(cancel, r.cancel) << r.answer << " " << r.mode;
    ASSERT_EQ(m.fakes.asked.size(), 1u);
    ExpectShutdownQuestion(m.fakes.asked[0]);
    EXPECT_EQ(m.fakes.ends, 0);  // the close itself ends the program, not the question
  }
}

TEST(FileExit, AsksOnceAndEndsAtOnceUnlessCancelled) {
  for (int answer : {kAnswerOk, kAnswerCancel, kNoAnswer}) {
    Menu m;
    m.fakes.answer = answer;
    m.commands.mnuFileExit_Click();
    ASSERT_EQ(m.fakes.asked.size(), 1u);
    ExpectShutdownQuestion(m.fakes.asked[0]);
    EXPECT_EQ(m.fakes.ends, answer == kAnswerOk ? 1 : 0);
  }
}

TEST(HelpContents, CallsTheLauncherEachTime) {
  Menu m;
  m.commands.mnuHelpContents_Click();
  m.commands.mnuHelpContents_Click();
  EXPECT_EQ(m.fakes.helpCalls, 2);
  EXPECT_TRUE(m.fakes.asked.empty());
}

TEST(About, OneBoxCreatedOnFirstUseAndShownModallyEachTime) {
  Menu m;
  EXPECT_EQ(m.commands.aboutBox(), nullptr);
  m.commands.mnuAbout_Click();
  IAboutBox* first = m.commands.aboutBox();
  ASSERT_NE(first, nullptr);
  m.commands.mnuAbout_Click();
  m.commands.mnuAbout_Click();
  EXPECT_EQ(m.commands.aboutBox(), first);
  EXPECT_EQ(m.created, 1);
  EXPECT_EQ(m.shows, (std::vector<int>{1, 1, 1}));
}

}  // namespace
}  // namespace quorvane
