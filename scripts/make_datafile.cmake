# Creates the default data file beside the program, never replacing one that exists.
if(NOT EXISTS "${DATAFILE}")
  execute_process(COMMAND "${TOOL}" --create "${DATAFILE}" RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "could not create ${DATAFILE}")
  endif()
endif()
