// WCHAR text through the W functions, the code-page conversions, and <strsafe.h>'s bounds.
#include <gtest/gtest.h>

#include <string>

#include <strsafe.h>
#include <windows.h>

#include "headless_win32.h"

namespace {

std::wstring g_created_title;

LRESULT CALLBACK WideProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CREATE) g_created_title = reinterpret_cast<const CREATESTRUCTW*>(lp)->lpszName;
    return DefWindowProcW(hwnd, msg, wp, lp);
}

TEST(Win32Text, WideWindowTextReachesTheAnsiCodeAndComesBackWide) {
    orvex_headless::reset_win32();
    const wchar_t* title = L"\u041c\u0438\u0440 \u2603";  // Cyrillic, then a snowman code page 1251 lacks
    WNDCLASSEXW wc{sizeof wc, 0, WideProc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, L"Wide", nullptr};
    ASSERT_NE(RegisterClassExW(&wc), 0);
    HWND hwnd = CreateWindowExW(0, L"wide", title, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                                nullptr);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(orvex_headless::window_records().back().title, "\xCC\xE8\xF0 ?");
    EXPECT_EQ(g_created_title, L"\u041c\u0438\u0440 ?");
    SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"\u0414\u0430"));
    EXPECT_EQ(orvex_headless::window_records().back().title, "\xC4\xE0");
    EXPECT_TRUE(UnregisterClassW(L"Wide", nullptr) == FALSE);  // its window still exists
    orvex_headless::reset_win32();
}

TEST(Win32Text, CodePageConversionsMeasureFillAndRefuse) {
    wchar_t wide[8];
    char narrow[8];
    // Sizes: -1 counts the NUL; a zero-sized buffer asks for the size; a short one fails.
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xD0\x96z", -1, nullptr, 0), 3);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xD0\x96z", -1, wide, 8), 3);
    EXPECT_EQ(std::wstring(wide), L"\u0416z");
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xD0\x96z", -1, wide, 2), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xC0\x80", 2, wide, 8), 2) << "an overlong form is two errors";
    EXPECT_EQ(wide[0], 0xFFFD);
    BOOL used = FALSE;
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, L"\u0416\u2603", 2, narrow, 8, "#", &used), 2);
    EXPECT_EQ(std::string(narrow, 2), "\xC6#");
    EXPECT_TRUE(used);
    EXPECT_EQ(WideCharToMultiByte(437, 0, L"a", 1, narrow, 8, nullptr, nullptr), 0) << "an unknown code page";
}

TEST(Win32Text, StrSafeKeepsToTheBufferAndEndsTheText) {
    wchar_t w[6] = L"ab";
    char a[6] = "ab";
    struct Case {
        HRESULT got, want;
    } cases[] = {
        {StringCchCatW(w, 6, L"cdefg"), STRSAFE_E_INSUFFICIENT_BUFFER},
        {StringCchCopyA(a, 0, "x"), STRSAFE_E_INVALID_PARAMETER},
        {StringCchPrintfA(a, 6, "%d-%s", 12, "xyz"), STRSAFE_E_INSUFFICIENT_BUFFER},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.want);
    EXPECT_EQ(std::wstring(w), L"abcde");
    EXPECT_EQ(std::string(a), "12-xy");
    // Windows' format letters: in a W function %s is WCHAR text and %S narrow text.
    wchar_t line[32];
    EXPECT_EQ(StringCchPrintfW(line, 32, L"%s|%S|%c|%I64d", L"\u0416", "n", L'w', 1LL << 40), S_OK);
    EXPECT_EQ(std::wstring(line), L"\u0416|n|w|1099511627776");
    size_t length = 0;
    EXPECT_EQ(StringCchLengthW(line, 32, &length), S_OK);
    EXPECT_EQ(length, 19u);
    EXPECT_EQ(StringCchLengthA("abc", 3, &length), STRSAFE_E_INVALID_PARAMETER) << "no NUL within the limit";
}

}  // namespace
