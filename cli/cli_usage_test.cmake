# The general rules of the command line: --help succeeds, usage errors exit 2 with one
# line on stderr and nothing on stdout.
function(expect_exit code)
  execute_process(COMMAND ${CLI} ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL code)
    message(FATAL_ERROR "tolvane-cli ${ARGN}: exit ${rc}, expected ${code}\n${out}${err}")
  endif()
  if(code EQUAL 2 AND NOT out STREQUAL "")
    message(FATAL_ERROR "tolvane-cli ${ARGN}: a usage error printed to stdout: ${out}")
  endif()
endfunction()

expect_exit(0 --help)
execute_process(COMMAND ${CLI} --version RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^tolvane-cli [0-9]+\\.[0-9]+\\.[0-9]+\n$")
  message(FATAL_ERROR "tolvane-cli --version: exit ${rc}: ${out}")
endif()
expect_exit(2)
expect_exit(2 no-such-command)
expect_exit(2 --data-dir)

# "--" ends the options: what follows is an argument, even "--data-dir".
execute_process(COMMAND ${CLI} fill -- --data-dir RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out MATCHES "type=-1")
  message(FATAL_ERROR "tolvane-cli fill -- --data-dir: exit ${rc}\n${out}")
endif()
