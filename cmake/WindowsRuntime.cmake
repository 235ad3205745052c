# What the Windows programs need beside them, in the layout Qt's own
# deployment uses (DLLs beside the programs, plug-ins in folders named by
# their kind): Qt's DLLs and plug-ins, the MinGW runtime, Qt's Japanese
# translation, and the fonts Windows lacks with their licence texts. The
# files are copied into the build's program folder as well, so that the
# tests under Wine run the layout the package installs.

if(NOT MINGW)
  return()
endif()

get_filename_component(qt_prefix "${Qt6_DIR}/../../.." ABSOLUTE)
set(program_dir "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")
if(NOT program_dir)
  message(FATAL_ERROR "The Windows build keeps its programs in one folder: "
                      "set CMAKE_RUNTIME_OUTPUT_DIRECTORY (the windows preset does)")
endif()

# Qt's libraries and the MinGW runtime they and the programs load.
set(runtime_dlls Qt6Core Qt6Gui Qt6Widgets Qt6PrintSupport libstdc++-6 libgcc_s_seh-1
                 libwinpthread-1)
# The window's platform, the batch tool's (its sheets are drawn off screen)
# and the native look.
set(plugins platforms/qwindows platforms/qoffscreen styles/qwindowsvistastyle)
# The faces the windows and the sheet ask for; Windows has the MS faces at
# most, the star's DejaVu Sans never.
set(fonts
  /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf
  /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf
  /usr/share/fonts/opentype/ipafont-mincho/ipam.ttf
  /usr/share/fonts/opentype/ipafont-mincho/ipamp.ttf
  /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf)
# Licence texts of everything redistributed, named by what they cover.
set(licences
  "KORUBA-X|${PROJECT_SOURCE_DIR}/resources/copyright"
  "IPA-fonts|/usr/share/doc/fonts-ipafont-gothic/copyright"
  "DejaVu-fonts|/usr/share/doc/fonts-dejavu-core/copyright"
  "Qt|/usr/share/doc/libqt6core6/copyright"
  "MinGW-w64-runtime|/usr/share/doc/mingw-w64-common/copyright"
  "GCC-runtime|/usr/share/doc/gcc-mingw-w64-base/copyright")
set(translations /usr/share/qt6/translations/qtbase_ja.qm)

set(copies) # pairs "source|folder below the program folder"
foreach(dll IN LISTS runtime_dlls)
  list(APPEND copies "${qt_prefix}/bin/${dll}.dll|.")
endforeach()
foreach(plugin IN LISTS plugins)
  get_filename_component(kind ${plugin} DIRECTORY)
  list(APPEND copies "${qt_prefix}/plugins/${plugin}.dll|${kind}")
endforeach()
foreach(font IN LISTS fonts)
  list(APPEND copies "${font}|fonts")
endforeach()
foreach(translation IN LISTS translations)
  list(APPEND copies "${translation}|translations")
endforeach()

foreach(copy IN LISTS copies)
  string(REPLACE "|" ";" copy "${copy}")
  list(GET copy 0 source)
  list(GET copy 1 folder)
  if(NOT EXISTS "${source}")
    message(FATAL_ERROR "${source} is missing (scripts/windows.sh installs or unpacks it)")
  endif()
  file(COPY "${source}" DESTINATION "${program_dir}/${folder}")
  install(FILES "${source}" DESTINATION "${CMAKE_INSTALL_BINDIR}/${folder}")
endforeach()
foreach(licence IN LISTS licences)
  string(REPLACE "|" ";" licence "${licence}")
  list(GET licence 0 name)
  list(GET licence 1 source)
  if(NOT EXISTS "${source}")
    message(FATAL_ERROR "${source} is missing (scripts/windows.sh installs it)")
  endif()
  install(FILES "${source}" DESTINATION "${CMAKE_INSTALL_BINDIR}/licenses" RENAME "${name}.txt")
endforeach()
# The tests load Qt Test as well; the package does not carry it.
if(KORUBA_BUILD_TESTS)
  file(COPY "${qt_prefix}/bin/Qt6Test.dll" DESTINATION "${program_dir}")
endif()
