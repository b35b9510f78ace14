# Desktop integration (menu entry, icons, AppStream metadata) and the Debian package.
# Included from the top-level CMakeLists.txt after the targets, so that CPack sees every install rule.

include(GNUInstallDirs)

# One id names the desktop entry, the icon and the metainfo, so that menus and software centres can
# match them to each other.
set(TARVO_APP_ID org.example.Tarvo)
set(TARVO_ICONS ${PROJECT_SOURCE_DIR}/data/icons)

install(FILES ${CMAKE_CURRENT_LIST_DIR}/${TARVO_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${TARVO_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${TARVO_ICONS}/tarvo.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${TARVO_APP_ID}.svg)
foreach(size 32 48 64 128)
    install(FILES ${TARVO_ICONS}/tarvo-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME ${TARVO_APP_ID}.png)
endforeach()
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tarvo)

# cpack -G DEB from the build directory gives tarvo_<version>_<arch>.deb for Debian 12.
set(CPACK_PACKAGE_NAME tarvo)
set(CPACK_PACKAGE_VENDOR "Tarvo developers")
set(CPACK_PACKAGE_CONTACT "Tarvo maintainers <tarvo@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "subtraction exercises up to 20 for children")
# Debian wants description lines under 80 columns; a blank line becomes a paragraph break.
set(CPACK_PACKAGE_DESCRIPTION
    "Tarvo helps children learn subtraction up to 20: a round centre shows a number
from 10 to 20 with eight rays, and the child writes the result of each ray.
Every command works by keys, by mouse, or by scanning with SPACE and ENTER
alone. The program is in Italian.

Tarvo aiuta i bambini a imparare la sottrazione entro il 20: un centro rotondo
mostra un numero da 10 a 20 con otto raggi, e il bambino scrive il risultato di
ogni raggio. Ogni comando si usa con i tasti, con il mouse oppure scorrendo con
i soli tasti SPAZIO e INVIO.")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
# The source tarball (package_source) leaves out build trees and editor state.
set(CPACK_SOURCE_GENERATOR TXZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git" "/build[^/]*/" "/\\\\.cache/" "\\\\.user$")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from dpkg-shlibdeps; the fonts are loaded by name, which it cannot see
# (Liberation Sans stands in for Arial with the same metrics).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
