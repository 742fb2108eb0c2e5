#pragma once
// How a Windows GUI program starts on this platform: main() hands its arguments here, and the
// program's WinMain runs with (GetModuleHandleA(NULL), NULL, the command line after the program
// name, SW_SHOWDEFAULT). Returns what WinMain returns, the process's exit code.
int win32_run_winmain(int argc, char** argv);
