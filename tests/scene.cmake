# Cameras, lights and the effect manager, on the headless platform.
foreach(test cameras_test lights_test effect_manager_test)
    orvex_add_test(${test}
        SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/${test}.cpp ${CMAKE_CURRENT_SOURCE_DIR}/scene_test_support.cpp
        LIBS orvex_engine orvex_platform_headless)
endforeach()
