// The About box: a fixed dialog with the picture, title, version and notices,
// OK and System Info. One object serves every showing; each showing creates
// the window anew, so its load step sets the texts again.
#pragma once

#include <windows.h>

#include <functional>

#include "about/AboutLayout.h"
#include "core/MessageBox.h"
#include "win32/MessageLoop.h"
#include "win32/Owned.h"
#include "win32/TopLevelWindow.h"

namespace quorvane {

class frmAbout final : public win32::TopLevelWindow<frmAbout> {
 public:
  static constexpr wchar_t kClassName[] = L"QuorvaneAbout";
  // What System Info does; by default StartSysInfo with the box's messages.
  using SysInfoHandler = std::function<void(IMessageBox&)>;

  frmAbout();
  ~frmAbout();
  frmAbout(const frmAbout&) = delete;
  frmAbout& operator=(const frmAbout&) = delete;

  // modal 1: returns when the box closes; meanwhile every other window of the
  // thread is disabled. owner may be null.
  void Show(int modal, HWND owner);

  HWND Control(AboutId id) const { return controls_[id]; }
  HFONT Font(AboutFont font) const { return controls_.Font(static_cast<int>(font)); }
  void SetSysInfoHandler(SysInfoHandler handler) { sysInfo_ = std::move(handler); }

 private:
  friend class win32::TopLevelWindow<frmAbout>;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
  void OnDestroyed() { closed_ = true; }
  bool Create(HWND owner);
  void Form_Load();
  void Paint();
  void ShowPicture();
  void OnRecoloured() override { ShowPicture(); }
  LRESULT OnControlColour(UINT msg, HDC dc, HWND control) override;
  void Unload();
  void cmdSysInfo_Click();

  SysInfoHandler sysInfo_;
  bool closed_ = true;
  win32::OtherWindowsDisabled* othersDisabled_ = nullptr;  // while shown modally
  win32::OwnedBitmap picture_;
  COLORREF pictureFace_ = 0;  // the colour the picture's transparent pixels took
};

}  // namespace quorvane
