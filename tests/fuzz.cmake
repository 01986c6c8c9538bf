# Bounded runs of every fuzz target under ctest (label "fuzz"). Each run starts from a corpus
# folder in the build tree, seeded with the corpus kept in tests/fuzz/corpus/<target> (grown by
# scripts/fuzz-long.sh) and with sample inputs where we have them, so that libFuzzer never writes
# into the source tree.
if(ZORVAN_FUZZ)
  set(samples "${CMAKE_CURRENT_SOURCE_DIR}/data/assembler")
  foreach(fuzzer ${zorvan_fuzzers})
    set(corpus "${CMAKE_CURRENT_BINARY_DIR}/fuzz-corpus/${fuzzer}")
    file(MAKE_DIRECTORY "${corpus}")
    set(options -runs=1000000 -max_total_time=10 -max_len=4096)
    if(fuzzer MATCHES "^fuzz_(parse_line|compile|keywords)$")
      file(GLOB seeds "${samples}/*.85" "${CMAKE_SOURCE_DIR}/examples/*.85")
      list(APPEND options -dict=${CMAKE_CURRENT_SOURCE_DIR}/fuzz/assembler.dict)
    elseif(fuzzer STREQUAL "fuzz_debug_load")
      file(GLOB seeds "${samples}/*.debugtext")
    elseif(fuzzer STREQUAL "fuzz_machine_step")
      # Programs of any length from the start: grown a few bytes at a time, as libFuzzer does by
      # default, they would stay too short to set the registers in a run of this length.
      list(APPEND options -len_control=0)
      set(seeds "")
    else()
      set(seeds "")
    endif()
    file(GLOB kept "${CMAKE_CURRENT_SOURCE_DIR}/fuzz/corpus/${fuzzer}/*")
    list(APPEND seeds ${kept})
    if(seeds)
      file(COPY ${seeds} DESTINATION "${corpus}")
    endif()
    add_test(NAME ${fuzzer} COMMAND ${fuzzer} ${options} "${corpus}")
    set_tests_properties(${fuzzer} PROPERTIES LABELS fuzz TIMEOUT 120)
  endforeach()
endif()
