# Runs one function of a Qt Test program with fresh, private configuration
# and runtime folders.
file(REMOVE_RECURSE ${HOME})
file(MAKE_DIRECTORY ${HOME}/config ${HOME}/runtime)
file(CHMOD ${HOME}/runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
execute_process(COMMAND ${EXE} ${FUNCTION} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${EXE} ${FUNCTION} failed: ${rc}")
endif()
