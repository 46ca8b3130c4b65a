# The documents a Debian package carries besides the program, installed with it into any prefix:
# the manual page, and the copyright file and the changelog in Debian's formats. All three are made
# from the sources at configure time, so that the version and the license are written once.
set(kzb_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/kelto-zelbo-break)
set(kzb_docs ${KZB_GENERATED_DIR}/doc)

# Packages keep their manual pages and changelogs compressed, without a time stamp, so that the
# same sources make the same package.
function(kzb_gzip source target)
    execute_process(COMMAND gzip -9 -n -c ${source} OUTPUT_FILE ${target} RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "gzip could not compress ${source}")
    endif()
endfunction()

configure_file(${CMAKE_CURRENT_LIST_DIR}/kelto-zelbo-break.1.in ${kzb_docs}/kelto-zelbo-break.1 @ONLY)
kzb_gzip(${kzb_docs}/kelto-zelbo-break.1 ${kzb_docs}/kelto-zelbo-break.1.gz)
install(FILES ${kzb_docs}/kelto-zelbo-break.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The changelog's entry is dated with the release.
execute_process(COMMAND date -u -R -d "${KZB_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE KZB_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "date could not read the release date ${KZB_RELEASE_DATE}")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${kzb_docs}/changelog @ONLY)
kzb_gzip(${kzb_docs}/changelog ${kzb_docs}/changelog.gz)

# The copyright file is LICENSE.txt in Debian's machine-readable form: its copyright holder with the
# release's year, and the program's terms as the license; the paragraphs on what the Windows
# packages bundle are left out.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE.txt license)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE.txt)
if(NOT license MATCHES "\nCopyright \\(c\\) ([^\n]+)\n\n(.+)\n\nThe Windows packages ")
    message(FATAL_ERROR "LICENSE.txt has no copyright line, or no terms before the Windows packages")
endif()
string(SUBSTRING "${KZB_RELEASE_DATE}" 0 4 year)
set(holder "${year} ${CMAKE_MATCH_1}")
string(REGEX REPLACE "\n\n" "\n.\n" terms "${CMAKE_MATCH_2}")
string(REGEX REPLACE "\n" "\n " terms "${terms}")
file(WRITE ${kzb_docs}/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Kelto Zelbo Break
Upstream-Contact: ${CPACK_PACKAGE_CONTACT}

Files: *
Copyright: ${holder}
License: Kelto-Zelbo-Break
 ${terms}
")
install(FILES ${kzb_docs}/copyright ${kzb_docs}/changelog.gz DESTINATION ${kzb_doc_dir})
