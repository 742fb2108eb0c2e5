# The Win32 platform: the shared queue, classes and windows on the headless realization, the
# .cur reader, and the native realization on SDL2 in a real X server.
orvex_add_test(win32_headless_tests
    SOURCES win32_headless.cpp win32_cursor.cpp
    LIBS orvex_platform_headless)
