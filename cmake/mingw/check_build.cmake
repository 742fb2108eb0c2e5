# Configures and builds the Windows build of the engine (cmake/mingw) with the MinGW-w64 cross
# compiler, then checks the program's resources. Run in script mode:
#   cmake -DORVEX_ROOT=<checkout> -DBUILD_DIR=<dir> -P cmake/mingw/check_build.cmake
# Exits with 77 (skipped) when the cross compiler is not installed.
find_program(cross_cxx NAMES x86_64-w64-mingw32-g++ x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-g++-win32)
if(NOT cross_cxx)
    message("x86_64-w64-mingw32-g++ is not installed: the Windows build is skipped")
    cmake_language(EXIT 77)
endif()

execute_process(
    COMMAND ${CMAKE_COMMAND} -S ${ORVEX_ROOT}/cmake/mingw -B ${BUILD_DIR} -G Ninja
            -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=${ORVEX_ROOT}/cmake/mingw-w64.cmake
    RESULT_VARIABLE configured)
if(NOT configured EQUAL 0)
    message(FATAL_ERROR "configuring the Windows build failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} -j 2 RESULT_VARIABLE built)
if(NOT built EQUAL 0)
    message(FATAL_ERROR "the engine does not build for Windows")
endif()

if(EXISTS ${BUILD_DIR}/orvex.exe)
    # The resources went in: the manifest's texts and the icon group's name (UTF-16 in the
    # resource directory).
    file(READ ${BUILD_DIR}/orvex.exe exe HEX)
    string(HEX "asInvoker" invoker)
    string(HEX "Microsoft.Windows.Common-Controls" controls)
    set(icon_name "")
    foreach(c I D I _ M A I N _ I C O N)
        string(HEX "${c}" h)
        string(APPEND icon_name "${h}00")
    endforeach()
    foreach(needle invoker controls icon_name)
        string(FIND "${exe}" "${${needle}}" at)
        if(at EQUAL -1)
            message(FATAL_ERROR "orvex.exe lacks its resource: ${needle}")
        endif()
    endforeach()
    message("orvex.exe built with its icon group and manifest")
else()
    message("the engine has no WinMain yet: its sources compiled into a library")
endif()
