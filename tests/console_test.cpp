// The console's windows on the headless platform: the input line's keys, focus and drag, the
// console's timers and mouse routing, the log view's window of lines and its scrolling.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <regex>
#include <string>
#include <vector>

#include "call_log.h"
#include "console/console.h"
#include "console/input_line.h"
#include "console/log_view.h"
#include "console/outline_style.h"
#include "core_test_support.h"
#include "headless_d3d9.h"
#include "headless_win32.h"
#include "scene_test_support.h"

namespace {

struct Keys {
    BYTE state[256] = {};
    Keys(std::initializer_list<int> down)
    {
        for (int key : down)
            state[key] = 0x80;
    }
};

// A text drawn with DT_NOCLIP: where and in which colour.
struct DrawnText {
    std::string text;
    int x;
    int y;
    std::string colour;
};

std::vector<DrawnText> TextsDrawn()
{
    static const std::regex call("DrawTextA\\(\"(.*)\", \\{(-?\\d+),(-?\\d+),0,0\\}, DT_NOCLIP, 0x([0-9A-F]{8})\\)");
    std::vector<DrawnText> drawn;
    for (const std::string& line : orvex_headless::call_log()) {
        std::smatch m;
        if (std::regex_match(line, m, call))
            drawn.push_back({m[1], std::stoi(m[2]), std::stoi(m[3]), m[4]});
    }
    return drawn;
}

// The log lines the log view drew (they start 12 pixels right of the panel): text without its
// stamp, and y.
std::vector<std::pair<std::string, int>> LogRows(const LogView& view)
{
    std::vector<std::pair<std::string, int>> rows;
    for (const DrawnText& t : TextsDrawn())
        if (t.x == view.x + 12) {
            size_t stamp = t.text.find("] ");
            rows.emplace_back(stamp == std::string::npos ? t.text : t.text.substr(stamp + 2), t.y);
        }
    return rows;
}

class ConsoleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = orvex_test::MakeScratchFolder("console");
        orvex_test::CopyFromData(folder, "textures/_def");
        orvex_test::EnterFolder(folder);
        scene_test::ResetPlatform();
        device = scene_test::CreateDevice();
        ASSERT_NE(device, nullptr);
        device->BeginScene();  // the console draws inside the frame's scene
        console = new Console(&device);
        queue.fresh();
        queue.AddToId(0, true, "TIME_LINE");
        console->commandQueue = &queue;
        console->inputLine->commandQueue = &queue;
        orvex_headless::clear_call_log();
        orvex_headless::reset_d3d9();
    }
    void TearDown() override
    {
        delete console;
        if (device) {
            device->EndScene();
            EXPECT_EQ(device->Release(), 0u) << "the console kept a resource of the device";
        }
        orvex_test::LeaveFolder();
    }

    InputLine& line() { return *console->inputLine; }
    LogView& view() { return *console->logView; }

    // One HandleKeys call as after a key-down message: the key timer passes at once.
    void Press(std::initializer_list<int> down)
    {
        line().keyTimer.referenceTime += 100000;
        line().HandleKeys(Keys(down).state);
    }
    void TypeText(const std::string& text)
    {
        for (char c : text) {
            if (c >= 'a' && c <= 'z')
                Press({c - 'a' + 'A'});
            else if (c == ' ')
                Press({VK_SPACE});
            else
                Press({c});
        }
    }
    std::vector<std::string> Queued()
    {
        std::vector<std::string> lines;
        for (unsigned id = queue.TopId(1); id; id = queue.NextId(id))
            lines.push_back(queue.iLookName(id).getChars());
        return lines;
    }
    void AddLines(int count, int category = CONSOLE_TEXT)
    {
        for (int i = 0; i < count; ++i)
            console->AddMessage(("line " + std::to_string(lineCount + 1 + i)).c_str(), category);
        lineCount += count;
    }
    std::vector<std::pair<std::string, int>> DrawnRows()
    {
        orvex_headless::clear_call_log();
        view().Draw();
        return LogRows(view());
    }
    // The screen quads the log view draws, each as left, top, right, bottom, depth and colour.
    std::vector<std::vector<float>> DrawnQuads()
    {
        const size_t first = orvex_headless::recorded_draws().size();
        view().Draw();
        const auto& draws = orvex_headless::recorded_draws();
        std::vector<std::vector<float>> quads;
        for (size_t i = first; i < draws.size(); ++i) {
            if (draws[i].type != D3DPT_TRIANGLESTRIP || draws[i].VertexCount() != 4) continue;
            DWORD colour = 0;
            memcpy(&colour, &draws[i].vertices[16], 4);  // after x, y, z and rhw
            const float x0 = draws[i].Float(0, 0), y0 = draws[i].Float(0, 1);
            const float x1 = draws[i].Float(3, 0), y1 = draws[i].Float(3, 1);
            quads.push_back({std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1),
                             draws[i].Float(0, 2), (float)(colour & 0xFFFFFF)});
        }
        return quads;
    }
    // The thumb's quad where DrawnQuads should find it: 12 pixels square about the thumb's
    // centre, in front of the panel.
    std::vector<float> ThumbQuad()
    {
        const float tx = (float)view().thumbX, ty = (float)view().thumbY;
        return {tx - 6, ty - 6, tx + 6, ty + 6, 0.01f, 0x2D2D37};
    }

    std::string folder;
    IDirect3DDevice9* device = nullptr;
    Console* console = nullptr;
    DynamicRow queue;
    int lineCount = 1;  // the start-up line is line 1
};

