// The frame timer, the settings reader with its written copy, the render settings and the
// command line.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "core/command_line.h"
#include "core/ini_reader.h"
#include "core/orvex.h"
#include "core/screenshot.h"
#include "core/timer.h"
#include "core_test_support.h"
#include "headless_win32.h"

namespace {

TEST(TimerTest, ElapsedIsTheUnsignedDifferenceAndWraps)
{
    orvex_headless::reset_win32();
    Timer timer;
    orvex_headless::set_time(1000);
    timer.Start();
    EXPECT_EQ(timer.Elapsed(), 0u);
    EXPECT_EQ(timer.startTime, 1000u);
    EXPECT_FALSE(timer.held);
    orvex_headless::advance_time(250);
    EXPECT_EQ(timer.Elapsed(), 250u);

    // Moved 100 000 ms ahead, the reading wraps to near 2^32 and stays positive as a float.
    timer.referenceTime += 100000;
    orvex_headless::advance_time(30);
    EXPECT_EQ(timer.Elapsed(), 4294967296u - 100000u + 280u);
    EXPECT_GT((float)timer.Elapsed(), 4.29e9f);

    // Across the 49.7-day wrap of the clock.
    orvex_headless::set_time(0xFFFFFFF0u);
    timer.Start();
    orvex_headless::set_time(0x00000010u);
    EXPECT_EQ(timer.Elapsed(), 0x20u);
}

typedef std::vector<std::pair<std::string, std::vector<std::string>>> Blocks;

const char kRootName[] =
    "\xEF\xE0\xF0\xE0\xEC\xE5\xF2\xF0\xFB\x20\xE8\xED\xE8\xF6\xE8\xE0\xEB\xE8\xE7\xE0\xF6\xE8\xE8";

// The tree as the block knots under its single root knot, each with its values.
Blocks BlocksOf(const DynamicRow& tree)
{
    unsigned int root = tree.TopId(0);
    EXPECT_NE(root, 0u);
    EXPECT_EQ(tree.NextId(root), 0u) << "one root knot only";
    EXPECT_STREQ(tree.iLookName(root).getChars(), kRootName);
    Blocks blocks;
    for (unsigned int knot = tree.TopId(root); knot; knot = tree.NextId(knot)) {
        EXPECT_TRUE(tree.IsKnot(knot));
        std::vector<std::string> values;
        for (unsigned int value = tree.TopId(knot); value; value = tree.NextId(value))
            values.push_back(tree.iLookName(value).getChars());
        blocks.emplace_back(tree.iLookName(knot).getChars(), values);
    }
    return blocks;
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        orvex_headless::reset_win32();
        folder = orvex_test::MakeScratchFolder("settings");
        orvex_test::EnterFolder(folder);
    }
    void TearDown() override { orvex_test::LeaveFolder(); }

    DynamicRow Read(const std::string& content)
    {
        orvex_test::WriteFile("ini.txt", content);
        Orvex_cIniReader reader;
        return reader.ReadIni(Orvex_string("ini.txt"));
    }

    std::string folder;
};

TEST_F(SettingsTest, LinesBecomeBlocksInFileOrder)
{
    const std::string longValue(247, 'v');
    struct Case { const char* name; std::string content; Blocks blocks; } cases[] = {
        {"empty file", "", {}},
        {"last line without a break", "SCREEN = 800, 600", {{"SCREEN", {"800", "600"}}}},
        {"final break adds nothing", "FILLMODE = 2\n", {{"FILLMODE", {"2"}}}},
        {"Windows line ends", "A = 1\r\nB = 2\r\n", {{"A", {"1"}}, {"B", {"2"}}}},
        {"comments, blanks and lines without '=' are skipped",
         "; A = 1\n\n# B = 2\nno equals here\nC=3\n",
         {{"C", {"3"}}}},
        {"a block twice gives two knots", "SCREEN = 1, 2\nSCREEN = 3\n",
         {{"SCREEN", {"1", "2"}}, {"SCREEN", {"3"}}}},
        {"empty values count", "COLOR = 1,,3\nNONE =\n", {{"COLOR", {"1", "", "3"}}, {"NONE", {}}}},
        {"one leading byte-order mark is skipped", "\xEF\xBB\xBFSCREEN = 1\n\xEF\xBB\xBF" "B = 2\n",
         {{"SCREEN", {"1"}}, {"\xEF\xBB\xBF" "B", {"2"}}}},
        {"a byte-order mark before a first line that fills a piece",
         "\xEF\xBB\xBF" "LONG = " + longValue.substr(3) + "\n",
         {{"LONG", {longValue.substr(3)}}}},
        {"a 255-character line is read as 254 and 1",
         "LONG = " + longValue + "TAIL = 7\n",
         {{"LONG", {longValue}}, {"TAIL", {"7"}}}},
    };
    const auto openFiles = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
    };
    const auto before = openFiles();
    for (const Case& c : cases) {
        EXPECT_EQ(BlocksOf(Read(c.content)), c.blocks) << c.name;
    }
    EXPECT_EQ(openFiles(), before) << "every file read is closed";
    EXPECT_TRUE(orvex_headless::message_boxes().empty());
}

