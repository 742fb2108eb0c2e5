# Scene objects draw through effects, so this waits for the headless effects.
if(EXISTS ${CMAKE_SOURCE_DIR}/platform/headless/d3dx_effect.cpp)
    orvex_add_fuzzer(object_file
        SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/object_file.cpp
        LIBS orvex_engine orvex_platform_headless)
endif()