TEST_F(ConsoleTest, KeyTableTypesOneCharacterFromTheFirstKeyDown)
{
    const int L = VK_LSHIFT, R = VK_RSHIFT;
    struct Case { std::initializer_list<int> keys; const char* typed; } cases[] = {
        {{'A'}, "a"}, {{'Z', L}, "Z"}, {{'Q', R}, "q"},
        {{VK_OEM_MINUS}, "-"}, {{VK_OEM_MINUS, L}, "_"}, {{VK_OEM_MINUS, R}, "_"},
        {{'1'}, "1"}, {{'1', L}, "!"}, {{'2', L}, "@"}, {{'6', L}, "^"}, {{'9', L}, "("},
        {{'0'}, "0"}, {{'0', L}, ")"}, {{'5', R}, "5"},
        {{VK_ADD}, "="}, {{VK_ADD, L}, "+"}, {{VK_DECIMAL}, "\\"}, {{VK_DECIMAL, L}, "|"},
        {{VK_OEM_PERIOD}, "."}, {{VK_OEM_PERIOD, L}, ">"}, {{VK_OEM_COMMA}, ","},
        {{VK_OEM_COMMA, L}, "<"}, {{VK_SPACE}, " "}, {{VK_SPACE, L}, " "},
        // The main keyboard's symbol keys come after the table and take either Shift key.
        {{VK_OEM_5}, "\\"}, {{VK_OEM_5, R}, "|"}, {{VK_OEM_2}, "/"}, {{VK_OEM_2, L}, "?"},
        {{VK_OEM_PLUS}, "="}, {{VK_OEM_PLUS, R}, "+"}, {{VK_OEM_4}, "["}, {{VK_OEM_4, L}, "{"},
        {{VK_OEM_6}, "]"}, {{VK_OEM_6, R}, "}"}, {{VK_OEM_1}, ";"}, {{VK_OEM_1, L}, ":"},
        {{VK_OEM_7}, "'"}, {{VK_OEM_7, R}, "\""},
        // Keys that type nothing: a Shift key alone, the console key.
        {{L}, ""}, {{VK_OEM_3}, ""},
        // The table's order decides between keys held together.
        {{'B', 'A'}, "a"}, {{'1', 'Z'}, "z"}, {{VK_SPACE, VK_OEM_MINUS}, "-"}, {{VK_ADD, '0'}, "0"},
        {{VK_OEM_5, VK_SPACE}, " "}, {{VK_OEM_2, 'Q'}, "q"},
    };
    for (const Case& c : cases) {
        line().text = "";
        Press(c.keys);
        EXPECT_EQ(std::string(line().text.getChars()), c.typed) << "case typing " << c.typed;
    }
}

