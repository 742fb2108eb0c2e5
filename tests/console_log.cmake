# The console's message log.
orvex_add_test(console_log_tests
    SOURCES console_log_test.cpp core_test_support.cpp
    LIBS orvex_engine orvex_platform_headless)
