// Typed commands end to end on the headless platform: the engine on the default level, keys
// pressed as messages through the window procedure and held in the keyboard state while frames
// run as the main loop runs them, the lines queued and dispatched on the next frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "call_log.h"
#include "console/console.h"
#include "console/input_line.h"
#include "console/log_view.h"
#include "console/time_line.h"
#include "core/orvex.h"
#include "core/render_manager.h"
#include "core/win_main.h"
#include "core_test_support.h"
#include "device_test_support.h"
#include "headless_d3d9.h"
#include "headless_win32.h"
#include "scene/cameras/camera_manager.h"
#include "scene/objects/object_manager.h"
#include "scene_test_support.h"

namespace {

// The engine is one global: it is made once per process, in a copy of the default data.
void StartEngineOnce()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    const std::string folder = orvex_test::MakeScratchFolder("console_queue");
    for (const char* part : {"ini.txt", "POLYGON01", "GlobalCommandBase.DR", "fx", "meshes",
                             "objects", "textures", "mouse.cur"})
        orvex_test::CopyFromData(folder, part);
    orvex_test::EnterFolder(folder);
    orvex_headless::reset_win32();
    orvex_headless::reset_d3d9();
    orvex_headless::set_time(50000);

    windowHandle = orvex_test::CreateTestWindow("Orvex", 640, 480, 0, WindowProc);
    ShowWindow(windowHandle, SW_SHOWDEFAULT);
    engine.ReadRenderSettings(NULL);
    ASSERT_TRUE(SUCCEEDED(engine.InitDevice(windowHandle)));
    engine.Initialize();
}

// What one idle pass of the main loop does. The headless records start afresh with each frame.
void Frame()
{
    orvex_headless::clear_call_log();
    orvex_headless::reset_d3d9();
    frameTimer.Start();
    engine.renderManager->DrawFrame(0.0f);
    engine.timeLine->ProcessCommands();
    engine.cameraManager->HandleKeyboard((float)frameTimer.Elapsed());
    engine.cameraManager->HandleMouse(windowHandle, leftButtonDown);
    orvex_headless::advance_time(16);
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// A person's key press: the key goes down (with a shift key first when asked), a few frames see
// it held, it comes up, a frame sees it released.
void Stroke(int key, int shift = 0)
{
    if (shift)
        orvex_headless::press_key(shift);
    orvex_headless::press_key(key);
    PumpMessages();
    for (int i = 0; i < 3; ++i)
        Frame();
    orvex_headless::release_key(key);
    if (shift)
        orvex_headless::release_key(shift);
    PumpMessages();
    Frame();
}

void TypeLine(const std::string& text)
{
    for (char c : text) {
        if (c >= 'a' && c <= 'z')
            Stroke(c - 'a' + 'A');
        else if (c >= 'A' && c <= 'Z')
            Stroke(c, VK_LSHIFT);
        else if (c == '_')
            Stroke(VK_OEM_MINUS, VK_RSHIFT);
        else if (c == '.')
            Stroke(VK_OEM_PERIOD);
        else if (c == ' ')
            Stroke(VK_SPACE);
        else if (c >= '0' && c <= '9')
            Stroke(c);
        else
            FAIL() << "no key types " << c;
    }
}

std::vector<std::string> Queued()
{
    std::vector<std::string> lines;
    DynamicRow& queue = engine.timeLine->queue;
    for (unsigned id = queue.TopId(1); id; id = queue.NextId(id))
        lines.push_back(queue.iLookName(id).getChars());
    return lines;
}

class QueueTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartEngineOnce();
        console = engine.console;
        queue = &engine.timeLine->queue;
        logLinesBefore = console->log.iCountKnots(console->logKnot);
    }
    // Messages logged since the test began, without stamps.
    std::vector<scene_test::Message> NewMessages()
    {
        std::vector<scene_test::Message> all = scene_test::Messages(*console);
        return std::vector<scene_test::Message>(all.begin() + (logLinesBefore - 1), all.end());
    }
    void Queue(const std::string& line) { queue->AddToId(1, false, line.c_str()); }

    Console* console = nullptr;
    DynamicRow* queue = nullptr;
    int logLinesBefore = 0;
};

TEST_F(QueueTest, TypedCommandIsQueuedAsTypedAndSwitchesTheCameraOnTheNextFrame)
{
    ASSERT_FALSE(console->visible);
    Stroke(VK_OEM_3);
    ASSERT_TRUE(console->visible);
    const int cameraBefore = engine.cameraManager->activeCamera->id;

    TypeLine("cam_mngr camera.next");
    EXPECT_STREQ(console->inputLine->text.getChars(), "cam_mngr camera.next");
    orvex_headless::press_key(VK_RETURN);
    PumpMessages();
    Frame();  // the keyboard step of this frame takes Enter
    EXPECT_EQ(Queued(), std::vector<std::string>{"cam_mngr camera.next"});
    EXPECT_EQ(engine.cameraManager->activeCamera->id, cameraBefore);
    Frame();
    orvex_headless::release_key(VK_RETURN);
    PumpMessages();
    EXPECT_TRUE(Queued().empty());
    EXPECT_EQ(queue->NodeCount(), 1u);
    EXPECT_NE(engine.cameraManager->activeCamera->id, cameraBefore);
    EXPECT_TRUE(console->inputLine->text.empty());
    orvex_headless::press_key(VK_RETURN);
    PumpMessages();
    Frame();
    EXPECT_TRUE(Queued().empty()) << "Enter on an empty line queues nothing";
    orvex_headless::release_key(VK_RETURN);
    PumpMessages();

    // The console stays open while typing and closes with its key.
    Frame();
    EXPECT_TRUE(console->visible);
    Stroke(VK_OEM_3);
    EXPECT_FALSE(console->visible);
}

