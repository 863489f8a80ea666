# SPDX-License-Identifier: GPL-3.0-or-later
# Installation and packaging: `cmake --install build --prefix P` puts the program, its
# icons, its menu entry and its AppStream metadata under P; `cpack -G DEB` in the build
# folder makes a Debian package of the same files.

include(GNUInstallDirs)

# One reverse-DNS id names the desktop entry, the icon and the metadata, and is the name
# the program gives the desktop so its windows match the menu entry.
set(ROSTRIX_APP_ID "org.example.Rostrix")
# The project web site the program itself checks for updates.
set(ROSTRIX_SITE "http://runqrd.example/rostrix")
set(ROSTRIX_HOMEPAGE "${ROSTRIX_SITE}/index.html")
set(ROSTRIX_SCREENSHOT "${ROSTRIX_SITE}/screenshots/main-window.png")
set(ROSTRIX_ICON_SIZES 16 32 48 128 256)

target_compile_definitions(rostrix_forms PRIVATE ROSTRIX_APP_ID="${ROSTRIX_APP_ID}")

install(TARGETS rostrix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

foreach(size ${ROSTRIX_ICON_SIZES})
  install(FILES data/icons/rostrix-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${ROSTRIX_APP_ID}.png)
endforeach()
install(FILES data/icons/rostrix.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${ROSTRIX_APP_ID}.svg)

configure_file(data/rostrix.metainfo.xml.in ${ROSTRIX_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${ROSTRIX_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The menu starts the program through a launcher that gives it "~/QRD Teams" as its home.
# The launcher finds the program relative to itself, so the prefix may move.
set(ROSTRIX_LAUNCHER_DIR ${CMAKE_INSTALL_LIBEXECDIR}/rostrix)
file(RELATIVE_PATH ROSTRIX_LAUNCHER_TO_BIN /prefix/${ROSTRIX_LAUNCHER_DIR} /prefix/${CMAKE_INSTALL_BINDIR})
configure_file(data/rostrix-launch.in rostrix-launch @ONLY)
install(PROGRAMS ${CMAKE_CURRENT_BINARY_DIR}/rostrix-launch DESTINATION ${ROSTRIX_LAUNCHER_DIR})

# The package's documentation: the DEP-5 copyright file, the changelog and the manual page,
# the last two compressed the way Debian wants them (best compression, no time stamp).
set(ROSTRIX_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/rostrix)
find_program(ROSTRIX_GZIP gzip REQUIRED)
foreach(doc CHANGELOG:changelog.gz data/rostrix.1:rostrix.1.gz)
  string(REPLACE ":" ";" doc ${doc})
  list(GET doc 0 from)
  list(GET doc 1 to)
  add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${to}
                     COMMAND ${ROSTRIX_GZIP} -9nc ${CMAKE_CURRENT_SOURCE_DIR}/${from}
                             > ${CMAKE_CURRENT_BINARY_DIR}/${to}
                     DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${from} VERBATIM)
  list(APPEND ROSTRIX_DOCS ${CMAKE_CURRENT_BINARY_DIR}/${to})
endforeach()
add_custom_target(rostrix_docs ALL DEPENDS ${ROSTRIX_DOCS})
install(FILES data/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz DESTINATION ${ROSTRIX_DOC_DIR})
# The handbook the Help window shows (F1) is built into the program; installed, any browser
# reads it too.
install(FILES data/handbook.html DESTINATION ${ROSTRIX_DOC_DIR})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/rostrix.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# A desktop entry needs the launcher's absolute path, known only when installing (the prefix
# may be given to `cmake --install`), so the entry is written then.
install(CODE "
  set(ROSTRIX_APP_ID \"${ROSTRIX_APP_ID}\")
  set(ROSTRIX_LAUNCHER \"\${CMAKE_INSTALL_PREFIX}/${ROSTRIX_LAUNCHER_DIR}/rostrix-launch\")
  set(entry \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications/${ROSTRIX_APP_ID}.desktop\")
  message(STATUS \"Installing: \${entry}\")
  configure_file(\"${CMAKE_CURRENT_SOURCE_DIR}/data/rostrix.desktop.in\" \"\${entry}\" @ONLY)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${entry}\")
")

if(ROSTRIX_TESTS)
  # Installs into a temporary prefix and checks the files, the desktop entry, the metadata
  # and a start of the installed program from another folder.
  add_test(NAME InstallCheck
           COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/tests/install/check-install
                   ${CMAKE_BINARY_DIR} ${CMAKE_CURRENT_SOURCE_DIR} ${ROSTRIX_APP_ID})
  set_tests_properties(InstallCheck PROPERTIES ENVIRONMENT "${ROSTRIX_TEST_ENV}" TIMEOUT 180)
endif()

set(CPACK_PACKAGE_NAME rostrix)
set(CPACK_PACKAGE_VENDOR "The Rostrix developers")
set(CPACK_PACKAGE_CONTACT "The Rostrix developers <rostrix@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "create, edit and archive team files for the QRD baseball simulation")
# Debian wants the long description in lines of at most 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "Rostrix is a desktop tool for players of the QRD baseball simulation game.
It creates team files for a historical season and club with a bundled
team-building script, edits them, prunes rosters, files teams and players into
two archives, encodes player names, packs teams into a ZIP package for the team
library and checks the project site for a newer version.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# A tool for the players of a game, not a game: its program lives in /usr/bin and its
# manual page in section 1.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${ROSTRIX_HOMEPAGE}")
# Library dependencies come from dpkg-shlibdeps; Perl runs the team-building script, and
# qt6-wayland lets the windows be Wayland windows on a Wayland desktop (without it Qt falls
# back to XWayland).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "perl, qt6-wayland")
set(CPACK_STRIP_FILES ON)
include(CPack)
