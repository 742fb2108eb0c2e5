#pragma once
// How a Windows GUI program starts on this platform: main() calls the program's WinMain with
// (GetModuleHandleA(NULL), NULL, the command line, SW_SHOWDEFAULT) and returns what it returns.
// The command line is what Windows hands to WinMain: the arguments after the program's name.
#include <string>

std::string win32_command_line(int argc, char** argv);
