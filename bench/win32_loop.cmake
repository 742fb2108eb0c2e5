# The Win32 calls one idle pass of the main loop makes, on the native platform.
orvex_add_bench(win32_loop_bench SOURCES win32_loop.cpp LIBS orvex_platform_native)