TEST_F(ConsoleTest, AKeyHeldDownIsTakenAgainOnlyAfterItsDelayOrANewKeyMessage)
{
    Press({'A'});
    const Keys a({'A'});
    orvex_headless::advance_time(1607);
    line().HandleKeys(a.state);
    EXPECT_STREQ(line().text.getChars(), "a");
    orvex_headless::advance_time(1);
    line().HandleKeys(a.state);
    EXPECT_STREQ(line().text.getChars(), "aa");
    Press({'A'});
    EXPECT_STREQ(line().text.getChars(), "aaa");
}

TEST_F(ConsoleTest, FullLineTakesNoCharacterButBackspaceAndEnterStillWork)
{
    for (int i = 0; i < 60; ++i)
        Press({'X'});
    EXPECT_EQ(line().text.length(), 50u);
    Press({'A', VK_SPACE});
    EXPECT_EQ(line().text.length(), 50u);

    // One Backspace press seen by two frames removes one character.
    const Keys back({VK_BACK});
    line().keyTimer.referenceTime += 100000;
    line().HandleKeys(back.state);
    line().HandleKeys(back.state);
    EXPECT_EQ(line().text.length(), 49u);
    Press({'A'});
    EXPECT_EQ(std::string(line().text.getChars()), std::string(49, 'x') + "a");

    Press({VK_RETURN});
    EXPECT_TRUE(line().text.empty());
    EXPECT_EQ(Queued(), std::vector<std::string>{std::string(49, 'x') + "a"});
}

TEST_F(ConsoleTest, PressesOnTheBorderAreOutsideAndOutsidePressesStopTyping)
{
    console->visible = true;
    // The input line is 215 x 17 at (9, 200).
    const struct { int x, y; bool inside; } presses[] = {
        {9, 205, false}, {224, 205, false}, {100, 200, false}, {100, 217, false},
        {10, 201, true}, {223, 216, true}, {-100000, 100000, false}, {2000000000, -2000000000, false},
    };
    for (const auto& p : presses) {
        console->HandleMouse(1, p.x, p.y);
        console->HandleMouse(2, p.x, p.y);
        EXPECT_EQ(line().focused, p.inside) << p.x << "," << p.y;
        EXPECT_EQ(line().x, 9);
        EXPECT_EQ(line().y, 200);
    }

    console->HandleMouse(1, 600, 400);  // outside both windows
    console->HandleMouse(2, 600, 400);
    TypeText("abc");
    EXPECT_TRUE(line().text.empty());
    EXPECT_EQ(line().textColor, 0xFFC8C8F0u);
    EXPECT_FALSE(view().active);
    console->HandleMouse(1, 50, 210);
    console->HandleMouse(2, 50, 210);
    TypeText("abc");
    EXPECT_STREQ(line().text.getChars(), "abc");
}

TEST_F(ConsoleTest, ConsoleOpensAfter336MsAndClosesWithItsKeyAfter1608Ms)
{
    console->toggleTimer.Start();
    orvex_headless::advance_time(335);
    console->ToggleVisible();
    EXPECT_FALSE(console->visible);
    orvex_headless::advance_time(1);
    console->ToggleVisible();
    EXPECT_TRUE(console->visible);

    orvex_headless::set_key_state(VK_OEM_3, true);
    orvex_headless::advance_time(1607);
    console->PollKeyboard();
    EXPECT_TRUE(console->visible);
    orvex_headless::advance_time(1);
    console->PollKeyboard();
    EXPECT_FALSE(console->visible);
}

