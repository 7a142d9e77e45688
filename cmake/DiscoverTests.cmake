# The tests of a GoogleTest binary, registered from the binary's own list
# (--gtest_list_tests) when CTest starts, so a new test runs without touching a list. Each
# test runs in a process of its own, through the cross-compiling emulator in the Windows
# tree (cmake/wine-emulator.sh: Wine, in the project's Wine environment). A binary that is
# built but lists no test stops CTest with an error rather than passing empty. A test that
# skips (GTEST_SKIP) is reported as skipped, not passed: gtest_discover_tests gives each
# test the SKIP_REGULAR_EXPRESSION of GoogleTest's "[  SKIPPED ]".
include(GoogleTest)

# nenga_next_number(TARGET PROPERTY OUT): counts PROPERTY of TARGET up by one (from 1)
# and sets OUT to it, so each call's generated files have names of their own.
function(nenga_next_number target property out)
  get_property(count TARGET ${target} PROPERTY ${property})
  if(NOT count)
    set(count 0)
  endif()
  math(EXPR count "${count} + 1")
  set_property(TARGET ${target} PROPERTY ${property} ${count})
  set(${out} ${count} PARENT_SCOPE)
endfunction()

# nenga_discover_tests(TARGET [PREFIX PREFIX] [FILTER GTEST_FILTER] [LAUNCHER COMMAND...]
#                      [ARGS ARG...] [PROPERTIES NAME VALUE...] [ONE_PROCESS])
# Registers the tests TARGET lists (those GTEST_FILTER selects) as PREFIX Suite.Name
# (PREFIX is "TARGET." unless given), each run with ARGS after the test's own filter. A
# LAUNCHER runs the binary, for the listing as for the tests: its command line is
# LAUNCHER, then the emulator, then the binary and its arguments.
# ONE_PROCESS runs them all in one process instead, registered as one test, PREFIX
# without its last dot, which fails when the binary runs no test or one of them skips:
# reported as skipped, the whole would hide the others' failures (CTest's skip
# expression wins over a failure).
function(nenga_discover_tests target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "ONE_PROCESS" "PREFIX;FILTER" "LAUNCHER;ARGS;PROPERTIES")
  if(NOT DEFINED arg_PREFIX)
    set(arg_PREFIX "${target}.")
  endif()
  if(arg_ONE_PROCESS)
    string(REGEX REPLACE "\\.$" "" name "${arg_PREFIX}")
    get_property(emulator TARGET ${target} PROPERTY CROSSCOMPILING_EMULATOR)
    set(filter)
    if(arg_FILTER)
      set(filter "--gtest_filter=${arg_FILTER}")
    endif()
    add_test(NAME ${name} COMMAND ${arg_LAUNCHER} ${emulator} $<TARGET_FILE:${target}> ${filter}
                                  ${arg_ARGS})
    set_tests_properties(${name} PROPERTIES ${arg_PROPERTIES}
                         FAIL_REGULAR_EXPRESSION "\\[==========\\] 0 tests from|\\[  SKIPPED \\]")
    return()
  endif()
  nenga_next_number(${target} NENGA_TEST_LIST_COUNT count)
  set(list ${target}_tests_${count})
  set_property(TARGET ${target} APPEND PROPERTY NENGA_TEST_LISTS "${list}")

  # gtest_discover_tests takes the command that runs the binary from the target's
  # emulator, as it is at the call.
  get_property(emulator TARGET ${target} PROPERTY CROSSCOMPILING_EMULATOR)
  set_property(TARGET ${target} PROPERTY CROSSCOMPILING_EMULATOR ${arg_LAUNCHER} ${emulator})
  gtest_discover_tests(${target}
    TEST_PREFIX ${arg_PREFIX}
    TEST_FILTER ${arg_FILTER}
    EXTRA_ARGS ${arg_ARGS}
    PROPERTIES ${arg_PROPERTIES}
    TEST_LIST ${list}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60)
  set_property(TARGET ${target} PROPERTY CROSSCOMPILING_EMULATOR ${emulator})

  set(what "${target}")
  if(arg_FILTER)
    string(APPEND what " --gtest_filter=${arg_FILTER}")
  endif()
  set(guard ${CMAKE_CURRENT_BINARY_DIR}/${target}_tests_${count}_guard.cmake)
  file(GENERATE OUTPUT ${guard} CONTENT
"if(EXISTS [==[$<TARGET_FILE:${target}>]==] AND \"\${${list}}\" STREQUAL \"\")
  message(FATAL_ERROR [==[${what} lists no test to register as ${arg_PREFIX}*: nothing would be tested]==])
endif()
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${guard})
endfunction()

# nenga_test_properties(TARGET Suite.Name PROPERTIES NAME VALUE...)
# Sets properties (one value each) on the test Suite.Name of TARGET wherever the calls
# above, made before this one, registered it. A name that TARGET does not list stops
# CTest with an error.
function(nenga_test_properties target test)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "PROPERTIES")
  get_property(lists TARGET ${target} PROPERTY NENGA_TEST_LISTS)
  set(properties)
  foreach(item IN LISTS arg_PROPERTIES)
    string(APPEND properties " [==[${item}]==]")
  endforeach()
  set(script "set(found FALSE)\n")
  foreach(list IN LISTS lists)
    string(APPEND script
"foreach(name IN LISTS ${list})
  if(name MATCHES [==[\\.${test}$]==])
    set_tests_properties(\"\${name}\" PROPERTIES${properties})
    set(found TRUE)
  endif()
endforeach()
")
  endforeach()
  string(APPEND script
"if(EXISTS [==[$<TARGET_FILE:${target}>]==] AND NOT found)
  message(FATAL_ERROR [==[${target} lists no test ${test} to set properties on]==])
endif()
")
  nenga_next_number(${target} NENGA_TEST_PROPERTIES_COUNT count)
  set(file ${CMAKE_CURRENT_BINARY_DIR}/${target}_properties_${count}.cmake)
  file(GENERATE OUTPUT ${file} CONTENT "${script}")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${file})
endfunction()
