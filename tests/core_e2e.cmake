# The viewer under Xvfb: needs the native platform's orvex binary and Xlib.
if(TARGET orvex)
    pkg_check_modules(X11 IMPORTED_TARGET x11)
    if(X11_FOUND)
        orvex_add_test(core_e2e_tests
            SOURCES core_e2e_test.cpp core_test_support.cpp xvfb_support.cpp xvfb_server.cpp
            LIBS orvex_foundation PkgConfig::X11
            LABELS e2e)
        target_compile_definitions(core_e2e_tests PRIVATE ORVEX_VIEWER="$<TARGET_FILE:orvex>")
        add_dependencies(core_e2e_tests orvex)
    endif()
endif()
