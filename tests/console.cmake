# The console's windows, its command queue and typing through the window procedure, on the
# headless platform.
foreach(test console_test console_queue_test)
    orvex_add_test(${test}
        SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/${test}.cpp ${CMAKE_CURRENT_SOURCE_DIR}/scene_test_support.cpp
                ${CMAKE_CURRENT_SOURCE_DIR}/core_test_support.cpp
        LIBS orvex_engine orvex_platform_headless)
endforeach()
