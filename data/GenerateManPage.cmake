# Writes the manual page OUT of PROGRAM with help2man, from the program's
# --help and --version. help2man runs the program by its bare name, so that
# the page names it as a user types it and not by the build folder, through a
# wrapper that joins a synopsis spread over several lines (lines that go on
# with "[") into the one "Usage:" line help2man reads.
get_filename_component(name ${PROGRAM} NAME)
get_filename_component(out_dir ${OUT} DIRECTORY)
set(wrapper_dir ${out_dir}/wrapper-${name})
file(MAKE_DIRECTORY ${out_dir} ${wrapper_dir})
file(WRITE ${wrapper_dir}/${name} "#!/bin/bash
set -o pipefail
if [ \"$1\" = --help ]; then
  '${PROGRAM}' --help | awk '!joined && NR > 1 && /^ +\\[/ { sub(/^ +/, \" \"); usage = usage $0; next }
    NR == 1 { usage = $0; next }
    !joined { print usage; joined = 1 }
    { print }
    END { if (!joined) print usage }'
else
  exec '${PROGRAM}' \"$@\"
fi
")
file(CHMOD ${wrapper_dir}/${name} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
     WORLD_READ WORLD_EXECUTE)
set(ENV{PATH} "${wrapper_dir}:$ENV{PATH}")
# The same page in any locale and at any date of the same release.
set(ENV{LC_ALL} C.UTF-8)
set(ENV{LANG} C.UTF-8)
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(ENV{SOURCE_DATE_EPOCH} 1796601600)
endif()
execute_process(
  COMMAND ${HELP2MAN} --no-info --section=1 --name=${NAME} --include=${INCLUDE} --output=${OUT}.tmp ${name}
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  file(REMOVE ${OUT}.tmp)
  message(FATAL_ERROR "help2man failed for ${name}: ${rc}")
endif()
file(RENAME ${OUT}.tmp ${OUT})
