# Man pages, bash completion and the Debian package (cpack -G DEB in the build tree).
# The package holds whatever `cmake --install` installs, under /usr.

# Man pages carry the version; Debian installs them compressed.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(CORVANE_MAN_PAGES corvane-dix)
if(CORVANE_BUILD_GUI)
  list(APPEND CORVANE_MAN_PAGES corvane)
endif()
set(CORVANE_VERSION ${PROJECT_VERSION})
set(man_outputs)
foreach(page ${CORVANE_MAN_PAGES})
  configure_file(${PROJECT_SOURCE_DIR}/resources/man/${page}.1 ${PROJECT_BINARY_DIR}/man/${page}.1 @ONLY)
  add_custom_command(
    OUTPUT ${PROJECT_BINARY_DIR}/man/${page}.1.gz
    COMMAND ${GZIP_PROGRAM} -9nkf ${PROJECT_BINARY_DIR}/man/${page}.1
    DEPENDS ${PROJECT_BINARY_DIR}/man/${page}.1
    VERBATIM)
  list(APPEND man_outputs ${PROJECT_BINARY_DIR}/man/${page}.1.gz)
  install(FILES ${PROJECT_BINARY_DIR}/man/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
add_custom_target(corvane_man_pages ALL DEPENDS ${man_outputs})

install(FILES ${PROJECT_SOURCE_DIR}/resources/completion/corvane-dix
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvane)
set(CPACK_PACKAGE_VENDOR Halden)
set(CPACK_PACKAGE_CONTACT "Corvane maintainers <corvane@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configurator of an FTP folder-synchronisation service")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Corvane builds the project file (.dix) that an FTP folder-synchronisation service reads:\n"
    "FTP connections, folder-sync profiles, mail reports, proxy and run interval.\n"
    "corvane-dix dumps, builds, checks, lints, redacts and imports projects from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
# The libraries the programs link come from dpkg-shlibdeps; the desktop databases are
# refreshed by the triggers of these packages when they are there, and the completion
# loads through bash-completion.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, hicolor-icon-theme, bash-completion")
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
include(CPack)
