#include "launch/system_library.hpp"

#include <string>

namespace zarvell {

HMODULE loadSystemLibrary(const wchar_t* name) {
    // Only the system folder is searched, for the DLL and what it needs. The name stays bare
    // on purpose: side-by-side redirection by the manifest comes before any folder in the
    // search order, so with a common-controls 6 dependency comctl32.dll still comes as
    // version 6 from WinSxS. A full path skips the search, that redirection included, and
    // would give version 5.82 from System32 ("Dynamic-link library search order", Microsoft).
    if (HMODULE dll = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
        return dll;
    // Without KB2533623, Windows 7 refuses the flag itself with ERROR_INVALID_PARAMETER.
    if (GetLastError() != ERROR_INVALID_PARAMETER)
        return nullptr;
    return loadSystemLibraryWithoutSearchFlags(name);
}

HMODULE loadSystemLibraryWithoutSearchFlags(const wchar_t* name) {
    // A name the manifest redirects is never looked for in a folder: the bare name is safe and
    // keeps the redirection (comctl32.dll version 6).
    ACTCTX_SECTION_KEYED_DATA redirection{};
    redirection.cbSize = sizeof(redirection);
    if (FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, name,
                                 &redirection)) {
        return LoadLibraryW(name);
    }
    wchar_t folder[MAX_PATH];
    const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return nullptr;
    const std::wstring path = std::wstring(folder, n) + L"\\" + name;
    // What the DLL needs is then looked for beside it, in the system folder, first.
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

HMODULE SystemLibrary::get() {
    HMODULE dll = module_.load(std::memory_order_acquire);
    if (dll)
        return dll;
    dll = loader_(name_);
    if (!dll)
        return nullptr;
    HMODULE earlier = nullptr;
    if (!module_.compare_exchange_strong(earlier, dll, std::memory_order_acq_rel)) {
        FreeLibrary(dll);  // another thread loaded it meanwhile: keep one reference
        return earlier;
    }
    return dll;
}

}  // namespace zarvell
