// The console in the running viewer: orvex on the default level in a copy of data/ under Xvfb,
// opened, typed into and closed with real key presses, watched through screenshots and LOG.dr.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "foundation/dynamic_row.h"
#include "xvfb_support.h"

using namespace xvfb_test;

namespace {

const char kTitle[] = "|Orvex|0.0.4|June 1|";

// Where the console's windows lie in the client area, and a spot of each that no text covers.
const int kPanelSpotX = 520, kPanelSpotY = 40;       // the log panel, right of its lines
const int kInputSpotX = 20, kInputSpotY = 203;       // the input line, left of its text
const int kPanelTop = 30, kPanelBottom = 180, kPanelLeft = 9, kPanelRight = 524;
const int kSceneTop = 240;                           // below both windows
// How long each key is held: several frames even on a loaded machine (the viewer reads the
// keyboard state once per frame), well below the server's auto-repeat delay.
const int kHoldMs = 250;

bool Near(const unsigned char* rgb, int r, int g, int b)
{
    return abs(rgb[0] - r) <= 8 && abs(rgb[1] - g) <= 8 && abs(rgb[2] - b) <= 8;
}

// Pixels of the scene area in the clear colour (100, 130, 170).
int BackgroundPixels(const Image& image)
{
    int count = 0;
    for (int y = kSceneTop; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            count += Near(image.At(x, y), 100, 130, 170);
    return count;
}

std::vector<std::string> LogLines(const std::string& path)
{
    DynamicRow log;
    std::vector<std::string> lines;
    if (!log.iLoadFromFile(path.c_str()))
        return lines;
    unsigned knot = log.iLookId("LOG");
    for (unsigned id = log.TopId(knot); id; id = log.NextId(id))
        lines.push_back(log.iLookName(id).getChars());
    return lines;
}

int LinesContaining(const std::vector<std::string>& lines, const std::string& part)
{
    int count = 0;
    for (const std::string& line : lines)
        count += line.find(part) != std::string::npos;
    return count;
}

class ViewerConsole : public ::testing::Test {
protected:
    void SetUp() override
    {
        namespace fs = std::filesystem;
        ASSERT_FALSE(xvfb.display().empty()) << "Xvfb did not start";
        char pattern[] = "/tmp/orvex_console_e2e_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        fs::copy(fs::path(ORVEX_SOURCE_DIR) / "data", folder,
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        fs::remove(fs::path(folder) / "LOG.dr");
        display = XOpenDisplay(xvfb.display().c_str());
        ASSERT_NE(display, nullptr);
        viewer = StartViewer(ORVEX_VIEWER, folder, xvfb.display());
        window = WaitForWindow(display, kTitle, 30000);
        ASSERT_NE(window, 0u) << "no window titled " << kTitle;
    }
    void TearDown() override
    {
        if (viewer > 0 && !ended) {
            kill(viewer, SIGKILL);
            waitpid(viewer, nullptr, 0);
        }
        if (display)
            XCloseDisplay(display);
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    Image Shot()
    {
        SleepMs(300);
        return Screenshot(xvfb.display(), window, folder + "/shot.ppm");
    }
    // A person's key press: down long enough for a frame to see it, then up.
    void Press(const std::string& key) { HoldKey(xvfb.display(), window, key, kHoldMs); }
    void Type(const std::string& text)
    {
        for (char c : text) {
            if (c == '_')
                Press("shift+minus");
            else if (c == ' ')
                Press("space");
            else if (c == '.')
                Press("period");
            else
                Press(std::string(1, c));
        }
        Press("Return");
    }
    // Screenshots until one satisfies ready or deadlineMs have passed; the last one taken.
    template <typename Ready>
    Image WaitForShot(Ready ready, int deadlineMs = 20000)
    {
        Image image;
        for (int waited = 0; waited <= deadlineMs; waited += 100) {
            image = Screenshot(xvfb.display(), window, folder + "/shot.ppm");
            if (image.width > kPanelRight && image.height > kSceneTop && ready(image))
                break;
            SleepMs(100);
        }
        return image;
    }
    // The height of the log view's thumb: the middle row of its dark pixels in the thumb's
    // column, or -1 when none is there.
    static int ThumbRow(const Image& image)
    {
        int first = -1, last = -1;
        if (image.width <= kPanelRight || image.height <= kPanelBottom)
            return -1;
        for (int y = kPanelTop; y < kPanelBottom; ++y)
            if (Near(image.At(kPanelRight - 8, y), 45, 45, 55)) {
                if (first < 0)
                    first = y;
                last = y;
            }
        return first < 0 ? -1 : (first + last) / 2;
    }
    void Close()
    {
        SendClose(display, window);
        int status = 0;
        ended = WaitForExit(viewer, 20000, &status);
        ASSERT_TRUE(ended) << "the viewer did not end after its window was closed";
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }

    Xvfb xvfb;
    std::string folder;
    Display* display = nullptr;
    pid_t viewer = -1;
    Window window = 0;
    bool ended = false;
};

TEST_F(ViewerConsole, GraveOpensTheConsoleTypedCommandsRunAndGraveClosesIt)
{
    SleepMs(1000);
    Image hidden = Shot();
    ASSERT_GT(hidden.width, kPanelRight);
    ASSERT_GT(hidden.height, kSceneTop + 100);
    EXPECT_FALSE(Near(hidden.At(kInputSpotX, kInputSpotY), 250, 250, 100));

    Press("grave");
    Image shown = Shot();
    EXPECT_TRUE(Near(shown.At(kPanelSpotX, kPanelSpotY), 150, 150, 150)) << "no log panel";
    EXPECT_TRUE(Near(shown.At(kInputSpotX, kInputSpotY), 250, 250, 100)) << "no input line";
    EXPECT_GT(BackgroundPixels(shown), BackgroundPixels(hidden) + 1000)
        << "the scene is not drawn in wireframe";

    Type("obj_mngr show.list");
    Image listed = Shot();
    EXPECT_GT(listed.Differences(shown, kPanelLeft, kPanelTop, kPanelRight, kPanelBottom), 100)
        << "the log view did not change";

    Type("cam_mngr camera.next");
    SleepMs(300);
    // Closing right after typing: a key-down lets the console key through at once.
    Press("grave");
    Image closed = Shot();
    EXPECT_FALSE(Near(closed.At(kInputSpotX, kInputSpotY), 250, 250, 100)) << "still open";
    EXPECT_GT(closed.Differences(hidden, 0, 4, 400, 15), 0) << "the camera line did not change";
    Close();

    std::vector<std::string> log = LogLines(folder + "/LOG.dr");
    ASSERT_FALSE(log.empty()) << "no LOG.dr";
    EXPECT_GE(LinesContaining(log, "] id:1  visible:1  file:"), 1);
    EXPECT_EQ(LinesContaining(log, "] Currient camera was changed to: camera"), 1);
    EXPECT_EQ(LinesContaining(log, "obj_mngr"), 0) << "a command was echoed as unknown";
}

TEST_F(ViewerConsole, UpRecallsTheTypedLineAndTheWheelScrollsTheLog)
{
    auto open = [](const Image& i) {
        return i.width > kPanelRight && Near(i.At(kInputSpotX, kInputSpotY), 250, 250, 100);
    };
    Image shown;
    for (int tries = 0; tries < 5 && !open(shown); ++tries) {
        Press("grave");
        shown = WaitForShot(open, 3000);
    }
    ASSERT_TRUE(open(shown)) << "the console did not open";

    Type("console recalled");
    const Image empty = WaitForShot([&](const Image& i) {
        return i.Differences(shown, kPanelLeft, kPanelTop, kPanelRight, kPanelBottom) > 0;
    });
    Press("Up");
    const Image recalled = WaitForShot([&](const Image& i) {
        return i.Differences(empty, kPanelLeft, kInputSpotY - 3, 224, kInputSpotY + 14) > 20;
    });
    EXPECT_GT(recalled.Differences(empty, kPanelLeft, kInputSpotY - 3, 224, kInputSpotY + 14), 20)
        << "Up left the input line empty";
    Press("Return");

    const int thumb = ThumbRow(recalled);
    ASSERT_GT(thumb, kPanelTop) << "no thumb in the log view";
    const std::string xdotool = "DISPLAY=" + xvfb.display() + " xdotool ";
    const std::string wheel = xdotool + "mousemove --window " + std::to_string(window) +
                              " 300 100 click 4 >/dev/null 2>&1";
    ASSERT_EQ(system(wheel.c_str()), 0);
    const Image scrolled = WaitForShot([&](const Image& i) { return ThumbRow(i) < thumb; });
    EXPECT_LT(ThumbRow(scrolled), thumb) << "the thumb did not move up";
    EXPECT_GT(scrolled.Differences(recalled, kPanelLeft + 12, kPanelTop, kPanelRight - 15,
                                   kPanelBottom), 100)
        << "the log's lines did not move";
    Close();

    // The line ran twice: its echo ends the log twice (a key lost on a loaded machine changes
    // the echo, not its repetition).
    std::vector<std::string> log = LogLines(folder + "/LOG.dr");
    ASSERT_GE(log.size(), 2u);
    const std::string last = log.back(), before = log[log.size() - 2];
    EXPECT_EQ(before.substr(before.find("] ")), last.substr(last.find("] ")));
    EXPECT_NE(last.find("re"), std::string::npos) << last;
}

}  // namespace
