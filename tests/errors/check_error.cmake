# Runs the scenario runner where it must fail with a scenario error: exit status 2 and, on its
# error output, the line EXPECT ("{{*}}" standing for any run of characters).
#
#   RUNNER    the runner
#   SCENARIO  a scenario whose first line is "# error: EXPECT", with FILE in EXPECT standing for
#             the scenario's own path; played with --check
#   ARGS      or: the runner's arguments, separated by "|", EMPTY among them standing for a fresh
#             empty folder
#   WORK      a scratch folder of this test, made afresh; its tmp/ is the runner's temporary
#             folder (TMPDIR), which holds a folder of a killed run at the start and must hold
#             nothing when the runner has ended
#   ADDIN_DIR optional: where the runner looks for the add-in library
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/tmp ${WORK}/empty)
# A folder that a killed run left behind: the run removes it.
file(MAKE_DIRECTORY ${WORK}/tmp/brindlewick-script-Stale1/addin-AbCdEf)

if(SCENARIO)
  file(STRINGS ${SCENARIO} first LIMIT_COUNT 1)
  string(REGEX REPLACE "^# error: " "" EXPECT "${first}")
  string(REPLACE "FILE" "${SCENARIO}" EXPECT "${EXPECT}")
  set(ARGS --check ${SCENARIO})
endif()
string(REPLACE "|" ";" ARGS "${ARGS}")
list(TRANSFORM ARGS REPLACE "^EMPTY$" "${WORK}/empty")

set(env TMPDIR=${WORK}/tmp)
if(ADDIN_DIR)
  list(APPEND env BRINDLEWICK_ADDIN_DIR=${ADDIN_DIR})
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env ${env} ${RUNNER} ${ARGS}
                RESULT_VARIABLE status ERROR_VARIABLE errors OUTPUT_QUIET)

# EXPECT as a regular expression: everything literal but the wildcards.
string(REGEX REPLACE "([][.*+?^$()|\\\\{}])" "\\\\\\1" pattern "${EXPECT}")
string(REPLACE "\\{\\{\\*\\}\\}" ".*" pattern "${pattern}")
if(NOT status EQUAL 2)
  message(FATAL_ERROR "exit status ${status}, not 2; errors:\n${errors}")
endif()
if(NOT errors MATCHES "(^|\n)${pattern}\n")
  message(FATAL_ERROR "expected the error\n  ${EXPECT}\ngot\n${errors}")
endif()
file(GLOB left RELATIVE ${WORK}/tmp ${WORK}/tmp/*)
if(left)
  message(FATAL_ERROR "left behind in the temporary folder: ${left}")
endif()
