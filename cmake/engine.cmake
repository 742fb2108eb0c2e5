# The engine library: core/, console/ and scene/. It includes only <windows.h>, <mmsystem.h>,
# <shellapi.h>, <d3d9.h>, <d3dx9.h> and the standard library, so the same objects link against
# either realization of the platform: native for the viewer, headless for the tests.
orvex_library(orvex_engine core console scene)
target_include_directories(orvex_engine PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(orvex_engine PUBLIC orvex_foundation orvex_platform_headers)

# The viewer: the engine on the native platform. platform/native/main.cpp supplies main(),
# which calls the engine's WinMain.
add_executable(orvex ${CMAKE_SOURCE_DIR}/platform/native/main.cpp)
target_link_libraries(orvex PRIVATE orvex_engine orvex_platform_native)
orvex_warnings(orvex)
