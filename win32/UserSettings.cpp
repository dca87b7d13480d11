#include "win32/UserSettings.h"

#include <windows.h>

#include <optional>

#include "core/Failure.h"
#include "win32/LateBound.h"
#include "win32/Owned.h"

namespace quorvane::win32 {
namespace {

bool HighContrast() {
  HIGHCONTRASTW hc{};
  hc.cbSize = sizeof hc;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) &&
         (hc.dwFlags & HCF_HIGHCONTRASTON);
}

// The user's "Choose your app mode"; empty when missing or not a number.
std::optional<unsigned long> AppsUseLightTheme() {
  try {
    OwnedKey key;
    if (late::RegOpenKeyExW(HKEY_CURRENT_USER,
                            L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", 0,
                            KEY_QUERY_VALUE, key.out()) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    DWORD type = 0, value = 0, size = sizeof value;
    if (late::RegQueryValueExW(key.get(), L"AppsUseLightTheme", nullptr, &type,
                               reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value) {
      return std::nullopt;
    }
    return value;
  } catch (const RuntimeError&) {
    return std::nullopt;
  }
}

}  // namespace

const Palette& UserPalette() { return ChoosePalette(HighContrast(), AppsUseLightTheme()); }

}  // namespace quorvane::win32
