// Calls back when the process ends, whichever way it ends: from this DLL's detach, which
// ExitProcess runs too (a test watches what the process still held at that moment).
#include <windows.h>

namespace {
void (*whenEnding)() = nullptr;
}

extern "C" __declspec(dllexport) void watchProcessEnd(void (*callback)()) {
    whenEnding = callback;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_DETACH && whenEnding)
        whenEnding();
    return TRUE;
}
