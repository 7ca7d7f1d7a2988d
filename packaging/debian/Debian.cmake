# SPDX-License-Identifier: GPL-3.0-or-later
# What a Debian system expects beside the program: the manual page, the
# copyright file and the changelog (both compressed with gzip -9n, as Debian
# policy wants them), and the fields of the Debian package that `cpack -G DEB`
# makes. Included by the top-level CMakeLists.txt before CPack.
if(WIN32 OR NOT TARGET vornak)
  return()
endif()

include(GNUInstallDirs)
set(deb_sources ${CMAKE_CURRENT_LIST_DIR})
set(deb_packaging ${deb_sources}/..)
set(deb_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/vornak)
set(deb_out ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${deb_out})

# The changelog, copyright file and description start with comment lines
# ("#") for the developers; the package gets them without those lines, with
# the web address filled in. Rerun when a source changes.
function(vornak_deb_text source output)
  file(READ ${source} text)
  string(REGEX REPLACE "^(#[^\n]*\n)+" "" text "${text}")
  file(CONFIGURE OUTPUT ${output} CONTENT "${text}" @ONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
endfunction()
vornak_deb_text(${deb_sources}/changelog ${deb_out}/changelog)
vornak_deb_text(${deb_sources}/copyright.in ${deb_out}/copyright)
vornak_deb_text(${deb_sources}/description ${deb_out}/description)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${deb_packaging}/vornak.1)

# Compressed without name and time stamp, so the same sources give the same
# package.
find_program(VORNAK_GZIP gzip REQUIRED)
foreach(deb_source ${deb_packaging}/vornak.1 ${deb_out}/changelog)
  get_filename_component(deb_name ${deb_source} NAME)
  execute_process(COMMAND ${VORNAK_GZIP} -9nc ${deb_source} OUTPUT_FILE ${deb_out}/${deb_name}.gz
                  RESULT_VARIABLE deb_result)
  if(NOT deb_result EQUAL 0)
    message(FATAL_ERROR "gzip ${deb_source} failed (${deb_result})")
  endif()
endforeach()

install(FILES ${deb_out}/vornak.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${deb_out}/copyright ${deb_out}/changelog.gz DESTINATION ${deb_doc_dir})

# The lintian overrides belong to a system-wide install below /usr (as in the
# package), not to one below /usr/local or a private prefix.
install(CODE "
  if(CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
    file(INSTALL \"${deb_sources}/lintian-overrides\" DESTINATION \"\${CMAKE_INSTALL_PREFIX}/share/lintian/overrides\"
         RENAME vornak)
  endif()")

# A stripped program keeps the compilers' version strings in .comment;
# Debian's own packages drop that section too.
if(CMAKE_OBJCOPY)
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:vornak>\")
    endif()")
endif()

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
file(READ ${deb_out}/description CPACK_DEBIAN_PACKAGE_DESCRIPTION)
