#include "win32_entry.h"

std::string win32_command_line(int argc, char** argv) {
    // Arguments with blanks go in quotes, as a Windows shell would have written them.
    std::string command_line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) command_line += ' ';
        std::string arg = argv[i];
        bool quote = arg.empty() || arg.find_first_of(" \t") != std::string::npos;
        command_line += quote ? "\"" + arg + "\"" : arg;
    }
    return command_line;
}
