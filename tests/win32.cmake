# The Win32 platform: the shared queue, classes and windows on the headless realization, the
# .cur reader, and the native realization on SDL2 in a real X server.
orvex_add_test(win32_headless_tests
    SOURCES win32_headless.cpp win32_cursor.cpp
    LIBS orvex_platform_headless)

# A Win32 program of our own on the native platform, started by the native tests in Xvfb.
add_executable(win32_native_probe win32_native_probe.cpp)
target_link_libraries(win32_native_probe PRIVATE orvex_platform_native)
orvex_warnings(win32_native_probe)

find_package(X11 REQUIRED)
orvex_add_test(win32_native_tests
    SOURCES win32_native.cpp
    LIBS X11::X11
    LABELS e2e)
add_dependencies(win32_native_tests win32_native_probe)
