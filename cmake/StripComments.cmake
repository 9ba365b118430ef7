# CPack runs this on its staging folder before it packs (CPACK_PRE_BUILD_SCRIPTS): removes the
# .comment and .note sections from the programs, as Debian's dh_strip does. They hold the
# compilers' version strings, which nothing reads at run time.
file(GLOB_RECURSE programs LIST_DIRECTORIES false ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/bin/*)
foreach(program IN LISTS programs)
  execute_process(COMMAND ${CPACK_VANTORA_OBJCOPY} --remove-section=.comment --remove-section=.note
                          ${program} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
