# The Windows Installer package, Quorvane-<version>-win64.msi, made by cpack
# beside the ZIP when both wixl and msibuild (Debian's wixl and msitools) are
# found; and the dates inside both packages taken from the last commit when
# cpack runs.
find_program(QUORVANE_WIXL wixl)
find_program(QUORVANE_MSIBUILD msibuild)
find_program(QUORVANE_FAKETIME faketime)

set(CPACK_QUORVANE_ROOT ${CMAKE_SOURCE_DIR})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/CPackDates.cmake)

# The command that writes the package for `version` to `output`; the tests
# build their own versions with it.
function(quorvane_msi_command output version)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DWIXL=${QUORVANE_WIXL} -DMSIBUILD=${QUORVANE_MSIBUILD}
            -DFAKETIME=${QUORVANE_FAKETIME} -DWXS=${CMAKE_SOURCE_DIR}/installer/Quorvane.wxs
            -DICON=${CMAKE_SOURCE_DIR}/app/Quorvane.ico -DEXE=$<TARGET_FILE:Quorvane>
            -DCHM=${CMAKE_BINARY_DIR}/bin/QuorvaneHelp.chm -DVERSION=${version}
            -DQUORVANE_ROOT=${CMAKE_SOURCE_DIR} -DWORK=${output}.work -DOUTPUT=${output}
            -P ${CMAKE_SOURCE_DIR}/installer/BuildMsi.cmake
    DEPENDS Quorvane quorvane_help_chm ${CMAKE_BINARY_DIR}/bin/QuorvaneHelp.chm
            ${CMAKE_SOURCE_DIR}/installer/Quorvane.wxs
            ${CMAKE_SOURCE_DIR}/installer/BuildMsi.cmake ${CMAKE_SOURCE_DIR}/app/Quorvane.ico
    COMMENT "Building the installer package ${version} with wixl"
    VERBATIM)
endfunction()

if(QUORVANE_WIXL AND QUORVANE_MSIBUILD)
  set(CPACK_QUORVANE_MSI_ARGS
      -DWIXL=${QUORVANE_WIXL} -DMSIBUILD=${QUORVANE_MSIBUILD} -DFAKETIME=${QUORVANE_FAKETIME}
      -DWXS=${CMAKE_SOURCE_DIR}/installer/Quorvane.wxs -DICON=${CMAKE_SOURCE_DIR}/app/Quorvane.ico
      -DEXE=${CMAKE_BINARY_DIR}/bin/Quorvane.exe -DCHM=${CMAKE_BINARY_DIR}/bin/QuorvaneHelp.chm
      -DVERSION=${PROJECT_VERSION} -DQUORVANE_ROOT=${CMAKE_SOURCE_DIR}
      -DWORK=${CMAKE_BINARY_DIR}/installer/msi
      -DOUTPUT=${CMAKE_BINARY_DIR}/${CPACK_PACKAGE_FILE_NAME}.msi
      -P ${CMAKE_SOURCE_DIR}/installer/BuildMsi.cmake)
  set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/CPackMsi.cmake)
else()
  message(STATUS "No wixl or no msibuild (Debian packages wixl, msitools): cpack makes the ZIP only.")
endif()
