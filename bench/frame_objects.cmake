# The objects' share of a frame on the headless platform, and object loading. Scene objects draw
# through effects, so this waits for the headless effects.
if(EXISTS ${CMAKE_SOURCE_DIR}/platform/headless/d3dx_effect.cpp)
    orvex_add_bench(frame_objects_bench
        SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/frame_objects.cpp
        LIBS orvex_engine orvex_platform_headless)
endif()
