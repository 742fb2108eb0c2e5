// WM_PAINT as Windows gives it: only when nothing else waits, once however often the window was
// invalidated, again and again until something validates the window, never for a hidden one.
#include <gtest/gtest.h>

#include <windows.h>

#include "headless_win32.h"

namespace {

int g_paints_validated = 0;  // WM_PAINTs the procedure answered through DefWindowProc

LRESULT CALLBACK PaintProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) ++g_paints_validated;
    return DefWindowProcA(hwnd, msg, wp, lp);
}

UINT Next(HWND* hwnd = nullptr) {
    MSG msg{};
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return WM_NULL;
    if (hwnd) *hwnd = msg.hwnd;
    return msg.message;
}

TEST(Win32Paint, ComesWhenTheQueueIsOtherwiseEmptyOnceAndUntilValidated) {
    orvex_headless::reset_win32();
    g_paints_validated = 0;
    WNDCLASSEXA wc{sizeof wc, 0, PaintProc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "Paint", nullptr};
    ASSERT_NE(RegisterClassExA(&wc), 0);
    HWND hwnd = CreateWindowExA(0, "Paint", "", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);

    EXPECT_EQ(Next(), WM_NULL) << "a hidden window has nothing to paint";
    ShowWindow(hwnd, SW_SHOW);
    PostMessageA(hwnd, WM_USER, 0, 0);
    orvex_headless::post_input(hwnd, WM_KEYDOWN, VK_SPACE);
    InvalidateRect(hwnd, nullptr, TRUE);
    HWND painted = nullptr;
    EXPECT_EQ(Next(), WM_USER);
    EXPECT_EQ(Next(), WM_KEYDOWN);
    EXPECT_EQ(Next(&painted), WM_PAINT);
    EXPECT_EQ(painted, hwnd);
    EXPECT_EQ(Next(), WM_PAINT) << "removing WM_PAINT does not validate the window";

    RECT update{};
    EXPECT_TRUE(GetUpdateRect(hwnd, &update, FALSE));
    EXPECT_EQ(update.right, 184);  // the whole client area
    ValidateRect(hwnd, nullptr);
    EXPECT_EQ(Next(), WM_NULL);

    // Invalidated twice, painted once, through the default procedure.
    RECT part{10, 10, 20, 20};
    InvalidateRect(hwnd, &part, FALSE);
    InvalidateRect(hwnd, &part, FALSE);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    DispatchMessageA(&msg);
    EXPECT_EQ(g_paints_validated, 1);
    EXPECT_EQ(Next(), WM_NULL);

    // UpdateWindow paints at once, past the queue, and only a window that needs it.
    InvalidateRect(hwnd, nullptr, FALSE);
    EXPECT_TRUE(UpdateWindow(hwnd));
    EXPECT_TRUE(UpdateWindow(hwnd));
    EXPECT_EQ(g_paints_validated, 2);
    EXPECT_EQ(Next(), WM_NULL);

    // A quit request does not wait behind a window that is never validated.
    InvalidateRect(hwnd, nullptr, FALSE);
    PostQuitMessage(0);
    EXPECT_EQ(Next(), WM_QUIT);
    EXPECT_EQ(Next(), WM_PAINT);
    orvex_headless::reset_win32();
}

}  // namespace
