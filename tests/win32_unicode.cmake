# The Unicode side of the Win32 platform and WM_PAINT, on the headless realization.
orvex_add_test(win32_unicode_tests
    SOURCES win32_paint.cpp win32_text.cpp
    LIBS orvex_platform_headless)
