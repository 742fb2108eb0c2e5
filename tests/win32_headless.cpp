// The headless Win32: queue order, keyboard state, window sizes, the runaway-loop limit and
// MulDiv.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <mmsystem.h>
#include <windows.h>

#include "headless_win32.h"

namespace {

constexpr int vk_w = 0x57;  // 'W'
std::vector<UINT> g_seen;  // messages the test procedure received, in order
HWND g_quit_on_destroy = nullptr;

LRESULT CALLBACK TestProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    g_seen.push_back(msg);
    if (msg == WM_DESTROY && hwnd == g_quit_on_destroy) {
        PostQuitMessage(7);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

class Win32Headless : public ::testing::Test {
protected:
    void SetUp() override {
        orvex_headless::reset_win32();
        g_seen.clear();
        g_quit_on_destroy = nullptr;
    }
    void TearDown() override { orvex_headless::reset_win32(); }

    static ATOM Register(const char* name) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_CLASSDC;
        wc.lpfnWndProc = TestProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = name;
        return RegisterClassExA(&wc);
    }
    static HWND Create(int w, int h, DWORD style = WS_OVERLAPPEDWINDOW) {
        return CreateWindowExA(0, "Test", "|title|", style, 0, 0, w, h, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    }
};

TEST_F(Win32Headless, ClientSizeIsOuterLessOverlappedFrameClampedToWhatAWindowCanBe) {
    ASSERT_NE(Register("Test"), 0);
    struct Case {
        int outer_w, outer_h, client_w, client_h;
    } cases[] = {
        {800, 600, 784, 561}, {640, 480, 624, 441}, {800, 100, 784, 61},
        {0, 0, 1, 1},         {-5, 99999999, 1, 16384}, {16, 39, 1, 1},
        {17, 40, 1, 1},       {18, 41, 2, 2},
    };
    for (const Case& c : cases) {
        HWND hwnd = Create(c.outer_w, c.outer_h);
        ASSERT_NE(hwnd, nullptr);
        RECT r{};
        ASSERT_TRUE(GetClientRect(hwnd, &r));
        EXPECT_EQ(r.left, 0);
        EXPECT_EQ(r.right, c.client_w) << c.outer_w << "x" << c.outer_h;
        EXPECT_EQ(r.bottom, c.client_h) << c.outer_w << "x" << c.outer_h;
        RECT outer{};
        ASSERT_TRUE(GetWindowRect(hwnd, &outer));
        EXPECT_EQ(outer.right - outer.left, c.client_w + 16);
        EXPECT_EQ(outer.bottom - outer.top, c.client_h + 39);
        DestroyWindow(hwnd);
    }
    HWND far = CreateWindowExA(0, "Test", "", WS_OVERLAPPEDWINDOW, 0x7FFFFFF0, -0x7FFFFFF0, 0x7FFFFFFF,
                               0x7FFFFFFF, nullptr, nullptr, nullptr, nullptr);
    RECT r{};
    ASSERT_TRUE(GetWindowRect(far, &r));
    EXPECT_GT(r.right, r.left) << "a window far off any screen still has a sane rectangle";
    EXPECT_GT(r.bottom, r.top);

    RECT adjust{0, 0, 784, 561};
    ASSERT_TRUE(AdjustWindowRect(&adjust, WS_OVERLAPPEDWINDOW, FALSE));
    EXPECT_EQ(adjust.left, -8);
    EXPECT_EQ(adjust.top, -31);
    EXPECT_EQ(adjust.right, 792);
    EXPECT_EQ(adjust.bottom, 569);
}

TEST_F(Win32Headless, QueueGivesPostedThenInputThenQuitAndHonoursFilters) {
    ASSERT_NE(Register("Test"), 0);
    HWND a = Create(100, 100);
    HWND b = Create(100, 100);
    PostQuitMessage(3);
    orvex_headless::post_input(a, WM_KEYDOWN, 'A');
    PostMessageA(b, WM_USER + 1, 0, 0);
    PostMessageA(nullptr, WM_USER + 2, 0, 0);
    EXPECT_FALSE(PostMessageA(reinterpret_cast<HWND>(0x1234), WM_USER, 0, 0));

    MSG m{};
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 1));
    ASSERT_TRUE(PeekMessageA(&m, a, 0, 0, PM_REMOVE));  // only window a's: the input
    EXPECT_EQ(m.message, static_cast<UINT>(WM_KEYDOWN));
    ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_USER + 2, WM_USER + 2, PM_REMOVE));
    EXPECT_EQ(m.hwnd, nullptr);
    EXPECT_FALSE(PeekMessageA(&m, b, WM_QUIT, WM_QUIT, PM_REMOVE));  // WM_QUIT has no window
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 1));
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(m.wParam, 3u);
    EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Win32Headless, KeyboardStateChangesWhenKeyMessagesAreRetrievedWithBothShiftsApart) {
    ASSERT_NE(Register("Test"), 0);
    HWND hwnd = Create(100, 100);
    ShowWindow(hwnd, SW_SHOW);
    BYTE keys[256];
    orvex_headless::press_key(VK_LSHIFT);
    orvex_headless::press_key('W');
    GetKeyboardState(keys);
    EXPECT_EQ(keys[VK_SHIFT] & 0x80, 0) << "posting alone must not change the state";

    MSG m{};
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.wParam, static_cast<WPARAM>(VK_SHIFT));  // the message carries the generic code
    GetKeyboardState(keys);
    EXPECT_EQ(keys[VK_SHIFT] & 0x80, 0x80);
    EXPECT_EQ(keys[VK_LSHIFT] & 0x80, 0x80);
    EXPECT_EQ(keys[VK_RSHIFT] & 0x80, 0);
    EXPECT_EQ(keys[vk_w] & 0x80, 0);
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE));
    GetKeyboardState(keys);
    EXPECT_EQ(keys[vk_w] & 0x80, 0) << "a message left in the queue has not been retrieved";
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.wParam, static_cast<WPARAM>('W'));
    EXPECT_LT(GetKeyState('W'), 0);

    // Right shift down, left up: VK_SHIFT stays down until both are up.
    orvex_headless::press_key(VK_RSHIFT);
    orvex_headless::release_key(VK_LSHIFT);
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    GetKeyboardState(keys);
    EXPECT_EQ(keys[VK_SHIFT] & 0x80, 0x80);
    EXPECT_EQ(keys[VK_LSHIFT] & 0x80, 0);
    orvex_headless::release_key(VK_RSHIFT);
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    GetKeyboardState(keys);
    EXPECT_EQ(keys[VK_SHIFT] & 0x80, 0);

    // Auto-repeat keeps the key down and does not flip its toggle bit.
    BYTE toggle = keys[vk_w] & 1;
    orvex_headless::press_key('W', true);
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_NE(m.lParam & (1 << 30), 0);
    GetKeyboardState(keys);
    EXPECT_EQ(keys[vk_w] & 1, toggle);

    orvex_headless::set_key_state(VK_OEM_3, true);
    EXPECT_NE(GetAsyncKeyState(VK_OEM_3) & 0x8000, 0);
}

