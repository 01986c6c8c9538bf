# The end-to-end tests of zorvan-run (tests/app/RunnerTest.cpp) run the built program; the option
# tests and the option fuzz target link its library.
if(TARGET test_app AND TARGET zorvan-run)
  add_dependencies(test_app zorvan-run)
  target_compile_definitions(test_app PRIVATE ZORVAN_RUNNER="$<TARGET_FILE:zorvan-run>")
  target_link_libraries(test_app PRIVATE zorvan_runner)
endif()
if(TARGET fuzz_runner_options)
  target_link_libraries(fuzz_runner_options PRIVATE zorvan_runner)
endif()
# zorvan-grade: its tests run the built program too, and read its JUnit report back with libxml2.
if(TARGET test_app AND TARGET zorvan-grade)
  find_package(LibXml2 REQUIRED)
  add_dependencies(test_app zorvan-grade)
  target_compile_definitions(test_app PRIVATE ZORVAN_GRADER="$<TARGET_FILE:zorvan-grade>")
  target_link_libraries(test_app PRIVATE LibXml2::LibXml2)
endif()
