# The HLSL compiler behind D3DX effects: glslang's HLSL front end to SPIR-V, SPIRV-Tools, and
# SPIRV-Cross back to GLSL. Debian ships them as static libraries that depend on each other in a
# cycle, so they are linked as one group. ENABLE_HLSL unhides the HLSL parts of glslang's headers.
set(ORVEX_SHADER_COMPILER_LIBS
    glslang SPIRV MachineIndependent GenericCodeGen OSDependent OGLCompiler HLSL
    glslang-default-resource-limits SPIRV-Tools-opt SPIRV-Tools
    spirv-cross-glsl spirv-cross-core)
foreach(lib IN LISTS ORVEX_SHADER_COMPILER_LIBS)
    find_library(ORVEX_LIB_${lib} NAMES lib${lib}.a REQUIRED)
endforeach()

add_library(orvex_shader_compiler_deps INTERFACE)
target_compile_definitions(orvex_shader_compiler_deps INTERFACE ENABLE_HLSL)
set(_group "-Wl,--start-group")
foreach(lib IN LISTS ORVEX_SHADER_COMPILER_LIBS)
    string(APPEND _group ";${ORVEX_LIB_${lib}}")
endforeach()
target_link_libraries(orvex_shader_compiler_deps INTERFACE "${_group};-Wl,--end-group" Threads::Threads)

# Debian builds glslang and SPIRV-Cross without RTTI, so UBSan's vptr check, which needs the
# type information of every polymorphic class it sees, cannot link against them.
if(ORVEX_SANITIZE)
    set_source_files_properties(
        ${CMAKE_SOURCE_DIR}/platform/common/effect/fx_shader_compiler.cpp
        ${CMAKE_SOURCE_DIR}/platform/common/effect/fx_effect_compiler.cpp
        PROPERTIES COMPILE_OPTIONS -fno-sanitize=vptr)
endif()
