# kedrus_add_test(<name> LABEL <label> SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable per area; every run of a test runs against a sandbox registry and a
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
  # Every run starts from an empty sandbox of its own (cmake/sandboxed.sh).
  add_test(NAME ${name} COMMAND sh ${PROJECT_SOURCE_DIR}/cmake/sandboxed.sh ${sandbox} $<TARGET_FILE:${name}>)
  set_tests_properties(${name} PROPERTIES
    LABELS "${T_LABEL}"
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/cmake/lsan.supp")
  # The sandbox folder is there before the run; runs of other invocations in it stay untouched.
  add_test(NAME ${name}_sandbox COMMAND ${CMAKE_COMMAND} -E make_directory ${sandbox})
  set_tests_properties(${name}_sandbox PROPERTIES FIXTURES_SETUP ${name}_fx LABELS "${T_LABEL}")
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED ${name}_fx)
endfunction()
