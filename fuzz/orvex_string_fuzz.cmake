# Compiled from source, not linked, so that coverage instrumentation reaches Orvex_string.
orvex_add_fuzzer(orvex_string_fuzz SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/orvex_string_fuzz.cpp
    ${CMAKE_SOURCE_DIR}/foundation/orvex_string.cpp)
target_include_directories(orvex_string_fuzz PRIVATE ${CMAKE_SOURCE_DIR})
