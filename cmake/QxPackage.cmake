# SPDX-License-Identifier: GPL-3.0-or-later
# Installing and packaging: the programs, the user guide, the application-menu entry
# and the icon where a Linux desktop finds them, and a .deb that declares what it needs.

install(TARGETS quillex-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(QX_BUILD_UI)
  install(TARGETS quillex RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/resources/quillex.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/quillex.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/help DESTINATION ${CMAKE_INSTALL_DATADIR}/quillex)
if(QX_BUILD_UI)
  # Where an installed program finds its user guide when none lies beside it.
  target_compile_definitions(qx_ui PRIVATE QX_DATA_DIR="${CMAKE_INSTALL_FULL_DATADIR}/quillex")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quillex developers <quillex@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Batch file renamer: rename jobs, simulation, undo")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillex renames many files at once with an ordered list of jobs (case, insert, remove, plain or regular-expression replace, counter), tried on a sample name first, with a simulation that shows the result as a tree and per-folder undo files.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# Libraries the programs link are found by dpkg-shlibdeps; Qt's plugins are loaded at
# run time, so those packages are named here: the X11 platform and the SVG icons.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(QX_BUILD_UI)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
endif()
include(CPack)
