#include "core/command_line.h"

#include <stdlib.h>

const char kUsage[] =
    "Usage: orvex [options] [model...]\n"
    "\n"
    "Without models the viewer opens the level POLYGON01 of its working folder. Given models\n"
    "(.x, .obj, .gltf, .glb, .fbx, .dae, .3ds, .ply, .stl), it shows them side by side on a floor,\n"
    "with three lights and three cameras (TAB switches camera).\n"
    "\n"
    "Options:\n"
    "  --screenshot FILE  draw off screen, save the last frame as a PNG picture and exit\n"
    "                     (needs no display)\n"
    "  --size WxH         the picture's size in pixels (with --screenshot; default: the window's)\n"
    "  --frames N         frames drawn before the picture is taken (with --screenshot; default 2)\n"
    "  --help             print this text and exit\n"
    "  --version          print the version and exit\n"
    "\n"
    "While it runs: F12 saves the frame in screenshots/, files dropped on the window open as\n"
    "models, and the console command obj_mngr load.MODEL <path> opens one.\n";

const char kNoDisplayHint[] =
    "orvex: there is no display to show the viewer on.\n"
    "Start it in a desktop session (DISPLAY or WAYLAND_DISPLAY set), or under Xvfb:\n"
    "    xvfb-run -s '-screen 0 1024x768x24' ./run\n"
    "or take a picture without a display:\n"
    "    orvex --screenshot out.png [--size WxH] [--frames N] [model...]\n";

std::vector<std::string> SplitCommandLine(const char* line)
{
    std::vector<std::string> args;
    if (!line)
        return args;
    const char* p = line;
    for (;;) {
        while (*p == ' ' || *p == '\t')
            ++p;
        if (!*p)
            break;
        std::string arg;
        bool quoted = false;
        for (; *p && (quoted || (*p != ' ' && *p != '\t')); ++p) {
            if (*p == '\\') {
                size_t slashes = 0;
                while (p[slashes] == '\\')
                    ++slashes;
                if (p[slashes] != '"') {
                    arg.append(slashes, '\\');
                    p += slashes - 1;
                    continue;
                }
                // Backslashes before a quote: each pair is one backslash, an odd one makes the
                // quote literal.
                arg.append(slashes / 2, '\\');
                p += slashes;
                if (slashes % 2) {
                    arg += '"';
                    continue;
                }
            }
            if (*p == '"')
                quoted = !quoted;
            else
                arg += *p;
        }
        args.push_back(arg);
    }
    return args;
}

namespace {

bool ReadNumber(const std::string& text, long low, long high, long* out)
{
    if (text.empty() || text[0] < '0' || text[0] > '9')
        return false;
    char* end = NULL;
    long value = strtol(text.c_str(), &end, 10);
    if (*end || value < low || value > high)
        return false;
    *out = value;
    return true;
}

bool ReadSize(const std::string& text, int* width, int* height)
{
    size_t x = text.find_first_of("xX");
    long w = 0, h = 0;
    if (x == std::string::npos || !ReadNumber(text.substr(0, x), 1, 16384, &w) ||
        !ReadNumber(text.substr(x + 1), 1, 16384, &h))
        return false;
    *width = (int)w;
    *height = (int)h;
    return true;
}

}  // namespace

bool ParseCommandLine(const char* line, CommandLine* out, std::string* error)
{
    *out = CommandLine();
    std::vector<std::string> args = SplitCommandLine(line);
    bool sized = false;
    bool counted = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool valued = arg == "--screenshot" || arg == "--size" || arg == "--frames";
        if (valued && i + 1 >= args.size()) {
            *error = arg + " needs a value";
            return false;
        }
        if (arg == "--help" || arg == "-h") {
            out->help = true;
        } else if (arg == "--version") {
            out->version = true;
        } else if (arg == "--screenshot") {
            out->screenshot = args[++i];
            if (out->screenshot.empty()) {
                *error = "--screenshot needs a file name";
                return false;
            }
        } else if (arg == "--size") {
            if (!ReadSize(args[++i], &out->width, &out->height)) {
                *error = "--size wants WxH, e.g. 800x600 (1 to 16384 each), not \"" + args[i] + "\"";
                return false;
            }
            sized = true;
        } else if (arg == "--frames") {
            long frames = 0;
            if (!ReadNumber(args[++i], 1, 10000, &frames)) {
                *error = "--frames wants a number from 1 to 10000, not \"" + args[i] + "\"";
                return false;
            }
            out->frames = (int)frames;
            counted = true;
        } else if (arg.size() > 1 && arg[0] == '-' && arg[1] == '-') {
            *error = "unknown option " + arg;
            return false;
        } else {
            out->models.push_back(arg);
        }
    }
    if ((sized || counted) && out->screenshot.empty()) {
        *error = std::string(sized ? "--size" : "--frames") + " works only with --screenshot";
        return false;
    }
    return true;
}
