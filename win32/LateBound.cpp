#include "win32/LateBound.h"

#include "core/Failure.h"

namespace quorvane::win32 {
namespace {

struct Entry {
  const wchar_t* library;
  const char* entry;
  void* bound;
  void* replacement;
};

Entry g_entries[] = {
#define X(library, name) {library, #name, nullptr, nullptr},
    QUORVANE_LATE_BOUND(X)
#undef X
};

Entry& At(Api api) { return g_entries[static_cast<int>(api)]; }

}  // namespace

void* Bind(Api api) {
  Entry& e = At(api);
  if (e.replacement) return e.replacement;
  if (e.bound) return e.bound;
  // From the system folder only, never from the program's folder or the
  // search path. A library that gave its entry point stays loaded for the
  // run: nothing bound from it is released.
  HMODULE module = LoadLibraryExW(e.library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!module) throw RuntimeError{kErrDllLoad};
  FARPROC proc = GetProcAddress(module, e.entry);
  if (!proc) {
    FreeLibrary(module);
    throw RuntimeError{kErrEntryPointNotFound};
  }
  // Through a plain function pointer type, which GCC accepts from FARPROC.
  e.bound = reinterpret_cast<void*>(reinterpret_cast<void (*)(void)>(proc));
  return e.bound;
}

void RenameForTest(Api api, const wchar_t* library, const char* entry) {
  static Entry original[] = {
#define X(library, name) {library, #name, nullptr, nullptr},
      QUORVANE_LATE_BOUND(X)
#undef X
  };
  Entry& e = At(api);
  const Entry& o = original[static_cast<int>(api)];
  e.library = library ? library : o.library;
  e.entry = entry ? entry : o.entry;
  e.bound = nullptr;
}

void ReplaceForTest(Api api, void* fn) {
  Entry& e = At(api);
  e.replacement = fn;
  e.bound = nullptr;
  if (!fn) RenameForTest(api, nullptr, nullptr);
}

}  // namespace quorvane::win32
