// main() of a Windows GUI program on this platform: the viewer's, and that of any program built
// against the installed platform library. It runs the program's WinMain; a program that defines
// wWinMain instead gets the WinMain of win32_unicode_entry.cpp, which calls it.
#include <windows.h>

#include <string>

#include "win32_entry.h"

int main(int argc, char** argv)
{
    std::string line = win32_command_line(argc, argv);
    return WinMain(GetModuleHandleA(NULL), NULL, &line[0], SW_SHOWDEFAULT);
}
