# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a throw-away prefix and checks what a desktop needs:
# the program, manual page, copyright, the icon in every hicolor size and the
# desktop entry's category (lintian checks the entry and AppStream file).
# Run as: cmake -DBUILD_DIR=<build> -DPREFIX=<empty folder> -P InstallTest.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${result}):\n${output}")
endif()
set(failures "")
set(icons share/icons/hicolor/scalable/apps/vornak.svg)
foreach(size 16 32 48 256)
  list(APPEND icons share/icons/hicolor/${size}x${size}/apps/vornak.png)
endforeach()
foreach(path bin/vornak share/man/man1/vornak.1.gz share/doc/vornak/copyright ${icons})
  if(NOT EXISTS "${PREFIX}/${path}")
    string(APPEND failures "\n  missing: ${path}")
  endif()
endforeach()
file(READ "${PREFIX}/share/applications/vornak.desktop" entry)
if(NOT entry MATCHES "\nCategories=Utility;\n" OR entry MATCHES "MimeType=")
  string(APPEND failures "\n  desktop entry: no category or a MimeType")
endif()
file(REMOVE_RECURSE "${PREFIX}")
if(failures)
  message(FATAL_ERROR "installation incomplete:${failures}")
endif()
