// The installer package as an administrator runs it, silently: installed,
// started, installed again over itself, upgraded, refused as a downgrade and
// removed, with what Windows holds of the program checked after every step.
// Arguments: this version's package, a later version's, and the program and
// help file they were built from.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which they need.
#include <msi.h>
#include <msiquery.h>
#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/win/WinTestSupport.h"

namespace quorvane::testing {
namespace {

constexpr int kMnuHelpContents = 202;
const wchar_t kUninstallKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::vector<std::wstring> g_args;  // this package, next package, program, help file

// A path of the build machine as Wine shows it: on drive Z:.
std::wstring FromHost(const std::wstring& path) {
  std::wstring out = L"Z:" + path;
  for (wchar_t& c : out) {
    if (c == L'/') c = L'\\';
  }
  return out;
}

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  std::wstring out;
  if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) out = path;
  CoTaskMemFree(path);
  return out;
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Bytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A property of the package file itself.
std::wstring PackageProperty(const std::wstring& package, const wchar_t* name) {
  MSIHANDLE db = 0, view = 0, record = 0;
  std::wstring value;
  if (MsiOpenDatabaseW(package.c_str(), MSIDBOPEN_READONLY, &db) == ERROR_SUCCESS) {
    const std::wstring query =
        L"SELECT `Value` FROM `Property` WHERE `Property`='" + std::wstring(name) + L"'";
    if (MsiDatabaseOpenViewW(db, query.c_str(), &view) == ERROR_SUCCESS &&
        MsiViewExecute(view, 0) == ERROR_SUCCESS && MsiViewFetch(view, &record) == ERROR_SUCCESS) {
      wchar_t buf[256];
      DWORD size = 256;
      if (MsiRecordGetStringW(record, 1, buf, &size) == ERROR_SUCCESS) value = buf;
    }
  }
  for (MSIHANDLE h : {record, view, db}) {
    if (h) MsiCloseHandle(h);
  }
  return value;
}

DWORD Msiexec(const std::wstring& verb, const std::wstring& package) {
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  const std::wstring exe = std::wstring(system) + L"\\msiexec.exe";
  std::wstring cmd = L"msiexec.exe " + verb + L" \"" + package + L"\" /qn";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi)) {
    return GetLastError();
  }
  DWORD code = 9999;
  if (WaitForSingleObject(pi.hProcess, 180000) == WAIT_OBJECT_0)
    GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  return code;
}

std::wstring RegText(HKEY key, const wchar_t* name) {
  wchar_t buf[1024] = {};
  DWORD size = sizeof buf;
  if (RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ, nullptr, buf, &size) != ERROR_SUCCESS) {
    return L"<none>";
  }
  return buf;
}

// The entries of Apps & Features named Quorvane, by their key names.
std::vector<std::wstring> UninstallEntries() {
  std::vector<std::wstring> found;
  HKEY root;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ | KEY_WOW64_64KEY, &root) !=
      ERROR_SUCCESS) {
    return found;
  }
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    if (RegEnumKeyExW(root, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    HKEY entry;
    if (RegOpenKeyExW(root, name, 0, KEY_READ | KEY_WOW64_64KEY, &entry) == ERROR_SUCCESS) {
      if (RegText(entry, L"DisplayName") == L"Quorvane") found.push_back(name);
      RegCloseKey(entry);
    }
  }
  RegCloseKey(root);
  return found;
}

std::vector<std::wstring> RelatedProducts(const std::wstring& upgradeCode) {
  std::vector<std::wstring> products;
  wchar_t product[39];
  for (DWORD i = 0; MsiEnumRelatedProductsW(upgradeCode.c_str(), 0, i, product) == ERROR_SUCCESS;
       ++i) {
    products.push_back(product);
  }
  return products;
}

bool UnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version"); }

// Windows Installer gives a per-machine install (ALLUSERS set) the all-users
// Start menu as ProgramMenuFolder; Wine's gives it the user's.
struct Installation {
  std::wstring folder = KnownFolder(FOLDERID_ProgramFiles) + L"\\Quorvane";
  std::wstring shortcut =
      KnownFolder(UnderWine() ? FOLDERID_Programs : FOLDERID_CommonPrograms) + L"\\Quorvane.lnk";
};

