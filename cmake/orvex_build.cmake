# Project-wide compile settings and the helpers every folder uses to declare its targets.

if(ORVEX_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# With the fuzz targets on, every library carries coverage instrumentation, so a fuzz target
# that links a library explores it rather than running blind; only fuzz targets link libFuzzer.
if(ORVEX_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# Warnings on, for our own targets only (never for third-party code).
function(orvex_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()

# Collect the sources of a folder, subfolders included; new files need no CMake edit.
function(orvex_sources out)
    set(files)
    foreach(dir IN LISTS ARGN)
        file(GLOB_RECURSE found CONFIGURE_DEPENDS
            ${CMAKE_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/*.c)
        list(APPEND files ${found})
    endforeach()
    set(${out} ${files} PARENT_SCOPE)
endfunction()

# A static library of everything under the given folders (an empty one while they hold no source).
function(orvex_library name)
    orvex_sources(files ${ARGN})
    if(NOT files)
        set(files ${CMAKE_BINARY_DIR}/orvex_empty.cpp)
        file(WRITE ${files} "// An empty translation unit for a library whose folder has no source yet.\n")
    endif()
    add_library(${name} STATIC ${files})
    orvex_warnings(${name})
endfunction()

find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
