# Tests of baseline correction, integration, peak picking, spectrum arithmetic and the calculator.
file(GLOB SPC_ANALYSIS_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/analysis/*.cpp)
kedrus_add_test(spc_analysis_tests LABEL processing
  SOURCES ${SPC_ANALYSIS_TESTS}
  LIBS spc_data)
