# The objects' share of a frame on the headless platform, and object loading; frames per second
# of the engine on the native platform under Xvfb.
orvex_add_bench(frame_objects_bench
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/frame_objects.cpp
    LIBS orvex_engine orvex_platform_headless)
orvex_add_bench(frame_native_bench
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/frame_native.cpp ${CMAKE_SOURCE_DIR}/tests/xvfb_server.cpp
    LIBS orvex_engine orvex_platform_native)
target_include_directories(frame_native_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests)