TEST_F(ConsoleTest, ThumbReleaseScrollsByItsShareOfTheLog)
{
    AddLines(39);  // 40 lines
    // The thumb is centred at (516, 172); a press on it, released at y = 100.
    EXPECT_TRUE(view().HandleMouse(1, 516, 172));
    EXPECT_TRUE(view().thumbGrabbed);
    view().HandleMouse(2, 516, 100);
    EXPECT_EQ(view().thumbY, 94);
    EXPECT_EQ(view().topLine, 44);
    EXPECT_EQ(view().bottomLine, 31);
    std::vector<std::pair<std::string, int>> shown = DrawnRows();
    ASSERT_EQ(shown.size(), 9u);
    EXPECT_EQ(shown.front().second, 80);  // line 1, the start-up line, at y + 50
    EXPECT_EQ(shown.back(), std::make_pair(std::string("line 9"), 160));
    EXPECT_EQ(DrawnQuads().at(1), ThumbQuad()) << "the thumb's quad is rebuilt where it went";

    // Only a press in the band beside the thumb takes it; elsewhere the panel is taken. Only
    // a thumb taken within 6 pixels of its centre scrolls when released (and is let go).
    const int right = view().x + view().width;
    const struct { int dx, dy; bool grabs; } presses[] = {
        {-12, 0, false}, {-11, 0, true}, {-3, 0, true}, {-2, 0, false}, {-7, -12, false},
        {-7, -11, true}, {-7, -6, true}, {-7, -5, true}, {-7, 6, true}, {-7, 11, true}, {-7, 12, false},
    };
    for (const auto& p : presses) {
        const int ty = view().thumbY;  // a release of the thumb scrolls and moves it
        view().HandleMouse(1, right + p.dx, ty + p.dy);
        EXPECT_EQ(view().thumbGrabbed, p.grabs) << p.dx << ", " << p.dy;
        view().HandleMouse(2, right + p.dx, ty + p.dy);
        EXPECT_EQ(view().thumbGrabbed, p.grabs && std::abs(p.dy) >= 6) << p.dx << ", " << p.dy;
    }
}

TEST_F(ConsoleTest, HidingEndsDragsAndMovedWindowsStayOnScreen)
{
    AddLines(39);
    console->visible = true;
    console->toggleTimer.Start();
    // The panel taken by its top, then the input line; hidden, released while hidden, reopened.
    console->HandleMouse(1, 200, 35);
    console->HandleMouse(1, 100, 208);
    orvex_headless::advance_time(400);
    console->ToggleVisible();
    console->HandleMouse(2, 250, 10);
    orvex_headless::advance_time(400);
    console->ToggleVisible();
    ASSERT_TRUE(console->visible);
    EXPECT_FALSE(view().moving);
    EXPECT_FALSE(line().dragging);
    // The thumb then scrolls and leaves the panel where it is.
    console->HandleMouse(1, 516, 172);
    console->HandleMouse(2, 516, 100);
    EXPECT_EQ(view().x, 9);
    EXPECT_EQ(view().y, 30);
    EXPECT_EQ(view().bottomLine, 31);

    // Thrown past any edge, a window keeps 16 pixels on the screen.
    D3DVIEWPORT9 screen = {};
    ASSERT_EQ(device->GetViewport(&screen), D3D_OK);
    const int far = 100000;
    for (int to : {-far, far}) {
        console->HandleMouse(1, view().x + 20, view().y + 5);
        console->HandleMouse(2, view().x + 20 + to, view().y + 5 + to);
        console->HandleMouse(1, line().x + 5, line().y + 5);
        console->HandleMouse(2, line().x + 5 + to, line().y + 5 + to);
        const int w = (int)screen.Width - 16, h = (int)screen.Height - 16;
        EXPECT_EQ((std::vector<int>{view().x, view().y, line().x, line().y}),
                  (to < 0 ? std::vector<int>{16 - view().width, 16 - view().height, 16 - line().width,
                                             16 - line().height}
                          : std::vector<int>{w, h, w, h}));
        EXPECT_EQ(DrawnRows().at(0).second, view().y + 50) << "line 1 goes with the panel";
    }
}

