#include <windows.h>

#include <cstdlib>

#include "launch/state.hpp"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return zarvell::startProgram();
}

// A GUI program has nowhere to print why it terminates; the library's verbose handler would
// only add its name demangler (some 75 KB) to the exe. Our own replaces it.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx
