#pragma once
// The real viewer under an Xvfb of the test's own: orvex started in a scratch copy of data/
// (without its LOG.dr and screenshots), its window found by title, closed as a window manager
// closes it, and the LOG.dr it saved read back. The including test target defines ORVEX_VIEWER.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>
#include <vector>

#include "foundation/dynamic_row.h"
#include "scratch_dir.h"
#include "xvfb_support.h"

namespace xvfb_test {

class RunningViewer : public ::testing::Test {
protected:
    static constexpr const char* kTitle = "|Orvex|0.0.4|June 1|";

    void SetUp() override
    {
        namespace fs = std::filesystem;
        ASSERT_FALSE(xvfb.display().empty()) << "Xvfb did not start";
        ASSERT_FALSE(HasFailure()) << "no scratch folder";
        fs::copy(fs::path(ORVEX_SOURCE_DIR) / "data", folder,
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        fs::remove(fs::path(folder) / "LOG.dr");
        fs::remove_all(fs::path(folder) / "screenshots");
        PrepareFolder();
        display = XOpenDisplay(xvfb.display().c_str());
        ASSERT_NE(display, nullptr);
        viewer = StartViewer(ORVEX_VIEWER, folder, xvfb.display(), Arguments());
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
    }

    // Called with the copy of data/ in place, before the viewer starts.
    virtual void PrepareFolder() {}
    // The viewer's command line.
    virtual std::vector<std::string> Arguments() { return {}; }

    Image Shot() { return Screenshot(xvfb.display(), window, folder + "/shot.ppm"); }

    // Closes the window and expects the viewer to end cleanly.
    void Close()
    {
        SendClose(display, window);
        int status = 0;
        ended = WaitForExit(viewer, 20000, &status);
        ASSERT_TRUE(ended) << "the viewer did not end after its window was closed";
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }

    // The lines of the LOG.dr the viewer saved; none when there is no such file.
    std::vector<std::string> LogLines() const
    {
        DynamicRow log;
        std::vector<std::string> lines;
        if (!log.iLoadFromFile((folder + "/LOG.dr").c_str()))
            return lines;
        for (unsigned id = log.TopId(log.iLookId("LOG")); id; id = log.NextId(id))
            lines.push_back(log.iLookName(id).getChars());
        return lines;
    }

    static int LinesContaining(const std::vector<std::string>& lines, const std::string& part)
    {
        int count = 0;
        for (const std::string& line : lines)
            count += line.find(part) != std::string::npos;
        return count;
    }

    Xvfb xvfb;
    orvex_test::ScratchDir scratch{"orvex_viewer_e2e"};
    const std::string folder = scratch.path();
    Display* display = nullptr;
    pid_t viewer = -1;
    Window window = 0;
    bool ended = false;
};

}  // namespace xvfb_test
