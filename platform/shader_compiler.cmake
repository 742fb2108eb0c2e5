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

# glslang is built without RTTI, so its classes have no typeinfo for the sanitizer's vptr check
# to refer to: the one file that uses glslang's classes goes without that check.
if(ORVEX_SANITIZE)
    set_source_files_properties(${CMAKE_CURRENT_SOURCE_DIR}/common/effect/fx_shader_compiler.cpp
        PROPERTIES COMPILE_OPTIONS "-fno-sanitize=vptr")
endif()
