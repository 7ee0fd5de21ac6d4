# SPDX-License-Identifier: GPL-3.0-or-later
# Installing and packaging: the programs, the user guide, the menu entry, the software
# centre's metadata, the icon, the file managers' entries, the manual pages and the shell
# completions where a Linux system finds them, and a .deb that declares what it needs.

install(TARGETS quillex-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
set(qx_man_pages quillex-cli)
if(QX_BUILD_UI)
  install(TARGETS quillex RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/resources/org.quillex.quillex.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/org.quillex.quillex.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/quillex.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  # "Rename with Quillex..." on the selected files and folders: Dolphin's service menu,
  # Nemo's action, a FileManager-Actions action for Caja, and a Nautilus script that
  # users link into their own scripts folder, as Nautilus reads no system-wide one.
  set(fm ${PROJECT_SOURCE_DIR}/resources/filemanagers)
  install(FILES ${fm}/dolphin-servicemenu.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/kio/servicemenus
          RENAME quillex.desktop)
  install(FILES ${fm}/quillex.nemo_action DESTINATION ${CMAKE_INSTALL_DATADIR}/nemo/actions)
  install(FILES ${fm}/filemanager-action.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/file-manager/actions
          RENAME quillex.desktop)
  install(PROGRAMS ${fm}/nautilus-script.sh DESTINATION ${CMAKE_INSTALL_DATADIR}/quillex
          RENAME "Rename with Quillex...")
  list(APPEND qx_man_pages quillex)
  # Where an installed program finds its user guide when none lies beside it.
  target_compile_definitions(qx_ui PRIVATE QX_DATA_DIR="${CMAKE_INSTALL_FULL_DATADIR}/quillex")
endif()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/help DESTINATION ${CMAKE_INSTALL_DATADIR}/quillex)

# Manual pages and the changelog are installed compressed, as Debian's tools expect:
# gzip -9 without a name or a time stamp, so the same source gives the same bytes.
set(qx_compressed)
# The command makes its output's folder: Ninja would, make does not.
function(qx_compress source target)
  get_filename_component(folder ${target} DIRECTORY)
  add_custom_command(OUTPUT ${target} COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
                     COMMAND gzip -9nc ${source} > ${target} DEPENDS ${source} VERBATIM)
  set(qx_compressed ${qx_compressed} ${target} PARENT_SCOPE)
endfunction()
foreach(page IN LISTS qx_man_pages)
  qx_compress(${PROJECT_SOURCE_DIR}/dist/man/${page}.1 ${PROJECT_BINARY_DIR}/dist/${page}.1.gz)
  install(FILES ${PROJECT_BINARY_DIR}/dist/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
qx_compress(${PROJECT_SOURCE_DIR}/dist/debian/changelog ${PROJECT_BINARY_DIR}/dist/changelog.gz)
add_custom_target(qx_compressed_docs ALL DEPENDS ${qx_compressed})
install(FILES ${PROJECT_BINARY_DIR}/dist/changelog.gz ${PROJECT_SOURCE_DIR}/dist/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillex)

set(qx_completions ${PROJECT_SOURCE_DIR}/dist/completions)
install(FILES ${qx_completions}/quillex-cli.bash DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME quillex-cli)
install(FILES ${qx_completions}/quillex-cli.fish DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d)
# zsh looks in vendor-completions under /usr (so does the .deb) and in site-functions
# under any other prefix; decided when installing, as the prefix may change then.
install(CODE "
  set(zsh_dir share/zsh/site-functions)
  if(CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
    set(zsh_dir share/zsh/vendor-completions)
  endif()
  file(INSTALL ${qx_completions}/_quillex-cli DESTINATION \"\${CMAKE_INSTALL_PREFIX}/\${zsh_dir}\")")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quillex developers <developers@quillex.org>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quillex.org/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "batch file renamer with preview, simulation and undo")
# Debian's rules: lines under 80 columns, a lone "." for an empty line.
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Quillex renames many files at once with an ordered list of rename jobs:\n"
  "change the case, insert text, remove characters, replace text plainly or\n"
  "by regular expression, add a zero-padded counter, insert the date a photo\n"
  "was taken. The jobs are tried on a sample name, then run on every file of a\n"
  "folder tree that matches a file mask, for real or as a simulation that\n"
  "shows the result as a tree with clashes marked.\n"
  ".\n"
  "Every real run can leave an undo file in each folder it touches and write a\n"
  "log. The package holds the desktop program (Qt 6) and quillex-cli, which\n"
  "runs the same jobs from a terminal or a script.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Stripped in the package as Debian's own tools strip; the symbols stay in the build tree.
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/dist/debian/strip-programs.cmake)
# Libraries the programs link are found by dpkg-shlibdeps; Qt's plugins are loaded at
# run time, so those packages are named here: the X11 platform and the SVG icons.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(QX_BUILD_UI)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
endif()
include(CPack)