TEST_F(SettingsTest, BinaryAndHugeFilesGiveATreeWithoutFailing)
{
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += (char)((i * 131) & 0xFF);
    BlocksOf(Read(binary));

    std::string many;
    for (int i = 0; i < 3000; ++i)
        many += "K = " + std::to_string(i) + "\n";
    EXPECT_EQ(BlocksOf(Read(many)).size(), 3000u);
    EXPECT_TRUE(orvex_headless::message_boxes().empty());
}

TEST_F(SettingsTest, MissingOrUnreadableFileShowsTheFailureBoxAndGivesAnEmptyTree)
{
    Orvex_cIniReader reader;
    DynamicRow tree = reader.ReadIni(Orvex_string("ini.txt"));
    EXPECT_TRUE(BlocksOf(tree).empty());
    const auto& boxes = orvex_headless::message_boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "| File loading failed! |ini.txt | ");
    EXPECT_EQ(boxes[0].caption, "ERROR");
    EXPECT_EQ(boxes[0].flags, (UINT)(MB_ICONEXCLAMATION | MB_OK));
    EXPECT_EQ(boxes[0].owner, (HWND)NULL);

    // A folder of that name opens but cannot be read, a device is no settings file, and a pipe
    // nobody writes to would block start-up: the same box, the same empty tree.
    orvex_test::MakeFolder("ini.txt");
    ASSERT_EQ(symlink("/dev/null", "device.txt"), 0);
    ASSERT_EQ(mkfifo("pipe.txt", 0600), 0);
    const char* const names[] = {"ini.txt", "device.txt", "pipe.txt"};
    for (const char* name : names) {
        EXPECT_TRUE(BlocksOf(reader.ReadIni(Orvex_string(name))).empty()) << name;
        EXPECT_EQ(boxes.back().text, std::string("| File loading failed! |") + name + " | ");
    }
    EXPECT_EQ(boxes.size(), 4u);
}

TEST_F(SettingsTest, LoadSettingsWritesTheCopyWhenItsFolderExists)
{
    orvex_test::WriteFile("ini.txt", "SCREEN = 800, 600\nFILLMODE = 2\n");
    DynamicRow withoutFolder = LoadSettings("ini.txt");
    EXPECT_EQ(BlocksOf(withoutFolder).size(), 2u);
    EXPECT_FALSE(orvex_test::FileExists("Quillon2.0/loaded_parameters"));

    orvex_test::MakeFolder("Quillon2.0");
    DynamicRow tree = LoadSettings("ini.txt");
    DynamicRow copy;
    ASSERT_TRUE(copy.iLoadFromFile("Quillon2.0\\loaded_parameters"));
    EXPECT_EQ(BlocksOf(copy), BlocksOf(tree));
}

