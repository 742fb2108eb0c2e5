find_package(JPEG REQUIRED)
# The image readers behind D3DXCreateTextureFromFileA. Their sources are compiled into the target
# so that coverage instrumentation reaches them.
file(GLOB ORVEX_IMAGE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/common/image/image_*.cpp)
orvex_add_fuzzer(image_decode_fuzz SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/image_decode_fuzz.cpp
    ${ORVEX_IMAGE_SOURCES} LIBS orvex_platform_headers JPEG::JPEG)
target_include_directories(image_decode_fuzz PRIVATE ${CMAKE_SOURCE_DIR}/platform)