void ExpectInstalled(const std::wstring& package, const std::wstring& version) {
  const Installation at;
  const std::wstring product = PackageProperty(package, L"ProductCode");
  const std::vector<std::wstring> related =
      RelatedProducts(PackageProperty(package, L"UpgradeCode"));
  ASSERT_EQ(related.size(), 1u);
  EXPECT_EQ(related[0], product);
  wchar_t installed[64];
  DWORD size = 64;
  ASSERT_EQ(MsiGetProductInfoW(product.c_str(), INSTALLPROPERTY_VERSIONSTRING, installed, &size),
            static_cast<UINT>(ERROR_SUCCESS));
  EXPECT_EQ(std::wstring(installed), version);
  // Apps & Features shows the product's icon, which Windows Installer keeps.
  wchar_t icon[MAX_PATH] = {};
  size = MAX_PATH;
  EXPECT_EQ(MsiGetProductInfoW(product.c_str(), INSTALLPROPERTY_PRODUCTICON, icon, &size),
            static_cast<UINT>(ERROR_SUCCESS));
  EXPECT_TRUE(Exists(icon)) << icon;

  // The program and its help file, side by side, as they were built.
  EXPECT_EQ(Bytes(at.folder + L"\\Quorvane.exe"), Bytes(FromHost(g_args[2])));
  EXPECT_EQ(Bytes(at.folder + L"\\QuorvaneHelp.chm"), Bytes(FromHost(g_args[3])));
  EXPECT_TRUE(Exists(at.shortcut)) << at.shortcut;

  ASSERT_EQ(UninstallEntries(), std::vector<std::wstring>{product});
  HKEY entry;
  ASSERT_EQ(
      RegOpenKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(kUninstallKey) + L"\\" + product).c_str(), 0,
                    KEY_READ | KEY_WOW64_64KEY, &entry),
      ERROR_SUCCESS);
  struct Value {
    const wchar_t* name;
    std::wstring expected;
  };
  const Value values[] = {
      {L"DisplayName", L"Quorvane"},
      {L"DisplayVersion", version},
      {L"Publisher", L"Quorvane"},
  };
  for (const Value& v : values) EXPECT_EQ(RegText(entry, v.name), v.expected) << v.name;
  EXPECT_EQ(RegText(entry, L"UninstallString").rfind(L"MsiExec.exe /", 0), 0u)
      << RegText(entry, L"UninstallString");
  RegCloseKey(entry);
}

void ExpectNothingLeft(const std::wstring& package) {
  const Installation at;
  EXPECT_TRUE(RelatedProducts(PackageProperty(package, L"UpgradeCode")).empty());
  EXPECT_FALSE(Exists(at.folder)) << at.folder;
  EXPECT_FALSE(Exists(at.shortcut)) << at.shortcut;
  EXPECT_TRUE(UninstallEntries().empty());
  // Nor the copy of the icon that Windows Installer kept for the product.
  wchar_t windows[MAX_PATH];
  GetWindowsDirectoryW(windows, MAX_PATH);
  const std::wstring kept =
      std::wstring(windows) + L"\\Installer\\" + PackageProperty(package, L"ProductCode");
  EXPECT_FALSE(Exists(kept)) << kept;
}

// The installed program starts, and Help Contents opens the help file that
// lies beside it: a viewer starts and no message is shown.
void ExpectProgramFindsItsHelp() {
  const std::wstring exe = Installation().folder + L"\\Quorvane.exe";
  std::wstring cmd = L"\"" + exe + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &si, &pi));
  HWND form = nullptr;
  EXPECT_TRUE(WaitFor(
      [&] { return (form = FindProcessWindow(pi.dwProcessId, L"QuorvaneForm1", L"Quorvane")); },
      20000));
  if (form) {
    MessageBoxWatcher watcher(IDOK, pi.dwProcessId);
    PostMessageW(form, WM_COMMAND, kMnuHelpContents, 0);
    std::vector<DWORD> viewers;
    EXPECT_TRUE(WaitFor([&] { return !(viewers = HelpViewers()).empty(); }, 20000));
    Sleep(300);
    EXPECT_TRUE(watcher.Seen().empty());
    EndProcesses(viewers);
  }
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 10000);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
}

TEST(Installer, InstallUpgradeAndRemove) {
  ASSERT_EQ(g_args.size(), 4u);
  const std::wstring packages[] = {FromHost(g_args[0]), FromHost(g_args[1])};
  const std::wstring versions[] = {PackageProperty(packages[0], L"ProductVersion"),
                                   PackageProperty(packages[1], L"ProductVersion")};
  ASSERT_NE(versions[0], L"");
  ASSERT_NE(versions[0], versions[1]);
  struct Step {
    const char* what;
    const wchar_t* verb;
    int package;
    bool succeeds;
    int installed;  // the package whose version is then installed, -1 for none
  };
  const Step steps[] = {
      {"install", L"/i", 0, true, 0},
      {"install over itself", L"/i", 0, true, 0},
      {"uninstall", L"/x", 0, true, -1},
      {"install again", L"/i", 0, true, 0},
      {"upgrade to the later version", L"/i", 1, true, 1},
      {"downgrade is refused", L"/i", 0, false, 1},
      {"uninstall the later version", L"/x", 1, true, -1},
  };
  bool started = false;
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    const DWORD code = Msiexec(s.verb, packages[s.package]);
    EXPECT_EQ(code == ERROR_SUCCESS, s.succeeds) << "msiexec " << code;
    if (s.installed < 0) {
      ExpectNothingLeft(packages[s.package]);
      continue;
    }
    ExpectInstalled(packages[s.installed], versions[s.installed]);
    if (!started) {
      ExpectProgramFindsItsHelp();
      started = true;
    }
  }
}

}  // namespace
}  // namespace quorvane::testing

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    quorvane::testing::g_args.emplace_back(a.begin(), a.end());
  }
  return RUN_ALL_TESTS();
}
