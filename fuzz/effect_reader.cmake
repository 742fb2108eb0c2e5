# The effect reader behind D3DXCreateEffectFromFileA: preprocessor, effect parser, generated entry
# points and loop budgets (the HLSL compiler behind them is glslang's, not fuzzed here). The
# sources are compiled into the target so that coverage instrumentation reaches them.
set(ORVEX_EFFECT_READER_SOURCES
    ${CMAKE_SOURCE_DIR}/platform/common/effect/fx_lexer.cpp
    ${CMAKE_SOURCE_DIR}/platform/common/effect/fx_preprocessor.cpp
    ${CMAKE_SOURCE_DIR}/platform/common/effect/fx_parser.cpp
    ${CMAKE_SOURCE_DIR}/platform/common/effect/fx_state_tables.cpp
    ${CMAKE_SOURCE_DIR}/platform/common/effect/fx_entry_wrapper.cpp
    ${CMAKE_SOURCE_DIR}/platform/common/effect/fx_loop_guard.cpp)
orvex_add_fuzzer(effect_reader_fuzz SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/effect_reader_fuzz.cpp
    ${ORVEX_EFFECT_READER_SOURCES} LIBS orvex_platform_headers)
target_include_directories(effect_reader_fuzz PRIVATE ${CMAKE_SOURCE_DIR}/platform)
