# tolvane-cli collect on a real folder: --folder twice lists each drawing twice, --tree
# replaces the list, --names writes the quoted bare names with CR LF, and a folder that
# cannot be read ends the command with exit 1.
set(root ${WORK}/collect-cli)
file(REMOVE_RECURSE ${root})
file(WRITE ${root}/b.dwg "")
file(WRITE ${root}/A.DWG "")
file(WRITE ${root}/sub/C.DXF "")

function(collect expected_rc)
  execute_process(COMMAND ${CLI} collect ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                  ERROR_VARIABLE err WORKING_DIRECTORY ${root})
  if(NOT rc EQUAL expected_rc)
    message(FATAL_ERROR "collect ${ARGN}: exit ${rc}, expected ${expected_rc}\n${out}${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

function(expect_output expected)
  if(NOT out STREQUAL expected)
    message(FATAL_ERROR "collect printed\n${out}\nexpected\n${expected}")
  endif()
endfunction()

collect(0 --folder . --folder ${root}/)
expect_output("file=${root}/b.dwg\nfile=${root}/b.dwg\n")
collect(0 --folder . --tree . --names names.txt)
expect_output("file=${root}/A.DWG\nfile=${root}/b.dwg\nfile=${root}/sub/C.DXF\nmessage=Tolvane|提取文件完毕！，保存在 ${root}/names.txt 文件中\n")
file(READ ${root}/names.txt names HEX)
string(HEX "\"A\"\r\n\"b\"\r\n\"C\"\r\n" expected)
if(NOT names STREQUAL expected)
  message(FATAL_ERROR "names.txt holds ${names}")
endif()
collect(0 --folder sub)
expect_output("message=Pellam提示|没有发现阿dwg图形文件！\n")
collect(1 --tree ${root}/missing)
collect(2)
file(REMOVE_RECURSE ${root})
