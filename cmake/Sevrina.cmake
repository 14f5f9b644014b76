# Small helpers shared by every folder's CMakeLists.txt.

# Adds each listed folder that exists and has a CMakeLists.txt.
function(sevrina_subdirectories)
  foreach(dir IN LISTS ARGN)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()

# sevrina_library(name SOURCES a.cpp b.cpp DEPS other_lib ...)
# A static library whose includes are rooted at the project's top folder,
# so every header is included as "pdf/PdfWriter.h", "app/shell/store.h", ...
function(sevrina_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  if(ARG_DEPS)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  endif()
endfunction()

# sevrina_test(name SOURCES a_test.cpp DEPS lib ... [LABELS x] [NO_MAIN])
# A GoogleTest executable registered with CTest; tests are discovered when
# ctest runs, so a test binary never has to run at build time.
function(sevrina_test name)
  cmake_parse_arguments(ARG "NO_MAIN" "" "SOURCES;DEPS;LABELS" ${ARGN})
  if(SEVRINA_FUZZ)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  if(ARG_NO_MAIN)
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock)
  else()
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  endif()
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE
    SEVRINA_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    SEVRINA_BINARY_DIR="${PROJECT_BINARY_DIR}")
  if(ARG_LABELS)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
      PROPERTIES LABELS "${ARG_LABELS}" TIMEOUT 600)
  else()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES TIMEOUT 600)
  endif()
endfunction()

# sevrina_fuzzer(name SOURCES fuzz.cpp DEPS lib ...)
# Built only with SEVRINA_FUZZ (clang). Each fuzzer is also registered as a
# short smoke run so that the fuzz build proves the targets start and survive.
function(sevrina_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  if(NOT SEVRINA_FUZZ)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  # A fixed seed, run the same way every time by tests/fuzz/smoke_run.sh,
  # so that the same tree always gives the same verdict; a failure names
  # the seed and the input to replay.
  add_test(NAME fuzz_smoke.${name}
           COMMAND sh ${PROJECT_SOURCE_DIR}/tests/fuzz/smoke_run.sh $<TARGET_FILE:${name}> ${SEVRINA_FUZZ_SEED}
                   ${CMAKE_CURRENT_BINARY_DIR}/smoke/${name} -
                   -runs=20000 -max_len=4096 -timeout=10)
  set_tests_properties(fuzz_smoke.${name} PROPERTIES LABELS fuzz TIMEOUT 600)
endfunction()

# sevrina_benchmark(name SOURCES b.cpp DEPS lib ...)
function(sevrina_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  if(NOT SEVRINA_BENCH OR SEVRINA_SANITIZE OR SEVRINA_FUZZ)
    return()
  endif()
  find_package(benchmark REQUIRED)
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} benchmark::benchmark benchmark::benchmark_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE SEVRINA_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
endfunction()

# sevrina_glob_tests(prefix DEPS lib ...)
# Every *_test.cpp in the current folder becomes its own test executable
# named <prefix>_<stem>, so adding a test file needs no CMake edit.
function(sevrina_glob_tests prefix)
  cmake_parse_arguments(ARG "" "" "DEPS;LABELS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  foreach(t IN LISTS tests)
    get_filename_component(stem ${t} NAME_WE)
    string(REGEX REPLACE "_test$" "" stem ${stem})
    if(ARG_LABELS)
      sevrina_test(${prefix}_${stem} SOURCES ${t} DEPS ${ARG_DEPS} LABELS ${ARG_LABELS})
    else()
      sevrina_test(${prefix}_${stem} SOURCES ${t} DEPS ${ARG_DEPS})
    endif()
  endforeach()
endfunction()
