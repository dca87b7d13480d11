// The one message of the system information launcher. No Windows headers,
// so the help file's account of it is checked on every platform.
#pragma once

namespace quorvane {

inline constexpr wchar_t kSysInfoUnavailable[] = L"System Information Is Unavailable At This Time";

}  // namespace quorvane
