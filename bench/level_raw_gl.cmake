# The default level's frame through the engine against the same drawing in plain OpenGL 3.3,
# on the native platform under Xvfb.
if(TARGET orvex_platform_native AND EXISTS ${CMAKE_SOURCE_DIR}/platform/headless/d3dx_effect.cpp)
    orvex_add_bench(level_raw_gl
        SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/level_raw_gl.cpp ${CMAKE_SOURCE_DIR}/tests/xvfb_server.cpp
        LIBS orvex_engine orvex_platform_native)
    target_include_directories(level_raw_gl PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/platform)
endif()
