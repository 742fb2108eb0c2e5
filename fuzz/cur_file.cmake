# The .cur reader behind LoadCursorFromFileA.
orvex_add_fuzzer(cur_file_fuzz SOURCES cur_file_fuzz.cpp LIBS orvex_platform_common)
