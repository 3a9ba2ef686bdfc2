# Installation and the Debian package. The installed `sonarith` is a launcher that starts the
# program in the user's own data folder (the program reads its files from the folder it starts
# in); `sonarith-cli` works in the folder it is started in, as in the build.
include(GNUInstallDirs)

set(install_sources ${CMAKE_SOURCE_DIR}/data/install)
set(install_build ${CMAKE_BINARY_DIR}/install)

configure_file(${install_sources}/sonarith.in ${install_build}/sonarith @ONLY)
install(PROGRAMS ${install_build}/sonarith DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS sonarith-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS sonarith RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/sonarith)

install(FILES ${SONARITH_DATA_DIR}/Tones.abs ${SONARITH_DATA_DIR}/Velnora.chm
        DESTINATION ${CMAKE_INSTALL_DATADIR}/sonarith)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ToneData
        DESTINATION ${CMAKE_INSTALL_DATADIR}/sonarith FILES_MATCHING PATTERN "*.tns")

install(FILES ${install_sources}/org.sonarith.Sonarith.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${install_sources}/org.sonarith.Sonarith.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${install_sources}/org.sonarith.Sonarith.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Manual pages are installed compressed, as Debian keeps them.
set(man_pages)
foreach(page sonarith.1 sonarith-cli.1)
  add_custom_command(OUTPUT ${install_build}/${page}.gz
    COMMAND gzip -9 -n -c ${install_sources}/${page} > ${install_build}/${page}.gz
    DEPENDS ${install_sources}/${page}
    COMMENT "Compressing the manual page ${page}")
  list(APPEND man_pages ${install_build}/${page}.gz)
endforeach()
add_custom_target(man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# `cmake --build build --target package` makes build/sonarith_<version>_<arch>.deb. Its
# dependencies are those of the linked libraries (dpkg-shlibdeps) and what is loaded at run
# time: the sound server's client library, Qt's SQLite driver and window-system plugins, and the
# Arial-metric fonts the windows are laid out in.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sonarith)
set(CPACK_PACKAGE_VENDOR "The Sonarith developers")
set(CPACK_PACKAGE_CONTACT "The Sonarith developers <developers@sonarith.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turns names, dates and phrases into tones by numerology")
set(CPACK_PACKAGE_DESCRIPTION
    "Every letter of a text becomes its Pythagorean or Chaldean digit, and the digit string
plays as a sequence of synthesized tones, one tone per digit. With a numerology calculator,
a math calculator, a catalogue of published frequencies and a command-line front end.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://sonarith.org)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libpulse0, libqt6sql6-sqlite, qt6-qpa-plugins, fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pulseaudio | pipewire-pulse")
set(CPACK_STRIP_FILES ON)
include(CPack)
