# Plays one scenario of this folder in a scratch copy of it, so that what it saves lands there.
#   RUNNER the runner; FILES this folder; SCENARIO the scenario's file name; WORK the scratch folder
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/saved)
file(GLOB inputs ${FILES}/*.scn ${FILES}/*.bas ${FILES}/*.frm)
file(COPY ${inputs} DESTINATION ${WORK})
execute_process(COMMAND ${RUNNER} --check ${WORK}/${SCENARIO} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${SCENARIO} failed with status ${status}")
endif()