TEST_F(Win32Headless, TranslateMessagePostsTheCharacterAKeyTypesToBeRetrievedNext) {
    ASSERT_NE(Register("Test"), 0);
    HWND hwnd = Create(100, 100);
    struct Case { int held, vk; UINT key, message; WPARAM character; /* 0: none posted */ } cases[] = {
        {0, 'Q', WM_KEYDOWN, WM_CHAR, 'q'},          {VK_RSHIFT, 'Q', WM_KEYDOWN, WM_CHAR, 'Q'},
        {VK_CAPITAL, 'Q', WM_KEYDOWN, WM_CHAR, 'Q'}, {VK_LCONTROL, 'C', WM_KEYDOWN, WM_CHAR, 3},
        {VK_LSHIFT, '2', WM_KEYDOWN, WM_CHAR, '@'},  {VK_LSHIFT, VK_OEM_7, WM_KEYDOWN, WM_CHAR, '"'},
        {0, VK_NUMPAD7, WM_KEYDOWN, WM_CHAR, '7'},   {0, VK_RETURN, WM_KEYDOWN, WM_CHAR, '\r'},
        {VK_LMENU, 'X', WM_SYSKEYDOWN, WM_SYSCHAR, 'x'}, {VK_LCONTROL, '2', WM_KEYDOWN, 0, 0},
        {0, VK_LEFT, WM_KEYDOWN, 0, 0},              {0, 'Q', WM_KEYUP, 0, 0},
    };
    for (const Case& c : cases) {
        if (c.held) orvex_headless::set_key_state(c.held, true);
        orvex_headless::post_input(hwnd, c.key, static_cast<WPARAM>(c.vk), 1);
        MSG m{};
        ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE) && TranslateMessage(&m));
        PostMessageA(hwnd, WM_USER, 0, 0);
        ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(m.message, c.character ? c.message : WM_USER) << c.vk;
        EXPECT_EQ(m.wParam, c.character) << c.vk;
        EXPECT_EQ(m.lParam, c.character ? 1 : 0) << c.vk;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
        for (int press = c.held == VK_CAPITAL ? 2 : 0; press > 0; --press)  // Caps Lock off again
            orvex_headless::set_key_state(VK_CAPITAL, press == 1);
        if (c.held) orvex_headless::set_key_state(c.held, false);
        orvex_headless::set_key_state(c.vk, false);
    }
}

TEST_F(Win32Headless, RunawayLoopIsEndedByThePeekLimitEvenBehindAWindowFilter) {
    orvex_headless::set_peek_limit(50);
    MSG msg{};
    unsigned calls = 0;
    while (GetMessageA(&msg, nullptr, 0, 0)) ++calls;
    EXPECT_TRUE(orvex_headless::peek_limit_reached());
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(calls, 0u);

    // A loop waiting on one window's messages cannot receive WM_QUIT: it fails instead of hanging.
    ASSERT_NE(Register("Test"), 0);
    HWND hwnd = Create(100, 100);
    EXPECT_EQ(GetMessageA(&msg, hwnd, 0, 0), -1);
}

TEST(Win32MulDiv, RoundsHalfAwayFromZeroAndFailsWithMinusOne) {
    struct Case {
        int number, numerator, denominator, expected;
    } cases[] = {
        {1, 1, 2, 1},       {-1, 1, 2, -1},        {3, 1, 2, 2},       {5, 1, -2, -3},
        {-5, -1, 2, 3},     {2, 1, 3, 1},          {1, 1, 3, 0},       {-2, 1, 3, -1},
        {12, 96, 72, 16},   {-12, 96, 72, -16},    {7, 0, 5, 0},       {1, 1, 0, -1},
        {0x7FFFFFFF, 2, 2, 0x7FFFFFFF},             {0x40000000, 4, 1, -1},
        {-0x7FFFFFFF - 1, 1, 1, -0x7FFFFFFF - 1},   {-0x7FFFFFFF - 1, -1, 1, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.expected)
            << c.number << " * " << c.numerator << " / " << c.denominator;
}

}  // namespace
