# The installed platform used by a program that is not ours: install into a temporary prefix,
# build tests/sample_app/app.cpp with pkg-config, run it in its own Xvfb and check its pixels.
add_test(NAME D3D9SampleApp.BuildsFromTheInstallTreeAndDraws
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/sample_app/run.sh ${CMAKE_BINARY_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/sample_app)
set_tests_properties(D3D9SampleApp.BuildsFromTheInstallTreeAndDraws PROPERTIES LABELS e2e TIMEOUT 300)

# Classic Windows programs of our own (tests/classic), each built unchanged from the installed
# platform with the README's pkg-config line, run in Xvfb and checked on a few pixels.
add_test(NAME D3D9ClassicPrograms.BuildUnchangedFromTheInstallTreeAndDraw
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/classic/run.sh ${CMAKE_BINARY_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/classic)
set_tests_properties(D3D9ClassicPrograms.BuildUnchangedFromTheInstallTreeAndDraw PROPERTIES LABELS e2e TIMEOUT 600)
