// The real viewer under an Xvfb of the test's own: orvex started in a scratch copy of data/,
// driven with real key presses, watched frame by frame through the window's pictures, closed as
// a window manager closes it, and the LOG.dr it saved read back. Every wait is for something the
// viewer shows, with a deadline.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "foundation/dynamic_row.h"
#include "scratch_dir.h"
#include "xvfb_support.h"

namespace {

using namespace xvfb_test;

const char kTitle[] = "|Orvex|0.0.4|June 1|";

// The overlay's lines, drawn from x = 5: the active camera at y = 5, the camera's position and
// look-at point at y = 25, the frames per second (which change by themselves) from y = 40; the
// scene lies below them.
const int kLineWidth = 400;
const int kCameraLineTop = 4, kCameraLineBottom = 15;
const int kPositionLineTop = 24, kPositionLineBottom = 35;
const int kFpsLineTop = 40, kSceneTop = 60;

// The console's windows in the client area, and a spot of each that no text covers.
const int kPanelSpotX = 520, kPanelSpotY = 40;
const int kInputSpotX = 20, kInputSpotY = 203;
const int kPanelTop = 30, kPanelBottom = 180, kPanelLeft = 9, kPanelRight = 524;
const int kInputTop = 193, kInputBottom = 214, kConsoleBottom = 240;

bool Near(const unsigned char* rgb, int r, int g, int b, int tolerance = 8)
{
    return abs(rgb[0] - r) <= tolerance && abs(rgb[1] - g) <= tolerance && abs(rgb[2] - b) <= tolerance;
}

bool ShowsWhiteIn(const Image& image, int x0, int y0, int x1, int y1)
{
    for (int y = y0; y < y1 && y < image.height; ++y)
        for (int x = x0; x < x1 && x < image.width; ++x)
            if (Near(image.At(x, y), 255, 255, 255, 25)) return true;
    return false;
}

bool ShowsCameraLine(const Image& image)
{
    return ShowsWhiteIn(image, 0, kCameraLineTop, kLineWidth, kCameraLineBottom);
}

// Pixels that differ outside the frames-per-second line.
int Changes(const Image& a, const Image& b)
{
    return a.Differences(b, 0, 0, a.width, kFpsLineTop) + a.Differences(b, 0, kSceneTop, a.width, a.height);
}

bool ConsoleShown(const Image& image) { return Near(image.At(kInputSpotX, kInputSpotY), 250, 250, 100); }

class RunningViewer : public ::testing::Test {
protected:
    void SetUp() override
    {
        namespace fs = std::filesystem;
        ASSERT_FALSE(xvfb.display().empty()) << "Xvfb did not start: is the package xvfb installed?";
        fs::copy(fs::path(ORVEX_SOURCE_DIR) / "data", folder,
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        fs::remove(fs::path(folder) / "LOG.dr");
        PrepareFolder();
        display = XOpenDisplay(xvfb.display().c_str());
        ASSERT_NE(display, nullptr);
        viewer = StartViewer(ORVEX_VIEWER, folder, xvfb.display(), Arguments());
        window = WaitForWindow(display, kTitle, 60000);
        ASSERT_NE(window, 0u) << "no window titled " << kTitle;
        watched = std::make_unique<WatchedWindow>(display, window);
        ASSERT_EQ(watched->problem(), "");
        first = watched->GrabWhen(ShowsCameraLine);
        ASSERT_GT(first.width, kPanelRight) << "no frame with the overlay's camera line";
        ASSERT_GT(first.height, kConsoleBottom + 100);
    }

    void TearDown() override
    {
        watched.reset();
        if (viewer > 0 && !ended) {
            kill(viewer, SIGKILL);
            waitpid(viewer, nullptr, 0);
        }
        if (display) XCloseDisplay(display);
    }

    // Called with the copy of data/ in place, before the viewer starts.
    virtual void PrepareFolder() {}
    // The viewer's command-line arguments.
    virtual std::vector<std::string> Arguments() { return {}; }

    // The picture once input has stopped working on it: a frame drawn after the frame that
    // follows the last key's release.
    Image Settled()
    {
        watched->WaitFrames(2);
        return watched->GrabWhen([](const Image&) { return true; });
    }

    // Presses the console key until a settled picture is as wanted: a frame slower than the
    // 336 ms between toggles may let one press toggle twice.
    Image Toggle(const std::function<bool(const Image&)>& wanted)
    {
        for (int press = 0; press < 4; ++press) {
            watched->Press("grave", wanted);
            Image now = Settled();
            if (now.width > 0 && wanted(now)) return now;
        }
        return Image();
    }

    // Types text into the console's input line and presses Return, each key seen in the input
    // line before the next.
    void Type(const std::string& text)
    {
        for (char c : text + "\n") {
            const std::string key = c == '_' ? "shift+minus" : c == ' ' ? "space" : c == '.' ? "period"
                                    : c == '\n' ? "Return" : std::string(1, c);
            const Image before = watched->Grab();
            const Image typed = watched->Press(key, [&](const Image& now) {
                return now.Differences(before, kInputSpotX, kInputTop, kPanelRight, kInputBottom) > 0;
            });
            ASSERT_GT(typed.width, 0) << "the input line did not show " << key << " typed";
        }
    }

    // Closes the window and expects the viewer to end cleanly.
    void Close()
    {
        SendClose(display, window);
        int status = 0;
        ended = WaitForExit(viewer, 30000, &status);
        ASSERT_TRUE(ended) << "the viewer did not end after its window was closed";
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }

    // The lines of the LOG.dr the viewer saved; none when there is no such file.
    std::vector<std::string> LogLines() const
    {
        DynamicRow log;
        std::vector<std::string> lines;
        if (!log.iLoadFromFile((folder + "/LOG.dr").c_str())) return lines;
        for (unsigned id = log.TopId(log.iLookId("LOG")); id; id = log.NextId(id))
            lines.push_back(log.iLookName(id).getChars());
        return lines;
    }

    static int LinesContaining(const std::vector<std::string>& lines, const std::string& part)
    {
        int count = 0;
        for (const std::string& line : lines) count += line.find(part) != std::string::npos;
        return count;
    }

    Xvfb xvfb;
    orvex_test::ScratchDir scratch{"orvex_viewer_e2e"};
    const std::string folder = scratch.path();
    Display* display = nullptr;
    pid_t viewer = -1;
    Window window = 0;
    bool ended = false;
    std::unique_ptr<WatchedWindow> watched;
    Image first;  // the first frame with the overlay drawn
};

class ViewerSettings : public RunningViewer {
protected:
    // The clear colour and size are the settings' own; the rest of data/ is the default level.
    void PrepareFolder() override
    {
        scratch.Write("ini.txt", "SCREEN = 800, 600\nBACK_RENDERER_COLOR = 40, 90, 200\n");
    }
};

TEST_F(ViewerSettings, ShowsClearColourAndOverlayThenSavesTheLogOnClose)
{
    EXPECT_EQ(first.width, 800 - 16);
    EXPECT_EQ(first.height, 600 - 39);
    bool clearSeen = false;  // somewhere along the top right, above the scene
    for (int x = first.width / 2; x < first.width - 2 && !clearSeen; x += 7)
        clearSeen = Near(first.At(x, 70), 40, 90, 200, 2);
    EXPECT_TRUE(clearSeen) << "the clear colour 40, 90, 200 is not on screen";
    EXPECT_TRUE(ShowsWhiteIn(first, 4, 4, 120, 20)) << "no white overlay text near (5, 5)";
    Close();

    // The log's lines and their order are compared whole with the start-up records of
    // core_program_test.cpp; here the log must have been saved as the window closed.
    std::vector<std::string> lines = LogLines();
    ASSERT_FALSE(lines.empty()) << "no LOG.dr";
    EXPECT_EQ(lines[0].rfind("[Currient date: ", 0), 0u);
}

using ViewerConsole = RunningViewer;

// Pixels of the scene area in the clear colour (100, 130, 170).
int BackgroundPixels(const Image& image)
{
    int count = 0;
    for (int y = kConsoleBottom; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) count += Near(image.At(x, y), 100, 130, 170);
    return count;
}

TEST_F(ViewerConsole, GraveOpensTheConsoleTypedCommandsRunAndGraveClosesIt)
{
    const Image hidden = first;
    EXPECT_FALSE(ConsoleShown(hidden));

    const Image shown = Toggle(ConsoleShown);
    ASSERT_GT(shown.width, 0) << "no input line";
    EXPECT_TRUE(Near(shown.At(kPanelSpotX, kPanelSpotY), 150, 150, 150)) << "no log panel";
    EXPECT_GT(BackgroundPixels(shown), BackgroundPixels(hidden) + 1000) << "the scene is not drawn in wireframe";

    Type("obj_mngr show.list");
    const Image listed = watched->GrabWhen([&](const Image& now) {
        return now.Differences(shown, kPanelLeft, kPanelTop, kPanelRight, kPanelBottom) > 100;
    });
    EXPECT_GT(listed.width, 0) << "the log view did not change";

    Type("cam_mngr camera.next");
    // Closing right after typing: a key-down lets the console key through at once.
    ASSERT_GT(Toggle([](const Image& now) { return !ConsoleShown(now); }).width, 0) << "still open";
    const Image switched = watched->GrabWhen([&](const Image& now) {
        return now.Differences(hidden, 0, kCameraLineTop, kLineWidth, kCameraLineBottom) > 0;
    });
    EXPECT_GT(switched.width, 0) << "the camera line did not change";
    Close();

    std::vector<std::string> log = LogLines();
    ASSERT_FALSE(log.empty()) << "no LOG.dr";
    EXPECT_GE(LinesContaining(log, "] id:1  visible:1  file:"), 1);
    EXPECT_EQ(LinesContaining(log, "] Currient camera was changed to: camera"), 1);
    EXPECT_EQ(LinesContaining(log, "obj_mngr"), 0) << "a command was echoed as unknown";
}

// The height of the log view's thumb: the middle row of its dark pixels in the thumb's column,
// or -1 when none is there.
int ThumbRow(const Image& image)
{
    int first = -1, last = -1;
    if (image.width <= kPanelRight || image.height <= kPanelBottom) return -1;
    for (int y = kPanelTop; y < kPanelBottom; ++y)
        if (Near(image.At(kPanelRight - 8, y), 45, 45, 55)) {
            if (first < 0) first = y;
            last = y;
        }
    return first < 0 ? -1 : (first + last) / 2;
}

TEST_F(ViewerConsole, UpRecallsTheTypedLineAndTheWheelScrollsTheLog)
{
    const Image shown = Toggle(ConsoleShown);
    ASSERT_GT(shown.width, 0) << "the console did not open";
    Type("console recalled");
    const Image empty = watched->GrabWhen([&](const Image& now) {
        return now.Differences(shown, kPanelLeft, kPanelTop, kPanelRight, kPanelBottom) > 0;
    });
    auto inputLineDiffers = [&](const Image& now) {
        return now.Differences(empty, kPanelLeft, kInputSpotY - 3, 224, kInputSpotY + 14) > 20;
    };
    const Image recalled = watched->Press("Up", inputLineDiffers);
    ASSERT_GT(recalled.width, 0) << "Up left the input line empty";
    watched->Press("Return", [&](const Image& now) { return !inputLineDiffers(now); });

    const int thumb = ThumbRow(recalled);
    ASSERT_GT(thumb, kPanelTop) << "no thumb in the log view";
    const std::string wheel = "DISPLAY=" + xvfb.display() + " xdotool mousemove --window " +
                              std::to_string(window) + " 300 100 click 4 >/dev/null 2>&1";
    ASSERT_EQ(system(wheel.c_str()), 0);
    const Image scrolled = watched->GrabWhen([&](const Image& now) { return ThumbRow(now) < thumb; });
    EXPECT_LT(ThumbRow(scrolled), thumb) << "the thumb did not move up";
    EXPECT_GT(scrolled.Differences(recalled, kPanelLeft + 12, kPanelTop, kPanelRight - 15, kPanelBottom), 100)
        << "the log's lines did not move";
    Close();

    // The line ran twice: its echo ends the log twice.
    std::vector<std::string> log = LogLines();
    ASSERT_GE(log.size(), 2u);
    const std::string last = log.back(), before = log[log.size() - 2];
    EXPECT_EQ(before.substr(before.find("] ")), last.substr(last.find("] ")));
    EXPECT_NE(last.find("recalled"), std::string::npos) << last;
}

using ViewerCameras = RunningViewer;

TEST_F(ViewerCameras, ArrowKeysMoveTheViewAndTabCyclesTheCameraLine)
{
    const Image start = Settled();
    auto lineChanged = [](const Image& from, int top, int bottom) {
        return [&from, top, bottom](const Image& now) { return now.Differences(from, 0, top, kLineWidth, bottom) > 0; };
    };
    ASSERT_GT(watched->HoldUntil("Up", lineChanged(start, kPositionLineTop, kPositionLineBottom)).width, 0)
        << "the position line did not change";
    const Image walked = Settled();
    EXPECT_GT(walked.Differences(start, 0, kSceneTop, walked.width, walked.height), 0) << "the scene did not change";
    EXPECT_EQ(walked.Differences(start, 0, kCameraLineTop, kLineWidth, kCameraLineBottom), 0)
        << "walking changed the camera";

    // TAB goes through the cameras and back to camera 1, which kept the place it walked to. The
    // presses are not counted: a frame slower than the 360 ms between switches may let one press
    // switch twice, as it would for a person.
    Image last = walked;
    int presses = 0;
    do {
        ASSERT_GT(watched->Press("Tab", lineChanged(last, kCameraLineTop, kCameraLineBottom)).width, 0)
            << "TAB press " << presses + 1 << " did not change the first overlay line";
        last = Settled();
    } while (++presses < 6 && lineChanged(walked, kCameraLineTop, kCameraLineBottom)(last));
    EXPECT_EQ(Changes(last, walked), 0) << "TAB did not come back to the first camera as it was";

    Close();
    EXPECT_EQ(LinesContaining(LogLines(), "] [+] Camera:  "), 3);
}

// The largest difference of a channel between two pictures of one size, on a grid of pixels
// below the overlay's lines (their fps figure changes from frame to frame).
int LargestDifference(const Image& a, const Image& b)
{
    int largest = 0;
    for (int y = kSceneTop; y < a.height; y += 7)
        for (int x = 0; x < a.width; x += 7)
            for (int c = 0; c < 3; ++c) largest = std::max(largest, abs(a.At(x, y)[c] - b.At(x, y)[c]));
    return largest;
}

size_t DistinctColours(const Image& image)
{
    std::set<uint32_t> colours;
    for (size_t i = 0; i + 2 < image.rgb.size(); i += 3)
        colours.insert(uint32_t(image.rgb[i]) << 16 | uint32_t(image.rgb[i + 1]) << 8 | image.rgb[i + 2]);
    return colours.size();
}

void ExpectSamePicture(const Image& window, const Image& saved)
{
    ASSERT_EQ(saved.width, window.width);
    ASSERT_EQ(saved.height, window.height);
    EXPECT_LE(LargestDifference(window, saved), 2);
    const double ratio = double(DistinctColours(saved)) / double(DistinctColours(window));
    EXPECT_GT(ratio, 0.9);
    EXPECT_LT(ratio, 1.1);
}

std::string ReadText(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class ViewerPictures : public RunningViewer {
protected:
    // Runs the viewer in the folder without a display; answers its exit code.
    int RunWithoutDisplay(const std::string& arguments)
    {
        const std::string command = "cd '" + folder + "' && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER " +
                                    ORVEX_VIEWER + " " + arguments + " >out.txt 2>&1";
        const int status = system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST_F(ViewerPictures, F12AndTheOffScreenPictureShowWhatTheWindowShows)
{
    namespace fs = std::filesystem;
    const Image shown = Settled();
    std::string saved;
    auto written = [&] {
        std::error_code none;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder + "/screenshots", none))
            if (entry.path().extension() == ".png") saved = entry.path().filename().string();
        return !saved.empty();
    };
    watched->Press("F12", [&](const Image&) { return written(); });
    ASSERT_TRUE(WaitUntil(written, 20000)) << "F12 wrote nothing in screenshots/";
    Image picture;
    ASSERT_TRUE(WaitUntil([&] { return (picture = ReadPicture(folder + "/screenshots/" + saved)).width > 0; }, 20000));
    ExpectSamePicture(shown, picture);
    Close();
    EXPECT_EQ(LinesContaining(LogLines(), "] [i] Screenshot saved: screenshots/" + saved), 1);

    ASSERT_EQ(RunWithoutDisplay("--screenshot off.png"), 0) << ReadText(folder + "/out.txt");
    ExpectSamePicture(shown, ReadPicture(folder + "/off.png"));
    EXPECT_EQ(RunWithoutDisplay(""), 2);
    EXPECT_NE(ReadText(folder + "/out.txt").find("--screenshot out.png"), std::string::npos);
}

// A box twice as wide as it is high and half as deep, as .obj or as .gltf.
std::string BoxFile(const std::string& format)
{
    const float corners[8][3] = {{0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {0, 1, 0},
                                 {0, 0, 0.5f}, {2, 0, 0.5f}, {2, 1, 0.5f}, {0, 1, 0.5f}};
    const uint16_t faces[12][3] = {{0, 2, 1}, {0, 3, 2}, {4, 5, 6}, {4, 6, 7}, {0, 1, 5}, {0, 5, 4},
                                   {3, 6, 2}, {3, 7, 6}, {0, 4, 7}, {0, 7, 3}, {1, 2, 6}, {1, 6, 5}};
    std::string text;
    if (format == "obj") {
        for (const auto& c : corners)
            text += "v " + std::to_string(c[0]) + " " + std::to_string(c[1]) + " " + std::to_string(c[2]) + "\n";
        for (const auto& f : faces)
            text += "f " + std::to_string(f[0] + 1) + " " + std::to_string(f[1] + 1) + " " + std::to_string(f[2] + 1) + "\n";
        return text;
    }
    std::string bytes(reinterpret_cast<const char*>(corners), sizeof corners);
    bytes.append(reinterpret_cast<const char*>(faces), sizeof faces);
    const char* digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string base64;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        uint32_t n = uint32_t(uint8_t(bytes[i])) << 16;
        n |= i + 1 < bytes.size() ? uint32_t(uint8_t(bytes[i + 1])) << 8 : 0;
        n |= i + 2 < bytes.size() ? uint8_t(bytes[i + 2]) : 0;
        for (size_t k = 0; k < 4; ++k) base64 += i + k <= bytes.size() ? digits[(n >> (18 - 6 * k)) & 63] : '=';
    }
    return "{\"asset\":{\"version\":\"2.0\"},\"scene\":0,\"scenes\":[{\"nodes\":[0]}],\"nodes\":[{\"mesh\":0}],"
           "\"meshes\":[{\"primitives\":[{\"attributes\":{\"POSITION\":0},\"indices\":1}]}],"
           "\"buffers\":[{\"byteLength\":168,\"uri\":\"data:application/octet-stream;base64," + base64 + "\"}],"
           "\"bufferViews\":[{\"buffer\":0,\"byteLength\":96},{\"buffer\":0,\"byteOffset\":96,\"byteLength\":72}],"
           "\"accessors\":[{\"bufferView\":0,\"componentType\":5126,\"count\":8,\"type\":\"VEC3\","
           "\"min\":[0,0,0],\"max\":[2,1,0.5]},{\"bufferView\":1,\"componentType\":5123,\"count\":36,"
           "\"type\":\"SCALAR\"}]}";
}

// The viewer opened on one model, without a floor (its mesh is taken away), so that every pixel
// below the overlay that is not the clear colour is the model's.
class ViewerModel : public RunningViewer, public ::testing::WithParamInterface<const char*> {
protected:
    void PrepareFolder() override
    {
        scratch.Write("ini.txt", "SCREEN = 800, 600\nBACK_RENDERER_COLOR = 40, 90, 200\n");
        std::filesystem::remove(folder + "/meshes/floor.x");
        scratch.Write("box." + std::string(GetParam()), BoxFile(GetParam()));
    }
    std::vector<std::string> Arguments() override { return {"box." + std::string(GetParam())}; }
    static double Coverage(const Image& image)
    {
        int covered = 0;
        for (int y = kSceneTop; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x) covered += !Near(image.At(x, y), 40, 90, 200);
        return double(covered) / (double(image.width) * image.height);
    }
    // Presses TAB until a picture unlike every one in seen shows.
    Image NextCamera(const std::vector<Image>& seen)
    {
        return watched->Press("Tab", [&](const Image& now) {
            for (const Image& old : seen)
                if (now.Differences(old, 0, kSceneTop, now.width, now.height) <= now.width * 10) return false;
            return true;
        });
    }
};

TEST_P(ViewerModel, TheModelFillsThePictureAndTabReachesTheOtherCameras)
{
    const Image front = Settled();
    const double coverage = Coverage(front);
    EXPECT_GT(coverage, 0.10);
    EXPECT_LT(coverage, 0.70);
    const Image side = NextCamera({front});
    ASSERT_GT(side.width, 0) << "TAB showed no other view";
    EXPECT_GT(Coverage(side), 0.05);
    const Image above = NextCamera({front, side});
    ASSERT_GT(above.width, 0) << "a second TAB showed no third view";
    EXPECT_GT(Coverage(above), 0.05);
    Close();
    EXPECT_EQ(LinesContaining(LogLines(), "] [>>>] Loading level : model view"), 1);
}

INSTANTIATE_TEST_SUITE_P(Formats, ViewerModel, ::testing::Values("obj", "gltf"));

}  // namespace
