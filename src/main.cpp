#include <windows.h>

#include "launch/state.hpp"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return zarvell::startProgram();
}
