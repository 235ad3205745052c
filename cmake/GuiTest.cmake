# koruba_add_gui_test(<name> SOURCES <file>... LINK_LIBRARIES <lib>...
#                     [DEFINITIONS <def>...] [LABELS <label>...])
#
# One QtTest program of the windows, as ECM's ecm_add_test makes a KDE
# test: the executable linked with QtTest and the warnings, the test of the
# same name on the offscreen platform with its settings in a folder of the
# build tree, the label "ui", and on Windows the program's version block,
# without which the main window refuses to start.
function(koruba_add_gui_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;LINK_LIBRARIES;DEFINITIONS;LABELS")
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LINK_LIBRARIES} Qt6::Test koruba_warnings)
  if(arg_DEFINITIONS)
    target_compile_definitions(${name} PRIVATE ${arg_DEFINITIONS})
  endif()
  if(WIN32 AND TARGET koruba-x)
    target_sources(${name} PRIVATE ${PROJECT_BINARY_DIR}/app/KORUBA_X.rc)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_CONFIG_HOME=${CMAKE_CURRENT_BINARY_DIR}/config"
    LABELS "ui;${arg_LABELS}")
endfunction()
