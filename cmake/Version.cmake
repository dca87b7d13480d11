# The version from project(), in decimal, checked against what Windows
# Installer can hold (major and minor up to 255, the third number up to
# 65535), and the files that carry it, generated into QUORVANE_GENERATED_DIR:
# about/Version.h (the program and its resources), Quorvane.manifest and
# readme.txt.
#
# QUORVANE_VERSION_OVERRIDE stands in for project()'s version. It is for
# scripts/check-version.sh only, which builds with another number to show
# that every file follows; a release changes project()'s line.
set(QUORVANE_VERSION_OVERRIDE "" CACHE STRING "Another version, for the version check only")
mark_as_advanced(QUORVANE_VERSION_OVERRIDE)
set(quorvane_version ${PROJECT_VERSION})
if(QUORVANE_VERSION_OVERRIDE)
  set(quorvane_version ${QUORVANE_VERSION_OVERRIDE})
endif()
if(NOT quorvane_version MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
  message(FATAL_ERROR "The version is major.minor.patch, not \"${quorvane_version}\".")
endif()
set(numbers)
foreach(i 1 2 3)
  # math() reads "010" as ten, as the About box and the resources write it.
  math(EXPR number "${CMAKE_MATCH_${i}}")
  list(APPEND numbers ${number})
endforeach()
list(GET numbers 0 major)
list(GET numbers 1 minor)
list(GET numbers 2 patch)
if(major GREATER 255 OR minor GREATER 255 OR patch GREATER 65535)
  message(FATAL_ERROR "Version ${quorvane_version}: Windows Installer holds at most 255.255.65535.")
endif()
# Everything below reads these, as project() would have set them.
set(PROJECT_VERSION ${major}.${minor}.${patch})
set(PROJECT_VERSION_MAJOR ${major})
set(PROJECT_VERSION_MINOR ${minor})
set(PROJECT_VERSION_PATCH ${patch})

set(QUORVANE_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/about/Version.h.in ${QUORVANE_GENERATED_DIR}/about/Version.h
               @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/app/Quorvane.manifest.in
               ${QUORVANE_GENERATED_DIR}/Quorvane.manifest @ONLY)
string(LENGTH "Quorvane ${PROJECT_VERSION}" length)
string(REPEAT "=" ${length} QUORVANE_README_RULE)
configure_file(${CMAKE_SOURCE_DIR}/app/readme.txt.in ${QUORVANE_GENERATED_DIR}/readme.txt @ONLY)
