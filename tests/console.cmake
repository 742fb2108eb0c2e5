# The console's windows, its command queue and typing through the window procedure, on the
# headless platform; the console in the running viewer under Xvfb.
foreach(test console_test console_queue_test)
    orvex_add_test(${test}
        SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/${test}.cpp ${CMAKE_CURRENT_SOURCE_DIR}/scene_test_support.cpp
                ${CMAKE_CURRENT_SOURCE_DIR}/core_test_support.cpp
        LIBS orvex_engine orvex_platform_headless)
endforeach()

if(TARGET orvex)
    pkg_check_modules(ORVEX_CONSOLE_X11 IMPORTED_TARGET x11)
    if(ORVEX_CONSOLE_X11_FOUND)
        orvex_add_test(console_e2e_test
            SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/console_e2e_test.cpp ${CMAKE_CURRENT_SOURCE_DIR}/xvfb_support.cpp
                    ${CMAKE_CURRENT_SOURCE_DIR}/xvfb_server.cpp
            LIBS orvex_foundation PkgConfig::ORVEX_CONSOLE_X11
            LABELS e2e)
        target_compile_definitions(console_e2e_test PRIVATE ORVEX_VIEWER="$<TARGET_FILE:orvex>")
        add_dependencies(console_e2e_test orvex)
    endif()
endif()
