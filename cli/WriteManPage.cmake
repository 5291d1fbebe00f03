# Writes the manual page that the program prints with --man (run by the build).
execute_process(COMMAND ${PROGRAM} --man OUTPUT_FILE ${OUTPUT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --man failed: ${result}")
endif()
