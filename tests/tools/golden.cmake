# Runs the decode tool on INPUT with OPTIONS and compares its output with
# EXPECTED byte for byte.
execute_process(COMMAND ${DECODE} ${OPTIONS} ${INPUT}
  OUTPUT_VARIABLE actual ERROR_VARIABLE errors RESULT_VARIABLE rc)
file(READ ${EXPECTED} expected)
if(NOT actual STREQUAL expected)
  string(REGEX REPLACE "\\.out$" ".actual" actual_file "${EXPECTED}")
  get_filename_component(actual_name "${actual_file}" NAME)
  set(actual_file "${CMAKE_CURRENT_BINARY_DIR}/${actual_name}")
  file(WRITE ${actual_file} "${actual}")
  message(FATAL_ERROR "output differs from ${EXPECTED} (exit ${rc}, stderr: ${errors}); actual output in ${actual_file}")
endif()
