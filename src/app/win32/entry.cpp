// Entry point of Merkzeile.exe: no console, no arguments read, exit code 0.
#include <windows.h>

#include "app/program.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    ExitProcess(static_cast<UINT>(mz::runProgram()));
}
