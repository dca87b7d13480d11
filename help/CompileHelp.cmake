# Compiles the help project in a fresh copy of its sources, so that nothing is
# written into the source tree, and puts the compiled file at OUTPUT.
# Variables: COMPILER, KIND (hhc or chmcmd), SOURCE_DIR, STAGE_DIR, OUTPUT.
file(REMOVE_RECURSE ${STAGE_DIR})
file(COPY ${SOURCE_DIR}/ DESTINATION ${STAGE_DIR})
execute_process(
  COMMAND ${COMPILER} QuorvaneHelp.hhp
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
get_filename_component(output_dir ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${output_dir})
file(COPY_FILE ${STAGE_DIR}/QuorvaneHelp.chm ${OUTPUT})
