# Compiles the help project in a fresh copy of its sources, so that nothing is
# written into the source tree, and puts the compiled file at OUTPUT.
# Variables: COMPILER, KIND (hhc or chmcmd), SOURCE_DIR, STAGE_DIR, OUTPUT,
# QUORVANE_ROOT (for the date the file carries), SETARCH and ARCH (optional).
include(${CMAKE_CURRENT_LIST_DIR}/../cmake/SourceDateEpoch.cmake)
file(REMOVE_RECURSE ${STAGE_DIR})
file(COPY ${SOURCE_DIR}/ DESTINATION ${STAGE_DIR})
# chmcmd leaves the first two bytes of the keyword index map uninitialised,
# and what it finds there moves with the address space layout: with address
# randomisation off, every run writes the same.
set(launcher)
if(SETARCH)
  set(launcher ${SETARCH} ${ARCH} -R)
endif()
execute_process(
  COMMAND ${launcher} ${COMPILER} QuorvaneHelp.hhp
  WORKING_DIRECTORY ${STAGE_DIR}
  RESULT_VARIABLE result
  OUTPUT_VARIABLE log
  ERROR_VARIABLE log)
# hhc.exe returns 1 when it succeeds; chmcmd returns 0.
if(KIND STREQUAL "hhc")
  set(success 1)
else()
  set(success 0)
endif()
if(NOT result EQUAL success OR NOT EXISTS ${STAGE_DIR}/QuorvaneHelp.chm
   OR log MATCHES "(^|\n)(Error|Warning|HHC[0-9]+: Error)")
  message(FATAL_ERROR "${KIND} failed (${result}) on ${SOURCE_DIR}/QuorvaneHelp.hhp:\n${log}")
endif()

# chmcmd takes its dates from SOURCE_DATE_EPOCH but still writes the time of
# day it ran, in milliseconds, twice: big-endian in the file header (offset
# 16) and little-endian as entry 10 of #SYSTEM, the first after its version
# 3, stored uncompressed. Both become the epoch's time of day.
if(KIND STREQUAL "chmcmd")
  set(chm ${STAGE_DIR}/QuorvaneHelp.chm)
  file(READ ${chm} whole HEX)
  string(FIND "${whole}" "030000000a000400" at)
  string(FIND "${whole}" "030000000a000400" last REVERSE)
  math(EXPR odd "${at} % 2")
  if(at LESS 0 OR NOT at EQUAL last OR odd)
    message(FATAL_ERROR "${chm}: no single time stamp in #SYSTEM")
  endif()
  math(EXPR system_at "${at} / 2 + 8")
  math(EXPR ms "(${QUORVANE_EPOCH} % 86400) * 1000")
  # Octal escapes, which every printf knows.
  set(be "")
  set(le "")
  foreach(shift 24 16 8 0)
    math(EXPR byte "(${ms} >> ${shift}) & 255")
    math(EXPR o1 "${byte} / 64")
    math(EXPR o2 "(${byte} / 8) % 8")
    math(EXPR o3 "${byte} % 8")
    string(APPEND be "\\${o1}${o2}${o3}")
    string(PREPEND le "\\${o1}${o2}${o3}")
  endforeach()
  foreach(patch "16;${be}" "${system_at};${le}")
    list(GET patch 0 offset)
    list(GET patch 1 bytes)
    execute_process(
      COMMAND sh -c "printf '${bytes}' | dd of='${chm}' bs=1 seek=${offset} conv=notrunc 2>/dev/null"
      COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
endif()
get_filename_component(output_dir ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${output_dir})
file(COPY_FILE ${STAGE_DIR}/QuorvaneHelp.chm ${OUTPUT})
