// The cameras in the running viewer: orvex on the default level in a copy of data/ under Xvfb,
// driven with real key presses and watched through screenshots.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>

#include "foundation/dynamic_row.h"
#include "xvfb_support.h"

using namespace xvfb_test;

namespace {

const char kTitle[] = "|Orvex|0.0.4|June 1|";

// The overlay's lines, drawn from x = 5: the first (the active camera) at y = 5, the third (the
// camera's position and look-at point) at y = 25; the scene lies below them.
const int kLineWidth = 400;
const int kCameraLineTop = 4, kCameraLineBottom = 15;
const int kPositionLineTop = 24, kPositionLineBottom = 35;
const int kSceneTop = 60;
// The fourth line, the frames per second, changes by itself; it lies between the two.
const int kFpsLineTop = 40;

// Pixels that differ outside the frames-per-second line.
int Changes(const Image& a, const Image& b) {
    return a.Differences(b, 0, 0, a.width, kFpsLineTop) +
           a.Differences(b, 0, kSceneTop, a.width, a.height);
}

class ViewerCameras : public ::testing::Test {
protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        ASSERT_FALSE(xvfb.display().empty()) << "Xvfb did not start";
        char pattern[] = "/tmp/orvex_scene_e2e_XXXXXX";
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
    void TearDown() override {
        if (viewer > 0 && !ended) {
            kill(viewer, SIGKILL);
            waitpid(viewer, nullptr, 0);
        }
        if (display) XCloseDisplay(display);
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    // A screenshot once the frames have settled: two in a row that are the same, with the
    // overlay's camera line drawn (a loaded machine can show the window before its first frame).
    Image Settled() {
        Image last = Screenshot(xvfb.display(), window, folder + "/shot.ppm");
        for (int attempt = 0; attempt < 40; ++attempt) {
            SleepMs(300);
            Image next = Screenshot(xvfb.display(), window, folder + "/shot.ppm");
            if (next.width > 0 && Changes(next, last) == 0 && ShowsCameraLine(next))
                return next;
            last = next;
        }
        return last;
    }
    static bool ShowsCameraLine(const Image& image) {
        for (int y = kCameraLineTop; y < kCameraLineBottom && y < image.height; ++y)
            for (int x = 0; x < kLineWidth && x < image.width; ++x) {
                const unsigned char* p = image.At(x, y);
                if (p[0] > 200 && p[1] > 200 && p[2] > 200)
                    return true;
            }
        return false;
    }
    void Close() {
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

TEST_F(ViewerCameras, ArrowKeysMoveTheViewAndTabCyclesTheCameraLine) {
    Image start = Settled();
    ASSERT_GT(start.width, kLineWidth);
    ASSERT_GT(start.height, kSceneTop + 100);

    HoldKey(xvfb.display(), window, "Up", 400);
    Image walked = Settled();
    EXPECT_GT(walked.Differences(start, 0, kPositionLineTop, kLineWidth, kPositionLineBottom), 0)
        << "the position line did not change";
    EXPECT_GT(walked.Differences(start, 0, kSceneTop, walked.width, walked.height), 0)
        << "the scene did not change";
    EXPECT_EQ(walked.Differences(start, 0, kCameraLineTop, kLineWidth, kCameraLineBottom), 0)
        << "walking changed the camera";

    // Each press lasts several frames but switches once: it is shorter than the 360 ms between
    // switches.
    HoldKey(xvfb.display(), window, "Tab", 250);
    Image second = Settled();
    EXPECT_GT(second.Differences(walked, 0, kCameraLineTop, kLineWidth, kCameraLineBottom), 0)
        << "TAB did not change the first overlay line";
    SleepMs(400);
    HoldKey(xvfb.display(), window, "Tab", 250);
    Image third = Settled();
    EXPECT_GT(third.Differences(second, 0, kCameraLineTop, kLineWidth, kCameraLineBottom), 0);
    SleepMs(400);
    HoldKey(xvfb.display(), window, "Tab", 250);
    Image back = Settled();
    // The default level has three cameras: the third press comes back to camera 1, which kept
    // the place it walked to.
    EXPECT_EQ(Changes(back, walked), 0)
        << "three presses of TAB did not come back to the first camera as it was";

    Close();
    DynamicRow log;
    ASSERT_TRUE(log.iLoadFromFile((folder + "/LOG.dr").c_str()));
    int cameras = 0;
    for (unsigned id = log.TopId(log.iLookId("LOG")); id; id = log.NextId(id))
        if (std::string(log.iLookName(id).getChars()).find("] [+] Camera:  ") != std::string::npos)
            ++cameras;
    EXPECT_EQ(cameras, 3);
}

}  // namespace
