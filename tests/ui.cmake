# Window tests: tests/<subsystem>/ui/*.cpp -> test_<subsystem>_ui, GoogleTest with a QApplication on
# the offscreen platform, labelled "ui". They run in the builds with windows (not fuzz, not tsan).
if(TARGET zorvan_app_ui)
  foreach(subsystem machine simulator app editor)
    file(GLOB sources CONFIGURE_DEPENDS ${subsystem}/ui/*.cpp)
    if(sources)
      set(program test_${subsystem}_ui)
      add_executable(${program} ${sources} support/QtTestMain.cpp)
      set_target_properties(${program} PROPERTIES AUTOMOC ON)
      target_link_libraries(${program} PRIVATE zorvan_${subsystem}_ui Qt6::Test GTest::gtest
                                               zorvan_warnings)
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
