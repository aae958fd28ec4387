# What a user gets: tintwell.exe with its icon file and the demo swatch file beside it, in the
# build tree (for ./dev run), in the release zip and in the installer (./dev package).

# The demo swatch file next to the program, so that `tintwell.exe demo.aco` works in its folder.
add_custom_target(tintwell_demo_swatches ALL
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PROJECT_SOURCE_DIR}/res/demo.aco
        $<TARGET_FILE_DIR:tintwell>/demo.aco
    VERBATIM)

install(TARGETS tintwell RUNTIME DESTINATION .)
install(FILES ${TINTWELL_ICON_FILE} ${PROJECT_SOURCE_DIR}/res/demo.aco
    ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE
    DESTINATION .)

# The installer carries the 32-bit program, into the 32-bit Program Files folder.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_SYSTEM_NAME win64)
    set(CPACK_GENERATOR ZIP)
else()
    set(CPACK_SYSTEM_NAME win32)
    set(CPACK_GENERATOR ZIP NSIS)
endif()
set(CPACK_PACKAGE_NAME Tintwell)
set(CPACK_PACKAGE_VENDOR "Vexmoor Utils")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Finds the swatch colour closest to a colour you name")
set(CPACK_PACKAGE_FILE_NAME Tintwell-${PROJECT_VERSION}-${CPACK_SYSTEM_NAME})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
# The installer's script is Tintwell's own NSIS.template.in, found on the module path; the zip
# keeps its folder, the installer puts the files straight into the one it installs to.
list(PREPEND CMAKE_MODULE_PATH ${PROJECT_SOURCE_DIR}/cmake)
set(CPACK_TINTWELL_ICON ${TINTWELL_ICON_FILE})
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/TintwellPackageGenerator.cmake)
include(CPack)
