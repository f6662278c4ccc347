# Unpacks KEN_ALL.CSV from ZIP into DIR unless it is there already and newer than the archive.
# Run at every build (the `data` target) and before the tests that read the file (the
# orvek_data fixture). Without the archive, nothing is done: the tests on the real data then
# skip themselves, and the package cannot carry the data.
if(NOT EXISTS "${ZIP}")
  message(STATUS "No data archive at ${ZIP}: download ken_all.zip from "
                 "https://www.post.japanpost.jp/service/search/zipcode/download/kogaki/zip/ken_all.zip "
                 "and put it there (or configure with -DMORVANE_DATA_ZIP=...); tests on the real "
                 "data will be skipped")
  return()
endif()
if(EXISTS "${DIR}/KEN_ALL.CSV" AND NOT "${ZIP}" IS_NEWER_THAN "${DIR}/KEN_ALL.CSV")
  return()
endif()
file(MAKE_DIRECTORY "${DIR}")
file(ARCHIVE_EXTRACT INPUT "${ZIP}" DESTINATION "${DIR}" PATTERNS KEN_ALL.CSV)
file(TOUCH "${DIR}/KEN_ALL.CSV")  # newer than the archive, so the next run skips this
