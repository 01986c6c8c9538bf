# The end-to-end tests of zorvan-run (tests/app/RunnerTest.cpp) run the built program.
if(TARGET test_app AND TARGET zorvan-run)
  add_dependencies(test_app zorvan-run)
  target_compile_definitions(test_app PRIVATE ZORVAN_RUNNER="$<TARGET_FILE:zorvan-run>")
endif()
