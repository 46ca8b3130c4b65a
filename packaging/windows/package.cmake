# The Windows packages: a portable zip and an NSIS installer of one flat folder, the program beside
# the DLLs it loads. No deployment tool exists for a cross build, so what the program loads is
# named here; the tests start the program from the unpacked zip in a clean Wine prefix, which
# fails if anything is missing.
#
# Qt is shipped as its own DLLs, which a user may replace (Qt is used under the LGPL-3), with the
# MinGW runtime it and the program were built with.

install(TARGETS kelto-zelbo-break RUNTIME DESTINATION .)

install(FILES $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>
        DESTINATION .)
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
install(FILES $<TARGET_FILE:Qt6::QJpegPlugin> $<TARGET_FILE:Qt6::QGifPlugin>
              $<TARGET_FILE:Qt6::QICOPlugin>
        DESTINATION imageformats)

# The compiler's runtime, stripped of its debugging sections (libstdc++ alone is 23 MB with
# them). The test executables find the same copies on their path under Wine.
set(KZB_RUNTIME_DIR ${CMAKE_BINARY_DIR}/runtime)
set(runtime_copies "")
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${found}" OR NOT EXISTS "${found}")
        message(FATAL_ERROR "The MinGW runtime's ${dll} was not found")
    endif()
    add_custom_command(OUTPUT ${KZB_RUNTIME_DIR}/${dll}
        COMMAND ${CMAKE_STRIP} --strip-debug -o ${KZB_RUNTIME_DIR}/${dll} ${found}
        DEPENDS ${found} VERBATIM)
    list(APPEND runtime_copies ${KZB_RUNTIME_DIR}/${dll})
endforeach()
add_custom_target(kzb_runtime ALL DEPENDS ${runtime_copies})
install(FILES ${runtime_copies} DESTINATION .)
# Their copyright and license terms, as Debian ships them with the compilers and the runtime.
foreach(package gcc-mingw-w64-base mingw-w64-x86-64-dev)
    set(copyright /usr/share/doc/${package}/copyright)
    if(NOT EXISTS ${copyright})
        message(FATAL_ERROR "${copyright} is missing: is Debian's ${package} installed?")
    endif()
    install(FILES ${copyright} DESTINATION licenses/mingw-w64 RENAME ${package}.txt)
endforeach()

# The license texts: the program's own, and Qt's with the notices of the code it bundles (made
# when Qt was built, in its prefix).
get_filename_component(kzb_qt_prefix "${Qt6_DIR}/../../.." ABSOLUTE)
if(NOT EXISTS ${kzb_qt_prefix}/licenses/THIRD-PARTY-NOTICES.txt)
    message(FATAL_ERROR "Qt's license texts are missing from ${kzb_qt_prefix}/licenses")
endif()
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE.txt DESTINATION .)
install(DIRECTORY ${kzb_qt_prefix}/licenses/ DESTINATION licenses/qt)
# Where Qt's source comes from, and the offer of it that its license asks of whoever ships it. The
# Debian version Qt was built from is in the stamp build-qt.sh wrote last.
file(STRINGS ${kzb_qt_prefix}/kzb-complete kzb_qt_stamp LIMIT_COUNT 1)
if(NOT kzb_qt_stamp MATCHES "^([^ ]+) ([^ ]+) ")
    message(FATAL_ERROR "${kzb_qt_prefix} was not built by packaging/windows/build-qt.sh")
endif()
set(KZB_QT_VERSION ${CMAKE_MATCH_1})
set(KZB_QT_DEBIAN_VERSION ${CMAKE_MATCH_2})
configure_file(${CMAKE_CURRENT_LIST_DIR}/qt-source.txt.in ${CMAKE_BINARY_DIR}/QT-SOURCE.txt @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/QT-SOURCE.txt DESTINATION licenses/qt RENAME SOURCE.txt)

set(CPACK_GENERATOR ZIP NSIS)
# kelto-zelbo-break-VERSION-win64.zip, and the installer with -setup.exe (cpack_options.cmake.in).
set(KZB_WINDOWS_PACKAGE ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_FILE_NAME ${KZB_WINDOWS_PACKAGE})
set(CPACK_STRIP_FILES ON)
# The license page shows LICENSE.txt with each paragraph of its terms on one line, which the page
# wraps to its width; the heading keeps its two lines, and the file itself its lines for reading
# in an editor.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE.txt license)
string(FIND "${license}" "\n\n" heading_end)
string(SUBSTRING "${license}" 0 ${heading_end} heading)
string(SUBSTRING "${license}" ${heading_end} -1 terms)
string(REGEX REPLACE "([^\n])\n([^\n])" "\\1 \\2" terms "${terms}")
string(REPLACE "\n" "\r\n" license "${heading}${terms}")
file(WRITE ${CMAKE_BINARY_DIR}/LICENSE-paragraphs.txt "${license}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE.txt)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_BINARY_DIR}/LICENSE-paragraphs.txt)
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Kelto Zelbo Break")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Kelto Zelbo Break")
# The Start-menu shortcut: the program, which carries its own icon.
set(CPACK_PACKAGE_EXECUTABLES kelto-zelbo-break "Kelto Zelbo Break")

# A 64-bit installer that installs for every user under Program Files, and its uninstaller's
# entry in the list of installed programs. It offers to start the program at sign-in
# (installer.nsh, named in single quotes: CPack's configuration file loses double ones); a silent
# install takes the offer.
set(CPACK_NSIS_DEFINES "Target amd64-unicode\n!include '${CMAKE_CURRENT_LIST_DIR}/installer.nsh'")
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "IfSilent 0 +2\nCall StartAtSignIn")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "Call un.StopStartingAtSignIn")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_PACKAGE_NAME "Kelto Zelbo Break")
set(CPACK_NSIS_DISPLAY_NAME "Kelto Zelbo Break")
set(CPACK_NSIS_INSTALLED_ICON_NAME kelto-zelbo-break.exe)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/assets/stopwatch.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/assets/stopwatch.ico)
# The program's stopwatch on every page (make_installer_pictures.sh); its name is the branding line
# (installer.nsh: CPack's own setting trims the line, which NSIS on Linux cannot).
set(CPACK_PACKAGE_ICON ${CMAKE_CURRENT_LIST_DIR}/installer-header.bmp)
set(CPACK_NSIS_MUI_WELCOMEFINISHPAGE_BITMAP ${CMAKE_CURRENT_LIST_DIR}/installer-side.bmp)
set(CPACK_NSIS_MUI_UNWELCOMEFINISHPAGE_BITMAP ${CMAKE_CURRENT_LIST_DIR}/installer-side.bmp)
set(CPACK_NSIS_CONTACT kelto@example.com)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
# An installer run over an earlier installation offers to remove that one first (silently, it does).
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
configure_file(${CMAKE_CURRENT_LIST_DIR}/cpack_options.cmake.in
               ${CMAKE_BINARY_DIR}/cpack_options.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/cpack_options.cmake)
