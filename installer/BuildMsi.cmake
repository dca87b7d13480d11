# Builds the Windows Installer package from Quorvane.wxs with wixl, the same
# bytes for the same program, help file, version and date.
# Variables: WIXL, MSIBUILD, FAKETIME (may be empty), WXS, ICON, EXE, CHM,
# VERSION, QUORVANE_ROOT (for the date), WORK, OUTPUT.
include(${CMAKE_CURRENT_LIST_DIR}/../cmake/SourceDateEpoch.cmake)

# wixl takes the files by name from where it runs, and its cabinet keeps each
# file's date: stage them in WORK, all dated QUORVANE_EPOCH.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(COPY_FILE ${WXS} ${WORK}/Quorvane.wxs)
file(COPY_FILE ${ICON} ${WORK}/Quorvane.ico)
file(COPY_FILE ${EXE} ${WORK}/Quorvane.exe)
file(COPY_FILE ${CHM} ${WORK}/QuorvaneHelp.chm)
execute_process(COMMAND touch -d @${QUORVANE_EPOCH} Quorvane.wxs Quorvane.ico Quorvane.exe
                        QuorvaneHelp.chm
                WORKING_DIRECTORY ${WORK} COMMAND_ERROR_IS_FATAL ANY)

# The product code is the version's own, so each version replaces the one
# before; the package code follows the contents. Both are derived, not drawn
# at random, so that a rebuild gives the same package.
file(READ ${WXS} wxs)
if(NOT wxs MATCHES "UpgradeCode=\"([0-9A-F-]+)\"")
  message(FATAL_ERROR "No UpgradeCode in ${WXS}")
endif()
set(upgrade_code ${CMAKE_MATCH_1})
file(SHA256 ${EXE} exe_hash)
file(SHA256 ${CHM} chm_hash)
string(UUID product_code NAMESPACE ${upgrade_code} NAME "ProductCode ${VERSION}" TYPE SHA1 UPPER)
string(UUID package_code NAMESPACE ${upgrade_code}
       NAME "PackageCode ${VERSION} ${exe_hash} ${chm_hash}" TYPE SHA1 UPPER)

# wixl dates the summary information now and gives the package a random code;
# both are set again with msibuild, under a clock stopped at the epoch.
set(clock)
if(FAKETIME)
  string(TIMESTAMP when "%Y-%m-%d %H:%M:%S" UTC)  # SOURCE_DATE_EPOCH, set above
  set(clock ${CMAKE_COMMAND} -E env TZ=UTC ${FAKETIME} -f "${when}")
else()
  message(WARNING "faketime not found: the package carries today's date.")
endif()
execute_process(
  COMMAND ${clock} ${WIXL} --arch x64 -D Version=${VERSION} -D ProductCode=${product_code}
          -o Quorvane.msi Quorvane.wxs
  WORKING_DIRECTORY ${WORK}
  RESULT_VARIABLE result
  OUTPUT_VARIABLE log
  ERROR_VARIABLE log)
if(NOT result EQUAL 0 OR NOT EXISTS ${WORK}/Quorvane.msi)
  message(FATAL_ERROR "wixl failed (${result}) on ${WXS}:\n${log}")
endif()
execute_process(
  COMMAND ${clock} ${MSIBUILD} Quorvane.msi -s Quorvane Quorvane "x64;1033" "{${package_code}}"
  WORKING_DIRECTORY ${WORK}
  RESULT_VARIABLE result
  OUTPUT_VARIABLE log
  ERROR_VARIABLE log)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "msibuild failed (${result}):\n${log}")
endif()
file(COPY_FILE ${WORK}/Quorvane.msi ${OUTPUT})
