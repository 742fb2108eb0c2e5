// The real viewer in a real X server: orvex in a copy of data/ under Xvfb, a screenshot taken
// with ImageMagick's import, the window closed as a window manager would close it.
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "core_test_support.h"
#include "viewer_fixture.h"

namespace {

using namespace xvfb_test;

class ViewerE2ETest : public RunningViewer {
protected:
    // The clear colour is the settings' own; the rest of data/ is the default level.
    void PrepareFolder() override
    {
        orvex_test::WriteFile(folder + "/ini.txt",
                              "SCREEN = 800, 600\nBACK_RENDERER_COLOR = 40, 90, 200\n");
    }
    // The window once the viewer has drawn its overlay (white text near (5, 5)) and two pictures
    // in a row agree below it: a picture taken while a frame is being put on screen may mix two.
    Image Settled()
    {
        Image image, previous;
        for (int attempt = 0; attempt < 40; ++attempt) {
            previous = image;
            image = Shot();
            bool overlay = false;
            for (int y = 4; y < 20 && image.width > 100 && !overlay; ++y)
                for (int x = 4; x < 120 && !overlay; ++x)
                    overlay = image.At(x, y)[0] > 230 && image.At(x, y)[1] > 230 && image.At(x, y)[2] > 230;
            if (overlay && image.Differences(previous, 0, 60, image.width, image.height) == 0)
                return image;
            SleepMs(100);
        }
        return image;
    }
};

TEST_F(ViewerE2ETest, ShowsClearColourAndOverlayThenSavesTheLogOnClose)
{
    // Let it draw frames, then look: the overlay's first line starts at (5, 5) in white.
    Image image;
    bool clearSeen = false, whiteSeen = false;
    for (int attempt = 0; attempt < 20 && !(clearSeen && whiteSeen); ++attempt) {
        SleepMs(500);
        image = Shot();
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

    Close();

    std::vector<std::string> lines = LogLines();
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

// The largest difference of a channel between two pictures of one size, on a grid of pixels
// below the overlay's lines (their fps figure changes from frame to frame).
int LargestDifference(const Image& a, const Image& b)
{
    int largest = 0;
    for (int y = 60; y < a.height; y += 7)
        for (int x = 0; x < a.width; x += 7)
            for (int c = 0; c < 3; ++c)
                largest = std::max(largest, abs(a.At(x, y)[c] - b.At(x, y)[c]));
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

class ViewerPicturesTest : public ViewerE2ETest {
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

TEST_F(ViewerPicturesTest, F12AndTheOffScreenPictureShowWhatTheWindowShows)
{
    namespace fs = std::filesystem;
    const Image shown = Settled();
    HoldKey(xvfb.display(), window, "F12", 50);
    std::string saved;
    for (int waited = 0; waited < 20000 && saved.empty(); waited += 100) {
        std::error_code none;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder + "/screenshots", none))
            if (entry.path().extension() == ".png")   // not the file still being written
                saved = entry.path().filename().string();
        SleepMs(100);
    }
    ASSERT_FALSE(saved.empty()) << "F12 wrote nothing in screenshots/";
    ExpectSamePicture(shown, ReadPicture(folder + "/screenshots/" + saved));
    Close();
    EXPECT_EQ(LinesContaining(LogLines(), "] [i] Screenshot saved: screenshots/" + saved), 1);

    ASSERT_EQ(RunWithoutDisplay("--screenshot off.png"), 0) << orvex_test::ReadFile(folder + "/out.txt");
    ExpectSamePicture(shown, ReadPicture(folder + "/off.png"));
    EXPECT_EQ(RunWithoutDisplay(""), 2);
    EXPECT_NE(orvex_test::ReadFile(folder + "/out.txt").find("--screenshot out.png"), std::string::npos);
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
        for (size_t k = 0; k < 4; ++k)
            base64 += i + k <= bytes.size() ? digits[(n >> (18 - 6 * k)) & 63] : '=';
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
class ViewerModelTest : public ViewerE2ETest, public ::testing::WithParamInterface<const char*> {
protected:
    void PrepareFolder() override
    {
        ViewerE2ETest::PrepareFolder();
        std::filesystem::remove(folder + "/meshes/floor.x");
        orvex_test::WriteFile(folder + "/box." + std::string(GetParam()), BoxFile(GetParam()));
    }
    std::vector<std::string> Arguments() override { return {"box." + std::string(GetParam())}; }
    static double Coverage(const Image& image)
    {
        int covered = 0;
        for (int y = 60; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x) {
                const unsigned char* p = image.At(x, y);
                covered += abs(p[0] - 40) > 8 || abs(p[1] - 90) > 8 || abs(p[2] - 200) > 8;
            }
        return double(covered) / (double(image.width) * image.height);
    }
    // Presses TAB and waits for a picture unlike every one in seen.
    Image NextCamera(const std::vector<Image>& seen)
    {
        SleepMs(400);   // the camera switch takes one press per 360 ms
        HoldKey(xvfb.display(), window, "Tab", 100);
        Image image;
        for (int waited = 0; waited < 20000; waited += 250) {
            image = Shot();
            bool fresh = true;
            for (const Image& old : seen)
                fresh = fresh && image.Differences(old, 0, 60, image.width, image.height) > image.width * 10;
            if (fresh)
                return image;
            SleepMs(250);
        }
        return Image();
    }
};

TEST_P(ViewerModelTest, TheModelFillsThePictureAndTabReachesTheOtherCameras)
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

INSTANTIATE_TEST_SUITE_P(Formats, ViewerModelTest, ::testing::Values("obj", "gltf"));

}  // namespace
