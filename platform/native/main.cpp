// The viewer's entry: the program is a Windows GUI program whose WinMain does everything.
#include <string>

#include <windows.h>

int main(int argc, char** argv) {
    // The command line WinMain sees: the arguments after the program name, as typed.
    std::string command_line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) command_line += ' ';
        std::string arg = argv[i];
        bool quote = arg.empty() || arg.find_first_of(" \t") != std::string::npos;
        command_line += quote ? "\"" + arg + "\"" : arg;
    }
    return WinMain(GetModuleHandleA(nullptr), nullptr, &command_line[0], SW_SHOWDEFAULT);
}
