# Installation in the freedesktop layout (cmake --install build --prefix /usr) and the Debian
# package made from it (cpack -G DEB, or ./scripts/package).
include(GNUInstallDirs)
# Installing needs only the program and its generated files (the ALL target arenor_dist), not
# the tests and benchmarks a plain "make install" or cpack would build first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(arenor_dist ${PROJECT_SOURCE_DIR}/dist)
set(arenor_dist_out ${PROJECT_BINARY_DIR}/dist)
# Debian looks for a package's documentation under its package name, not the project's.
set(arenor_docdir ${CMAKE_INSTALL_DATADIR}/doc/arenor)

configure_file(${arenor_dist}/${ARENOR_APP_ID}.metainfo.xml.in ${arenor_dist_out}/${ARENOR_APP_ID}.metainfo.xml
               @ONLY)
configure_file(${arenor_dist}/arenor.1.in ${arenor_dist_out}/arenor.1 @ONLY)
execute_process(COMMAND date -u -R -d ${ARENOR_RELEASE_DATE} OUTPUT_VARIABLE ARENOR_RELEASE_DATE_RFC
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
configure_file(${arenor_dist}/changelog.in ${arenor_dist_out}/changelog @ONLY)

# Manual pages and changelogs are installed compressed, without a time stamp, so that the
# package is the same whenever it is built.
find_program(ARENOR_GZIP gzip REQUIRED)
set(arenor_gzipped)
foreach(name arenor.1 changelog)
  add_custom_command(OUTPUT ${arenor_dist_out}/${name}.gz
                     COMMAND ${ARENOR_GZIP} -9nf --keep ${arenor_dist_out}/${name}
                     DEPENDS ${arenor_dist_out}/${name}
                     COMMENT "Compressing ${name}")
  list(APPEND arenor_gzipped ${arenor_dist_out}/${name}.gz)
endforeach()
add_custom_target(arenor_dist ALL DEPENDS ${arenor_gzipped})

install(TARGETS arenor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A stripped program (cmake --install --strip, cpack) loses the compiler's notes as well.
install(CODE "if(CMAKE_INSTALL_DO_STRIP)
  execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment
                          \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/arenor\"
                  COMMAND_ERROR_IS_FATAL ANY)
endif()")
install(FILES ${arenor_dist}/${ARENOR_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${arenor_dist_out}/${ARENOR_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${arenor_dist}/icons/arenor.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${ARENOR_APP_ID}.svg)
file(GLOB arenor_icon_sizes RELATIVE ${arenor_dist}/icons ${arenor_dist}/icons/*x*)
foreach(size IN LISTS arenor_icon_sizes)
  install(FILES ${arenor_dist}/icons/${size}/arenor.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}/apps RENAME ${ARENOR_APP_ID}.png)
endforeach()
install(FILES ${arenor_dist_out}/arenor.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The program shows its help and manual from its resources; the same files are installed for
# reading without it.
set(arenor_resources ${PROJECT_SOURCE_DIR}/src/app/ui/resources)
install(FILES ${arenor_resources}/help/Help.html ${arenor_resources}/help/Hjelp.html
              ${arenor_resources}/manual/Mane7093.doc ${arenor_resources}/manual/Mann7093.doc
              ${arenor_dist}/copyright ${arenor_dist_out}/changelog.gz
        DESTINATION ${arenor_docdir})
# Registered with Debian's documentation index.
install(FILES ${arenor_dist}/doc-base/arenor-help ${arenor_dist}/doc-base/arenor-manual
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc-base)

set(CPACK_PACKAGE_NAME arenor)
set(CPACK_PACKAGE_VENDOR "The Arenor developers")
set(CPACK_PACKAGE_CONTACT "The Arenor developers <arenor@users.noreply.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "athletics meet manager")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program links (Qt, libgpiod, the C++ runtime) are found by dpkg-shlibdeps;
# the SQLite driver is a plugin Qt loads at run time, and the printed lists and PDFs are set in
# DejaVu Sans Mono, so both are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, fonts-dejavu-core")
# Lists and the manual open in a text editor; xdg-open is the last editor tried.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
# The long description; CPack puts the summary before it and formats it for the control file.
set(CPACK_PACKAGE_DESCRIPTION "Arenor runs one athletics meet from registration to the final result
lists: clubs, competitors, classes and relay teams, entries for every
round, result grids for track and field events, electronic timing through
GPIO lines, serial ports or a printer port, and the meet's start and
result lists as text files.

The program speaks Norwegian and English. Meets are kept in ~/Arenor.")
include(CPack)
