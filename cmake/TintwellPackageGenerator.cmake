# Read by cpack once per generator: only the zip holds a top-level folder.
if(CPACK_GENERATOR STREQUAL "NSIS")
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
endif()
