# cmake -DMANIFEST=<build>/install_manifest.txt -P Uninstall.cmake
# Removes each file the install listed; leaves shared directories (share/icons, ...) alone.
if(NOT EXISTS "${MANIFEST}")
    message(FATAL_ERROR "${MANIFEST} is missing: nothing was installed from this build tree")
endif()
file(STRINGS "${MANIFEST}" files)
foreach(file IN LISTS files)
    if(IS_SYMLINK "$ENV{DESTDIR}${file}" OR EXISTS "$ENV{DESTDIR}${file}")
        message(STATUS "Removing $ENV{DESTDIR}${file}")
        file(REMOVE "$ENV{DESTDIR}${file}")
    endif()
endforeach()