TEST_F(QueueTest, LinesAreRoutedByTheirFirstWordAndDeletedAfterRunning)
{
    for (const char* line : {"console hello", "hello world", "Console hello", "console",
                             "obj_mngr show.list", "object_manager show.list", "obj_mngr other.word",
                             "obj_mngr load.OBJECT_SIMPLE", "camera_manager camera.speed 0.5"})
        Queue(line);
    engine.timeLine->ProcessCommands();
    EXPECT_EQ(queue->NodeCount(), 1u);
    EXPECT_EQ(queue->iLookName(1), "TIME_LINE");

    std::vector<scene_test::Message> logged = NewMessages();
    ASSERT_GE(logged.size(), 6u);
    EXPECT_EQ(logged[0], (scene_test::Message{"hello", "_TEXT_"}));
    EXPECT_EQ(logged[1], (scene_test::Message{"hello world", "_COMMENT_"}));
    EXPECT_EQ(logged[2], (scene_test::Message{"Console hello", "_COMMENT_"}));
    EXPECT_EQ(logged[3], (scene_test::Message{"", "_TEXT_"}));
    EXPECT_EQ(logged[4].text.rfind("id:1  visible:1  file:", 0), 0u) << logged[4].text;
    EXPECT_EQ(std::count_if(logged.begin(), logged.end(),
                            [](const scene_test::Message& m) { return m.text.rfind("id:1 ", 0) == 0; }),
              2) << "both words route to the object manager";
    EXPECT_EQ(logged.back(), (scene_test::Message{"Currient camera speed was changed to: 0.5", "_SYSTEM_"}));
}

TEST_F(QueueTest, ProcessingTakesTheCountOnceAndRunsLinesOldestFirst)
{
    // A line that queues another while it runs: the new one waits for the next frame.
    Queue("console first");
    Queue("console second");
    engine.timeLine->ProcessCommands();
    Queue("console third");
    EXPECT_EQ(Queued(), std::vector<std::string>{"console third"});
    engine.timeLine->ProcessCommands();
    std::vector<std::string> texts = scene_test::Texts(*console, "_TEXT_");
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(texts.end() - 3, texts.end()),
              (std::vector<std::string>{"first", "second", "third"}));
}

TEST_F(QueueTest, AThousandQueuedLinesAllRunInOrderInOneFrame)
{
    for (int i = 0; i < 1000; ++i)
        Queue("console n" + std::to_string(i));
    Frame();
    EXPECT_EQ(queue->NodeCount(), 1u);
    std::vector<scene_test::Message> logged = NewMessages();
    ASSERT_EQ(logged.size(), 1000u);
    for (int i = 0; i < 1000; i += 99)
        EXPECT_EQ(logged[i].text, "n" + std::to_string(i));
}

TEST_F(QueueTest, KeyMashingLosesNoLineAndNoLogLine)
{
    // Keys held at the auto-repeat rate, switching key every half second, the console key
    // among them; every line Enter queued must come back as a comment, in order.
    const int keys[] = {'A', 'B', 'D', VK_SPACE, 'E', VK_RETURN, VK_BACK, 'F', VK_OEM_3,
                        VK_OEM_MINUS, 'G', VK_RETURN, '7', VK_DECIMAL};
    std::vector<std::string> queued;
    unsigned seed = 12345;
    int held = 0;
    int framesShown = 0;
    console->visible = true;
    for (int ms = 0; ms < 8000; ms += 32) {
        if (ms % 512 == 0) {
            if (held)
                orvex_headless::release_key(held);
            seed = seed * 1103515245u + 12345u;
            held = keys[(seed >> 16) % (sizeof keys / sizeof keys[0])];
            orvex_headless::press_key(held);
        } else {
            orvex_headless::press_key(held, true);
        }
        PumpMessages();
        Frame();
        for (const std::string& line : Queued())
            queued.push_back(line);
        framesShown += console->visible;
        Frame();
    }
    orvex_headless::release_key(held);
    PumpMessages();
    Frame();
    EXPECT_GT(framesShown, 20);
    ASSERT_GE(queued.size(), 3u);
    std::vector<std::string> echoed = scene_test::Texts(*console, "_COMMENT_");
    ASSERT_GE(echoed.size(), queued.size());
    EXPECT_EQ(std::vector<std::string>(echoed.end() - queued.size(), echoed.end()), queued);
    console->visible = false;
}

}  // namespace
