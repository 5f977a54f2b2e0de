# libFuzzer targets of the sanitizer build (clang with ORV_FUZZ): each is built
# with -fsanitize=fuzzer and run as a test for a bounded time, starting from its
# checked-in seeds; what it learns stays in a corpus folder of the build tree.
#   orv_fuzz_target(NAME SOURCES src... LIBRARIES lib... SEEDS dir [SECONDS n])
function(orv_fuzz_target name)
  cmake_parse_arguments(FUZZ "" "SEEDS;SECONDS" "SOURCES;LIBRARIES" ${ARGN})
  if(NOT ORV_FUZZ OR NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    return()
  endif()
  if(NOT FUZZ_SECONDS)
    set(FUZZ_SECONDS 20)
  endif()
  add_executable(${name} ${FUZZ_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${FUZZ_LIBRARIES})
  set(corpus ${CMAKE_CURRENT_BINARY_DIR}/${name}_corpus)
  file(MAKE_DIRECTORY ${corpus})
  add_test(NAME ${name} COMMAND ${name} -max_total_time=${FUZZ_SECONDS} -timeout=10 -rss_limit_mb=2048 ${corpus}
                                ${FUZZ_SEEDS})
endfunction()
