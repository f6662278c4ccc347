# Unpacks KEN_ALL.CSV from ZIP into DIR unless it is there already and newer than the archive.
# Without the archive, nothing is done: the tests on the real data then skip themselves.
if(NOT EXISTS "${ZIP}")
  message(STATUS "No data archive at ${ZIP}: tests on the real data will be skipped")
  return()
endif()
if(EXISTS "${DIR}/KEN_ALL.CSV" AND NOT "${ZIP}" IS_NEWER_THAN "${DIR}/KEN_ALL.CSV")
  return()
endif()
file(MAKE_DIRECTORY "${DIR}")
file(ARCHIVE_EXTRACT INPUT "${ZIP}" DESTINATION "${DIR}" PATTERNS KEN_ALL.CSV)
file(TOUCH "${DIR}/KEN_ALL.CSV")  # newer than the archive, so the next run skips this
