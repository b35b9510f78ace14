# Desktop integration (menu entry, icons, AppStream metadata, manual page) and the Debian package.
# Included from the top-level CMakeLists.txt after the targets, so that CPack sees every install rule.

# One id names the desktop entry, the icon and the metainfo, so that menus and software centres can
# match them to each other.
set(TARVO_APP_ID org.example.tarvo)
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
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The manual page and the changelog go in compressed, as Debian wants them; gzip -n keeps the
# file name and the time out of the header, so that two builds give the same bytes.
find_program(TARVO_GZIP gzip REQUIRED)
set(tarvo_gz_dir ${PROJECT_BINARY_DIR}/packaging)
set(tarvo_compressed)
# The manual page names the project version, the one source of it.
configure_file(${PROJECT_SOURCE_DIR}/docs/tarvo.6.in ${PROJECT_BINARY_DIR}/docs/tarvo.6 @ONLY)
foreach(pair "${PROJECT_BINARY_DIR}/docs/tarvo.6;tarvo.6"
        "${PROJECT_SOURCE_DIR}/packaging/changelog;changelog")
    list(GET pair 0 source)
    list(GET pair 1 name)
    add_custom_command(OUTPUT ${tarvo_gz_dir}/${name}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${source} ${tarvo_gz_dir}/${name}
        COMMAND ${TARVO_GZIP} -9nf ${tarvo_gz_dir}/${name}
        DEPENDS ${source} VERBATIM)
    list(APPEND tarvo_compressed ${tarvo_gz_dir}/${name}.gz)
endforeach()
add_custom_target(tarvo_docs ALL DEPENDS ${tarvo_compressed})
install(FILES ${tarvo_gz_dir}/tarvo.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${tarvo_gz_dir}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Removes exactly what the last install of this build tree put down (its install_manifest.txt).
add_custom_target(uninstall
    COMMAND ${CMAKE_COMMAND} -DMANIFEST=${PROJECT_BINARY_DIR}/install_manifest.txt
        -P ${CMAKE_CURRENT_LIST_DIR}/Uninstall.cmake VERBATIM)

find_package(Git QUIET)

# Package file dates: SOURCE_DATE_EPOCH when the caller sets one, else the last commit's date, so
# that the same commit packs the same bytes.
set(TARVO_SOURCE_DATE_EPOCH "" CACHE STRING "File dates in the packages (default: last commit)")
if(NOT TARVO_SOURCE_DATE_EPOCH AND DEFINED ENV{SOURCE_DATE_EPOCH})
    set(tarvo_epoch "$ENV{SOURCE_DATE_EPOCH}")
elseif(TARVO_SOURCE_DATE_EPOCH)
    set(tarvo_epoch "${TARVO_SOURCE_DATE_EPOCH}")
else()
    set(tarvo_epoch "")
    if(Git_FOUND)
        execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
            WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE tarvo_epoch
            OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE git_failed)
        if(git_failed)
            set(tarvo_epoch "")
        endif()
    endif()
endif()
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/packaging/CPackProject.cmake)
configure_file(${CMAKE_CURRENT_LIST_DIR}/CPackProject.cmake.in ${CPACK_PROJECT_CONFIG_FILE} @ONLY)

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
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.example.org/tarvo")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from dpkg-shlibdeps; the fonts are loaded by name, which it cannot see
# (Liberation Sans stands in for Arial with the same metrics).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
# Qt's Wayland platform plugin: without it a Wayland session runs the program through XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# The source tarball: tarvo-<version>.tar.xz holding the files git tracks under tarvo-<version>/
# (CPackProject.cmake.in); the ignore list is for a tree that is not a git checkout.
set(CPACK_SOURCE_GENERATOR TXZ)
set(CPACK_SOURCE_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION})
# The patterns match whole paths: anchored at the source folder, whose own path may hold "build".
# Each backslash doubled once more, since CPack writes the patterns into a CMake file.
string(REGEX REPLACE "([][+.*()^$?|\\])" "\\\\\\\\\\1" tarvo_source_re "${PROJECT_SOURCE_DIR}")
set(CPACK_SOURCE_IGNORE_FILES "^${tarvo_source_re}/\\\\.git/" "^${tarvo_source_re}/build[^/]*/"
    "^${tarvo_source_re}/\\\\.cache/" "\\\\.user$" "/__pycache__/")

include(CPack)
