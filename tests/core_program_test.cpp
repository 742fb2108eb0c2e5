// Whole runs of the viewer on the headless platform: the real WinMain, one process per run
// (the engine is a global), driven by a script of clock steps and input (core_program_run.cpp).
// The golden records under golden/ hold whole start-up logs, start-up and frame calls, and every
// pass of a scripted run; MatchesGolden names the first line that differs.
#include <gtest/gtest.h>

#include <stdio.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
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

// Runs the program in folder with the given script and command line; the folder holds whatever
// the test put there, and receives stdout.txt and stderr.txt.
ProgramRun RunProgram(const std::string& folder, const std::string& script, const char* commandLine = "")
{
    orvex_test::WriteFile(folder + "/script.txt", script);
    ProgramRun run;
    pid_t child = fork();
    if (child == 0) {
        if (chdir(folder.c_str()) != 0 || !freopen("stderr.txt", "w", stderr) || !freopen("stdout.txt", "w", stdout))
            _exit(101);
        execl(CORE_PROGRAM_RUN, CORE_PROGRAM_RUN, commandLine, (char*)NULL);
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

// A saved log, one line per message line: its category keyword (or "-") and its text.
std::string SavedLog(const std::string& path)
{
    DynamicRow log;
    if (!log.iLoadFromFile(path.c_str()))
        return "no log at " + path + "\n";
    std::string text;
    unsigned int knot = log.iLookId("LOG");
    for (unsigned int id = log.TopId(knot); id; id = log.NextId(id)) {
        unsigned int category = log.TopId(id);
        text += category ? log.iLookName(category).getChars() : "-";
        text += std::string(" ") + log.iLookName(id).getChars() + "\n";
    }
    return text;
}

// The lines of run.txt that start with one of the prefixes, in order.
std::string Record(const ProgramRun& run, std::initializer_list<const char*> prefixes)
{
    std::string text;
    for (const std::string& line : run.lines)
        for (const char* prefix : prefixes)
            if (line.rfind(prefix, 0) == 0) {
                text += line + "\n";
                break;
            }
    return orvex_test::Printable(text);
}

std::string CreateDeviceCall(const ProgramRun& run)
{
    for (const std::string& call : run.With("call "))
        if (call.rfind("CreateDevice(", 0) == 0)
            return call;
    return "";
}

// The recorded calls of a run, cut into the start-up and the frames, each frame from a Clear
// to the Present after it.
struct RunCalls {
    explicit RunCalls(const ProgramRun& run)
    {
        for (const std::string& line : run.With("call ")) {
            if (line.rfind("Clear(", 0) == 0)
                frames.emplace_back(calls.size(), calls.size());
            calls.push_back(line);
            if (line.rfind("Present(", 0) == 0 && !frames.empty())
                frames.back().second = calls.size();
        }
    }
    std::string Section(const std::string& title, size_t from, size_t to) const
    {
        std::string text = "== " + title + "\n";
        for (size_t i = from; i < to && i < calls.size(); ++i)
            text += calls[i] + "\n";
        return text;
    }
    std::string StartUp() const { return Section("start-up", 0, frames.empty() ? calls.size() : frames[0].first); }
    std::string Frame(size_t n, const std::string& title) const
    {
        if (n == 0 || n > frames.size())
            return "== no frame " + std::to_string(n) + "\n";
        return Section("frame " + std::to_string(n) + ", " + title, frames[n - 1].first, frames[n - 1].second);
    }
    std::vector<std::string> calls;
    std::vector<std::pair<size_t, size_t>> frames;
};

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
    struct Case { const char* ini; /* null: no ini.txt */ const char* window; } cases[] = {
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

// A device that cannot be made, asked for or for multisampling the adapter lacks: the program
// ends quietly, its window never shown, no log written.
TEST_F(ProgramTest, FailedDeviceCreationEndsQuietlyWithoutWindowOrLog)
{
    // Each refusal is told on standard error, in one line (a failure the script injects has no
    // reason to tell).
    const struct {
        const char* ini;
        const char* script;
        const char* said;
    } cases[] = {{"SCREEN = 800, 600\n", "0 fail_device\n", ""},
                 {"MULTISAMPLE_TYPE = 16\n", "1 close\n",
                  "CreateDevice: multisample type 16 is above this adapter's limit of 4\n"}};
    for (const auto& [ini, script, said] : cases) {
        folder = orvex_test::MakeScratchFolder("program_no_device");
        Put("ini.txt", ini);
        ProgramRun run = RunProgram(folder, script);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_NE(CreateDeviceCall(run).find(" -> "), std::string::npos) << ini;
        ASSERT_EQ(run.With("window ").size(), 1u);
        EXPECT_NE(run.With("window ")[0].find("shown=0"), std::string::npos) << ini;
        EXPECT_TRUE(run.With("box ").empty() && run.With("peek ").empty()) << ini;
        EXPECT_FALSE(orvex_test::FileExists(folder + "/LOG.first") || orvex_test::FileExists(folder + "/LOG.dr"));
        EXPECT_EQ(orvex_test::ReadFile(folder + "/stderr.txt"), said);
    }
}

// What the program answers before it makes a window: help, its version, a command line it
// cannot read, and a machine without a display unless a picture is asked for.
TEST_F(ProgramTest, AnswersBeforeAnyWindowMatchTheirRecord)
{
    const struct {
        const char* commandLine;
        const char* script;
    } cases[] = {{"--help", "1 close"},
                 {"-h", "1 close"},
                 {"--version", "1 close"},
                 {"--frobnicate", "1 close"},
                 {"", "0 no_display; 1 close"},
                 {"--screenshot shot.png", "0 no_display"},
                 {"--screenshot shot.png --size 320x200", "0 tick 10"},
                 {"--screenshot shot.png", "0 fail_device"},
                 {"--screenshot shot.png", "0 no_display; 1 close"}};
    std::string text;
    for (const auto& [commandLine, script] : cases) {
        folder = orvex_test::MakeScratchFolder("program_answers");
        ProgramRun run = RunProgram(folder, std::regex_replace(script, std::regex("; "), "\n") + "\n", commandLine);
        const bool shot = std::filesystem::exists(folder + "/shot.png");
        text += "== \"" + std::string(commandLine) + "\", " + script + "\nexit " + std::to_string(run.exitCode) +
                ", " + std::to_string(run.With("window ").size()) + " window(s)" +
                (shot ? ", shot.png written\n" : "\n") + Record(run, {"device ", "window "}) + "-- stdout\n" +
                orvex_test::ReadFile(folder + "/stdout.txt") + "-- stderr\n" +
                orvex_test::ReadFile(folder + "/stderr.txt");
    }
    EXPECT_TRUE(orvex_test::MatchesGolden("answers_before_a_window.txt", orvex_test::Printable(text)));
}

TEST_F(ProgramTest, FontsThatCannotBeMadeAreNamedInTheLogAndTheProgramGoesOn)
{
    ProgramRun run = RunProgram(folder, "0 fail_fonts\n2 close\n");
    EXPECT_EQ(run.exitCode, 0);
    const std::string log = SavedLog(folder + "/LOG.first");
    for (const char* font : {"Font8Verdana", "Font16Verdana", "Font6Kartika"})
        EXPECT_NE(log.find(std::string("_ERROR_ [0:0] failed: CreateFont ") + font + "\n"), std::string::npos)
            << font << "\n" << log;
}

TEST_F(ProgramTest, StartupLogMatchesItsRecord)
{
    struct Case { bool withData; const char* record; const char* commandLine; } cases[] = {
        {false, "startup_empty_folder.txt", ""}, {true, "startup_data.txt", ""},
        {true, "startup_model_view.txt", "meshes/torus.x"}};
    for (const Case& c : cases) {
        folder = orvex_test::MakeScratchFolder(c.record);
        if (c.withData)
            orvex_test::CopyFromData(folder, ".");
        ProgramRun run = RunProgram(folder, "1 close\n", c.commandLine);
        EXPECT_EQ(run.exitCode, 0);
        std::string text = Record(run, {"device ", "window ", "class ", "box "}) +
                           orvex_test::Printable(SavedLog(folder + "/LOG.first"));
        text += orvex_test::Printable(RunCalls(run).Frame(1, "console hidden"));
        EXPECT_TRUE(orvex_test::MatchesGolden(c.record, text));
    }
}

// One object, two cameras and a light; the level's first frame, then a frame with the console
// shown, after the start-up calls (device creation, the console's resources, the level).
TEST_F(ProgramTest, StartupAndFramesInBothConsoleLooksMatchTheirRecord)
{
    orvex_test::CopyFromData(folder, "objects/box_plain.obj");
    orvex_test::CopyFromData(folder, "meshes/cube.x");
    orvex_test::CopyFromData(folder, "textures/_def");
    Put("ini.txt", "SCREEN = 800, 600\n");
    Put("POLYGON01", "_LIGHTS_ { lamp }\n"
                     "lamp { _POSITION_ { -160 220 -180 } _LOOK_ { 0 0 0 } _COLOR_ { 1 0.86 0.7 } }\n"
                     "_OBJECTS_ { box { _OBJECT_TYPE_ { _OBJECT_SIMPLE_ }\n"
                     "    _OBJECT_PATH_ { objects\\box_plain.obj } _POSITION_ { 70 20 -110 }\n"
                     "    _ROTATION_ { 10 20 30 } } }\n"
                     "_CAMERAS_ { front { _POSITION_ { 0 150 -320 } _LOOK_ { 0 20 0 } }\n"
                     "    side { _POSITION_ { 260 70 -120 } _LOOK_ { 0 30 20 } } }\n");
    // Tab makes the second camera the active one. The console key is held for a pass. Presses
    // near the input line's lower right corner, on the log view's thumb and inside its panel each
    // hold the button while the cursor moves on (to the top of the thumb's band for the thumb); a
    // frame draws where the cursor was at the end of the frame before.
    ProgramRun run = RunProgram(folder, "0 tick 40\n10 key 9\n11 keyup 9\n12 key 192\n13 keyup 192\n"
                                        "22 lpress 228 245\n23 move 300 150\n26 lrelease 300 150\n"
                                        "28 lpress 524 203\n29 move 524 67\n31 lrelease 524 67\n"
                                        "33 lpress 208 131\n34 move 248 111\n36 lrelease 248 111\n"
                                        "39 close\n");
    RunCalls calls(run);
    ASSERT_GE(calls.frames.size(), 38u);
    std::string text = Record(run, {"device "}) + calls.StartUp() + calls.Frame(1, "console hidden") +
                       calls.Frame(21, "console shown, second camera active") +
                       calls.Frame(25, "dragging the input line") + calls.Frame(27, "after the drop") +
                       calls.Frame(31, "the log's thumb held") + calls.Frame(32, "the log view focused") +
                       calls.Frame(35, "dragging the log view") + calls.Frame(38, "after its drop");
    EXPECT_TRUE(orvex_test::MatchesGolden("frames_small_level.txt", orvex_test::Printable(text)));
}

// Calls a run must hold in a row: settings reach the device and wrong ones are ignored, font
// heights follow the screen's dpi, a camera placed beyond the int range is shown held to it, a
// scene left open makes the frame present without drawing; an empty object file and a dropped
// model whose bounds are not finite (so not placed in view) keep the engine's identity world.
TEST_F(ProgramTest, SettingsAndUnusualConditionsGiveTheirCalls)
{
    const std::string font = "D3DXCreateFontA(", verdana = ", 0, 700, 0, 0, 1, 0, 0, 0, \"Verdana\")";
    const char* odd = "BACK_RENDERER_COLOR = 255, 0, 0\nFILLMODE = 4\nMULTISAMPLEANTIALIAS = 2\n"
                      "MULTISAMPLE_TYPE = 4\n";
    struct Case {
        const char* ini;
        const char* script;
        const char* level;
        std::vector<std::string> calls;
        bool oddModels = false;  // an empty empty.obj; meshes/cube.x (dropped) with a corner at -1e39
    } cases[] = {
        {odd, "2 close\n", "",
         {"CreateDevice(0, HAL, SOFTWARE_VERTEXPROCESSING, {0x0 UNKNOWN, MultiSample 4/0, DISCARD, "
          "Windowed 1, DepthStencil 1 D24S8, Interval 0x80000000})",
          "SetRenderState(ZENABLE, 1)", "SetRenderState(ANTIALIASEDLINEENABLE, 1)",
          "SetRenderState(FILLMODE, 3)", "SetRenderState(MULTISAMPLEANTIALIAS, 0)"}},
        {odd, "2 close\n", "", {"Clear(0, NULL, TARGET|ZBUFFER, 0x01FF0000, 1, 0)", "BeginScene()"}},
        {"FILLMODE = 2\nMULTISAMPLEANTIALIAS = 1\n", "2 close\n", "",
         {"SetRenderState(FILLMODE, 2)", "SetRenderState(MULTISAMPLEANTIALIAS, 1)"}},
        {"", "0 dpi 120\n2 close\n", "", {font + "-13" + verdana, font + "-27" + verdana}},
        {"", "0 dpi 144\n2 close\n", "", {font + "-16" + verdana, font + "-32" + verdana}},
        {"", "2 close\n", "_CAMERAS_ { far { _POSITION_ { 2147483648 -1e30 0 } _LOOK_ { 0 0 1 } } }\n",
         {"DrawTextA(\"\\xCA\\xE0\\xEC\\xE5\\xF0\\xE0 \\xE2 : Position 2147483647 -2147483648 0  "
          "Rotation 0 0 1\", {5,25,0,0}, DT_NOCLIP, 0xFFFFFFFF)"}},
        {"", "1 begin_scene\n3 close\n", "",
         {"Clear(0, NULL, TARGET|ZBUFFER, 0xFF6482AA, 1, 0)", "BeginScene() -> INVALIDCALL",
          "Present(NULL, NULL, NULL, NULL)"}},
        {"", "0 drop\n3 close\n",
         "_LIGHTS_ { lamp } lamp { _POSITION_ { -160 220 -180 } }\n"
         "_OBJECTS_ { hollow { _OBJECT_TYPE_ { _OBJECT_SIMPLE_ } _OBJECT_PATH_ { empty.obj } } }\n"
         "_CAMERAS_ { front { _POSITION_ { 0 150 -320 } _LOOK_ { 0 20 0 } } }\n",
         {"SetTransform(WORLD, {1 0 0 0; 0 1 0 0; 0 0 1 0; 0 0 0 1})",
          "SetTransform(WORLD, {1 0 0 0; 0 1 0 0; 0 0 1 0; 0 0 0 1})",
          "SetMaterial({D 0.5 0.5 0.5 1, A 0.5 0.5 0.5 1, S 0 0 0 1, E 0 0 0 1, P 1})"},
         true},
    };
    for (const Case& c : cases) {
        folder = orvex_test::MakeScratchFolder("program_unusual");
        Put("ini.txt", std::string("SCREEN = 800, 600\n") + c.ini);
        Put("POLYGON01", c.level);
        if (c.oddModels) {
            Put("empty.obj", "");
            orvex_test::MakeFolder(folder + "/meshes");
            Put("meshes/cube.x", "xof 0303txt 0032\nMesh m {\n 3;\n -1e39;0;0;, 1;0;0;, 0;1;0;;\n 1;\n 3;0,1,2;;\n}\n");
        }
        std::vector<std::string> calls = RunCalls(RunProgram(folder, c.script)).calls;
        for (std::string& call : calls)
            call = orvex_test::Printable(call);
        auto at = std::search(calls.begin(), calls.end(), c.calls.begin(), c.calls.end());
        EXPECT_NE(at, calls.end()) << c.ini << c.script << c.level << "\nwants in a row: " << c.calls[0];
    }
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
    // stall before frame 13 makes 2 frames over 1001 ms, just more than a second: 2 / 1 = 2.
    Put("ini.txt", "SCREEN = 800, 600\n");
    std::string script;
    for (int frame = 0; frame < 14; ++frame)
        script += std::to_string(frame) + " advance 100\n";
    script += "12 advance 801\n14 close\n";
    ProgramRun run = RunProgram(folder, script);
    std::vector<std::string> shown;
    std::regex fps("DrawTextA\\(\"([0-9]+) fps\".*");
    for (const std::string& call : run.With("call ")) {
        std::smatch match;
        if (std::regex_match(call, match, fps))
            shown.push_back(match[1]);
    }
    std::vector<std::string> expected(11, "0");
    expected.insert(expected.end(), {"11", "11", "2"});
    EXPECT_EQ(shown, expected);
}

// Every pass of the loop: W walks the camera for three frames by the frame's own time, the
// console opens, a press inside the input line near its lower right corner drags it and the
// release drops it up and to the right; a typed line runs, and again after Up brings it back.
TEST_F(ProgramTest, PassesOfAScriptedRunMatchTheirRecord)
{
    orvex_test::CopyFromData(folder, "mouse.cur");
    orvex_test::CopyFromData(folder, "meshes/cube.x");  // dropped on the window
    Put("ini.txt", "SCREEN = 800, 600\n");
    Put("POLYGON01", "_CAMERAS_ { front { _POSITION_ { 0 150 -320 } _LOOK_ { 0 20 0 } } }\n");
    ProgramRun run = RunProgram(folder, "0 tick 20\n1 key 87\n4 keyup 87\n5 key 192\n6 keyup 192\n"
                                        "24 lpress 228 245\n26 lrelease 240 245\n28 key 65\n29 keyup 65\n"
                                        "30 key 13\n31 keyup 13\n32 key 123\n33 keyup 123\n34 drop\n"
                                        "36 key 38\n37 keyup 38\n38 key 13\n39 keyup 13\n42 close\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(orvex_test::MatchesGolden("program_passes.txt",
                                          Record(run, {"window ", "peek ", "call ShowWindow"}) +
                                              orvex_test::Printable(SavedLog(folder + "/LOG.first"))));
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
