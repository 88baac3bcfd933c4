# GoogleTest from Debian's sources, built with the cross compiler; tests run under Wine.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

# kivo_add_test(name SOURCES... LIBS... [TIMEOUT s] [RESOURCE_LOCK name] [RUN_SERIAL]): one test
# program, its tests listed when ctest starts. Tests that share a lock (the session's one service, say)
# never run at the same time; RUN_SERIAL tests run with no other test beside them.
function(kivo_add_test name)
    cmake_parse_arguments(T "RUN_SERIAL" "TIMEOUT;RESOURCE_LOCK" "SOURCES;LIBS" ${ARGN})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 60)
    endif()
    set(lock)
    if(T_RESOURCE_LOCK)
        set(lock RESOURCE_LOCK ${T_RESOURCE_LOCK})
    endif()
    if(T_RUN_SERIAL)
        list(APPEND lock RUN_SERIAL TRUE)
    endif()
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 120
        WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests
        PROPERTIES TIMEOUT ${T_TIMEOUT} ${lock})
endfunction()
