#include "xvfb_support.h"

#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <fstream>

namespace xvfb_test {

void SleepMs(int ms) {
    struct timespec t = {ms / 1000, (ms % 1000) * 1000000L};
    nanosleep(&t, nullptr);
}

pid_t StartViewer(const std::string& viewer, const std::string& folder, const std::string& display,
                  const std::vector<std::string>& args) {
    std::vector<char*> argv{const_cast<char*>(viewer.c_str())};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folder.c_str()) != 0) _exit(126);
        setenv("DISPLAY", display.c_str(), 1);
        execv(viewer.c_str(), argv.data());
        _exit(127);
    }
    return pid;
}

bool WaitForExit(pid_t pid, int timeoutMs, int* status) {
    for (int waited = 0; waited < timeoutMs; waited += 50) {
        if (waitpid(pid, status, WNOHANG) == pid) return true;
        SleepMs(50);
    }
    return false;
}

Window FindWindowTitled(Display* display, Window parent, const std::string& title) {
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

Window WaitForWindow(Display* display, const std::string& title, int timeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 100) {
        Window window = FindWindowTitled(display, DefaultRootWindow(display), title);
        if (window) return window;
        SleepMs(100);
    }
    return 0;
}

void SendClose(Display* display, Window window) {
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

int Image::Differences(const Image& other, int x0, int y0, int x1, int y1) const {
    if (width != other.width || height != other.height) return -1;
    int count = 0;
    for (int y = y0; y < y1 && y < height; ++y)
        for (int x = x0; x < x1 && x < width; ++x)
            if (memcmp(At(x, y), other.At(x, y), 3) != 0) ++count;
    return count;
}

namespace {

Image ReadPpm(const std::string& command, const std::string& file) {
    Image image;
    if (system(command.c_str()) != 0) return image;
    std::ifstream in(file, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    in >> magic >> image.width >> image.height >> maxValue;
    in.get();
    if (magic != "P6" || maxValue != 255) return Image();
    image.rgb.resize(size_t(image.width) * image.height * 3);
    in.read(reinterpret_cast<char*>(image.rgb.data()), std::streamsize(image.rgb.size()));
    if (!in) return Image();
    return image;
}

}  // namespace

Image Screenshot(const std::string& display, Window window, const std::string& file) {
    return ReadPpm("import -display " + display + " -window " + std::to_string(window) + " -depth 8 ppm:" +
                       file + " 2>/dev/null",
                   file);
}

Image ReadPicture(const std::string& file) {
    return ReadPpm("convert '" + file + "' -depth 8 ppm:'" + file + ".ppm' 2>/dev/null", file + ".ppm");
}

void HoldKey(const std::string& display, Window window, const std::string& key, int holdMs) {
    const std::string prefix = "DISPLAY=" + display + " xdotool ";
    const std::string id = std::to_string(window);
    std::string focus = prefix + "windowfocus --sync " + id + " >/dev/null 2>&1";
    if (system(focus.c_str()) != 0) return;
    std::string down = prefix + "keydown " + key + " >/dev/null 2>&1";
    std::string up = prefix + "keyup " + key + " >/dev/null 2>&1";
    if (system(down.c_str()) != 0) return;
    SleepMs(holdMs);
    if (system(up.c_str()) != 0) return;
}

}  // namespace xvfb_test
