// A DLL named like a system DLL (comctl32.dll, ws2_32.dll), as a mod pack might leave one in
// the game folder. Loaded into a process, it leaves a mark beside itself: planted-<name>.txt.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    wchar_t path[MAX_PATH + 16];
    const DWORD n = GetModuleFileNameW(self, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return TRUE;
    DWORD cut = n;
    while (cut > 0 && path[cut - 1] != L'\\')
        --cut;
    lstrcpyW(path + cut, L"planted-" PLANTED_NAME L".txt");
    HANDLE mark = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (mark != INVALID_HANDLE_VALUE)
        CloseHandle(mark);
    return TRUE;
}
