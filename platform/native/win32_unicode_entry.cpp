// The WinMain of a program that defines wWinMain: the linker takes it from the library only when
// the program has no WinMain of its own (and it is weak, should both ever meet), so the program
// defines one entry point or the other, as on Windows. It is alone in its file for that reason.
#include <windows.h>

#include <string>

#include "common/text/win32_text.h"

extern "C" __attribute__((weak)) int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine,
                                                    int nShowCmd)
{
    std::wstring line = win32_text::wide_from_utf8(lpCmdLine, lpCmdLine ? strlen(lpCmdLine) : 0);
    return wWinMain(hInstance, hPrevInstance, &line[0], nShowCmd);
}
