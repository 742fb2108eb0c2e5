// Whole runs of the viewer on the headless platform: the real WinMain, one process per run
// (the engine is a global), driven by a script of clock steps and input (core_program_run.cpp).
#include <gtest/gtest.h>

#include <stdio.h>
#include <sys/wait.h>
#include <unistd.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "core_test_support.h"
#include "foundation/dynamic_row.h"

namespace {

struct ProgramRun {
    int exitCode = -1;
    std::vector<std::string> lines;  // run.txt

    std::vector<std::string> With(const std::string& prefix) const
    {
        std::vector<std::string> found;
        for (const std::string& line : lines)
            if (line.compare(0, prefix.size(), prefix) == 0)
                found.push_back(line.substr(prefix.size()));
        return found;
    }
    bool Has(const std::string& line) const
    {
        for (const std::string& l : lines)
            if (l == line)
                return true;
        return false;
    }
};

// Runs the program in folder with the given script; the folder holds whatever the test put there.
ProgramRun RunProgram(const std::string& folder, const std::string& script)
{
    orvex_test::WriteFile(folder + "/script.txt", script);
    ProgramRun run;
    pid_t child = fork();
    if (child == 0) {
        if (chdir(folder.c_str()) != 0 || !freopen("stderr.txt", "w", stderr))
            _exit(101);
        execl(CORE_PROGRAM_RUN, CORE_PROGRAM_RUN, (char*)NULL);
        _exit(102);
    }
    int status = 0;
    waitpid(child, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
    std::istringstream text(orvex_test::ReadFile(folder + "/run.txt"));
    std::string line;
    while (std::getline(text, line))
        run.lines.push_back(line);
    return run;
}

// The lines of a saved log, in order.
std::vector<std::string> LogLines(const std::string& path)
{
    DynamicRow log;
    std::vector<std::string> lines;
    if (!log.iLoadFromFile(path.c_str()))
        return lines;
    unsigned int knot = log.iLookId("LOG");
    for (unsigned int id = log.TopId(knot); id; id = log.NextId(id))
        lines.push_back(log.iLookName(id).getChars());
    return lines;
}

std::string CreateDeviceCall(const ProgramRun& run)
{
    for (const std::string& call : run.With("call "))
        if (call.rfind("CreateDevice(", 0) == 0)
            return call;
    return "";
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override { folder = orvex_test::MakeScratchFolder("program"); }
    void Put(const std::string& name, const std::string& content)
    {
        orvex_test::WriteFile(folder + "/" + name, content);
    }
    std::string folder;
};

TEST_F(ProgramTest, ScreenSettingGivesTheWindowsOuterSize)
{
    struct Case {
        const char* ini;  // null: no ini.txt
        const char* window;
    } cases[] = {
        {"SCREEN = 800, 600\n", "Orvex||Orvex|0.0.4|June 1||800x600"},
        {"SCREEN = 800\n", "Orvex||Orvex|0.0.4|June 1||800x100"},
        {"SCREEN = 800, 600, 5\n", "Orvex||Orvex|0.0.4|June 1||800x600"},
        {"SCREEN =\n", "Orvex||Orvex|0.0.4|June 1||640x480"},
        {"FILLMODE = 3\n", "Orvex||Orvex|0.0.4|June 1||640x480"},
        {nullptr, "Orvex||Orvex|0.0.4|June 1||640x480"},
    };
    for (const Case& c : cases) {
        folder = orvex_test::MakeScratchFolder("program_screen");
        if (c.ini)
            Put("ini.txt", c.ini);
        ProgramRun run = RunProgram(folder, "1 close\n");
        EXPECT_EQ(run.exitCode, 0);
        ASSERT_EQ(run.With("window ").size(), 1u) << (c.ini ? c.ini : "no ini.txt");
        EXPECT_EQ(run.With("window ")[0], std::string(c.window) + " shown=1 destroyed=1")
            << (c.ini ? c.ini : "no ini.txt");
        EXPECT_EQ(run.With("box ").size(), c.ini ? 0u : 1u);
        EXPECT_TRUE(run.Has("class Orvex style=64 registered=0"));
    }
}

TEST_F(ProgramTest, WithoutSettingsTheFailureBoxShowsAndDefaultsApply)
{
    ProgramRun run = RunProgram(folder, "2 close\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.With("box "), std::vector<std::string>{"ERROR|| File loading failed! |ini.txt | "});
    EXPECT_NE(CreateDeviceCall(run).find("MultiSample 0/0"), std::string::npos)
        << CreateDeviceCall(run);
    EXPECT_TRUE(run.Has("call SetRenderState(FILLMODE, 3)"));
    EXPECT_TRUE(run.Has("call SetRenderState(MULTISAMPLEANTIALIAS, 0)"));
    EXPECT_TRUE(run.Has("call Clear(0, NULL, TARGET|ZBUFFER, 0xFF6482AA, 1, 0)"));
}

TEST_F(ProgramTest, SettingsReachTheDeviceAndInvalidOnesAreIgnored)
{
    Put("ini.txt", "BACK_RENDERER_COLOR = 255, 0, 0\nFILLMODE = 4\nMULTISAMPLEANTIALIAS = 2\n"
                   "MULTISAMPLE_TYPE = 4\n");
    ProgramRun run = RunProgram(folder, "2 close\n");
    EXPECT_NE(CreateDeviceCall(run).find("MultiSample 4/0"), std::string::npos);
    EXPECT_TRUE(run.Has("call Clear(0, NULL, TARGET|ZBUFFER, 0x01FF0000, 1, 0)"));
    EXPECT_TRUE(run.Has("call SetRenderState(FILLMODE, 3)"));
    EXPECT_TRUE(run.Has("call SetRenderState(MULTISAMPLEANTIALIAS, 0)"));
}

TEST_F(ProgramTest, WireframeFromSettingsIsUndoneByEveryFrame)
{
    Put("ini.txt", "FILLMODE = 2\n");
    ProgramRun run = RunProgram(folder, "3 close\n");
    std::vector<std::string> calls = run.With("call ");
    // After device creation each BeginScene is followed by solid fill.
    int scenes = 0;
    bool wireframeAtCreation = false;
    for (size_t i = 0; i < calls.size(); ++i) {
        if (calls[i] == "SetRenderState(FILLMODE, 2)" && scenes == 0)
            wireframeAtCreation = true;
        if (calls[i].rfind("BeginScene(", 0) == 0) {
            ++scenes;
            ASSERT_LT(i + 1, calls.size());
            EXPECT_EQ(calls[i + 1], "SetRenderState(FILLMODE, 3)");
        }
    }
    EXPECT_TRUE(wireframeAtCreation);
    EXPECT_EQ(scenes, 3);
}

TEST_F(ProgramTest, FailedDeviceCreationEndsQuietlyWithoutWindowOrLog)
{
    Put("ini.txt", "SCREEN = 800, 600\n");
    ProgramRun run = RunProgram(folder, "0 fail_device\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(CreateDeviceCall(run).find(" -> "), std::string::npos);
    ASSERT_EQ(run.With("window ").size(), 1u);
    EXPECT_NE(run.With("window ")[0].find("shown=0"), std::string::npos);
    EXPECT_TRUE(run.With("box ").empty());
    EXPECT_TRUE(run.With("peek ").empty());
    EXPECT_FALSE(orvex_test::FileExists(folder + "/LOG.first"));
    EXPECT_FALSE(orvex_test::FileExists(folder + "/LOG.dr"));
}

TEST_F(ProgramTest, UnsupportedMultisamplingEndsQuietlyLikeAnyDeviceFailure)
{
    Put("ini.txt", "MULTISAMPLE_TYPE = 16\n");
    ProgramRun run = RunProgram(folder, "1 close\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(CreateDeviceCall(run).find("MultiSample 16/0"), std::string::npos);
    EXPECT_NE(CreateDeviceCall(run).find(" -> "), std::string::npos);
    EXPECT_EQ(orvex_test::ReadFile(folder + "/stderr.txt"),
              "CreateDevice: multisample type 16 is above this adapter's limit of 4\n");
    EXPECT_TRUE(run.With("box ").empty());
    EXPECT_TRUE(run.With("peek ").empty());
    EXPECT_FALSE(orvex_test::FileExists(folder + "/LOG.dr"));
}

TEST_F(ProgramTest, StartupLogFollowsTheEnginesOrder)
{
    // An empty folder: no textures, no effect, no level.
    Put("ini.txt", "SCREEN = 800, 600\n");
    ProgramRun run = RunProgram(folder, "1 close\n");
    std::vector<std::string> log = LogLines(folder + "/LOG.first");
    ASSERT_GE(log.size(), 14u);
    EXPECT_EQ(log[0].rfind("[Currient date: ", 0), 0u) << log[0];
    const std::vector<std::string> head = {
        "[0:0] [>>>] Initializing rendering manager : ",
        "[0:0] missed: textures\\_def\\white.bmp",
        "[0:0] missed: textures\\_def\\red.bmp",
        "[0:0] missed: textures\\_def\\Blue.bmp",
        "[0:0] missed: textures\\_def\\yellow.bmp",
        "[0:0] missed:  fx\\vor_Phong.fx",
        "[0:0] Rendering manager inicialized with 5 errors.",
        "[0:0] [>>>] Loading level : POLYGON01",
        "[0:0] [>>>] Loading Lights : ",
    };
    EXPECT_EQ(std::vector<std::string>(log.begin() + 1, log.begin() + 1 + head.size()), head);
    const std::vector<std::string> tail = {
        "[0:0] [i] Effect Manager setup completed. ",
        "[0:0] missed: textures\\_def\\white.bmp",
        "[0:0] missed: textures\\_def\\red.bmp",
        "[0:0] missed: textures\\_def\\Blue.bmp",
    };
    EXPECT_EQ(std::vector<std::string>(log.end() - tail.size(), log.end()), tail);
    for (const char* stage : {"[0:0] [>>>] Loading Objects : ", "[0:0] [>>>] Loading cameras : ",
                              "[0:0] [>>>] Loading effects : "})
        EXPECT_EQ(std::count(log.begin(), log.end(), stage), 1) << stage;
}

TEST_F(ProgramTest, LogIsWrittenAtDestroyAndAgainAtProcessEnd)
{
    Put("ini.txt", "SCREEN = 800, 600\n");
    ProgramRun run = RunProgram(folder, "0 tick 7\n5 close\n");
    EXPECT_EQ(run.exitCode, 0);
    std::string atDestroy = orvex_test::ReadFile(folder + "/LOG.first");
    std::string atExit = orvex_test::ReadFile(folder + "/LOG.dr");
    EXPECT_FALSE(atDestroy.empty());
    EXPECT_EQ(atExit, atDestroy);
}

TEST_F(ProgramTest, FpsIsFramesOverWholeSecondsOnceMoreThanASecondHasPassed)
{
    // 100 ms before every frame: frame 11 ends the first second (1100 ms, 11 frames); then a
    // 2.5 s stall before frame 13 makes 2 frames over 2700 ms, and 2 / 2 = 1.
    Put("ini.txt", "SCREEN = 800, 600\n");
    std::string script;
    for (int frame = 0; frame < 14; ++frame)
        script += std::to_string(frame) + " advance 100\n";
    script += "12 advance 2500\n14 close\n";
    ProgramRun run = RunProgram(folder, script);
    std::vector<std::string> shown;
    std::regex fps("DrawTextA\\(\"([0-9]+) fps\".*");
    for (const std::string& call : run.With("call ")) {
        std::smatch match;
        if (std::regex_match(call, match, fps))
            shown.push_back(match[1]);
    }
    std::vector<std::string> expected(11, "0");
    expected.insert(expected.end(), {"11", "11", "1"});
    EXPECT_EQ(shown, expected);
}

struct Peek {
    unsigned frames;
    bool leftButtonDown;
    unsigned long toggle, spare, key;
};

std::vector<Peek> Peeks(const ProgramRun& run)
{
    std::vector<Peek> peeks;
    std::regex line("[0-9]+ frames=([0-9]+) lbd=([01])"
                    "(?: now=[0-9]+ toggle=([0-9]+) spare=([0-9]+) key=([0-9]+))?");
    for (const std::string& text : run.With("peek ")) {
        std::smatch m;
        if (!std::regex_match(text, m, line))
            continue;
        Peek p = {(unsigned)std::stoul(m[1]), m[2] == "1", 0, 0, 0};
        if (m[3].matched) {
            p.toggle = std::stoul(m[3]);
            p.spare = std::stoul(m[4]);
            p.key = std::stoul(m[5]);
        }
        peeks.push_back(p);
    }
    return peeks;
}

TEST_F(ProgramTest, LeftButtonIsDownOnlyBetweenPressAndRelease)
{
    Put("ini.txt", "SCREEN = 800, 600\n");
    ProgramRun run = RunProgram(folder, "2 lpress 100 100\n4 lrelease 120 100\n6 close\n");
    std::vector<Peek> peeks = Peeks(run);
    ASSERT_FALSE(peeks.empty());
    for (const Peek& p : peeks) {
        // The press is retrieved at the pass after frame 2, the release after frame 4.
        bool held = p.frames >= 2 && p.frames < 4;
        if (p.frames == 2 && !p.leftButtonDown)
            continue;  // the pass that retrieves the press
        if (p.frames == 4 && p.leftButtonDown)
            continue;  // the pass that retrieves the release
        EXPECT_EQ(p.leftButtonDown, held) << "after frame " << p.frames;
    }
}

TEST_F(ProgramTest, ReleaseAndKeyDownMoveTheConsoleKeyTimersAhead)
{
    Put("ini.txt", "SCREEN = 800, 600\n");
    ProgramRun run = RunProgram(folder, "2 lpress 10 10\n4 lrelease 10 10\n6 key 65\n8 close\n");
    std::vector<Peek> peeks = Peeks(run);
    std::vector<std::pair<unsigned, unsigned long>> jumps;
    for (size_t i = 1; i < peeks.size(); ++i) {
        const Peek& a = peeks[i - 1];
        const Peek& b = peeks[i];
        if (a.toggle == b.toggle && a.spare == b.spare && a.key == b.key)
            continue;
        EXPECT_EQ(b.toggle - a.toggle, 100000u);
        EXPECT_EQ(b.spare - a.spare, 100000u);
        EXPECT_EQ(b.key - a.key, 100000u);
        jumps.emplace_back(b.frames, b.toggle - a.toggle);
    }
    EXPECT_EQ(jumps, (std::vector<std::pair<unsigned, unsigned long>>{{4, 100000}, {6, 100000}}));
}

TEST_F(ProgramTest, GarbageLevelAndUnwritableLogDoNotStopTheProgram)
{
    std::string garbage;
    for (int i = 0; i < 3000; ++i)
        garbage += (char)((i * 37 + 11) & 0xFF);
    Put("POLYGON01", garbage + "{{{ \"unterminated");
    Put("ini.txt", "SCREEN = 800, 600\n");
    orvex_test::MakeFolder(folder + "/LOG.dr");  // a directory where the log should go
    ProgramRun run = RunProgram(folder, "0 tick 5\n3 close\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_FALSE(run.Has("peek_limit_reached"));
    EXPECT_EQ(run.With("call Present(").size(), 3u);
}

}  // namespace
