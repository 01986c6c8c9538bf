# Bounded run of the text buffer's fuzz target under ctest (labels "fuzz" and "editor"), from a
# corpus folder in the build tree.
if(ZORVAN_FUZZ AND TARGET fuzz_text_buffer)
  set(corpus "${CMAKE_CURRENT_BINARY_DIR}/fuzz-corpus/fuzz_text_buffer")
  file(MAKE_DIRECTORY "${corpus}")
  add_test(NAME fuzz_text_buffer
           COMMAND fuzz_text_buffer -runs=1000000 -max_total_time=20 -max_len=4096 "${corpus}")
  set_tests_properties(fuzz_text_buffer PROPERTIES LABELS "fuzz;editor" TIMEOUT 120)
endif()
