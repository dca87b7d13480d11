// What a screen reader reads from Quorvane.exe running as its own process:
// each box and frame by its name, the other controls as Windows names them,
// and a box's value after a calculation.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <oleacc.h>

#include <string>

#include "tests/win/WinTestSupport.h"
#include "ui/Form1Layout.h"

namespace quorvane::testing {
namespace {

using C = ControlId;

// The running program, its controls found by id (option buttons in their frames).
struct Program : ChildProcess {
  Program() {
    EXPECT_TRUE(Start(ThisFolder() + L"\\Quorvane.exe"));
    EXPECT_TRUE(WaitFor(
        [&] { return (form = FindProcessWindow(pid(), L"QuorvaneForm1", nullptr)) != nullptr; },
        "the main window"));
  }
  HWND operator[](C id) const {
    HWND h = GetDlgItem(form, static_cast<int>(id));
    for (C frame : {C::Frame1, C::Frame2}) {
      if (!h) h = GetDlgItem(GetDlgItem(form, static_cast<int>(frame)), static_cast<int>(id));
    }
    return h;
  }
  HWND form = nullptr;
};

// The control's name or value as an accessibility client reads it.
std::wstring Read(HWND h, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
  IAccessible* acc = nullptr;
  if (AccessibleObjectFromWindow(h, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                 reinterpret_cast<void**>(&acc)) != S_OK) {
    return L"(no object)";
  }
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR text = nullptr;
  std::wstring s = L"(none)";
  if ((acc->*get)(self, &text) == S_OK && text) s.assign(text, SysStringLen(text));
  SysFreeString(text);
  acc->Release();
  return s;
}

TEST(AccessibleNames, EachControlIsAnnouncedByItsName) {
  const std::pair<C, const wchar_t*> rows[] = {
      {C::txtRealA, L"A real part or magnitude"},
      {C::txtImagA, L"A imaginary part or angle in degrees"},
      {C::txtRealB, L"B real part or magnitude"},
      {C::txtImagB, L"B imaginary part or angle in degrees"},
      {C::txtQuotientReal, L"Quotient A/B real part"},
      {C::txtQuotientImag, L"Quotient A/B imaginary part"},
      {C::txtQuotientMag, L"Quotient A/B magnitude"},
      {C::txtQuotientAngle, L"Quotient A/B angle in degrees"},
      {C::txtProductReal, L"Product A * B real part"},
      {C::txtProductImag, L"Product A * B imaginary part"},
      {C::txtProductMag, L"Product A * B magnitude"},
      {C::txtProductAngle, L"Product A * B angle in degrees"},
      {C::txtSumReal, L"Sum A + B real part"},
      {C::txtSumImag, L"Sum A + B imaginary part"},
      {C::txtSumMag, L"Sum A + B magnitude"},
      {C::txtSumAngle, L"Sum A + B angle in degrees"},
      {C::txtDifferenceReal, L"Difference A - B real part"},
      {C::txtDifferenceImag, L"Difference A - B imaginary part"},
      {C::txtDifferenceMag, L"Difference A - B magnitude"},
      {C::txtDifferenceAngle, L"Difference A - B angle in degrees"},
      {C::Frame1, L"Form of A"},
      {C::Frame2, L"Form of B"},
      // The others keep the names Windows gives them: their captions.
      {C::cmdExecute, L"Execute Operations"},
      {C::optB1, L"Polar"},
      {C::Label4, L"Product A * B"},
  };
  Program p;
  for (auto [id, name] : rows) EXPECT_EQ(Read(p[id], &IAccessible::get_accName), name);
}

// A frame is announced as a group; a named box keeps the role Windows gives.
TEST(AccessibleNames, FramesAreGroups) {
  Program p;
  for (auto [id, role] : {std::pair{C::Frame1, ROLE_SYSTEM_GROUPING},
                          {C::Frame2, ROLE_SYSTEM_GROUPING},
                          {C::txtRealA, ROLE_SYSTEM_TEXT}}) {
    IAccessible* acc = nullptr;
    VARIANT self{}, got{};
    self.vt = VT_I4;  // CHILDID_SELF
    if (AccessibleObjectFromWindow(p[id], static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   reinterpret_cast<void**>(&acc)) == S_OK) {
      acc->get_accRole(self, &got);
      acc->Release();
    }
    EXPECT_EQ(got.vt == VT_I4 ? got.lVal : 0, role) << static_cast<int>(id);
  }
}

TEST(AccessibleNames, ABoxsValueIsItsTextAfterACalculation) {
  Program p;
  for (auto [id, text] : {std::pair{C::txtRealA, L"3"},
                          {C::txtImagA, L"4"},
                          {C::txtRealB, L"1"},
                          {C::txtImagB, L"1"}}) {
    SendMessageW(p[id], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  }
  SendMessageW(p[C::cmdExecute], BM_CLICK, 0, 0);
  for (auto [id, text] : {std::pair{C::txtImagA, L"4"}, {C::txtQuotientReal, L"3.5"}}) {
    wchar_t shown[64] = {};
    SendMessageW(p[id], WM_GETTEXT, 64, reinterpret_cast<LPARAM>(shown));
    EXPECT_EQ(std::wstring(shown), text);
    EXPECT_EQ(Read(p[id], &IAccessible::get_accValue), text);
  }
}

}  // namespace
}  // namespace quorvane::testing
