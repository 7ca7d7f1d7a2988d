# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a throw-away prefix and checks what a desktop needs:
# the program, its manual page and copyright file, a valid desktop entry, the
# icon in every size of the hicolor theme and a valid AppStream description.
# Run as: cmake -DBUILD_DIR=<build> -DPREFIX=<empty folder> -P InstallTest.cmake
if(NOT BUILD_DIR OR NOT PREFIX)
  message(FATAL_ERROR "BUILD_DIR and PREFIX must be given")
endif()
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${result}):\n${output}")
endif()

set(failures "")
macro(expect condition)
  if(NOT (${ARGV}))
    string(APPEND failures "\n  not true: ${ARGV}")
  endif()
endmacro()

set(program "${PREFIX}/bin/vornak")
set(desktop "${PREFIX}/share/applications/vornak.desktop")
set(metainfo "${PREFIX}/share/metainfo/org.example.vornak.metainfo.xml")
set(icons "${PREFIX}/share/icons/hicolor")
expect(EXISTS "${program}")
expect(NOT IS_DIRECTORY "${program}")
expect(EXISTS "${desktop}")
expect(EXISTS "${metainfo}")
expect(EXISTS "${icons}/scalable/apps/vornak.svg")
expect(EXISTS "${PREFIX}/share/man/man1/vornak.1.gz")
expect(EXISTS "${PREFIX}/share/doc/vornak/copyright")
expect(NOT EXISTS "${PREFIX}/share/lintian")  # only below /usr, as in the Debian package

# Each PNG must have the size of the folder it is in (width and height are
# the big-endian numbers at bytes 16 and 20 of the file).
foreach(size 16 32 48 256)
  set(png "${icons}/${size}x${size}/apps/vornak.png")
  if(NOT EXISTS "${png}")
    string(APPEND failures "\n  missing: ${png}")
    continue()
  endif()
  file(READ "${png}" header LIMIT 24 HEX)
  string(SUBSTRING "${header}" 32 8 width_hex)
  string(SUBSTRING "${header}" 40 8 height_hex)
  math(EXPR width "0x${width_hex}")
  math(EXPR height "0x${height_hex}")
  expect(width EQUAL size AND height EQUAL size)
endforeach()

if(EXISTS "${desktop}")
  file(READ "${desktop}" entry)
  foreach(line "Type=Application" "Icon=vornak" "Exec=vornak" "Categories=Utility;")
    string(FIND "${entry}" "\n${line}\n" at)
    expect(NOT at EQUAL -1)
  endforeach()
  string(FIND "${entry}" "MimeType=" at)
  expect(at EQUAL -1)
  find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
  if(DESKTOP_FILE_VALIDATE)
    execute_process(COMMAND "${DESKTOP_FILE_VALIDATE}" "${desktop}" RESULT_VARIABLE result OUTPUT_VARIABLE output
                    ERROR_VARIABLE output)
    expect(result EQUAL 0)
    if(NOT output STREQUAL "")
      string(APPEND failures "\n  desktop-file-validate: ${output}")
    endif()
  endif()
endif()

if(EXISTS "${metainfo}")
  file(READ "${metainfo}" text)
  string(FIND "${text}" "@" at)
  expect(at EQUAL -1)  # every placeholder filled in
  find_program(APPSTREAMCLI appstreamcli)
  if(APPSTREAMCLI)
    execute_process(COMMAND "${APPSTREAMCLI}" validate --no-net "${metainfo}" RESULT_VARIABLE result
                    OUTPUT_VARIABLE output ERROR_VARIABLE output)
    expect(result EQUAL 0)
    if(NOT result EQUAL 0)
      message("appstreamcli: ${output}")
    endif()
  endif()
endif()

file(REMOVE_RECURSE "${PREFIX}")
if(failures)
  message(FATAL_ERROR "installation incomplete:${failures}")
endif()
message(STATUS "installation complete")
