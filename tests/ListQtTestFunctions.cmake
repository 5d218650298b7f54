# After a Qt Test program is built: asks it for its test functions and writes
# one ctest entry per function into OUT, which ctest reads at run time.
# Each entry runs the program for that one function through RUNNER, with its
# own configuration and runtime folders under HOME/<function>.
set(probe_home ${HOME}/list)
file(REMOVE_RECURSE ${probe_home})
file(MAKE_DIRECTORY ${probe_home}/config ${probe_home}/runtime)
file(CHMOD ${probe_home}/runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=${probe_home}/config
          XDG_RUNTIME_DIR=${probe_home}/runtime ${EXE} -functions
  OUTPUT_VARIABLE listing
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${EXE} -functions failed: ${rc}")
endif()

string(REPLACE "\n" ";" lines "${listing}")
set(script "")
set(count 0)
foreach(line IN LISTS lines)
  if(line MATCHES "^([A-Za-z_][A-Za-z0-9_]*)\\(\\)$")
    set(fn ${CMAKE_MATCH_1})
    string(APPEND script
      "add_test(\"${NAME}.${fn}\" \"${CMAKE_COMMAND}\" -E env QT_QPA_PLATFORM=offscreen"
      " XDG_CONFIG_HOME=${HOME}/${fn}/config XDG_RUNTIME_DIR=${HOME}/${fn}/runtime LANG=C.UTF-8 LC_ALL=C.UTF-8"
      " \"${CMAKE_COMMAND}\" -DEXE=${EXE} -DFUNCTION=${fn} -DHOME=${HOME}/${fn} -P \"${RUNNER}\")\n")
    math(EXPR count "${count} + 1")
  endif()
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "${EXE} lists no test functions")
endif()
file(WRITE ${OUT} "${script}")
