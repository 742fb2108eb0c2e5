# The Win32 platform: the shared queue, classes and windows on the headless realization, the
# .cur reader, and the native realization on SDL2 in a real X server.
orvex_add_test(win32_headless_tests
    SOURCES win32_headless.cpp win32_cursor.cpp
    LIBS orvex_platform_headless)

# A Win32 program of our own on the native platform, started by the native tests in Xvfb.
add_executable(win32_native_probe win32_native_probe.cpp ${CMAKE_SOURCE_DIR}/platform/native/main.cpp)
target_link_libraries(win32_native_probe PRIVATE orvex_platform_native)
orvex_warnings(win32_native_probe)

orvex_add_test(win32_native_tests
    SOURCES win32_native.cpp ${CMAKE_CURRENT_SOURCE_DIR}/xvfb_support.cpp ${CMAKE_CURRENT_SOURCE_DIR}/xvfb_server.cpp
    LIBS X11::X11 X11::Xtst X11::Xdamage
    LABELS e2e)
add_dependencies(win32_native_tests win32_native_probe)

# The engine's sources built for Windows by MinGW-w64 against the real SDK (gcc build only; it
# reports itself skipped where the cross compiler is missing).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND NOT ORVEX_SANITIZE)
    add_test(NAME win32_mingw_build
        COMMAND ${CMAKE_COMMAND} -DORVEX_ROOT=${CMAKE_SOURCE_DIR} -DBUILD_DIR=${CMAKE_BINARY_DIR}/mingw
                -P ${CMAKE_SOURCE_DIR}/cmake/mingw/check_build.cmake)
    set_tests_properties(win32_mingw_build PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 1800 LABELS mingw)
endif()

# The native realization without a display (SDL's dummy driver).
orvex_add_test(win32_native_units
    SOURCES win32_keymap.cpp
    LIBS orvex_platform_native)
