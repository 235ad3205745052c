# Binary packages. `cpack -G DEB` in a build tree makes the Debian package
# of everything `cmake --install` puts in place: the program, the batch
# tool, the menu entry, the icons and the AppStream file. (On Windows the
# installed program still needs Qt's libraries beside it: windeployqt.)

set(CPACK_PACKAGE_NAME koruba-x)
set(CPACK_PACKAGE_VENDOR "コルバ工房")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "N-value calculator for column-end joints of timber frames")
set(CPACK_PACKAGE_CONTACT "コルバ工房 <koruba-x@example.invalid>")
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/build/;/\\\\.git/")

if(UNIX AND NOT APPLE)
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION science)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
  # The summary above is the description's first line.
  string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "KORUBA-X computes the N value of the joint at the end of one column of a\n"
    "braced timber post-and-beam frame from the braces and sheathing panels in\n"
    "the wall bays beside the column, and names the joint hardware that this\n"
    "N value requires. The package holds the desktop program koruba-x and the\n"
    "batch tool koruba-x-calc.")
  # The library dependencies (libqt6widgets6, libqt6gui6, libqt6core6 and
  # what they need) come from dpkg-shlibdeps. The fonts are looked up by
  # name at run time (the Japanese faces, and DejaVu Sans for the star of a
  # capped bay label), and Qt's windowing plug-ins are only a
  # recommendation of libqt6gui6, without which the program cannot open a
  # window. Qt's Japanese texts (qtbase_ja.qm) are read at start from Qt's
  # translations folder.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "fonts-ipafont-gothic, fonts-ipafont-mincho, fonts-dejavu-core, qt6-qpa-plugins, qt6-translations-l10n")
endif()

include(CPack)
