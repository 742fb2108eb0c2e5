#include "win32_entry.h"

#include <string>

#include <windows.h>

int win32_run_winmain(int argc, char** argv) {
    // The command line as Windows would hand it over: the arguments after the program name,
    // those with blanks in quotes.
    std::string command_line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) command_line += ' ';
        std::string arg = argv[i];
        bool quote = arg.empty() || arg.find_first_of(" \t") != std::string::npos;
        command_line += quote ? "\"" + arg + "\"" : arg;
    }
    return WinMain(GetModuleHandleA(nullptr), nullptr, &command_line[0], SW_SHOWDEFAULT);
}
