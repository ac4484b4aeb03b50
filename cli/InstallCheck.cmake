# Installs the build into a scratch prefix and checks that the program and its manual page
# arrive, that the command finds the English module, and that the page formats without warnings.
execute_process(COMMAND ${CMAKE_COMMAND} -E rm -rf ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX} RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "install failed: ${rc}")
endif()
foreach(file bin/qt8800-cli share/man/man1/qt8800-cli.1)
    if(NOT EXISTS ${PREFIX}/${file})
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
# the installed command finds the program's English module in lib/qt8800/
execute_process(COMMAND ${PREFIX}/bin/qt8800-cli --language en --help
                OUTPUT_VARIABLE help ERROR_VARIABLE complaint RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT help MATCHES "^qt8800-cli - the QT 8800" OR NOT complaint STREQUAL "")
    message(FATAL_ERROR "the installed qt8800-cli does not speak English (${rc}): ${complaint}${help}")
endif()
find_program(GROFF groff)
if(GROFF)
    execute_process(COMMAND ${GROFF} -man -ww -z ${PREFIX}/share/man/man1/qt8800-cli.1
                    ERROR_VARIABLE warnings RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0 OR NOT warnings STREQUAL "")
        message(FATAL_ERROR "the manual page does not format cleanly: ${warnings}")
    endif()
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E rm -rf ${PREFIX})
