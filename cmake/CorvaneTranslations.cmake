# The window's catalogues: po/LANG.po built to LANG/LC_MESSAGES/corvane.mo under
# locale/ in the build tree (where an uninstalled program looks, app/Translation.cpp)
# and installed under share/locale.
file(STRINGS ${PROJECT_SOURCE_DIR}/po/LINGUAS CORVANE_LINGUAS REGEX "^[a-zA-Z]")
set(mo_outputs)
foreach(lang ${CORVANE_LINGUAS})
  set(mo ${PROJECT_BINARY_DIR}/locale/${lang}/LC_MESSAGES/corvane.mo)
  add_custom_command(
    OUTPUT ${mo}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/locale/${lang}/LC_MESSAGES
    COMMAND ${MSGFMT_PROGRAM} --check -o ${mo} ${PROJECT_SOURCE_DIR}/po/${lang}.po
    DEPENDS ${PROJECT_SOURCE_DIR}/po/${lang}.po
    VERBATIM)
  list(APPEND mo_outputs ${mo})
  install(FILES ${mo} DESTINATION ${CMAKE_INSTALL_LOCALEDIR}/${lang}/LC_MESSAGES)
endforeach()
add_custom_target(corvane_translations ALL DEPENDS ${mo_outputs})

# Every text the sources mark for translation has its translation in every catalogue.
add_test(NAME po_complete COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/update-po.sh --check)
set_tests_properties(po_complete PROPERTIES LABELS unit)
