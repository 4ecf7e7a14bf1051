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

# Plotting: unknown names are usage errors; a missing style or paper is the window's message.
expect_exit(2 batch --style monochrome.ctb x.dxf)
expect_exit(2 batch papers NoSuchDevice)
expect_exit(2 batch --plot NoSuchDevice --style monochrome.ctb --paper A4 x.dxf)
expect_exit(2 batch --plot PDF --style no-such.ctb --paper A4 x.dxf)
execute_process(COMMAND ${CLI} batch --plot PDF --paper A4 x.dxf RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "message=友情提示|打印样式不选一个，打印的东东一团糟！\n")
  message(FATAL_ERROR "tolvane-cli batch --plot PDF --paper A4: exit ${rc}\n${out}")
endif()

# Worker processes: the counts and limits are whole numbers from 1.
expect_exit(2 batch --purge --jobs 0 x.dxf)
expect_exit(2 batch --purge --jobs two x.dxf)
expect_exit(2 batch --purge --drawing-timeout -5 x.dxf)
expect_exit(2 batch --purge --drawing-memory 1.5 x.dxf)
