#pragma once
// For end-to-end tests of real programs in an X server of the test's own: conditions waited for
// with a deadline, windows found by title, pictures read back, frames counted, keys held until a
// frame shows them, and windows closed as a window manager closes them.
#include <X11/Xlib.h>
#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

#include "xvfb_server.h"

namespace xvfb_test {

// An X server of the test's own.
using Xvfb = Xvfb_Server;

// Asks done() every few milliseconds until it holds or timeoutMs have passed; its last answer.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs);

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
// A picture file (PNG, BMP, ...) as ImageMagick's convert reads it; empty when it failed.
Image ReadPicture(const std::string& file);

// A window of a test's display whose frames are counted (each picture the program puts on it
// damages it), whose contents are read back, and which takes keys through XTest. Turns the
// server's auto-repeat off, so that a held key is one key press.
class WatchedWindow {
public:
    // An empty problem() when the display has the DAMAGE and XTEST extensions.
    WatchedWindow(Display* display, Window window);
    ~WatchedWindow();
    const std::string& problem() const { return problem_; }

    // The window's contents as the server holds them; empty when the window is gone.
    Image Grab() const;
    // Waits until the program has put count more pictures on the window; false after timeoutMs.
    bool WaitFrames(int count, int timeoutMs = 20000);
    // Grabs after each new frame until shown(picture) holds; the last picture, empty on timeout.
    Image GrabWhen(const std::function<bool(const Image&)>& shown, int timeoutMs = 20000);
    // Gives the window the keyboard focus (there is no window manager to give it) and holds keys
    // (X key names joined by '+': "Up", "shift+minus") down until a frame satisfies shown, then
    // lets go; that frame, or an empty picture when none did within timeoutMs. For keys whose
    // effect goes on while they are held.
    Image HoldUntil(const std::string& keys, const std::function<bool(const Image&)>& shown,
                    int timeoutMs = 20000);
    // One key press as a frame of the program sees it: down for two pictures, up, and the next
    // frames watched for shown. The program reads its input once a frame, after a picture: the
    // frame between the two pictures finds the key down however slow the frames are, and the
    // key goes up as that frame's picture comes. A press the program ignored for its pace (a
    // second camera switch within 360 ms) is repeated for up to 5 s.
    Image Press(const std::string& keys, const std::function<bool(const Image&)>& shown);

private:
    Display* display_;
    Window window_;
    unsigned long damage_ = 0;
    int damageEvent_ = 0;
    std::string problem_;

    void Keys(const std::vector<unsigned char>& codes, bool down);

    WatchedWindow(const WatchedWindow&) = delete;
    WatchedWindow& operator=(const WatchedWindow&) = delete;
};

}  // namespace xvfb_test
