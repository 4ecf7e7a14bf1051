# Names on real files, as collect and batch print them: a name holding line breaks or
# bytes that are not UTF-8 is escaped (\n, \\, \xFF), so every drawing is one line of
# stdout and one entry of the error log; a named pipe given as a drawing is refused
# at once with an error line and an error-log entry, and the run goes on.
set(root ${WORK}/printed-names)
file(REMOVE_RECURSE ${root})
file(MAKE_DIRECTORY ${root}/in)
set(drawing ${CMAKE_CURRENT_LIST_DIR}/../drawing/testdata/real/ezdxf_small_r14.dxf)
# sh's printf makes the names CMake cannot spell: a line feed in a name, a byte 0xFF.
execute_process(COMMAND sh -c "cp \"$1\" \"in/$(printf 'a\\ndone=0\\nerror=forged|x.dxf')\" &&
                               cp \"$1\" \"in/$(printf 'b\\377\\\\.dxf')\" && mkfifo in/pipe.dxf"
                        sh ${drawing}
                WORKING_DIRECTORY ${root} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cannot make the test files in ${root}")
endif()

function(run expected_rc)
  execute_process(COMMAND ${CLI} ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                  ERROR_VARIABLE err WORKING_DIRECTORY ${root} TIMEOUT 60)
  if(NOT rc EQUAL expected_rc)
    message(FATAL_ERROR "tolvane-cli ${ARGN}: exit ${rc}, expected ${expected_rc}\n${out}${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

function(expect_output expected)
  if(NOT out STREQUAL expected)
    message(FATAL_ERROR "printed\n${out}\nexpected\n${expected}")
  endif()
endfunction()

# The pipe is no drawing file: collect leaves it out.
set(forged "${root}/in/a\\ndone=0\\nerror=forged|x.dxf")
set(bad "${root}/in/b\\xFF\\\\.dxf")
run(0 collect --folder in)
expect_output("file=${forged}\nfile=${bad}\n")

run(0 batch --audit --log log.txt --folder in in/pipe.dxf)
string(CONCAT expected "file=1/3|${forged}\nsaved=${forged}\nfile=2/3|${bad}\nsaved=${bad}\n"
       "file=3/3|in/pipe.dxf\n"
       "error=in/pipe.dxf|不是普通文件（命名管道、设备或套接字），未打开\ndone=3\n")
expect_output("${expected}")

# A name that is not a file at all goes to the error log escaped: one entry, five lines.
run(0 batch --audit --log log.txt "in/gone\ndone=0\r\n*****.dxf")
# (file(STRINGS) splits at line feeds, file(READ) leaves the carriage returns out.)
file(STRINGS ${root}/log.txt lines ENCODING UTF-8)
list(LENGTH lines count)
file(READ ${root}/log.txt log)
if(NOT count EQUAL 10 OR NOT log MATCHES "出错:${root}/in/pipe.dxf\n"
   OR NOT log MATCHES "出错:${root}/in/gone\\\\ndone=0\\\\r\\\\n\\*\\*\\*\\*\\*\\.dxf\n")
  message(FATAL_ERROR "the error log holds ${count} lines\n${log}")
endif()
file(REMOVE_RECURSE ${root})
