# pl3_library(NAME SOURCES ... [LIBS ...])
#   A subsystem's static library. Includes resolve from the repository root,
#   so a header is always named by its folder: #include "store/tower.h".
function(pl3_library name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_link_libraries(${name} PUBLIC pl3_options ${A_LIBS})
endfunction()

# Leaks of libraries the program does not own are excused by name
# (scripts/lsan-suppressions.txt): tests get the file through LSAN_OPTIONS,
# programs of the sanitizer build carry its lines (pl3_lsan_suppressions).
set(PL3_LSAN_FILE ${PROJECT_SOURCE_DIR}/scripts/lsan-suppressions.txt)
set(PL3_LSAN_ENVIRONMENT "LSAN_OPTIONS=suppressions=${PL3_LSAN_FILE}")
function(pl3_lsan_suppressions target)
  if(PL3_SANITIZE)
    file(STRINGS ${PL3_LSAN_FILE} lines REGEX "^leak:")
    list(JOIN lines "\\n" text)
    target_compile_definitions(${target} PRIVATE "PL3_LSAN_SUPPRESSIONS=\"${text}\\n\"")
  endif()
endfunction()

# pl3_test(NAME SOURCES ... [LIBS ...])
#   A GoogleTest executable discovered by ctest. It links the shared test
#   main, which runs every test on the headless platform with a private
#   configuration folder and resets global state between tests.
function(pl3_test name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE pl3_options pl3_test_main ${A_LIBS} GTest::gtest GTest::gmock)
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES ENVIRONMENT "PL3_SOURCE_DIR=${PROJECT_SOURCE_DIR};PL3_SHARED_DIR=${PROJECT_SOURCE_DIR}/../shared;${PL3_LSAN_ENVIRONMENT}"
    DISCOVERY_TIMEOUT 60)
endfunction()

# pl3_benchmark(NAME SOURCES ... [LIBS ...])
function(pl3_benchmark name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE pl3_options ${A_LIBS} benchmark::benchmark benchmark::benchmark_main)
endfunction()

# pl3_fuzzer(NAME SOURCES ... [LIBS ...])
function(pl3_fuzzer name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE pl3_options ${A_LIBS})
endfunction()

# pl3_add_resources(TARGET DESCRIPTION)
#   Compiles a resource description (tools/rescomp/README.md) into the
#   target, which then finds its resources through its own module handle.
#   A fault in the description fails the build with its file and line.
function(pl3_add_resources target description)
  get_filename_component(source ${description} ABSOLUTE)
  get_filename_component(stem ${description} NAME_WE)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${target}_${stem}_resources.cpp)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
            $<TARGET_FILE:pl3_rescomp> ${source} ${output} --depfile ${output}.d
    DEPENDS pl3_rescomp ${source}
    DEPFILE ${output}.d
    COMMENT "Compiling resources ${description}"
    VERBATIM)
  target_sources(${target} PRIVATE ${output})
endfunction()
