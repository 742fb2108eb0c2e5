# Engine core: timer, settings reader and render settings.
orvex_add_test(core_tests
    SOURCES core_test.cpp core_test_support.cpp
    LIBS orvex_engine orvex_platform_headless)

# One whole run of the viewer per process, driven by a script; core_program_tests spawns it.
add_executable(core_program_run core_program_run.cpp)
target_link_libraries(core_program_run PRIVATE orvex_engine orvex_platform_headless)
orvex_warnings(core_program_run)
orvex_add_test(core_program_tests
    SOURCES core_program_test.cpp core_test_support.cpp
    LIBS orvex_foundation)
target_compile_definitions(core_program_tests PRIVATE
    CORE_PROGRAM_RUN="$<TARGET_FILE:core_program_run>")
add_dependencies(core_program_tests core_program_run)
