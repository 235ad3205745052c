# Fails when a file under the windows' folder includes a header of the
# batch tool's folder: the windows read and write column files through
# columns/, and cli/ is a program, not a library to build on.
# Run as: cmake -DUI_DIR=<the ui folder> -P NoToolHeaders.cmake
file(GLOB_RECURSE sources "${UI_DIR}/*.cpp" "${UI_DIR}/*.h")
set(found "")
foreach(source IN LISTS sources)
  file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]cli/")
  if(includes)
    list(APPEND found "${source}: ${includes}")
  endif()
endforeach()
if(found)
  list(JOIN found "\n" text)
  message(FATAL_ERROR "ui/ includes the batch tool's headers:\n${text}")
endif()
