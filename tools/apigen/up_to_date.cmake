# Regenerates the API text and fails when it differs from the committed data/Win32api.txt.
execute_process(COMMAND ${GENERATOR} --quiet -o ${FRESH} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "brindlewick-apigen failed (${rc})")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${COMMITTED} ${FRESH} RESULT_VARIABLE same)
if(NOT same EQUAL 0)
  message(FATAL_ERROR "${COMMITTED} is not what the generator writes now (${FRESH}); "
                      "run tools/regen-api and commit the result")
endif()
