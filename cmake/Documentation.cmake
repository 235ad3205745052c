# What a Debian user finds beside the programs: the copyright and the
# change log in /usr/share/doc/koruba-x, as Debian policy asks of every
# package, and the manual pages of both programs.

if(NOT (UNIX AND NOT APPLE))
  return()
endif()

set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/koruba-x)
install(FILES ${PROJECT_SOURCE_DIR}/resources/copyright DESTINATION ${doc_dir})

# Manual pages, section 1. help2man writes them from the programs' own
# --help and --version at build time, so that a page cannot say anything
# the program does not. Both programs answer these without a display.
find_program(KORUBA_HELP2MAN help2man)
find_program(KORUBA_GZIP gzip)
if(NOT KORUBA_HELP2MAN OR NOT KORUBA_GZIP)
  message(WARNING "help2man or gzip is missing: no manual pages and no change log"
    " (scripts/setup.sh installs them)")
  return()
endif()

set(man_pages)
foreach(entry
    "koruba-x|N-value calculator for column-end joints of timber frames"
    "koruba-x-calc|compute N values of column-end joints of timber frames in batches")
  string(REPLACE "|" ";" entry "${entry}")
  list(GET entry 0 program)
  list(GET entry 1 name)
  if(NOT TARGET ${program})
    continue()
  endif()
  set(page ${PROJECT_BINARY_DIR}/man/${program}.1)
  # gzip -n keeps no time stamp, so the package is the same from build to
  # build.
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
    COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 QT_QPA_PLATFORM=
      ASAN_OPTIONS=detect_leaks=0
      ${KORUBA_HELP2MAN} --no-info --name=${name}
      --output=${page} $<TARGET_FILE:${program}>
    COMMAND ${KORUBA_GZIP} -9nf ${page}
    DEPENDS ${program}
    COMMENT "Writing the manual page of ${program}"
    VERBATIM)
  list(APPEND man_pages ${page}.gz)
endforeach()

# The change log, compressed as policy wants it.
set(changelog ${PROJECT_BINARY_DIR}/doc/changelog.gz)
add_custom_command(OUTPUT ${changelog}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/doc
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/resources/changelog
    ${PROJECT_BINARY_DIR}/doc/changelog
  COMMAND ${KORUBA_GZIP} -9nf ${PROJECT_BINARY_DIR}/doc/changelog
  DEPENDS ${PROJECT_SOURCE_DIR}/resources/changelog
  COMMENT "Compressing the change log"
  VERBATIM)

add_custom_target(koruba_documentation ALL DEPENDS ${man_pages} ${changelog})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${changelog} DESTINATION ${doc_dir})
