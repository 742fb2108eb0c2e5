// The real viewer in a real X server: orvex in a copy of data/ under Xvfb, a screenshot taken
// with ImageMagick's import, the window closed as a window manager would close it.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core_test_support.h"
#include "foundation/dynamic_row.h"
#include "xvfb_support.h"

namespace {

using namespace xvfb_test;

const char kTitle[] = "|Orvex|0.0.4|June 1|";

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

    pid_t viewer = StartViewer(ORVEX_VIEWER, folder, xvfb.display());

    Display* display = XOpenDisplay(xvfb.display().c_str());
    ASSERT_NE(display, nullptr);
    Window window = WaitForWindow(display, kTitle, 30000);
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
