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

# Debian wants the licence as a machine-readable copyright file and, for a package
# that is its own upstream, the history as changelog.gz beside it.
set(CORVANE_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/corvane)
add_custom_command(
  OUTPUT ${PROJECT_BINARY_DIR}/doc/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/doc
  COMMAND ${GZIP_PROGRAM} -9n -c ${PROJECT_SOURCE_DIR}/resources/debian/changelog > ${PROJECT_BINARY_DIR}/doc/changelog.gz
  DEPENDS ${PROJECT_SOURCE_DIR}/resources/debian/changelog)
add_custom_target(corvane_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/doc/changelog.gz)
install(FILES ${PROJECT_SOURCE_DIR}/resources/debian/copyright ${PROJECT_BINARY_DIR}/doc/changelog.gz
        DESTINATION ${CORVANE_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvane)
set(CPACK_PACKAGE_VENDOR Halden)
set(CPACK_PACKAGE_CONTACT "The Corvane developers <corvane@example.com>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://corvane.example.org/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configurator of an FTP folder-synchronisation service")
# Lines of the long description stay under 80 columns (cpack indents each by one).
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Corvane builds the project file (.dix) that an FTP folder-synchronisation\n"
    "service reads: FTP connections, folder-sync profiles, mail reports, proxy\n"
    "and run interval.\n"
    ".\n"
    "corvane-dix dumps, builds, checks, lints, redacts and imports projects from\n"
    "the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
# The libraries the programs link come from dpkg-shlibdeps; the desktop databases are
# refreshed by the triggers of these packages when they are there, and the completion
# loads through bash-completion; the toolkit's own texts (stock buttons) are translated
# in wx3.2-i18n.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, hicolor-icon-theme, bash-completion, wx3.2-i18n")
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
# Folders as Debian has them, whatever the umask of the build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
