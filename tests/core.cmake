# Engine core: timer and settings reader; engine object, render manager and frame.
orvex_add_test(core_tests
    SOURCES core_test.cpp core_test_support.cpp
    LIBS orvex_engine orvex_platform_headless)
