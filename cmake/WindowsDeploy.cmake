# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows programs run from their own folder, with everything they load
# beside them: the Qt DLLs, the compiler's runtime DLLs that Qt's DLLs need,
# and Qt's plugins in platforms/ and styles/. vornak_windows_deploy() copies
# them into the build's bin folder, where every program is built, so that the
# program and the tests start from the build; installing puts the same files
# beside vornak.exe for the ZIP and the installer.

# Built programs go to one folder, next to their DLLs.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# The compiler's runtime DLLs: the cross compiler finds them in its own
# library folders; a native MinGW keeps them beside g++.exe.
set(VORNAK_RUNTIME_DLLS "")
get_filename_component(vornak_compiler_dir "${CMAKE_CXX_COMPILER}" DIRECTORY)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll} OUTPUT_VARIABLE path
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
    set(path "${vornak_compiler_dir}/${dll}")
  endif()
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR "${dll} not found: Qt's DLLs need it beside the program")
  endif()
  get_filename_component(path "${path}" REALPATH)
  list(APPEND VORNAK_RUNTIME_DLLS "${path}")
endforeach()

# A target named name that copies the DLLs of the given Qt modules and plugins
# (imported targets such as Qt6::Core or Qt6::QWindowsIntegrationPlugin) and
# the runtime DLLs into the build's bin folder, plugins into the folder Qt
# looks for them in (platforms, styles).
function(vornak_windows_deploy name)
  set(commands COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_RUNTIME_OUTPUT_DIRECTORY} COMMAND ${CMAKE_COMMAND}
               -E copy_if_different ${VORNAK_RUNTIME_DLLS} ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
  foreach(target IN LISTS ARGN)
    get_target_property(plugin_type ${target} QT_PLUGIN_TYPE)
    set(destination ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
    if(plugin_type)
      set(destination ${destination}/${plugin_type})
    endif()
    list(APPEND commands COMMAND ${CMAKE_COMMAND} -E make_directory ${destination} COMMAND ${CMAKE_COMMAND} -E
         copy_if_different $<TARGET_FILE:${target}> ${destination})
  endforeach()
  add_custom_target(${name} ALL ${commands} VERBATIM)
endfunction()

# Installs the Qt modules and plugins (as above) and the runtime DLLs beside
# the program, in the component of the program.
function(vornak_windows_install)
  foreach(target IN LISTS ARGN)
    get_target_property(plugin_type ${target} QT_PLUGIN_TYPE)
    if(plugin_type)
      install(FILES $<TARGET_FILE:${target}> DESTINATION ${plugin_type})
    else()
      install(FILES $<TARGET_FILE:${target}> DESTINATION .)
    endif()
  endforeach()
  install(FILES ${VORNAK_RUNTIME_DLLS} DESTINATION .)
endfunction()

# The programs that use Qt share its runtime DLLs: one libstdc++ and one
# winpthread in the process, not a static copy beside Qt's.
string(REPLACE "-static" "" CMAKE_EXE_LINKER_FLAGS "${CMAKE_EXE_LINKER_FLAGS}")
