orvex_add_fuzzer(orvex_string_fuzz SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/orvex_string_fuzz.cpp LIBS orvex_foundation)
