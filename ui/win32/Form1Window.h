// The main window Form1 as a native window: the controls of the layout table
// created in one loop, laid out at the window's dpi, the commands wired to
// their buttons and the window supplying the texts the commands use.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "ui/Form1Commands.h"
#include "ui/Form1Layout.h"
#include "win32/TopLevelWindow.h"

namespace quorvane::win32 {

// What the menus and the close request start; the window owns none of it.
class IForm1Events {
 public:
  virtual void OnMenu(MenuId id) = 0;
  // A request to close the window; true refuses it.
  virtual bool OnQueryUnload() = 0;
  // The session asks whether it may end; true refuses it.
  virtual bool OnQueryEndSession() = 0;

 protected:
  ~IForm1Events() = default;
};

// The user's decimal separator, read when the program starts and again
// whenever the regional settings change.
std::wstring UserDecimalSeparator();

class Form1Window final : public TopLevelWindow<Form1Window>, public IForm1View {
 public:
  static constexpr wchar_t kClassName[] = L"QuorvaneForm1";

  explicit Form1Window(std::wstring decimalSep);
  ~Form1Window();
  Form1Window(const Form1Window&) = delete;
  Form1Window& operator=(const Form1Window&) = delete;

  // Creates the window and its controls, runs the load step, shows it.
  // events may be null: the menus then do nothing and a close is granted.
  bool Create(HINSTANCE instance, int showCommand, IForm1Events* events, bool quitOnDestroy = true,
              HICON icon = nullptr);
  HWND Control(ControlId id) const { return controls_[id]; }
  HWND Tooltip() const { return controls_.Tooltip(); }
  HFONT Font(FontId font) const { return controls_.Font(static_cast<int>(font)); }

  // IForm1View
  std::wstring GetText(Field field) override;
  void SetText(Field field, std::wstring_view text) override;
  bool IsSelected(OptionGroup group, int item) override;
  void Select(OptionGroup group, int item) override;
  int Show(std::wstring_view prompt, unsigned style, std::wstring_view title) override;

 private:
  friend class TopLevelWindow<Form1Window>;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
  void OnDestroyed();
  void OnCommand(int id, int code, HWND from);
  void OnClick(ControlId id);
  LRESULT OnControlColour(UINT msg, HDC dc, HWND control) override;
  void UpdateTabStops(OptionGroup group);
  // The boxes' clipboard: a paste into an input, a result box's context menu.
  static LRESULT CALLBACK BoxProc(HWND box, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                  DWORD_PTR self);
  bool OnPaste(HWND box, Field field);

  Form1Commands commands_;
  IForm1Events* events_ = nullptr;
  bool quitOnDestroy_ = false;
};

// Runs the program's message loop, every key first through the window's
// dialog keyboard, until WM_QUIT arrives, whose code it returns, or until
// done() holds (never, when it is empty), which gives -1.
int RunMessageLoop(Form1Window& form, const std::function<bool()>& done = {});

}  // namespace quorvane::win32
