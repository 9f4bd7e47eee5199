// DLLs the launcher loads while it runs, taken from the system folder only: never from the
// game folder, where a mod pack may have left a DLL of the same name.
#pragma once

#include <windows.h>

#include <atomic>

namespace zarvell {

// Loads `name`, a bare file name such as L"ws2_32.dll", from the system folder. nullptr when
// it cannot be loaded (GetLastError tells why).
HMODULE loadSystemLibrary(const wchar_t* name);

// The same for systems that know no LOAD_LIBRARY_SEARCH_* flag (Windows 7 without KB2533623):
// the DLL's full path in the system folder, unless the manifest redirects that name.
HMODULE loadSystemLibraryWithoutSearchFlags(const wchar_t* name);

// A system DLL loaded at its first use and kept from then on. A load that failed is tried
// again at the next use rather than remembered. Safe to use from any thread.
class SystemLibrary {
  public:
    using Loader = HMODULE (*)(const wchar_t*);
    explicit SystemLibrary(const wchar_t* name, Loader loader = loadSystemLibrary)
        : name_(name), loader_(loader) {}
    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;
    HMODULE get();

  private:
    const wchar_t* name_;
    Loader loader_;
    std::atomic<HMODULE> module_{nullptr};
};

}  // namespace zarvell