TEST_F(ConsoleTest, ShortPanelsAndHugeLogsScrollWithoutFault)
{
    view().Place(9, 30, 515, 50, 0xFF969696);
    AddLines(99);
    view().HandleMouse(1, view().thumbX, view().thumbY);
    view().HandleMouse(2, view().thumbX, 40);
    // Thumb at 34: 46 pixels of 50 above the bottom, 92 % of 100 lines.
    EXPECT_EQ(view().bottomLine, 89);
    view().ScrollLines(0);
    EXPECT_EQ(view().thumbY, 38) << "placed again by the same share: at 34, held 8 inside the panel";
    view().Place(9, 30, 515, 200, 0xFF969696);
    view().ScrollToOldest();
    EXPECT_EQ(view().thumbY, 60) << "a hundredth of 200 pixels is 2: 85 % is 170 above the bottom";

    view().Place(9, 30, 515, 150, 0xFF969696);
    view().log = new DynamicRow;
    const unsigned knot = view().log->AddToId(0, true, "LOG");
    for (int i = 0; i < 200000; ++i)
        view().log->AddToId(view().log->AddToId(knot, true, "x"), false, "_TEXT_");
    view().HandleMouse(1, 516, 172);
    view().HandleMouse(2, 516, 40);
    EXPECT_EQ(view().bottomLine, 291997);  // 146 % of 200000, less 3: beyond 16 bits
    EXPECT_EQ(DrawnRows().size(), 0u);  // the window lies before the oldest line
    delete view().log;
    view().log = &console->log;
}

TEST_F(ConsoleTest, UpAndDownWalkTheEnteredLinesNewestFirst)
{
    console->visible = true;
    for (const char* entered : {"one", "two", "two", "three", ""}) {
        line().text = entered;
        Press({VK_RETURN});
    }
    line().text = "draft";
    const struct { WPARAM key; const char* text; } steps[] = {
        {VK_DOWN, "draft"}, {VK_UP, "three"}, {VK_UP, "two"}, {VK_UP, "one"}, {VK_UP, "one"},
        {VK_DOWN, "two"},   {VK_DOWN, "three"}, {VK_DOWN, ""},  {VK_DOWN, ""},
    };
    for (const auto& step : steps) {
        console->HandleKeyDown(step.key);
        EXPECT_STREQ(line().text.getChars(), step.text) << "after key " << step.key;
    }
    console->visible = false;
    console->HandleKeyDown(VK_UP);
    EXPECT_STREQ(line().text.getChars(), "") << "the hidden console took Up";

    console->visible = true;
    for (int i = 0; i < 105; ++i) {
        line().text = ("line" + std::to_string(i)).c_str();
        Press({VK_RETURN});
    }
    for (int i = 0; i < 120; ++i)
        console->HandleKeyDown(VK_UP);
    EXPECT_STREQ(line().text.getChars(), "line5") << "not the 100 newest lines";
}

TEST_F(ConsoleTest, TabCompletesRoutingAndCommandWordsAndListsThemOnTheSecondTab)
{
    console->visible = true;
    // What one Tab completes, and what a second Tab lists (null: nothing).
    struct Case { const char* typed; const char* completed; const char* listed; } cases[] = {
        {"", "", "cam_mngr  camera_manager  obj_mngr  object_manager  console"},
        {"ob", "obj", "obj_mngr  object_manager"},
        {"cam_", "cam_mngr ", nullptr},
        {"obj_mngr sh", "obj_mngr show.list ", nullptr},
        {"object_manager load.O", "object_manager load.OBJECT_SIMPLE ", nullptr},
        {"cam_mngr camera.s", "cam_mngr camera.s", "camera.set  camera.speed"},
        {"camera_manager camera.n", "camera_manager camera.next ", nullptr},
        {"co", "console ", nullptr},
        {"x", "x", nullptr},
        {"console he", "console he", nullptr},
        {"obj_mngr show.list x", "obj_mngr show.list x", nullptr},
    };
    for (const Case& c : cases) {
        line().text = c.typed;
        const size_t before = scene_test::Messages(*console).size();
        console->HandleKeyDown(VK_TAB);
        EXPECT_STREQ(line().text.getChars(), c.completed) << c.typed;
        console->HandleKeyDown(VK_TAB);
        const std::vector<scene_test::Message> after = scene_test::Messages(*console);
        if (c.listed) {
            ASSERT_EQ(after.size(), before + 1) << c.typed;
            EXPECT_EQ(after.back(), (scene_test::Message{c.listed, "_COMMENT_"}));
        } else {
            EXPECT_EQ(after.size(), before) << c.typed;
        }
        console->HandleKeyDown(VK_ESCAPE);
    }
    line().text = "ob";
    console->visible = false;
    console->HandleKeyDown(VK_TAB);
    EXPECT_STREQ(line().text.getChars(), "ob") << "the hidden console took Tab";
}

