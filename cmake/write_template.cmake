# Writes the template database OUT from SQL, only when OUT does not exist:
# an existing pastel.mdb holds the user's word list.
if(EXISTS "${OUT}")
  return()
endif()
find_program(SQLITE3 sqlite3 REQUIRED)
set(tmp "${OUT}.new")
file(REMOVE "${tmp}")
execute_process(COMMAND ${SQLITE3} "${tmp}" INPUT_FILE "${SQL}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  file(REMOVE "${tmp}")
  message(FATAL_ERROR "could not write ${OUT}")
endif()
file(RENAME "${tmp}" "${OUT}")
