# Sets QUORVANE_EPOCH, the date every built file carries, in seconds since
# 1970: SOURCE_DATE_EPOCH when it is set, otherwise the time of the last
# commit of the sources in QUORVANE_ROOT, otherwise 1980-01-01, the earliest
# date a ZIP can hold. Also puts it in SOURCE_DATE_EPOCH for the tools this
# process starts.
if(NOT "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
  set(QUORVANE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
else()
  execute_process(COMMAND git log -1 --format=%ct
                  WORKING_DIRECTORY "${QUORVANE_ROOT}"
                  OUTPUT_VARIABLE QUORVANE_EPOCH
                  RESULT_VARIABLE quorvane_git_result
                  OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(NOT quorvane_git_result EQUAL 0 OR NOT QUORVANE_EPOCH MATCHES "^[0-9]+$")
    set(QUORVANE_EPOCH 315532800)
  endif()
endif()
set(ENV{SOURCE_DATE_EPOCH} "${QUORVANE_EPOCH}")
