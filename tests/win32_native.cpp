// The native Win32 in a real X server: a program of our own (win32_native_probe) opens its
// window in Xvfb, xdotool types into it, an X client closes it, and its output says what the
// program saw.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "scratch_dir.h"
#include "xvfb_support.h"

namespace {

// A child process whose standard output and error go to files of a scratch folder, read by the
// test as they grow.
class Child {
public:
    Child(std::vector<std::string> argv, const std::vector<std::string>& env_overrides) {
        pid = fork();
        if (pid != 0) return;
        for (const std::string& o : env_overrides) {
            const size_t equals = o.find('=');
            if (equals + 1 == o.size()) unsetenv(o.substr(0, equals).c_str());  // "NAME=" removes NAME
            else setenv(o.substr(0, equals).c_str(), o.c_str() + equals + 1, 1);
        }
        dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
        dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
        std::vector<char*> cargv;
        for (auto& a : argv) cargv.push_back(&a[0]);
        cargv.push_back(nullptr);
        execv(cargv[0], cargv.data());
        _exit(127);
    }
    ~Child() {
        if (pid > 0 && !exited) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    bool Started() const { return pid > 0; }
    void Signal(int sig) { kill(pid, sig); }

    // The next whole line of standard output starting with prefix, or "" after seconds.
    std::string WaitLine(const std::string& prefix, double seconds = 10) {
        std::string found;
        xvfb_test::WaitUntil([&] {
            lines.clear();
            std::istringstream text(Read(out));
            for (std::string line; std::getline(text, line) && !text.eof();) lines.push_back(line);
            for (; next < lines.size() && found.empty(); ++next)
                if (lines[next].compare(0, prefix.size(), prefix) == 0) found = lines[next];
            return !found.empty();
        }, int(seconds * 1000));
        return found;
    }
    // Waits for the process to end; the exit code, or -1 on timeout or a signal.
    int Wait(double seconds = 10) {
        int status = 0;
        exited = xvfb_test::WaitForExit(pid, int(seconds * 1000), &status);
        return exited && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    const std::vector<std::string>& Lines() const { return lines; }
    std::string Errors() const { return Read(err); }

private:
    static std::string Read(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    orvex_test::ScratchDir scratch{"orvex_win32_native"};
    const std::string out = scratch.File("out"), err = scratch.File("err");
    pid_t pid = -1;
    bool exited = false;
    size_t next = 0;
    std::vector<std::string> lines;
};

std::string run(const std::string& display, const std::string& command) {
    std::string full = "DISPLAY=" + display + " " + command + " 2>/dev/null";
    FILE* p = popen(full.c_str(), "r");
    if (!p) return "";
    std::string out;
    char buf[512];
    while (fgets(buf, sizeof buf, p)) out += buf;
    pclose(p);
    while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
    return out;
}

// The top-level window whose _NET_WM_NAME is name (UTF-8), waiting up to seconds for it. The
// message box's WM_NAME is UTF-8 too, which XFetchName does not give back, so the name is read
// from _NET_WM_NAME.
unsigned long find_window(const std::string& display, const std::string& name, int timeoutMs = 10000) {
    Display* d = XOpenDisplay(display.c_str());
    if (!d) return 0;
    Atom net_name = XInternAtom(d, "_NET_WM_NAME", False);
    Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    unsigned long found = 0;
    xvfb_test::WaitUntil([&] {
        Window root_return, parent, *children = nullptr;
        unsigned int count = 0;
        XQueryTree(d, DefaultRootWindow(d), &root_return, &parent, &children, &count);
        for (unsigned int i = 0; i < count && !found; ++i) {
            Atom type;
            int format;
            unsigned long items, after;
            unsigned char* value = nullptr;
            if (XGetWindowProperty(d, children[i], net_name, 0, 1024, False, utf8, &type, &format, &items,
                                   &after, &value) == Success && value) {
                if (name == reinterpret_cast<char*>(value)) found = children[i];
                XFree(value);
            }
        }
        if (children) XFree(children);
        return found != 0;
    }, timeoutMs);
    XCloseDisplay(d);
    return found;
}

// What the close button does under a window manager: the WM_DELETE_WINDOW client message.
bool send_delete_window(const std::string& display, unsigned long window) {
    Display* d = XOpenDisplay(display.c_str());
    if (!d) return false;
    xvfb_test::SendClose(d, window);
    XCloseDisplay(d);
    return true;
}

const std::string probe = ORVEX_BINARY_DIR "/tests/win32_native_probe";

class Win32Native : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(x.display().empty()) << "Xvfb did not start: is the package xvfb installed?";
        ASSERT_EQ(system("command -v xdotool >/dev/null"), 0) << "xdotool is missing: install the package xdotool";
    }
    // Starts the probe with a window of this outer size and waits until it is shown.
    std::unique_ptr<Child> OpenWindow(int w, int h, unsigned long* window_id) {
        auto child = std::make_unique<Child>(
            std::vector<std::string>{probe, "window", std::to_string(w), std::to_string(h)},
            std::vector<std::string>{"DISPLAY=" + x.display(), "SDL_VIDEODRIVER="});
        EXPECT_TRUE(child->Started());
        EXPECT_NE(child->WaitLine("shown"), "") << child->Errors();
        *window_id = find_window(x.display(), "|Probe|Проба|");
        EXPECT_NE(*window_id, 0u);
        return child;
    }
    std::vector<std::string> KeyLines(Child& c, size_t count) {
        std::vector<std::string> out;
        while (out.size() < count) {
            std::string line = c.WaitLine("KEY", 5);
            if (line.empty()) break;
            out.push_back(line);
        }
        return out;
    }
    xvfb_test::Xvfb x;
};

TEST_F(Win32Native, WindowHasItsTitleAndTheClientSizeOfItsOuterSize) {
    unsigned long id = 0;
    auto child = OpenWindow(800, 600, &id);
    ASSERT_NE(id, 0u);
    EXPECT_EQ(run(x.display(), "xdotool getwindowname " + std::to_string(id)), "|Probe|Проба|");
    std::string geometry = run(x.display(), "xdotool getwindowgeometry " + std::to_string(id));
    EXPECT_NE(geometry.find("Geometry: 784x561"), std::string::npos) << geometry;
    EXPECT_NE(geometry.find("Position: 8,31"), std::string::npos) << geometry;
    EXPECT_EQ(child->Lines().front(), "shown client=784x561 dpi=96");
    ASSERT_TRUE(send_delete_window(x.display(), id));
    EXPECT_EQ(child->Wait(), 0);
}

TEST_F(Win32Native, WindowSizesNoWindowCanHaveAreClamped) {
    struct Case { int w, h; const char* line; } cases[] = {{0, 0, "shown client=1x1"},
                                                           {-5, 40000, "shown client=1x16384"}};
    for (const Case& c : cases) {
        unsigned long id = 0;
        auto child = OpenWindow(c.w, c.h, &id);
        ASSERT_FALSE(child->Lines().empty());
        EXPECT_EQ(child->Lines().front().compare(0, strlen(c.line), c.line), 0) << child->Lines().front();
        ASSERT_TRUE(send_delete_window(x.display(), id));
        EXPECT_EQ(child->Wait(), 0);
    }
}

TEST_F(Win32Native, TypedKeysArriveAsKeyDownsWithVirtualKeyCodesAndKeyboardState) {
    unsigned long id = 0;
    auto child = OpenWindow(640, 480, &id);
    ASSERT_NE(id, 0u);
    std::string w = std::to_string(id);
    run(x.display(), "timeout 10 xdotool windowfocus --sync " + w);
    run(x.display(), "xdotool key a shift+a grave KP_Add minus equal period comma Tab Return BackSpace space Up");
    std::vector<std::string> keys = KeyLines(*child, 28);
    std::vector<std::string> downs;
    for (const std::string& k : keys)
        if (k.compare(0, 7, "KEYDOWN") == 0) downs.push_back(k.substr(8, 7));
    EXPECT_EQ(downs, (std::vector<std::string>{"vk=0x41", "vk=0x10", "vk=0x41", "vk=0xC0", "vk=0x6B",
                                                "vk=0xBD", "vk=0xBB", "vk=0xBE", "vk=0xBC", "vk=0x09",
                                                "vk=0x0D", "vk=0x08", "vk=0x20", "vk=0x26"}));
    ASSERT_GE(keys.size(), 4u);
    EXPECT_EQ(keys[0], "KEYDOWN vk=0x41 repeat=0 up=0 shift=0 lshift=0 rshift=0");
    EXPECT_EQ(keys[1], "KEYUP vk=0x41 repeat=1 up=1 shift=0 lshift=0 rshift=0");
    EXPECT_EQ(keys[2], "KEYDOWN vk=0x10 repeat=0 up=0 shift=1 lshift=1 rshift=0");
    EXPECT_EQ(keys[3], "KEYDOWN vk=0x41 repeat=0 up=0 shift=1 lshift=1 rshift=0");

    // The right shift is told apart from the left one, and VK_SHIFT is down while either is.
    // (xdotool holds the left shift around Shift_R as well.)
    run(x.display(), "xdotool keydown Shift_R keyup Shift_R");
    keys = KeyLines(*child, 4);
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_NE(std::find(keys.begin(), keys.end(), "KEYDOWN vk=0x10 repeat=0 up=0 shift=1 lshift=1 rshift=1"),
              keys.end());
    EXPECT_NE(std::find(keys.begin(), keys.end(), "KEYUP vk=0x10 repeat=1 up=1 shift=1 lshift=0 rshift=1"),
              keys.end());
    EXPECT_EQ(keys.back(), "KEYUP vk=0x10 repeat=1 up=1 shift=0 lshift=0 rshift=0");

    // A held key repeats: a second key-down with the previous-state bit set, then one key-up.
    run(x.display(), "xdotool keydown w");
    EXPECT_EQ(child->WaitLine("KEY"), "KEYDOWN vk=0x57 repeat=0 up=0 shift=0 lshift=0 rshift=0");
    EXPECT_EQ(child->WaitLine("KEY"), "KEYDOWN vk=0x57 repeat=1 up=0 shift=0 lshift=0 rshift=0");
    run(x.display(), "xdotool keyup w");
    std::string up;
    while ((up = child->WaitLine("KEY")).compare(0, 5, "KEYUP") != 0 && !up.empty()) {}
    EXPECT_EQ(up, "KEYUP vk=0x57 repeat=1 up=1 shift=0 lshift=0 rshift=0");

    ASSERT_TRUE(send_delete_window(x.display(), id));
    EXPECT_NE(child->WaitLine("WM_CLOSE"), "");
    EXPECT_NE(child->WaitLine("WM_DESTROY"), "");
    EXPECT_EQ(child->WaitLine("quit"), "quit code=0");
    EXPECT_EQ(child->Wait(), 0);
}

TEST_F(Win32Native, CursorFollowsThePointerWhileTheLeftButtonIsHeld) {
    unsigned long id = 0;
    auto child = OpenWindow(800, 600, &id);
    ASSERT_NE(id, 0u);
    std::string window = std::to_string(id);
    run(x.display(), "xdotool mousemove --window " + window + " 100 40 mousedown 1");
    EXPECT_EQ(child->WaitLine("LBUTTONDOWN"), "LBUTTONDOWN x=100 y=40 cursor=100,40");
    run(x.display(), "xdotool mousemove --window " + window + " 160 90");
    EXPECT_EQ(child->WaitLine("MOUSEMOVE x=160"), "MOUSEMOVE x=160 y=90 held=1 cursor=160,90");
    run(x.display(), "xdotool mouseup 1");
    ASSERT_TRUE(send_delete_window(x.display(), id));
    EXPECT_EQ(child->Wait(), 0);
}

TEST_F(Win32Native, TerminationRequestClosesTheWindowLikeItsCloseButton) {
    unsigned long id = 0;
    auto child = OpenWindow(640, 480, &id);
    ASSERT_NE(id, 0u);
    child->Signal(SIGTERM);
    EXPECT_NE(child->WaitLine("WM_CLOSE"), "");
    EXPECT_NE(child->WaitLine("WM_DESTROY"), "");
    EXPECT_EQ(child->Wait(), 0);
}

TEST_F(Win32Native, MessageBoxWritesToStandardErrorAndIsDismissedWithReturn) {
    Child child({probe, "msgbox"}, {"DISPLAY=" + x.display(), "SDL_VIDEODRIVER="});
    ASSERT_TRUE(child.Started());
    unsigned long id = find_window(x.display(), "Ошибка");
    ASSERT_NE(id, 0u) << "no message box window: SDL's X11 message box needs the X core fonts of the package "
                         "xfonts-base";
    // The box may take keys only a while after its window exists: Return until it answers.
    std::string pressed;
    for (int tries = 0; tries < 10 && pressed.empty(); ++tries) {
        run(x.display(), "timeout 10 xdotool windowfocus --sync " + std::to_string(id) + " key Return");
        pressed = child.WaitLine("pressed", 2);
    }
    EXPECT_EQ(pressed, "pressed=1");
    EXPECT_EQ(child.Wait(), 0);
    EXPECT_NE(child.Errors().find("Ошибка: | File loading failed! |ini.txt | "), std::string::npos)
        << child.Errors();
}

TEST(Win32NativeNoDisplay, MessageBoxOnlyWritesAndNeverBlocksAndAnUnreachableDisplayIsSaid) {
    const std::vector<std::string> displays[] = {{"DISPLAY=", "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER="},
                                                 {"DISPLAY=:65000", "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER="}};
    for (const auto& environment : displays) {
        Child child({probe, "msgbox"}, environment);
        ASSERT_TRUE(child.Started());
        EXPECT_EQ(child.WaitLine("pressed", 10), "pressed=1");
        EXPECT_EQ(child.Wait(), 0);
        EXPECT_NE(child.Errors().find("Ошибка: | File loading failed! |ini.txt | "), std::string::npos)
            << child.Errors();
        const bool said = child.Errors().find("The display \":65000\" cannot be reached") != std::string::npos;
        EXPECT_EQ(said, environment[0] == "DISPLAY=:65000") << child.Errors();
    }
}

}  // namespace
