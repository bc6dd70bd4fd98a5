# Run by CPack in the staging tree before it packs (CPACK_PRE_BUILD_SCRIPTS):
# takes from every ELF file the sections a package has no use for, as
# Debian's dh_strip does. CPACK_STRIP_FILES has removed the symbols and debug
# information already; the compiler's .comment and the bare .note remain.
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(path IN LISTS staged)
  if(IS_SYMLINK "${path}")
    continue()
  endif()
  file(READ "${path}" magic LIMIT 4 HEX)
  if(NOT magic STREQUAL "7f454c46")
    continue()
  endif()
  execute_process(
    COMMAND "${CPACK_TELVARIN_STRIP}" --remove-section=.comment --remove-section=.note "${path}"
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "Could not strip ${path}")
  endif()
endforeach()
