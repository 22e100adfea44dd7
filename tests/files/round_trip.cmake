# Plays round_trip.scn in a scratch folder holding copies of the example's source files, then
# compares each saved file with the one it was read from, byte for byte.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/saved)
file(COPY ${FILES}/round_trip.scn ${EXAMPLES}/frmMain.frm ${EXAMPLES}/basMain.bas DESTINATION ${WORK})
execute_process(COMMAND ${RUNNER} --check ${WORK}/round_trip.scn RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "round_trip.scn failed with status ${status}")
endif()
foreach(name frmMain.frm basMain.bas)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/${name} ${WORK}/saved/${name}
                  RESULT_VARIABLE differ)
  if(NOT differ EQUAL 0)
    message(FATAL_ERROR "${name} was not written back byte for byte")
  endif()
endforeach()
