// The console's message log: time stamps, cutting into display lines, saving.
#include <gtest/gtest.h>

#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "console/console.h"
#include "core_test_support.h"
#include "headless_win32.h"

namespace {

struct LogLine {
    std::string text;
    std::vector<std::string> children;
};

std::vector<LogLine> LogLines(const Console& console)
{
    std::vector<LogLine> lines;
    for (unsigned int id = console.log.TopId(console.logKnot); id; id = console.log.NextId(id)) {
        LogLine line;
        line.text = console.log.iLookName(id).getChars();
        for (unsigned int child = console.log.TopId(id); child; child = console.log.NextId(child))
            line.children.push_back(console.log.iLookName(child).getChars());
        lines.push_back(line);
    }
    return lines;
}

class ConsoleLogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        orvex_headless::reset_win32();
        orvex_headless::set_time(5000);
        console = new Console(&device);
    }
    void TearDown() override { delete console; }

    std::vector<LogLine> Added() const
    {
        std::vector<LogLine> lines = LogLines(*console);
        lines.erase(lines.begin());  // the start-up line
        return lines;
    }

    IDirect3DDevice9* device = nullptr;
    Console* console = nullptr;
};

TEST_F(ConsoleLogTest, StampsShowMillisecondsSinceCreationInTheirOwnForm)
{
    const struct { DWORD elapsed; const char* line; } cases[] = {
        {0, "[0:0] x"},      {605, "[1:500] x"},  {650, "[1:500] x"},  {610, "[1:100] x"},
        {750, "[1:150] x"},  {1234, "[2:340] x"}, {599, "[0:599] x"},  {600, "[1:0] x"},  {700, "[1:100] x"},
    };
    for (const auto& c : cases) {
        orvex_headless::set_time(5000 + c.elapsed);
        console->AddMessage("x", 0);
        EXPECT_EQ(Added().back().text, c.line) << "at " << c.elapsed << " ms";
    }
}

TEST_F(ConsoleLogTest, LongLinesAreCutIntoIndentedPiecesOfEightyCharacters)
{
    // The stamp at 0 ms is "[0:0] ", six characters; the text fills the rest.
    const std::string stamp = "[0:0] ";
    for (size_t length : {79u, 80u, 81u, 100u, 161u, 162u, 241u, 5006u}) {
        std::string text;
        for (size_t i = 0; text.size() + stamp.size() < length; ++i)
            text += (char)('a' + i % 26);
        const std::string line = stamp + text;
        ASSERT_EQ(line.size(), length);

        std::vector<std::string> expected;
        expected.push_back(line.substr(0, 81));
        for (size_t pos = 81; pos < line.size(); pos += 80)
            expected.push_back("   " + line.substr(pos, 80));

        size_t before = Added().size();
        console->AddMessage(text.c_str(), 2);
        std::vector<LogLine> added = Added();
        ASSERT_EQ(added.size() - before, expected.size()) << "line of " << length;
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(added[before + i].text, expected[i]) << "line of " << length;
            EXPECT_EQ(added[before + i].children, std::vector<std::string>{"_COMMENT_"});
        }
    }
}

TEST_F(ConsoleLogTest, ANullTextIsAnEmptyOne)
{
    console->AddMessage(static_cast<const char*>(nullptr), 1);
    EXPECT_EQ(Added().back().text, "[0:0] ");
}

class ConsoleSaveTest : public ConsoleLogTest {
protected:
    void SetUp() override
    {
        ConsoleLogTest::SetUp();
        folder = orvex_test::MakeScratchFolder("console_save");
        path = folder + "/LOG.dr";
    }
    std::string folder;
    std::string path;
};

// The saved log read back whole is in the program's start-up records (core_program_test.cpp).
TEST_F(ConsoleSaveTest, AMessageOfAnUnknownCategoryIsSavedWithoutOne)
{
    console->AddMessage("four", 4);  // the first number past the categories
    console->SaveLog(path.c_str());
    DynamicRow saved;
    ASSERT_TRUE(saved.iLoadFromFile(path.c_str()));
    unsigned int four = saved.iLookId("[0:0] four");
    ASSERT_NE(four, 0u);
    EXPECT_EQ(saved.TopId(four), 0u);
}

TEST_F(ConsoleSaveTest, AFailedSaveLosesNothingAndALaterSaveSucceeds)
{
    console->AddMessage("before", 0);
    ASSERT_EQ(mkdir(path.c_str(), 0755), 0);  // a directory where the file should go
    console->SaveLog(path.c_str());
    console->AddMessage("after", 0);
    ASSERT_EQ(rmdir(path.c_str()), 0);

    console->SaveLog(path.c_str());
    DynamicRow saved;
    ASSERT_TRUE(saved.iLoadFromFile(path.c_str()));
    EXPECT_NE(saved.iLookId("[0:0] before"), 0u);
    EXPECT_NE(saved.iLookId("[0:0] after"), 0u);
}

}  // namespace
