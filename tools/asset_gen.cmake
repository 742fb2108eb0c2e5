# The asset generator: meshes, textures and the cursor under data/ and tests/data/.
file(GLOB ORVEX_ASSET_GEN_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/asset_gen/*.cpp)
add_executable(orvex_asset_gen ${ORVEX_ASSET_GEN_SOURCES})
orvex_warnings(orvex_asset_gen)
find_package(ZLIB REQUIRED)
target_link_libraries(orvex_asset_gen PRIVATE ZLIB::ZLIB)
