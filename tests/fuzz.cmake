# Bounded runs of the assembler's fuzz targets under ctest (label "fuzz"). Each run starts from a
# corpus folder in the build tree, seeded with the assembler's sample sources, so that libFuzzer
# never writes into the source tree.
if(ZORVAN_FUZZ)
  set(seeds "${CMAKE_CURRENT_SOURCE_DIR}/data/assembler")
  foreach(fuzzer fuzz_parse_line fuzz_compile fuzz_debug_load)
    if(TARGET ${fuzzer})
      set(corpus "${CMAKE_CURRENT_BINARY_DIR}/fuzz-corpus/${fuzzer}")
      file(MAKE_DIRECTORY "${corpus}")
      if(fuzzer STREQUAL "fuzz_debug_load")
        file(GLOB seed_files "${seeds}/*.debugtext")
      else()
        file(GLOB seed_files "${seeds}/*.85")
      endif()
      file(COPY ${seed_files} DESTINATION "${corpus}")
      add_test(NAME ${fuzzer}
               COMMAND ${fuzzer} -runs=1000000 -max_total_time=15 -max_len=4096
                       -dict=${CMAKE_CURRENT_SOURCE_DIR}/fuzz/assembler.dict "${corpus}")
      set_tests_properties(${fuzzer} PROPERTIES LABELS fuzz TIMEOUT 120)
    endif()
  endforeach()
endif()
