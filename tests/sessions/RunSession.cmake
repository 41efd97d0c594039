# Plays one session in a fresh folder. The session checks itself with its
# `expect` lines; NAME.stderr, when present, is what standard error must hold,
# and NAME.status the exit status it must end with (0 otherwise).
get_filename_component(dir ${SESSION} DIRECTORY)
get_filename_component(name ${SESSION} NAME_WE)
file(REMOVE_RECURSE ${WORKDIR})
file(MAKE_DIRECTORY ${WORKDIR})
execute_process(COMMAND ${REPLAY} --plugins ${PLUGINS} ${SESSION}
  WORKING_DIRECTORY ${WORKDIR}
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(expected_status 0)
if(EXISTS ${dir}/${name}.status)
  file(READ ${dir}/${name}.status expected_status)
  string(STRIP "${expected_status}" expected_status)
endif()
if(NOT status STREQUAL expected_status)
  message(FATAL_ERROR "exit status ${status}, expected ${expected_status}\nstdout:\n${out}\nstderr:\n${err}")
endif()
if(EXISTS ${dir}/${name}.stderr)
  file(READ ${dir}/${name}.stderr expected_err)
  string(REPLACE "@SESSION@" "${SESSION}" expected_err "${expected_err}")
  if(NOT err STREQUAL expected_err)
    message(FATAL_ERROR "standard error differs.\nexpected:\n${expected_err}\ngot:\n${err}")
  endif()
elseif(NOT status EQUAL 0)
  message(FATAL_ERROR "${err}")
endif()
