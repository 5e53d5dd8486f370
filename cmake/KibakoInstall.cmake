# Installation (cmake --install) in the places a Linux desktop looks, and a
# Debian package of it (cpack -G DEB, or the target "package").
include(GNUInstallDirs)
# Debian's name for the package's documentation, not the project's capitalised one.
set(KIBAKO_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/kibako)

install(TARGETS kibako tetoru RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS tetoru-window RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/kibako)
install(FILES packaging/kibako.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/kibako.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES packaging/kibako.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
install(FILES packaging/io.github.kibako.Kibako.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES packaging/man/kibako.1 packaging/man/tetoru.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES src/catalog/help/Kibako.html DESTINATION ${KIBAKO_DOCDIR})
# The service names the installed tetoru, so it is written when the prefix is
# known: at install time (cmake --install --prefix, or the package's /usr).
install(FILES packaging/tetoru.timer DESTINATION ${KIBAKO_DOCDIR}/examples/systemd)
install(CODE "
    set(bindir \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    set(CMAKE_INSTALL_FULL_BINDIR \"\${bindir}\")
    configure_file(\"${PROJECT_SOURCE_DIR}/packaging/tetoru.service.in\"
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${KIBAKO_DOCDIR}/examples/systemd/tetoru.service\"
        @ONLY)
    message(STATUS \"Installing: \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${KIBAKO_DOCDIR}/examples/systemd/tetoru.service\")
")

# Kibako finds its help page from its own folder, wherever the prefix is.
file(RELATIVE_PATH KIBAKO_HELP_FROM_BINDIR /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${KIBAKO_DOCDIR})
set_source_files_properties(src/catalog/window/catalog_commands.cpp TARGET_DIRECTORY kibako_catalog
    PROPERTIES COMPILE_DEFINITIONS KIBAKO_HELP_FROM_BINDIR="${KIBAKO_HELP_FROM_BINDIR}")

# Tetoru finds its window program from its own folder in the same way.
file(RELATIVE_PATH KIBAKO_WINDOW_PROGRAM_FROM_BINDIR /prefix/${CMAKE_INSTALL_BINDIR}
    /prefix/${CMAKE_INSTALL_LIBEXECDIR}/kibako)
set_source_files_properties(src/tetoru/window_program.cpp TARGET_DIRECTORY kibako_tetoru
    PROPERTIES COMPILE_DEFINITIONS
        KIBAKO_WINDOW_PROGRAM_FROM_BINDIR="${KIBAKO_WINDOW_PROGRAM_FROM_BINDIR}")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kibako)
set(CPACK_PACKAGE_VENDOR "Kibako")
set(CPACK_PACKAGE_CONTACT "Kibako developers <kibako@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "personal backup tool with a Japanese user interface")
set(CPACK_PACKAGE_DESCRIPTION
    "Kibako backs up registered folders into plain folders, LZH or ZIP archives and\n\
removable media recognised by their title. kibako is the catalog window; tetoru\n\
runs one unattended backup, for a timer.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The libraries come from dpkg-shlibdeps; the Japanese font is needed to read the windows,
# Qt's own Japanese translation to read its dialogs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, qt6-translations-l10n")
include(CPack)
