// The console in the running viewer: orvex on the default level in a copy of data/ under Xvfb,
// opened, typed into and closed with real key presses, watched through screenshots and LOG.dr.
#include <cstdlib>
#include <string>
#include <vector>

#include "viewer_fixture.h"

using namespace xvfb_test;

namespace {

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

class ViewerConsole : public RunningViewer {
protected:
    Image Shot()
    {
        SleepMs(300);
        return RunningViewer::Shot();
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

    std::vector<std::string> log = LogLines();
    ASSERT_FALSE(log.empty()) << "no LOG.dr";
    EXPECT_GE(LinesContaining(log, "] id:1  visible:1  file:"), 1);
    EXPECT_EQ(LinesContaining(log, "] Currient camera was changed to: camera"), 1);
    EXPECT_EQ(LinesContaining(log, "obj_mngr"), 0) << "a command was echoed as unknown";
}

}  // namespace
