# Tests of the processing engine, apart from the record's own so they run under their own label.
file(GLOB SPC_PROCESS_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/process/*.cpp)
kedrus_add_test(spc_process_tests LABEL processing
  SOURCES ${SPC_PROCESS_TESTS}
  LIBS spc_data)
