orvex_add_bench(dynamic_row_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/dynamic_row.cpp LIBS orvex_foundation)
