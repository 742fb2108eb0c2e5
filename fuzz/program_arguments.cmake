# The viewer's own command line, as WinMain receives it.
orvex_add_fuzzer(program_arguments_fuzz SOURCES program_arguments_fuzz.cpp LIBS orvex_engine)
