# The viewer itself under Xvfb: the settings, the overlay, the console and the cameras, driven
# with keys through XTest and watched frame by frame through DAMAGE.
orvex_add_test(viewer_e2e_tests
    SOURCES viewer_e2e_test.cpp xvfb_support.cpp xvfb_server.cpp
    LIBS orvex_foundation X11::X11 X11::Xtst X11::Xdamage
    LABELS e2e)
target_compile_definitions(viewer_e2e_tests PRIVATE ORVEX_VIEWER="$<TARGET_FILE:orvex>")
add_dependencies(viewer_e2e_tests orvex)
