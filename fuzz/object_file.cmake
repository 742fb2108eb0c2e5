orvex_add_fuzzer(object_file
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/object_file.cpp
    LIBS orvex_engine orvex_platform_headless)
