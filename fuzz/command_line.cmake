# Console command lines: typed through the input line's keys and dispatched to the managers.
orvex_add_fuzzer(command_line_fuzz SOURCES command_line_fuzz.cpp LIBS orvex_engine orvex_platform_headless)
