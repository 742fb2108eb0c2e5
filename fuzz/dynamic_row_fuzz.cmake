orvex_add_fuzzer(dynamic_row_fuzz SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/dynamic_row_fuzz.cpp LIBS orvex_foundation)
