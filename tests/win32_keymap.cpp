// The native Win32 without a display (SDL's dummy video driver): the US-layout key positions the
// engine relies on, key-message bits, windows, dpi, the message box and the clocks.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <time.h>

#include <mmsystem.h>
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "device_test_support.h"
#include "platform/native/win32_entry.h"
#include "platform/native/win32_keymap.h"
#include "platform/native/win32_window.h"

namespace {

struct Dummy_Video_Environment : ::testing::Environment {
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
    }
};
const auto* const dummy_video = ::testing::AddGlobalTestEnvironment(new Dummy_Video_Environment);

TEST(Win32Keymap, UsLayoutKeysGiveTheVirtualKeysTheEngineReads) {
    struct Case {
        SDL_Scancode scancode;
        int vk, side_vk;
    } cases[] = {
        {SDL_SCANCODE_GRAVE, VK_OEM_3, 0},       {SDL_SCANCODE_MINUS, VK_OEM_MINUS, 0},
        {SDL_SCANCODE_EQUALS, VK_OEM_PLUS, 0},   {SDL_SCANCODE_PERIOD, VK_OEM_PERIOD, 0},
        {SDL_SCANCODE_COMMA, VK_OEM_COMMA, 0},   {SDL_SCANCODE_KP_PLUS, VK_ADD, 0},
        {SDL_SCANCODE_KP_PERIOD, VK_DECIMAL, 0}, {SDL_SCANCODE_LSHIFT, VK_SHIFT, VK_LSHIFT},
        {SDL_SCANCODE_RSHIFT, VK_SHIFT, VK_RSHIFT}, {SDL_SCANCODE_TAB, VK_TAB, 0},
        {SDL_SCANCODE_RETURN, VK_RETURN, 0},     {SDL_SCANCODE_BACKSPACE, VK_BACK, 0},
        {SDL_SCANCODE_SPACE, VK_SPACE, 0},       {SDL_SCANCODE_LEFT, VK_LEFT, 0},
        {SDL_SCANCODE_UP, VK_UP, 0},             {SDL_SCANCODE_RIGHT, VK_RIGHT, 0},
        {SDL_SCANCODE_DOWN, VK_DOWN, 0},         {SDL_SCANCODE_KP_0, VK_NUMPAD0, 0},
        {SDL_SCANCODE_KP_ENTER, VK_RETURN, 0},   {SDL_SCANCODE_RCTRL, VK_CONTROL, VK_RCONTROL},
    };
    for (const Case& c : cases) {
        Win32_Key key = win32_key_of_scancode(c.scancode);
        EXPECT_EQ(key.vk, c.vk) << SDL_GetScancodeName(c.scancode);
        EXPECT_EQ(key.side_vk, c.side_vk) << SDL_GetScancodeName(c.scancode);
    }
    for (int i = 0; i < 26; ++i)
        EXPECT_EQ(win32_key_of_scancode(static_cast<SDL_Scancode>(SDL_SCANCODE_A + i)).vk, 'A' + i);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(win32_key_of_scancode(static_cast<SDL_Scancode>(SDL_SCANCODE_1 + i)).vk, '1' + i);
    EXPECT_EQ(win32_key_of_scancode(SDL_SCANCODE_0).vk, '0');
    EXPECT_EQ(win32_key_of_scancode(SDL_SCANCODE_MUTE).vk, 0) << "keys Windows programs never see";
}

TEST(Win32Keymap, KeyMessageLParamCarriesScanCodeExtendedPreviousAndTransitionBits) {
    Win32_Key a = win32_key_of_scancode(SDL_SCANCODE_A);
    EXPECT_EQ(static_cast<DWORD>(win32_key_lparam(a, true, false)), 0x001E0001u);
    EXPECT_EQ(static_cast<DWORD>(win32_key_lparam(a, true, true)), 0x401E0001u);
    EXPECT_EQ(static_cast<DWORD>(win32_key_lparam(a, false, false)), 0xC01E0001u);
    Win32_Key up = win32_key_of_scancode(SDL_SCANCODE_UP);
    EXPECT_EQ(static_cast<DWORD>(win32_key_lparam(up, false, false)), 0xC1480001u);
}