// The defaults and the plain settings reach the device in the program's own runs
// (core_program_test.cpp); here the values that are near misses.
TEST_F(SettingsTest, RenderSettingsWithTheExpectedValuesOverrideTheDefaults)
{
    struct Case { const char* content; D3DCOLOR color; WORD multisample, fill; bool antialias; } cases[] = {
        {"BACK_RENDERER_COLOR = 255, 0", 0xFF6482AA, 0, 3, false},
        {"BACK_RENDERER_COLOR = 255, , 0", 0x01FF0000, 0, 3, false},  // a blank value is 0
        {"BACK_RENDERER_COLOR = 1, 2, 3, 4", 0xFF6482AA, 0, 3, false},
        {"BACK_RENDERER_COLOR = 300, -1, 256", 0x012CFF00, 0, 3, false},
        {"FILLMODE = 0", 0xFF6482AA, 0, 3, false},
        {"FILLMODE = 1", 0xFF6482AA, 0, 1, false},
        {"FILLMODE = 2, 2", 0xFF6482AA, 0, 3, false},
        {"MULTISAMPLE_TYPE = 70000", 0xFF6482AA, 70000 & 0xFFFF, 3, false},
        {"MULTISAMPLE_TYPE = 2, 4", 0xFF6482AA, 0, 3, false},
    };
    for (const Case& c : cases) {
        DynamicRow tree = Read(c.content);
        Orvex engineUnderTest{};
        engineUnderTest.ReadRenderSettings(&tree);
        EXPECT_EQ(engineUnderTest.backRendererColor, c.color) << c.content;
        EXPECT_EQ(engineUnderTest.multisampleType, c.multisample) << c.content;
        EXPECT_EQ(engineUnderTest.fillMode, c.fill) << c.content;
        EXPECT_EQ(engineUnderTest.multisampleAntialias, c.antialias) << c.content;
    }

    Orvex withoutTree{};
    withoutTree.fillMode = 1;
    withoutTree.ReadRenderSettings(nullptr);
    EXPECT_EQ(withoutTree.fillMode, 3);
    EXPECT_EQ(withoutTree.backRendererColor, 0xFF6482AAu);
}

}  // namespace

TEST(CommandLineTest, WindowsQuotingAndTheViewersOptions)
{
    struct Split {
        const char* line;
        std::vector<std::string> args;
    } splits[] = {
        {"  a.x\t\"my model.obj\"  ", {"a.x", "my model.obj"}},
        {"\"C:\\dir with blank\\\\\" next", {"C:\\dir with blank\\", "next"}},
        {"C:\\models\\a.x say\\\"hi\\\\\\\"", {"C:\\models\\a.x", "say\"hi\\\""}},
        {"\"\" x", {"", "x"}},
        {"\\\\server\\share\\a.x", {"\\\\server\\share\\a.x"}},
    };
    for (const Split& s : splits)
        EXPECT_EQ(SplitCommandLine(s.line), s.args) << s.line;

    struct Parse {
        const char* line;
        const char* error;  // "" when the line is taken
        const char* screenshot;
        int width, height, frames;
        size_t models;
    } parses[] = {
        {"", "", "", 0, 0, 2, 0},
        {"--screenshot out.png --size 320x200 --frames 5 a.x b.obj", "", "out.png", 320, 200, 5, 2},
        {"--screenshot", "--screenshot needs a value", "", 0, 0, 2, 0},
        {"--screenshot o.png --size 320",
         "--size wants WxH, e.g. 800x600 (1 to 16384 each), not \"320\"", "", 0, 0, 2, 0},
        {"--screenshot o.png --size 0x10",
         "--size wants WxH, e.g. 800x600 (1 to 16384 each), not \"0x10\"", "", 0, 0, 2, 0},
        {"--screenshot o.png --frames 0",
         "--frames wants a number from 1 to 10000, not \"0\"", "", 0, 0, 2, 0},
        {"--screenshot o.png --frames 3x",
         "--frames wants a number from 1 to 10000, not \"3x\"", "", 0, 0, 2, 0},
        {"--frames 3 a.x", "--frames works only with --screenshot", "", 0, 0, 2, 0},
        {"--fullscreen", "unknown option --fullscreen", "", 0, 0, 2, 0},
        {"-odd-name.x", "", "", 0, 0, 2, 1},
    };
    for (const Parse& p : parses) {
        CommandLine options;
        std::string error;
        EXPECT_EQ(ParseCommandLine(p.line, &options, &error), !*p.error) << p.line;
        EXPECT_EQ(error, p.error) << p.line;
        if (*p.error)
            continue;
        EXPECT_EQ(options.screenshot, p.screenshot);
        EXPECT_EQ(options.width, p.width);
        EXPECT_EQ(options.height, p.height);
        EXPECT_EQ(options.frames, p.frames);
        EXPECT_EQ(options.models.size(), p.models);
    }
}

TEST_F(SettingsTest, ScreenshotNamesCarryTheLocalTimeAndACounterWhenTaken)
{
    SYSTEMTIME now = {};
    now.wYear = 2026, now.wMonth = 6, now.wDay = 1, now.wHour = 9, now.wMinute = 5, now.wSecond = 7;
    orvex_headless::set_system_time(now);
    const std::string first = NextScreenshotName();
    EXPECT_EQ(first, "screenshots/orvex-20260601-090507.png");
    orvex_test::WriteFile(first, "taken");
    EXPECT_EQ(NextScreenshotName(), "screenshots/orvex-20260601-090507-2.png");
}
