// The real viewer in a real X server: orvex in a copy of data/ under Xvfb, a screenshot taken
// with ImageMagick's import, the window closed as a window manager would close it.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core_test_support.h"
#include "foundation/dynamic_row.h"

namespace {

const char kTitle[] = "|Orvex|0.0.4|June 1|";

void SleepMs(int ms)
{
    struct timespec t = {ms / 1000, (ms % 1000) * 1000000L};
    nanosleep(&t, nullptr);
}

// An Xvfb of its own, on the display number it picks (-displayfd), stopped at the end.
class Xvfb {
public:
    Xvfb()
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            close(fds[0]);
            std::string fd = std::to_string(fds[1]);
            int devnull = open("/dev/null", O_WRONLY);
            dup2(devnull, 2);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24",
                   "-nolisten", "tcp", (char*)nullptr);
            _exit(127);
        }
        close(fds[1]);
        char buffer[32] = {0};
        ssize_t n = read(fds[0], buffer, sizeof buffer - 1);
        close(fds[0]);
        if (n > 0)
            display_ = ":" + std::string(buffer, strcspn(buffer, "\n"));
    }
    ~Xvfb()
    {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

Window FindWindowTitled(Display* display, Window parent, const std::string& title)
{
    Window root, parentOut, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, parent, &root, &parentOut, &children, &count))
        return 0;
    Window found = 0;
    for (unsigned int i = 0; i < count && !found; ++i) {
        char* name = nullptr;
        if (XFetchName(display, children[i], &name) && name) {
            if (title == name)
                found = children[i];
            XFree(name);
        }
        if (!found)
            found = FindWindowTitled(display, children[i], title);
    }
    if (children)
        XFree(children);
    return found;
}

struct Image {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
    const unsigned char* At(int x, int y) const { return &rgb[(size_t)(y * width + x) * 3]; }
};

// The window's contents as ImageMagick's import sees them, read back from a binary PPM.
Image Screenshot(const std::string& display, Window window, const std::string& file)
{
    Image image;
    std::string command = "import -display " + display + " -window " + std::to_string(window) +
                          " -depth 8 ppm:" + file + " 2>/dev/null";
    if (system(command.c_str()) != 0)
        return image;
    std::ifstream in(file, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    in >> magic >> image.width >> image.height >> maxValue;
    in.get();
    if (magic != "P6" || maxValue != 255)
        return Image();
    image.rgb.resize((size_t)image.width * image.height * 3);
    in.read((char*)image.rgb.data(), (std::streamsize)image.rgb.size());
    return image;
}

void SendClose(Display* display, Window window)
{
    XEvent event;
    memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

bool WaitForExit(pid_t pid, int timeoutMs, int* status)
{
    for (int waited = 0; waited < timeoutMs; waited += 50) {
        if (waitpid(pid, status, WNOHANG) == pid)
            return true;
        SleepMs(50);
    }
    return false;
}

TEST(ViewerE2ETest, ShowsClearColourAndOverlayThenSavesTheLogOnClose)
{
    Xvfb xvfb;
    ASSERT_FALSE(xvfb.display().empty()) << "Xvfb did not start";

    namespace fs = std::filesystem;
    std::string folder = orvex_test::MakeScratchFolder("e2e");
    fs::copy(fs::path(ORVEX_SOURCE_DIR) / "data", folder,
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    fs::remove(fs::path(folder) / "LOG.dr");
    // The clear colour is the settings' own; the rest of data/ is the default level.
    orvex_test::WriteFile(folder + "/ini.txt",
                          "SCREEN = 800, 600\nBACK_RENDERER_COLOR = 40, 90, 200\n");

    pid_t viewer = fork();
    if (viewer == 0) {
        if (chdir(folder.c_str()) != 0)
            _exit(126);
        setenv("DISPLAY", xvfb.display().c_str(), 1);
        execl(ORVEX_VIEWER, ORVEX_VIEWER, (char*)nullptr);
        _exit(127);
    }

    Display* display = XOpenDisplay(xvfb.display().c_str());
    ASSERT_NE(display, nullptr);
    Window window = 0;
    for (int waited = 0; waited < 30000 && !window; waited += 100) {
        window = FindWindowTitled(display, DefaultRootWindow(display), kTitle);
        if (!window)
            SleepMs(100);
    }
    if (!window)
        kill(viewer, SIGKILL);
    ASSERT_NE(window, 0u) << "no window titled " << kTitle;

    // Let it draw frames, then look: the overlay's first line starts at (5, 5) in white.
    Image image;
    bool clearSeen = false, whiteSeen = false;
    for (int attempt = 0; attempt < 20 && !(clearSeen && whiteSeen); ++attempt) {
        SleepMs(500);
        image = Screenshot(xvfb.display(), window, folder + "/shot.ppm");
        if (image.width < 100 || image.height < 100)
            continue;
        clearSeen = whiteSeen = false;
        for (int y = 4; y < 20 && !whiteSeen; ++y)
            for (int x = 4; x < 120 && !whiteSeen; ++x) {
                const unsigned char* p = image.At(x, y);
                whiteSeen = p[0] > 230 && p[1] > 230 && p[2] > 230;
            }
        // Somewhere along the top right, above the scene, the clear colour shows.
        for (int x = image.width / 2; x < image.width - 2 && !clearSeen; x += 7) {
            const unsigned char* p = image.At(x, 70);
            clearSeen = abs(p[0] - 40) <= 2 && abs(p[1] - 90) <= 2 && abs(p[2] - 200) <= 2;
        }
    }
    EXPECT_EQ(image.width, 800 - 16);
    EXPECT_EQ(image.height, 600 - 39);
    EXPECT_TRUE(clearSeen) << "the clear colour 40, 90, 200 is not on screen";
    EXPECT_TRUE(whiteSeen) << "no white overlay text near (5, 5)";

    SendClose(display, window);
    int status = 0;
    bool ended = WaitForExit(viewer, 20000, &status);
    if (!ended) {
        kill(viewer, SIGKILL);
        waitpid(viewer, &status, 0);
    }
    XCloseDisplay(display);
    ASSERT_TRUE(ended) << "the viewer did not end after its window was closed";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;

    DynamicRow log;
    ASSERT_TRUE(log.iLoadFromFile((folder + "/LOG.dr").c_str()));
    std::vector<std::string> lines;
    unsigned int knot = log.iLookId("LOG");
    for (unsigned int id = log.TopId(knot); id; id = log.NextId(id))
        lines.push_back(log.iLookName(id).getChars());
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0].rfind("[Currient date: ", 0), 0u);
    auto stamped = [](const std::string& line, const std::string& text) {
        size_t close = line.find("] ");
        return line[0] == '[' && close != std::string::npos && line.substr(close + 2) == text;
    };
    EXPECT_TRUE(stamped(lines[1], "[>>>] Initializing rendering manager : ")) << lines[1];
    int level = -1;
    for (size_t i = 0; i < lines.size(); ++i)
        if (stamped(lines[i], "[>>>] Loading level : POLYGON01"))
            level = (int)i;
    ASSERT_GT(level, 1);
    // The render manager's summary comes right before the level.
    EXPECT_NE(lines[level - 1].find("] Rendering manager inicialized with "), std::string::npos)
        << lines[level - 1];
}

}  // namespace
