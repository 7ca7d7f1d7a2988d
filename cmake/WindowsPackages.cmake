# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows packages of the program's folder (vornak.exe with its DLLs and
# plugins, see WindowsDeploy.cmake): a ZIP that runs from wherever it is
# unpacked, and an NSIS installer with a Start-menu entry and an uninstaller.
# Both carry the program's licence, Qt's licence and where Qt's source is.
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_FILE_NAME "vornak-${PROJECT_VERSION}-windows-x86_64")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Vornak")
set(CPACK_PACKAGE_EXECUTABLES vornak "Vornak Split your files")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME "Vornak Split your files ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
set(CPACK_NSIS_DISPLAY_NAME "${CPACK_NSIS_PACKAGE_NAME}")
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/src/app/icons/vornak.ico)
set(CPACK_NSIS_MUI_UNIICON ${CPACK_NSIS_MUI_ICON})
set(CPACK_NSIS_INSTALLED_ICON_NAME vornak.exe)
set(CPACK_NSIS_URL_INFO_ABOUT "${VORNAK_WEB_ADDRESS}")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# A 64-bit installer for the 64-bit program (it also runs where Windows, or
# Wine, has no 32-bit side).
set(CPACK_NSIS_DEFINES "Target amd64-unicode")

# The licence texts (NOTICE.txt says which is which) lie beside the program;
# the installer shows the program's licence.
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/packaging/windows/LICENSE.txt)
file(GLOB vornak_licence_texts ${PROJECT_SOURCE_DIR}/packaging/windows/*.txt)
install(FILES ${vornak_licence_texts} DESTINATION .)
