# The build places the first-run ranking only where none exists: a second
# build must leave a player's data.ini as it is.
set(dir "${WORK}/first_run_ranking")
file(REMOVE_RECURSE "${dir}")
file(MAKE_DIRECTORY "${dir}")
file(WRITE "${dir}/shipped.ini" "shipped")
execute_process(COMMAND ${CMAKE_COMMAND} -DSRC=${dir}/shipped.ini -DDST=${dir}/bin/data.ini
                -P ${SCRIPT} RESULT_VARIABLE rc)
file(READ "${dir}/bin/data.ini" first)
if(NOT rc EQUAL 0 OR NOT first STREQUAL "shipped")
  message(FATAL_ERROR "the first-run ranking was not placed (${rc}: '${first}')")
endif()
file(WRITE "${dir}/bin/data.ini" "the player's own top five")
execute_process(COMMAND ${CMAKE_COMMAND} -DSRC=${dir}/shipped.ini -DDST=${dir}/bin/data.ini
                -P ${SCRIPT} RESULT_VARIABLE rc)
file(READ "${dir}/bin/data.ini" second)
if(NOT rc EQUAL 0 OR NOT second STREQUAL "the player's own top five")
  message(FATAL_ERROR "a rebuild overwrote the player's ranking: '${second}'")
endif()
message(STATUS "first-run ranking placed once and kept")
