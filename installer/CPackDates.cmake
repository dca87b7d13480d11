# Read by cpack before it packs: the files in the ZIP carry the date of the
# last commit (cpack dates every entry SOURCE_DATE_EPOCH when that is set).
set(QUORVANE_ROOT ${CPACK_QUORVANE_ROOT})
include(${CPACK_QUORVANE_ROOT}/cmake/SourceDateEpoch.cmake)
