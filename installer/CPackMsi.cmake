# Run by cpack after the ZIP: builds the MSI from the same program and help
# file, in a cmake of its own so that its variables stay apart.
execute_process(COMMAND ${CMAKE_COMMAND} ${CPACK_QUORVANE_MSI_ARGS} COMMAND_ERROR_IS_FATAL ANY)
