#include "xvfb_support.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

namespace xvfb_test {

namespace {

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point deadline)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? int(left.count()) : 0;
}

// A window that vanished or is not mapped yet is a result to report, not a reason to exit.
int IgnoreError(Display*, XErrorEvent*) { return 0; }

std::vector<KeyCode> KeyCodes(Display* display, const std::string& keys)
{
    std::vector<KeyCode> codes;
    for (size_t start = 0; start <= keys.size();) {
        size_t end = keys.find('+', start);
        if (end == std::string::npos) end = keys.size();
        std::string name = keys.substr(start, end - start);
        KeySym sym = name == "shift" ? XStringToKeysym("Shift_L") : XStringToKeysym(name.c_str());
        codes.push_back(XKeysymToKeycode(display, sym));
        start = end + 1;
    }
    return codes;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& done, int timeoutMs)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

pid_t StartViewer(const std::string& viewer, const std::string& folder, const std::string& display,
                  const std::vector<std::string>& args)
{
    std::vector<char*> argv{const_cast<char*>(viewer.c_str())};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);  // a test that dies leaves no viewer behind
        if (chdir(folder.c_str()) != 0) _exit(126);
        setenv("DISPLAY", display.c_str(), 1);
        execv(viewer.c_str(), argv.data());
        _exit(127);
    }
    return pid;
}

bool WaitForExit(pid_t pid, int timeoutMs, int* status)
{
    return WaitUntil([&] { return waitpid(pid, status, WNOHANG) == pid; }, timeoutMs);
}

Window FindWindowTitled(Display* display, Window parent, const std::string& title)
{
    Window root, parentOut, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, parent, &root, &parentOut, &children, &count)) return 0;
    Window found = 0;
    for (unsigned int i = 0; i < count && !found; ++i) {
        char* name = nullptr;
        if (XFetchName(display, children[i], &name) && name) {
            if (title == name) found = children[i];
            XFree(name);
        }
        if (!found) found = FindWindowTitled(display, children[i], title);
    }
    if (children) XFree(children);
    return found;
}

Window WaitForWindow(Display* display, const std::string& title, int timeoutMs)
{
    XSetErrorHandler(IgnoreError);  // windows come and go while the tree is walked
    Window window = 0;
    WaitUntil([&] { return (window = FindWindowTitled(display, DefaultRootWindow(display), title)) != 0; },
              timeoutMs);
    return window;
}

void SendClose(Display* display, Window window)
{
    XEvent event;
    memset(&event, 0, sizeof(event));
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

int Image::Differences(const Image& other, int x0, int y0, int x1, int y1) const
{
    if (width != other.width || height != other.height) return -1;
    int count = 0;
    for (int y = y0; y < y1 && y < height; ++y)
        for (int x = x0; x < x1 && x < width; ++x)
            if (memcmp(At(x, y), other.At(x, y), 3) != 0) ++count;
    return count;
}

Image ReadPicture(const std::string& file)
{
    Image image;
    const std::string ppm = file + ".ppm";
    const std::string command = "convert '" + file + "' -depth 8 ppm:'" + ppm + "' 2>/dev/null";
    if (system(command.c_str()) != 0) return image;
    std::ifstream in(ppm, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    in >> magic >> image.width >> image.height >> maxValue;
    in.get();
    if (magic != "P6" || maxValue != 255) return Image();
    image.rgb.resize(size_t(image.width) * image.height * 3);
    in.read(reinterpret_cast<char*>(image.rgb.data()), std::streamsize(image.rgb.size()));
    return in ? image : Image();
}

WatchedWindow::WatchedWindow(Display* display, Window window) : display_(display), window_(window)
{
    XSetErrorHandler(IgnoreError);
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XDamageQueryExtension(display, &damageEvent_, &error))
        problem_ = "the X server has no DAMAGE extension";
    else if (!XTestQueryExtension(display, &event, &error, &major, &minor))
        problem_ = "the X server has no XTEST extension";
    else
        damage_ = XDamageCreate(display, window, XDamageReportRawRectangles);
    XAutoRepeatOff(display);
    XSync(display, False);
}

WatchedWindow::~WatchedWindow()
{
    if (damage_) XDamageDestroy(display_, damage_);
    XSync(display_, False);
}

Image WatchedWindow::Grab() const
{
    Image image;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display_, window_, &attributes)) return image;
    XImage* shot = XGetImage(display_, window_, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!shot) return image;
    image.width = attributes.width;
    image.height = attributes.height;
    image.rgb.resize(size_t(image.width) * image.height * 3);
    const unsigned long masks[3] = {shot->red_mask, shot->green_mask, shot->blue_mask};
    unsigned char* out = image.rgb.data();
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const unsigned long pixel = XGetPixel(shot, x, y);
            for (unsigned long mask : masks) *out++ = (unsigned char)((pixel & mask) >> __builtin_ctzl(mask));
        }
    XDestroyImage(shot);
    return image;
}

