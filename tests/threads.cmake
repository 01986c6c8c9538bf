# The test programs named here run threads, so their tests also carry the label "threads" (the
# ThreadSanitizer build runs only those). The labels are set after test discovery, on the list of
# discovered tests, since the discovery's own PROPERTIES cannot carry a list of labels.
foreach(program simulator app)
  if(TARGET test_${program})
    set(script "${CMAKE_CURRENT_BINARY_DIR}/threads_${program}.cmake")
    file(WRITE "${script}"
         "if(test_${program}_TESTS)\n"
         "  set_tests_properties(\${test_${program}_TESTS} PROPERTIES LABELS \"${program};threads\")\n"
         "endif()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${script}")
  endif()
endforeach()
