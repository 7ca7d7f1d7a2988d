# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package with CPack: lintian, down to the pedantic tags, must
# find nothing not overridden; the changelog's latest entry names its version.
# Run as: cmake -DBUILD_DIR=<build> -DOUT=<empty folder> -DCHANGELOG=<file> -DCPACK=<cpack> -P DebianPackageTest.cmake
find_program(LINTIAN lintian)
find_program(DPKG_DEB dpkg-deb)
if(NOT LINTIAN OR NOT DPKG_DEB)
  message("SKIP: lintian or dpkg-deb is missing")
  return()
endif()
file(REMOVE_RECURSE "${OUT}")
execute_process(COMMAND "${CPACK}" -G DEB --config "${BUILD_DIR}/CPackConfig.cmake" -B "${OUT}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
file(GLOB package "${OUT}/*.deb")
if(NOT result EQUAL 0 OR NOT package)
  message(FATAL_ERROR "cpack failed (${result}):\n${output}")
endif()
execute_process(COMMAND "${DPKG_DEB}" --field "${package}" Version OUTPUT_VARIABLE version
                OUTPUT_STRIP_TRAILING_WHITESPACE)
file(STRINGS "${CHANGELOG}" top REGEX "^vornak " LIMIT_COUNT 1)
execute_process(COMMAND "${LINTIAN}" --display-info --pedantic --display-experimental
                        --fail-on error,warning,info,pedantic,experimental "${package}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
file(REMOVE_RECURSE "${OUT}")
if(NOT top MATCHES "^vornak \\(${version}\\) ")
  message(FATAL_ERROR "the changelog's latest entry \"${top}\" is not for version ${version}")
elseif(NOT result EQUAL 0)
  message(FATAL_ERROR "package not clean, lintian (${result}):\n${output}${errors}")
endif()