bool WatchedWindow::WaitFrames(int count, int timeoutMs)
{
    if (!damage_) return false;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    // The round trip brings in every report of pictures put before now; they are forgotten.
    XSync(display_, False);
    XEvent event;
    while (XPending(display_)) XNextEvent(display_, &event);
    // A picture may come in strips: a frame is counted once the damage adds up to the window.
    long covered = 0;
    for (int seen = 0; seen < count;) {
        while (seen < count && XPending(display_)) {
            XNextEvent(display_, &event);
            if (event.type != damageEvent_ + XDamageNotify) continue;
            const XDamageNotifyEvent& damage = reinterpret_cast<XDamageNotifyEvent&>(event);
            covered += long(damage.area.width) * damage.area.height;
            if (covered >= long(damage.geometry.width) * damage.geometry.height) {
                ++seen;
                covered = 0;
            }
        }
        pollfd fd = {ConnectionNumber(display_), POLLIN, 0};
        if (seen < count && (MsLeft(deadline) == 0 || poll(&fd, 1, MsLeft(deadline)) <= 0)) return false;
    }
    return true;
}

Image WatchedWindow::GrabWhen(const std::function<bool(const Image&)>& shown, int timeoutMs)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (WaitFrames(1, MsLeft(deadline))) {
        Image image = Grab();
        if (image.width > 0 && shown(image)) return image;
    }
    return Image();
}

void WatchedWindow::Keys(const std::vector<unsigned char>& codes, bool down)
{
    if (down) XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
    if (down)
        for (KeyCode code : codes) XTestFakeKeyEvent(display_, code, True, CurrentTime);
    else
        for (auto code = codes.rbegin(); code != codes.rend(); ++code) XTestFakeKeyEvent(display_, *code, False, CurrentTime);
    XSync(display_, False);
}

Image WatchedWindow::HoldUntil(const std::string& keys, const std::function<bool(const Image&)>& shown, int timeoutMs)
{
    const std::vector<KeyCode> codes = KeyCodes(display_, keys);
    Keys(codes, true);
    Image image = GrabWhen(shown, timeoutMs);
    Keys(codes, false);
    return image;
}

Image WatchedWindow::Press(const std::string& keys, const std::function<bool(const Image&)>& shown)
{
    const std::vector<KeyCode> codes = KeyCodes(display_, keys);
    // Repeats for a time, not a number of tries: at a high frame rate many tries fit in the
    // 360 ms a camera switch ignores further presses.
    const auto deadline = Clock::now() + std::chrono::milliseconds(5000);
    while (Clock::now() < deadline) {
        Keys(codes, true);
        const bool framed = WaitFrames(2);
        Keys(codes, false);
        for (int frame = 0; framed && frame < 3 && WaitFrames(1); ++frame) {
            Image image = Grab();
            if (image.width > 0 && shown(image)) return image;
        }
    }
    return Image();
}

}  // namespace xvfb_test
