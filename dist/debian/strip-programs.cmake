# SPDX-License-Identifier: GPL-3.0-or-later
# Run by cpack after installing into its staging folder: strips the programs of their
# debug symbols and of the compiler's notes (.comment, .note), as Debian's packages are.
file(GLOB programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/bin/*")
foreach(program IN LISTS programs)
  execute_process(COMMAND strip --strip-unneeded --remove-section=.comment --remove-section=.note ${program}
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()
