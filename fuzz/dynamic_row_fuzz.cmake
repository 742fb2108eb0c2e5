# The foundation's sources are compiled into the target (not linked from orvex_foundation) so
# that libFuzzer's coverage instrumentation reaches the parser it is meant to explore.
file(GLOB ORVEX_FOUNDATION_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/foundation/*.cpp)
orvex_add_fuzzer(dynamic_row_fuzz SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/dynamic_row_fuzz.cpp
    ${ORVEX_FOUNDATION_SOURCES})
target_include_directories(dynamic_row_fuzz PRIVATE ${CMAKE_SOURCE_DIR})
