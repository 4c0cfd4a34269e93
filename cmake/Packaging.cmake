# What a Debian package of Veltra holds beyond the programs, the desktop entry
# and the icon (installed beside their targets), and how CPack builds it:
# scripts/package configures with these rules and runs the DEB generator.
include(GNUInstallDirs)

# The manual pages and the changelog go in compressed as Debian wants them:
# the most, and without a time stamp, so that two builds give the same bytes.
function(veltra_gzipped source destination)
  get_filename_component(name ${source} NAME)
  set(gzipped ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz)
  add_custom_command(OUTPUT ${gzipped}
    COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/${source} > ${gzipped}
    DEPENDS ${PROJECT_SOURCE_DIR}/${source} VERBATIM)
  string(MAKE_C_IDENTIFIER ${name} target)
  add_custom_target(veltra_gzip_${target} ALL DEPENDS ${gzipped})
  install(FILES ${gzipped} DESTINATION ${destination})
endfunction()

veltra_gzipped(share/veltra.1 ${CMAKE_INSTALL_MANDIR}/man1)
veltra_gzipped(share/veltra-cli.1 ${CMAKE_INSTALL_MANDIR}/man1)

set(VELTRA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/veltra)
install(FILES ${PROJECT_SOURCE_DIR}/share/copyright DESTINATION ${VELTRA_DOC_DIR})
veltra_gzipped(share/changelog ${VELTRA_DOC_DIR})

set(CPACK_PACKAGE_NAME veltra)
set(CPACK_PACKAGE_VENDOR "Regione Ombrena")
set(CPACK_PACKAGE_CONTACT "Veltra <veltra@regione-ombrena.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "bus register of the public-transport companies")
set(CPACK_PACKAGE_DESCRIPTION
  "Veltra, Rilevazione Parco Bus - Regione Ombrena, keeps the register of the
buses of a region's public-transport companies. It checks each company's
communication file whole, loads it into a database that keeps every bus's
last state and its full history, and gives back vehicle cards, printed lists
with print preview, a fleet export at any date and one situation file per
company. The desktop program is veltra; veltra-cli gives every data
operation without a display, and checks a company's file before it is sent.")
# Installed as staged files: the installing user's settings are left alone.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Arial is drawn with its metric twin; the toolbar's icons come from Breeze, drawn by
# the SVG plugin, and Qt's own dialogs speak Italian with its translations.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "breeze-icon-theme, libqt6svg6, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
