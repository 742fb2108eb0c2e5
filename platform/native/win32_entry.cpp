#include "win32_entry.h"

std::string win32_command_line(int argc, char** argv) {
    // Written as a Windows shell would have: an argument with blanks or quotes goes in quotes,
    // a quote inside is \", and backslashes before a quote (or before the closing one) double,
    // so that the program's own splitting gives every argument back unchanged.
    std::string command_line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) command_line += ' ';
        std::string arg = argv[i];
        if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) {
            command_line += arg;
            continue;
        }
        command_line += '"';
        size_t slashes = 0;
        for (char c : arg) {
            if (c == '\\') {
                ++slashes;
                continue;
            }
            command_line.append(c == '"' ? slashes * 2 + 1 : slashes, '\\');
            slashes = 0;
            command_line += c;
        }
        command_line.append(slashes * 2, '\\');
        command_line += '"';
    }
    return command_line;
}
