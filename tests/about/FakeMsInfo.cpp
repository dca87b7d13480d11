// Stands in for the system information tool: records its own path and the
// window style it was asked for in the file QUORVANE_FAKE_MSINFO_LOG names.
#include <windows.h>

#include <cstdio>

int wmain() {
  wchar_t log[MAX_PATH * 4] = {};
  if (!GetEnvironmentVariableW(L"QUORVANE_FAKE_MSINFO_LOG", log, MAX_PATH * 4)) return 1;
  wchar_t self[MAX_PATH * 4] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH * 4);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  GetStartupInfoW(&si);
  const int show = (si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : -1;
  FILE* f = _wfopen(log, L"a, ccs=UTF-8");
  if (!f) return 1;
  fwprintf(f, L"%ls|%d\n", self, show);
  fclose(f);
  return 0;
}
