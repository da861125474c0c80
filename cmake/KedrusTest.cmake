# kedrus_add_test(<name> LABEL <label> SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable per area; every test runs against a sandbox registry and a
# scratch folder of its own, never the user's settings, and on Qt's offscreen platform, so no
# test ever needs a display (leaks the toolkit's system libraries keep are suppressed). A test links the profile store's static core wherever its libraries
# call the store (see cmake/KedrusModule.cmake).
function(kedrus_add_test name)
  cmake_parse_arguments(T "" "LABEL" "SOURCES;LIBS" ${ARGN})
  if(NOT T_SOURCES)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  set_target_properties(${name} PROPERTIES KEDRUS_PROFILE_CORE ON)
  set(sandbox ${CMAKE_BINARY_DIR}/sandbox/${name})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    LABELS "${T_LABEL}"
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/cmake/lsan.supp;KEDRUS_REGISTRY_DIR=${sandbox}/registry;KEDRUS_INI_DIR=${sandbox}/ini;KEDRUS_TEST_SCRATCH=${sandbox}/scratch;HOME=${sandbox}/home;XDG_CONFIG_HOME=${sandbox}/config")
  # Start every run from an empty sandbox.
  add_test(NAME ${name}_sandbox COMMAND ${CMAKE_COMMAND} -E rm -rf ${sandbox})
  set_tests_properties(${name}_sandbox PROPERTIES FIXTURES_SETUP ${name}_fx LABELS "${T_LABEL}")
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED ${name}_fx)
endfunction()
