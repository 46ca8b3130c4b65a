# Installation and the packages CPack builds from it: on Linux relative GNU directories (so
# --prefix and packaging both work) and the Debian package that `cpack -G DEB` builds; on Windows
# when cross-built from Linux, a flat folder packed as a zip and an installer
# (packaging/windows/package.cmake).
include(GNUInstallDirs)

set(CPACK_PACKAGE_NAME kelto-zelbo-break)
set(CPACK_PACKAGE_VENDOR "Zelbo Software")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Break reminder timer")
# In lines that fit a terminal, as Debian's package tools show it.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Counts down a number of minutes and reminds you to take a break with a beep,\n"
    "a message box or a pop-up window showing a message you wrote.")
set(CPACK_PACKAGE_CONTACT "Zelbo Software <kelto@example.com>")

if(WIN32 AND CMAKE_CROSSCOMPILING)
    include(${CMAKE_CURRENT_LIST_DIR}/windows/package.cmake)
    include(CPack)
    return()
endif()

install(TARGETS kelto-zelbo-break RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(UNIX AND NOT APPLE)
    set(linux ${CMAKE_CURRENT_SOURCE_DIR}/packaging/linux)
    install(FILES ${linux}/${KZB_APP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    # The release in the metadata is the project's version.
    configure_file(${linux}/${KZB_APP_ID}.metainfo.xml.in
                   ${KZB_GENERATED_DIR}/${KZB_APP_ID}.metainfo.xml @ONLY)
    install(FILES ${KZB_GENERATED_DIR}/${KZB_APP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(DIRECTORY ${linux}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Zelbo Software <kelto@example.com>")
set(CPACK_STRIP_FILES ON)
if(UNIX AND NOT APPLE)
    include(${CMAKE_CURRENT_LIST_DIR}/linux/documents.cmake)
endif()
# Libraries the binary links come from dpkg-shlibdeps; Qt's X11 platform plugin and the font the
# windows are laid out for are loaded at run time, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2")
# The bell reaches the desktop's sound server (PulseAudio, or PipeWire's PulseAudio interface)
# through libcanberra's back end for it; without one it is the X server's bell. Qt's Wayland
# plugin serves sessions without XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "sound-theme-freedesktop, libcanberra-pulse, qt6-wayland")
include(CPack)
