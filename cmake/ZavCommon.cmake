# Compile settings shared by every target, and helpers for the folders.

add_compile_definitions(
  WINVER=0x0601 _WIN32_WINNT=0x0601 _WIN32_IE=0x0800
  NOMINMAX STRICT _CRT_SECURE_NO_WARNINGS)
# The system's text is code page 932; sources stay UTF-8. SSE2 keeps doubles
# at 64 bits so tolerance comparisons give the same answer everywhere.
add_compile_options(
  $<$<COMPILE_LANGUAGE:C,CXX>:-fexec-charset=CP932>
  $<$<COMPILE_LANGUAGE:C,CXX>:-msse2>
  $<$<COMPILE_LANGUAGE:C,CXX>:-mfpmath=sse>
  $<$<COMPILE_LANGUAGE:C,CXX>:-Wall>
  $<$<COMPILE_LANGUAGE:C,CXX>:-Wno-unknown-pragmas>)
# windres reads our UTF-8 resource scripts and stores code page 932 text.
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
# No MinGW runtime DLLs beside the programs.
add_link_options(-static -static-libgcc -static-libstdc++)

# A binary of the installation folder (the host, its DLLs, command modules).
function(zav_dist_binary target)
  set_target_properties(${target} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${ZAV_DIST_DIR}
    LIBRARY_OUTPUT_DIRECTORY ${ZAV_DIST_DIR}
    PREFIX "")
endfunction()

# Where this machine cannot execute 32-bit x86 code the tests run in an
# emulated guest (tools/vm), several times slower: their time limits, which
# are there to stop a hang, grow with it.
if(NOT DEFINED ZAV_TEST_TIMEOUT_SCALE)
  execute_process(COMMAND bash ${CMAKE_SOURCE_DIR}/tools/host-runs-i386.sh RESULT_VARIABLE runs_i386)
  if(runs_i386 EQUAL 0)
    set(ZAV_TEST_TIMEOUT_SCALE 1 CACHE STRING "Factor on every test's time limit")
  else()
    set(ZAV_TEST_TIMEOUT_SCALE 6 CACHE STRING "Factor on every test's time limit")
  endif()
endif()

# One GoogleTest program per area, one CTest entry each (few Wine starts).
#   zav_add_test(NAME name SOURCES ... LIBS ... [GUI] [ENV k=v ...])
function(zav_add_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS;ENV;DEPENDS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} gtest gtest_main)
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ZAV_TEST_BIN_DIR})
  if(T_DEPENDS)
    add_dependencies(${T_NAME} ${T_DEPENDS})
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  math(EXPR T_TIMEOUT "${T_TIMEOUT} * ${ZAV_TEST_TIMEOUT_SCALE}")
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "ZAV_DIST_DIR=${ZAV_DIST_DIR};ZAV_SOURCE_DIR=${CMAKE_SOURCE_DIR};${T_ENV}")
  # Test programs share one Wine desktop: focus and the foreground window are
  # the desktop's, so programs that use windows run one at a time. Programs
  # known to need no windows run beside them.
  if(NOT T_NAME IN_LIST ZAV_WINDOWLESS_TESTS)
    set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK wine_desktop)
  endif()
endfunction()

# A benchmark program: built and run by the `bench` target, never by ctest.
function(zav_add_bench)
  cmake_parse_arguments(B "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${B_NAME} EXCLUDE_FROM_ALL ${B_SOURCES})
  target_link_libraries(${B_NAME} PRIVATE ${B_LIBS})
  set_target_properties(${B_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
  add_custom_target(run_${B_NAME}
    COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${B_NAME}>
    DEPENDS ${B_NAME} USES_TERMINAL)
  add_dependencies(bench run_${B_NAME})
  add_dependencies(bench_build ${B_NAME})
endfunction()
