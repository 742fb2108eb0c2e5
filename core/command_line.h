#pragma once
// The viewer's command line, as WinMain receives it (one string, Windows quoting):
//   orvex [--screenshot FILE [--size WxH] [--frames N]] [MODEL...]
//   orvex --help | --version
#include <string>
#include <vector>

struct CommandLine {
    bool help = false;
    bool version = false;
    std::string screenshot;            // the picture to write; empty: run the window
    int width = 0;                     // --size, the picture's size; 0 x 0: the window's own
    int height = 0;
    int frames = 2;                    // --frames, frames drawn before the picture is taken
    std::vector<std::string> models;   // model files to show instead of the default level
};

// Splits the line into arguments the way Windows programs do: blanks separate them, double
// quotes group blanks into one; backslashes are literal except before a quote, where each pair
// gives one backslash and an odd one makes the quote literal.
std::vector<std::string> SplitCommandLine(const char* line);

// Reads the options into out. False, with *error saying what is wrong, for an unknown option,
// an option without its value, a size that is not WxH (1..16384 each), a frame count outside
// 1..10000, or --size / --frames without --screenshot.
bool ParseCommandLine(const char* line, CommandLine* out, std::string* error);

// The usage text of --help.
extern const char kUsage[];
// What a run without a display and without --screenshot prints before it exits with 2.
extern const char kNoDisplayHint[];