TEST_F(ConsoleTest, PageKeysWheelHomeAndEndMoveTheViewAndTheThumbFollows)
{
    AddLines(99);  // 100 lines, 13 in view
    console->visible = true;
    struct Step {
        const char* what;
        WPARAM key;       // or 0 for the wheel
        short wheel;
        int atY;          // where the wheel turns
        int newest;       // the line drawn lowest
        int thumbY;       // higher the older the newest line drawn, 172 at the end of the log
    } steps[] = {
        {"page up", VK_PRIOR, 0, 0, 88, 165},         {"page up", VK_PRIOR, 0, 0, 76, 153},
        {"wheel", 0, 120, 100, 73, 150},             {"wheel back", 0, -240, 100, 79, 156},
        {"half notch", 0, 60, 100, 79, 156},         {"other half", 0, 60, 100, 76, 153},
        {"wheel outside", 0, 120, 190, 76, 153},     {"page down", VK_NEXT, 0, 0, 88, 165},
        {"home", VK_HOME, 0, 0, 13, 90},             {"page up at the top", VK_PRIOR, 0, 0, 13, 90},
        {"end", VK_END, 0, 0, 100, 172},             {"page down at the end", VK_NEXT, 0, 0, 100, 172},
    };
    for (const Step& step : steps) {
        if (step.key)
            console->HandleKeyDown(step.key);
        else
            console->HandleWheel(step.wheel, 300, step.atY);
        const std::vector<std::pair<std::string, int>> shown = DrawnRows();
        ASSERT_EQ(shown.size(), 13u) << step.what;
        EXPECT_EQ(shown.back(), std::make_pair("line " + std::to_string(step.newest), 150))
            << step.what;
        EXPECT_EQ(view().thumbY, step.thumbY) << step.what;
        EXPECT_EQ(DrawnQuads().at(1), ThumbQuad()) << step.what;
    }
    console->HandleKeyDown(VK_HOME);
    EXPECT_TRUE(view().HandleMouse(1, 516, view().thumbY));
    EXPECT_TRUE(view().thumbGrabbed);

    console->visible = false;
    console->HandleKeyDown(VK_END);
    console->HandleWheel(-120, 300, 100);
    EXPECT_EQ(DrawnRows().back().first, "line 13");
}

TEST_F(ConsoleTest, ResourcesThatCannotBeMadeAreSkippedWhenDrawing)
{
    orvex_headless::d3d9_failures().create_vertex_buffer = E_OUTOFMEMORY;
    EXPECT_EQ(line().CreateResources(), E_FAIL);
    EXPECT_EQ(view().CreateResources(), E_FAIL);
    orvex_headless::d3d9_failures().create_vertex_buffer = S_OK;
    orvex_headless::d3d9_failures().lock = E_FAIL;
    EXPECT_EQ(line().CreateResources(), E_FAIL);
    EXPECT_EQ(line().vertexBuffer, nullptr);
    EXPECT_EQ(line().textFont, nullptr);
    console->visible = true;
    orvex_headless::clear_call_log();
    console->Draw();
    EXPECT_TRUE(scene_test::CallsStartingWith("DrawPrimitive(").empty());
}

}  // namespace
