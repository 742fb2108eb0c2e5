#pragma once
// For end-to-end tests of the real viewer: an X server of the test's own, the viewer started in
// a folder, its window found by title, screenshots, keys typed and the window closed as a window
// manager would close it.
#include <X11/Xlib.h>
#include <sys/types.h>

#include <string>
#include <vector>

#include "xvfb_server.h"

namespace xvfb_test {

// An X server of the test's own.
using Xvfb = Xvfb_Server;

void SleepMs(int ms);

// Starts the viewer binary with folder as its working directory on display, with these
// arguments. Returns its pid.
pid_t StartViewer(const std::string& viewer, const std::string& folder, const std::string& display,
                  const std::vector<std::string>& args = {});
// Waits up to timeoutMs for the child to end; true with its status when it did.
bool WaitForExit(pid_t pid, int timeoutMs, int* status);

// The first window below parent (depth first) whose name is title, or 0.
Window FindWindowTitled(Display* display, Window parent, const std::string& title);
// Waits up to timeoutMs for a window of that title.
Window WaitForWindow(Display* display, const std::string& title, int timeoutMs);
// Sends the window WM_DELETE_WINDOW, as a window manager's close button does.
void SendClose(Display* display, Window window);

struct Image {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
    const unsigned char* At(int x, int y) const { return &rgb[(size_t(y) * width + x) * 3]; }
    // How many pixels of the rectangle [x0, x1) x [y0, y1) differ from other's.
    int Differences(const Image& other, int x0, int y0, int x1, int y1) const;
};
// The window's contents as ImageMagick's import sees them, through a binary PPM in file. An
// empty image when it failed.
Image Screenshot(const std::string& display, Window window, const std::string& file);
// A picture file (PNG, BMP, ...) as ImageMagick's convert reads it; empty when it failed.
Image ReadPicture(const std::string& file);

// Gives the window the keyboard focus (there is no window manager to do it) and holds key (an
// X key name: "Up", "Tab") down for holdMs, through xdotool.
void HoldKey(const std::string& display, Window window, const std::string& key, int holdMs);

}  // namespace xvfb_test
