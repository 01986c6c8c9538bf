# Window tests: tests/<subsystem>/ui/*.cpp -> test_<subsystem>_ui, GoogleTest with a QApplication on
# the offscreen platform, labelled "ui". They run in the builds with windows (not fuzz, not tsan).
if(TARGET zorvan_app_ui AND ZORVAN_UI_TESTS)
  foreach(subsystem machine simulator app editor)
    file(GLOB sources CONFIGURE_DEPENDS ${subsystem}/ui/*.cpp)
    if(sources)
      set(program test_${subsystem}_ui)
      add_executable(${program} ${sources} support/QtTestMain.cpp)
      set_target_properties(${program} PROPERTIES AUTOMOC ON)
      target_link_libraries(${program} PRIVATE zorvan_${subsystem}_ui Qt6::Test GTest::gtest
                                               zorvan_warnings)
      if(subsystem STREQUAL "editor")
        # A view alone has no keys: the tests bind those of the program's command table.
        target_link_libraries(${program} PRIVATE zorvan_app)
      endif()
      target_include_directories(${program} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
      target_compile_definitions(${program} PRIVATE
        ZORVAN_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data"
        ZORVAN_EXAMPLES="${CMAKE_SOURCE_DIR}/examples"
        ZORVAN_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
      gtest_discover_tests(${program} DISCOVERY_TIMEOUT 60
        PROPERTIES LABELS ui ENVIRONMENT
        "QT_QPA_PLATFORM=offscreen;ZORVAN_TEST_SUBSYSTEM=${subsystem}_ui;LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_SOURCE_DIR}/support/lsan.supp")
    endif()
  endforeach()
endif()

# End-to-end tests: tests/e2e/*.cpp -> test_e2e, the whole program as main builds it, driven by
# key and mouse events. Labelled "e2e"; built and run in the dev build, on the X server of DISPLAY
# (scripts/test.sh starts Xvfb with a window manager), else on the offscreen platform.
if(TARGET zorvan_app_ui AND NOT ZORVAN_SANITIZE AND CMAKE_BUILD_TYPE STREQUAL "RelWithDebInfo")
  file(GLOB e2e_sources CONFIGURE_DEPENDS e2e/*.cpp e2e/*.h)
  add_executable(test_e2e ${e2e_sources})
  set_target_properties(test_e2e PROPERTIES AUTOMOC ON)
  target_link_libraries(test_e2e PRIVATE zorvan_app_ui Qt6::Test GTest::gtest zorvan_warnings)
  target_include_directories(test_e2e PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_compile_definitions(test_e2e PRIVATE ZORVAN_EXAMPLES="${CMAKE_SOURCE_DIR}/examples")
  # One process for the whole suite: its windows share one display and one focus, so the tests run
  # one after the other, and the program's start-up cost is paid once.
  add_test(NAME e2e COMMAND test_e2e)
  # It runs alone: a key pressed while other tests load both cores can reach a window before the
  # window manager has finished handing it the focus, which no user at a keyboard meets.
  set_tests_properties(e2e PROPERTIES LABELS e2e TIMEOUT 300 RESOURCE_LOCK display RUN_SERIAL ON
                                      ENVIRONMENT "ZORVAN_TEST_SUBSYSTEM=e2e")
endif()
