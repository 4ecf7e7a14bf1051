# tolvane-cli weight, fill and bom: exact output, exit codes and error lines.
# Run with -DCLI=<tolvane-cli> -DWORK=<scratch folder>.

function(expect name expected_rc expected_out)
  execute_process(COMMAND ${CLI} ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL expected_rc)
    message(FATAL_ERROR "${name}: exit ${rc}, expected ${expected_rc}\n${out}${err}")
  endif()
  if(NOT out STREQUAL expected_out)
    message(FATAL_ERROR "${name}: stdout\n[${out}]\nexpected\n[${expected_out}]")
  endif()
  if(expected_rc EQUAL 0 AND NOT err STREQUAL "")
    message(FATAL_ERROR "${name}: unexpected stderr ${err}")
  endif()
  if(NOT expected_rc EQUAL 0)
    string(REGEX MATCHALL "\n" breaks "${err}")
    list(LENGTH breaks lines)
    if(NOT lines EQUAL 1)
      message(FATAL_ERROR "${name}: expected one line on stderr, got [${err}]")
    endif()
  endif()
  set(last_err "${err}" PARENT_SCOPE)
endfunction()

# weight
expect("channel" 0 "unit= 5.43\ntotal= 5.43\n" weight --type 2 --item 0 --text1 1000)
expect("channel by names" 0 "unit= 138\ntotal= 276\n"
       weight --type 槽钢 --item 18----180x70x9.0x10.5 --text1 6000 --qty 2)
expect("H-beam single precision" 0 "unit= 9.53\ntotal= 9.53\n" weight --type 4 --item HN100x50x5x7 --text1 1000)
expect("no type" 0 "unit=\ntotal=\n" weight --text1 1000)
expect("plate, no material" 0 "unit= 0\ntotal= 0\n"
       weight --type 0 --text1 1000 --text2 500 --text3 10 --material none)
expect("plate stainless" 0 "unit= 39.5\ntotal= 79\n"
       weight --type 0 --text1 1000 --text2 500 --text3 10 --material OCr18Ni11Ti --qty 2)
expect("pipe" 0 "unit= 9.37\ntotal= 9.37\n" weight --type 1 --text1 1000 --text2 89 --text3 4.5)
expect("flange" 0 "unit= 3.5375\ntotal= 3.5375\n"
       weight --type 9 --text1 20 --text2 200 --text3 100 --hole-d 18 --hole-n 4)
expect("bolt" 0 "unit= .231\ntotal= .231\n" weight --type 10 --text1 20 --text2 80)
expect("nut not listed" 0 "unit= 0\ntotal= 0\nmessage=提示信息|你选择的不是标准螺母吧！\n"
       weight --type 11 --text1 7 --qty 3)
expect("washer incomplete" 0
       "unit= 0\ntotal= 0\nmessage=提示信息|你选择的既不是标准垫片也不是参数齐全的非标垫片！\n"
       weight --type 12 --text1 40 --text2 21)
expect("quantity out of range" 0
       "unit=\ntotal=\nmessage=提示信息|数量超出范围（-32768～32767），请检查输入！\n"
       weight --type 2 --item 0 --text1 1000 --qty 40000)
expect("blank kept in a field" 0 "unit= .016\ntotal= .016\n" weight --type 12 --text1 20 --text3 " ")
expect("unknown type" 2 "" weight --type 14)
expect("item without a list" 2 "" weight --type 7 --item 0)
expect("unknown item" 2 "" weight --type 2 --item 41)
expect("unknown option" 2 "" weight --colour red)
expect("missing value" 2 "" weight --type)

# fill
expect("fill angle" 0
       "type=6\nlist=Combo7\nitem=6.3/4-----63x40x5\nrow1=1|长度|6000\nrow2=0|宽度：|\nrow3=0|厚度：|\nqty=\nmaterial=Q235-A\n"
       fill L63x40x5-6000)
expect("fill pipe and calculate" 0
       "type=1\nlist=Combo2\nitem=\nrow1=1|长度|3000\nrow2=1|外径|89\nrow3=1|厚度|4.5\nqty=\nmaterial=Q235-A\nunit= 28.13\ntotal= 0\n"
       fill --calc "pipe 89x4.5---3000")
expect("fill washer" 0
       "type=12\nlist=none\nitem=\nrow1=1|规格|20\nrow2=0|长度|\nrow3=0|厚度|\nqty=\nmaterial=Q235-A\n"
       fill "washer 20")
expect("fill M7" 0
       "message=出错信息！|规格描述可能有问题，如果你认为正确的话，请与软件开发者联系\ntype=-1\nlist=none\nitem=\nrow1=0|长度：|\nrow2=0|宽度：|\nrow3=0|厚度：|\nqty=\nmaterial=Q235-A\nunit=\ntotal=\n"
       fill --calc " L50x5-6000")
expect("fill M1" 0
       "message=出错信息！|规格描述不完整，作为钢板类应提供：长x宽x高，如果是异型也应该提供展开尺寸\ntype=-1\nlist=none\nitem=\nrow1=0|长度：|\nrow2=0|宽度：|\nrow3=0|厚度：|\nqty=\nmaterial=Q235-A\n"
       fill "plate 0x0x0")
expect("fill nut then a message from the calculation" 0
       "type=11\nlist=none\nitem=\nrow1=1|规格|7\nrow2=0|长度|\nrow3=0|厚度：|\nqty=\nmaterial=Q235-A\nunit= 0\ntotal= 0\nmessage=提示信息|你选择的不是标准螺母吧！\n"
       fill --calc "nut M7")
expect("fill without description" 2 "" fill)
expect("fill with two descriptions" 2 "" fill a b)

# bom
file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/parts.txt "L63x40x5-6000*4\r\nbolt M20---80 ×10\nnonsense\nplate 10x1500x3000")
set(report "1\tL63x40x5-6000\t不等边角铁\t6.3/4-----63x40x5\t 23.52\t4\t 94.08\n")
string(APPEND report "2\tbolt M20---80\t螺丝\t20x80\t .231\t10\t 2.31\n")
string(APPEND report "3\tnonsense\t\t\t\t1\t\t规格描述可能有问题，如果你认为正确的话，请与软件开发者联系\n")
string(APPEND report "4\tplate 10x1500x3000\t钢板\t10x1500x3000\t 353.25\t1\t 353.25\n")
string(APPEND report "total_weight= 449.64\n")
expect("bom file" 0 "${report}" bom ${WORK}/parts.txt)
execute_process(COMMAND ${CLI} bom - INPUT_FILE ${WORK}/parts.txt OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out STREQUAL report)
  message(FATAL_ERROR "bom from standard input: exit ${rc}\n${out}")
endif()
string(ASCII 239 187 191 bom)
file(WRITE ${WORK}/bom.txt "${bom}L63x40x5-6000*4\n")
expect("bom after a byte-order mark" 0
       "1\tL63x40x5-6000\t不等边角铁\t6.3/4-----63x40x5\t 23.52\t4\t 94.08\ntotal_weight= 94.08\n"
       bom ${WORK}/bom.txt)
file(WRITE ${WORK}/empty.txt "")
expect("bom empty" 0 "total_weight= 0\n" bom ${WORK}/empty.txt)
expect("bom missing file" 1 "" bom ${WORK}/no-such-file.txt)
if(NOT last_err MATCHES "no-such-file.txt")
  message(FATAL_ERROR "bom missing file: stderr does not name the file: ${last_err}")
endif()
expect("bom without file" 2 "" bom)
