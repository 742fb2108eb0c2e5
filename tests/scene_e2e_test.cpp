// The cameras in the running viewer: orvex on the default level in a copy of data/ under Xvfb,
// driven with real key presses and watched through screenshots.
#include <string>
#include <vector>

#include "viewer_fixture.h"

using namespace xvfb_test;

namespace {

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

class ViewerCameras : public RunningViewer {
protected:
    // A screenshot once the frames have settled: two in a row that are the same.
    Image Settled() {
        Image last = Shot();
        for (int attempt = 0; attempt < 20; ++attempt) {
            SleepMs(300);
            Image next = Shot();
            if (next.width > 0 && Changes(next, last) == 0)
                return next;
            last = next;
        }
        return last;
    }
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
    std::vector<std::string> log = LogLines();
    ASSERT_FALSE(log.empty()) << "no LOG.dr";
    EXPECT_EQ(LinesContaining(log, "] [+] Camera:  "), 3);
}

}  // namespace
