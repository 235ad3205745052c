# Makes the setup and the zip from a staged installation (cmake --install).
# Run by the windows_packages target:
#   cmake -DSTAGE=<folder> -DNSI_IN=<koruba-x.nsi.in> -DSETUP=<setup.exe> -DZIP=<zip>
#         -DICON=<.ico> -DVERSION=<x.y.z.w> -DMAKENSIS=<makensis> -P MakePackages.cmake
# Each package is written under a temporary name and replaces the old one
# only when it is complete.
cmake_minimum_required(VERSION 3.25)
foreach(var STAGE NSI_IN SETUP ZIP ICON VERSION MAKENSIS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "MakePackages.cmake needs -D${var}=...")
  endif()
endforeach()

set(program_dir "${STAGE}/KORUBA-X")
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${program_dir}" "${program_dir}/*")
list(SORT files)
if(NOT "KORUBA-X.exe" IN_LIST files OR NOT "koruba-x-calc.exe" IN_LIST files)
  message(FATAL_ERROR "${program_dir} lacks the programs: was cmake --install run?")
endif()

# The file lists of the installer and the uninstaller, folder by folder.
set(install_list "")
set(uninstall_list "")
set(folders "")
set(current_folder "-")
set(total_bytes 0)
foreach(file IN LISTS files)
  get_filename_component(folder "${file}" DIRECTORY)
  string(REPLACE "/" "\\" windows_file "${file}")
  string(REPLACE "/" "\\" windows_folder "${folder}")
  if(NOT folder STREQUAL current_folder)
    set(current_folder "${folder}")
    if(folder STREQUAL "")
      string(APPEND install_list "SetOutPath \"$INSTDIR\"\n")
    else()
      string(APPEND install_list "SetOutPath \"$INSTDIR\\${windows_folder}\"\n")
      list(APPEND folders "${windows_folder}")
    endif()
  endif()
  string(APPEND install_list "File \"${program_dir}/${file}\"\n")
  string(APPEND uninstall_list "Delete \"$INSTDIR\\${windows_file}\"\n")
  file(SIZE "${program_dir}/${file}" bytes)
  math(EXPR total_bytes "${total_bytes} + ${bytes}")
endforeach()
string(APPEND install_list "SetOutPath \"$INSTDIR\"\n")
list(REMOVE_DUPLICATES folders)
list(SORT folders ORDER DESCENDING) # a folder's subfolders come before it
foreach(folder IN LISTS folders)
  string(APPEND uninstall_list "RMDir \"$INSTDIR\\${folder}\"\n")
endforeach()
math(EXPR KORUBA_INSTALLED_KB "(${total_bytes} + 1023) / 1024")

set(KORUBA_NSIS_INSTALL_LIST "${STAGE}/install-files.nsh")
set(KORUBA_NSIS_UNINSTALL_LIST "${STAGE}/uninstall-files.nsh")
file(WRITE "${KORUBA_NSIS_INSTALL_LIST}" "${install_list}")
file(WRITE "${KORUBA_NSIS_UNINSTALL_LIST}" "${uninstall_list}")
set(PROJECT_VERSION "${VERSION}")
set(KORUBA_ICON_FILE "${ICON}")
set(KORUBA_SETUP_FILE "${SETUP}.part")
configure_file("${NSI_IN}" "${STAGE}/koruba-x.nsi" @ONLY)

file(REMOVE "${SETUP}.part" "${ZIP}.part")
execute_process(COMMAND "${MAKENSIS}" -V2 -INPUTCHARSET UTF8 "${STAGE}/koruba-x.nsi"
                RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR NOT EXISTS "${SETUP}.part")
  message(FATAL_ERROR "makensis failed (${result})")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar cf "${ZIP}.part" --format=zip KORUBA-X
                WORKING_DIRECTORY "${STAGE}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the zip could not be written (${result})")
endif()
# The zip must hold every staged file: a short archive never replaces a
# good one.
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar tf "${ZIP}.part"
                OUTPUT_VARIABLE listed RESULT_VARIABLE result)
string(REGEX MATCHALL "[^\n]+" listed "${listed}")
list(FILTER listed EXCLUDE REGEX "/$")
list(LENGTH listed listed_count)
list(LENGTH files file_count)
if(NOT result EQUAL 0 OR NOT listed_count EQUAL file_count)
  message(FATAL_ERROR "the zip holds ${listed_count} of ${file_count} files")
endif()
file(RENAME "${SETUP}.part" "${SETUP}")
file(RENAME "${ZIP}.part" "${ZIP}")
message(STATUS "Wrote ${SETUP} and ${ZIP} (${file_count} files, ${KORUBA_INSTALLED_KB} KB installed)")
