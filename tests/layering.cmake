# Who may include whom (docs/architecture.md): a script over the #include lines of the sources.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME Layering.IncludesFollowTheRooms
    COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/check_includes.py ${CMAKE_SOURCE_DIR})
