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

# The licence texts lie beside the program.
if(EXISTS ${PROJECT_SOURCE_DIR}/LICENSE)
  set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
endif()
file(GLOB vornak_licence_texts ${PROJECT_SOURCE_DIR}/packaging/windows/*)
install(FILES ${vornak_licence_texts} DESTINATION .)
