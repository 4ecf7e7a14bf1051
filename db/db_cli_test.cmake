# tolvane-cli grade against a fresh data folder created from the seed, against a
# damaged database and in a data folder that cannot be checked, and import-mdb on a file
# that is no Access database: run as
# cmake -DCLI=... -DWORK=... -P db_cli_test.cmake.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

function(grade expected_rc out_var)
  execute_process(COMMAND ${CLI} --data-dir ${WORK} grade ${ARGN}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL expected_rc)
    message(FATAL_ERROR "grade ${ARGN}: exit ${rc}, expected ${expected_rc}\n${out}${err}")
  endif()
  set(${out_var} "${out}" PARENT_SCOPE)
  set(${out_var}_err "${err}" PARENT_SCOPE)
endfunction()

function(expect text pattern)
  if(NOT text MATCHES "${pattern}")
    message(FATAL_ERROR "expected to match '${pattern}':\n${text}")
  endif()
endfunction()

grade(0 out query q235a)
expect("${out}" "^类别=碳素结构钢\n钢号=Q235A\nC=0.14~0.22\n")
string(REGEX MATCHALL "\n" lines "${out}")
list(LENGTH lines n)
if(NOT n EQUAL 20)
  message(FATAL_ERROR "grade query printed ${n} lines, not 20:\n${out}")
endif()
grade(0 out query "no such grade")
expect("${out}" "钢号=Q195\n")

grade(0 out search St37 --next 9)
expect("${out}" "^match=2\\|碳素结构钢\\|Q235A\\|S235JR/St37-2\\|[^\n]*\\|Fe360A\nmatch=2\\|[^\n]*\n")
expect("${out}" "\nend\n$")
grade(0 out search "x'%_")
expect("${out}" "^message=各国钢号转换系统\\|数据未找到\n$")

grade(0 out list 美国UNS)
expect("${out}" "^item=K02801\n")
grade(0 out list 1)
string(REGEX MATCHALL "item=" items "${out}")
list(LENGTH items n)
if(NOT n EQUAL 112)
  message(FATAL_ERROR "grade list 1 printed ${n} items, not 112")
endif()
grade(2 out list 10)

file(WRITE ${WORK}/s_material.db "not a database")
grade(1 out query 45)
expect("${out}" "^message=数据库错误\\|无法使用数据库文件 “[^\n]*/s_material.db”：不是数据库文件或文件已损坏\n$")
expect("${out_err}" "s_material.db")

# A data folder that cannot be checked: the message, the line on stderr, exit 1.
file(CREATE_LINK loop ${WORK}/loop SYMBOLIC)
execute_process(COMMAND ${CLI} --data-dir ${WORK}/loop grade query 45
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 1 OR NOT out MATCHES "^message=Tolvane\\|无法使用数据文件夹 “[^\n]*/loop”：[^\n]+\n$"
   OR NOT err MATCHES "^tolvane-cli grade: 无法使用数据文件夹 “[^\n]*/loop”")
  message(FATAL_ERROR "grade in a looping data folder: exit ${rc}\n${out}${err}")
endif()
execute_process(COMMAND ${CLI} --data-dir ${WORK}/loop heat --method convection
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 1 OR NOT out STREQUAL "" OR NOT err MATCHES "^tolvane-cli heat: 无法使用数据文件夹")
  message(FATAL_ERROR "heat in a looping data folder: exit ${rc}\n${out}${err}")
endif()

execute_process(COMMAND ${CLI} import-mdb ${WORK}/s_material.db ${WORK}/out.db
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 1 OR NOT out STREQUAL "" OR NOT err MATCHES "s_material.db" OR EXISTS ${WORK}/out.db)
  message(FATAL_ERROR "import-mdb of a text file: exit ${rc}\n${out}${err}")
endif()
file(REMOVE_RECURSE ${WORK})