TEST(Win32NativeWithoutDisplay, WindowsDpiAndMessageBoxWorkAndNeverBlock) {
    HWND hwnd = orvex_test::CreateTestWindow("Units", 800, 600);
    ASSERT_NE(hwnd, nullptr);
    int w = 0, h = 0;
    ASSERT_TRUE(win32_client_size(hwnd, &w, &h));
    EXPECT_EQ(w, 784);
    EXPECT_EQ(h, 561);
    SDL_Window* sdl = win32_sdl_window(hwnd);
    ASSERT_NE(sdl, nullptr);
    SDL_GetWindowSize(sdl, &w, &h);
    EXPECT_EQ(w, 784);
    EXPECT_EQ(h, 561);
    EXPECT_EQ(win32_window_of_sdl_id(SDL_GetWindowID(sdl)), hwnd);

    // WM_CLOSE from the queue ends in DestroyWindow through the default procedure.
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    DispatchMessageA(&msg);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(win32_sdl_window(hwnd), nullptr);
    EXPECT_TRUE(UnregisterClassA("Units", nullptr));

    HDC dc = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96) << "no display reports a dpi: 96";
    ReleaseDC(nullptr, dc);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(nullptr, "text", "caption", MB_YESNO), IDYES);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "caption: text\n");
}

// Pushes one drop of these files on the SDL window through SDL's own queue.
void PushDrop(SDL_Window* sdl, const std::vector<std::string>& files) {
    SDL_Event e{};
    e.drop.windowID = SDL_GetWindowID(sdl);
    e.type = SDL_DROPBEGIN;
    SDL_PushEvent(&e);
    for (const std::string& file : files) {
        e.type = SDL_DROPFILE;
        e.drop.file = SDL_strdup(file.c_str());
        SDL_PushEvent(&e);
    }
    e.type = SDL_DROPCOMPLETE;
    e.drop.file = nullptr;
    SDL_PushEvent(&e);
}

TEST(Win32NativeWithoutDisplay, DroppedFilesArriveAsOneWmDropFilesOnWindowsThatAcceptThem) {
    EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 0) << "no monitor without a display";
    HWND accepting = orvex_test::CreateTestWindow("Drops", 200, 200, WS_EX_ACCEPTFILES);
    HWND refusing = orvex_test::CreateTestWindow("Drops", 200, 200);
    ASSERT_TRUE(accepting && refusing);
    PushDrop(win32_sdl_window(refusing), {"/tmp/ignored.x"});
    PushDrop(win32_sdl_window(accepting), {"/tmp/a model.obj", "/tmp/\xD0\xBC\xD0\xB8\xD1\x80.x"});

    MSG msg{};
    std::vector<MSG> drops;
    for (int pass = 0; pass < 100 && drops.empty(); ++pass)
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            if (msg.message == WM_DROPFILES) drops.push_back(msg);
    ASSERT_EQ(drops.size(), 1u);
    EXPECT_EQ(drops[0].hwnd, accepting);
    HDROP drop = reinterpret_cast<HDROP>(drops[0].wParam);
    ASSERT_EQ(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0), 2u);
    char name[64];
    EXPECT_EQ(DragQueryFileA(drop, 0, nullptr, 0), 16u);
    EXPECT_EQ(DragQueryFileA(drop, 0, name, sizeof name), 16u);
    EXPECT_STREQ(name, "/tmp/a model.obj");
    EXPECT_EQ(DragQueryFileA(drop, 0, name, 7), 6u) << "cut to the buffer, NUL included";
    EXPECT_STREQ(name, "/tmp/a");
    EXPECT_EQ(DragQueryFileA(drop, 1, name, sizeof name), 10u);
    EXPECT_STREQ(name, "/tmp/\xEC\xE8\xF0.x") << "the ANSI code page";
    WCHAR wide[64];
    EXPECT_EQ(DragQueryFileW(drop, 1, wide, 64), 10u);
    EXPECT_EQ(wide[5], WCHAR(0x043C));
    EXPECT_EQ(DragQueryFileA(drop, 2, name, sizeof name), 0u);
    DragFinish(drop);
    EXPECT_EQ(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0), 0u) << "a finished drop is no drop";
    DestroyWindow(accepting);
    DestroyWindow(refusing);
    UnregisterClassA("Drops", nullptr);
}

TEST(Win32NativeWithoutDisplay, ArgumentsReachWinMainQuotedAsWindowsQuotesThem) {
    struct Case {
        std::vector<std::string> args;
        std::string line;
    } cases[] = {
        {{"a.x", "b c.obj"}, "a.x \"b c.obj\""},
        {{"", "say\"hi"}, "\"\" \"say\\\"hi\""},
        {{"C:\\my dir\\", "C:\\dir\\"}, "\"C:\\my dir\\\\\" C:\\dir\\"},
        {{"x\\\"y z"}, "\"x\\\\\\\"y z\""},
    };
    for (const Case& c : cases) {
        std::vector<char*> argv{const_cast<char*>("orvex")};
        for (const std::string& arg : c.args) argv.push_back(const_cast<char*>(arg.c_str()));
        EXPECT_EQ(win32_command_line(int(argv.size()), argv.data()), c.line);
    }
}

}  // namespace
