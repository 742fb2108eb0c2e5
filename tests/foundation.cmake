# Orvex_string, DynamicRow and the path resolver.
orvex_add_test(orvex_string_test SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/orvex_string_test.cpp
    LIBS orvex_foundation)
orvex_add_test(dynamic_row_test SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/dynamic_row_test.cpp
    LIBS orvex_foundation)
orvex_add_test(file_path_test SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/file_path_test.cpp
    LIBS orvex_foundation)
