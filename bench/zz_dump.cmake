add_executable(zz_dump /tmp/p20/dump.cpp)
target_link_libraries(zz_dump PRIVATE orvex_platform_common)
target_include_directories(zz_dump PRIVATE ${CMAKE_SOURCE_DIR}/platform)
