// main() of a Windows GUI program on this platform: the viewer's, and that of any program built
// against the installed platform library. It runs the program's WinMain, or its wWinMain when
// that is the one it defines.
#include <windows.h>

#include <stdio.h>

#include <string>

#include "common/win32_text.h"
#include "win32_entry.h"

// The program defines one of the two; the other stays unresolved and reads as null.
#pragma weak WinMain
#pragma weak wWinMain

int main(int argc, char** argv)
{
    std::string line = win32_command_line(argc, argv);
    if (&WinMain) return WinMain(GetModuleHandleA(NULL), NULL, &line[0], SW_SHOWDEFAULT);
    if (&wWinMain) {
        std::wstring wide = win32_text::wide_from_utf8(line.data(), line.size());
        return wWinMain(GetModuleHandleW(NULL), NULL, &wide[0], SW_SHOWDEFAULT);
    }
    fputs("The program defines neither WinMain nor wWinMain.\n", stderr);
    return 1;
}
