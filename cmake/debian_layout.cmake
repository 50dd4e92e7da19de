# Run by CPack on the staged files before it builds the Debian package (CPACK_PRE_BUILD_SCRIPTS):
# Debian keeps the programs of a games package in /usr/games, and its binaries carry no .comment
# section (the compilers' version strings), which CPack's strip leaves in place.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()

set(usr "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
file(RENAME "${usr}/bin" "${usr}/games")

file(GLOB programs "${usr}/games/*")
foreach(program IN LISTS programs)
  execute_process(COMMAND "${CPACK_OBJCOPY_EXECUTABLE}" --remove-section=.comment "${program}"
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()
