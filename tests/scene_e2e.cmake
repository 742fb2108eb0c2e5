# The cameras in the running viewer under Xvfb: needs the native platform's orvex binary and Xlib.
if(TARGET orvex)
    pkg_check_modules(ORVEX_SCENE_X11 IMPORTED_TARGET x11)
    if(ORVEX_SCENE_X11_FOUND)
        orvex_add_test(scene_e2e_test
            SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/scene_e2e_test.cpp ${CMAKE_CURRENT_SOURCE_DIR}/xvfb_support.cpp ${CMAKE_CURRENT_SOURCE_DIR}/xvfb_server.cpp
            LIBS orvex_foundation PkgConfig::ORVEX_SCENE_X11
            LABELS e2e)
        target_compile_definitions(scene_e2e_test PRIVATE ORVEX_VIEWER="$<TARGET_FILE:orvex>")
        add_dependencies(scene_e2e_test orvex)
    endif()
endif()
