# tolvane-cli heat against its contract: exact output of the chart method, the fresh
# window's defaults, the convection and standard methods on materials from a seeded
# insulation.db, usage errors (exit 2) and a data folder that cannot hold the database
# (exit 1).
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

function(expect_output expected)
  execute_process(COMMAND ${CLI} --data-dir ${WORK} heat ${ARGN}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0 OR NOT out STREQUAL expected)
    message(FATAL_ERROR "heat ${ARGN}: exit ${rc}\n${out}${err}\nexpected:\n${expected}")
  endif()
endfunction()

function(expect_exit code)
  execute_process(COMMAND ${CLI} ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL code OR NOT out STREQUAL "" OR NOT err MATCHES "^tolvane-cli heat: [^\n]+\n$")
    message(FATAL_ERROR "${ARGN}: exit ${rc}, expected ${code}\n${out}${err}")
  endif()
endfunction()

expect_output("t12= 380.5\nt23= 174\nt34= 174\nt45= 174\nt56= 174\ntout= 223.6\nq= 4130\n"
              --location 0 --t-inner 1000 --layer "1|150" --layer "0.5|25")
expect_output("message=出错信息提示：|请选择传热计算的部位\nmessage=出错信息提示：|请输入炉内温度\nt12= 0\nt23= 0\nt34= 0\nt45= 0\nt56= 0\ntout=\nq= 0\n")
# A roof is not refined: chart results, no q_c, the air displays on the table's first row.
expect_output("t12= 1000\nt23= 1000\nt34= 1000\nt45= 1000\nt56= 1000\ntout=\nq= 0\nqc=\nair_lambda=0.02098\nair_nu=1.328e-05\nair_pr=0.707\niterations=\n"
              --location 1 --t-inner 1000 --layer "1|0" --method convection)

execute_process(COMMAND ${CLI} --data-dir ${WORK} heat --location 0 --t-inner 1000
                --layer-material "粘土砖(N-1)|230" --layer-material "轻质粘土砖NG-1.0|113"
                --method convection RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out MATCHES
   "^t12= 685\nt23= 284\nt34= 284\nt45= 284\nt56= 284\ntout= 284\nq= 1667\\.[0-9]+\nqc= 1679\\.[0-9]+\nair_lambda=0\\.03065\nair_nu=2\\.895e-05\nair_pr=0\\.683\niterations=4\n$")
  message(FATAL_ERROR "convection on seeded materials: exit ${rc}\n${out}")
endif()

# The standard method on the same wall: the outer surface the convection method reads
# 284 °C is 147.8 °C once radiation and the layers' mean temperatures are counted.
expect_output("t12=677.5\nt23=147.8\nt34=147.8\nt45=147.8\nt56=147.8\ntout=147.8\nq=1597.6\nq_w=1858.0\nhc=6.02\nhr=8.52\niterations=10\n"
              --location 0 --t-inner 1000 --layer-material "粘土砖(N-1)|230"
              --layer-material "轻质粘土砖NG-1.0|113" --method standard)
expect_output("t12=88.0\nt23=88.0\nt34=88.0\nt45=88.0\nt56=88.0\ntout=88.0\nq=136.8\nq_w=159.1\nhc=2.34\nhr=0.00\niterations=6\n"
              --location 2 --t-inner 1000 --layer "0.03|200" --method standard --emissivity 0
              --length 0.5)
expect_output("message=出错信息提示：|发射率应为 0 到 1 之间的数值\nt12=\nt23=\nt34=\nt45=\nt56=\ntout=\nq=\nq_w=\nhc=\nhr=\niterations=\n"
              --location 0 --t-inner 1000 --layer "0.06|100" --method standard --emissivity 1.5)

# Input that cannot be a lining is refused like any other input: its message, every key
# empty, exit 0.
set(empty "t12=\nt23=\nt34=\nt45=\nt56=\ntout=\nq=\n")
expect_output("message=出错信息提示：|炉内表面温度应在 -273.15 到 5000 ℃ 之间：“1e308”\n${empty}"
              --location 0 --t-inner 1e308 --layer "1|150")
expect_output("message=出错信息提示：|内层保温厚度应为不小于 0 的数值（毫米）：“-150”\n${empty}"
              --location 0 --t-inner 1000 --layer "1|-150")
expect_output("message=出错信息提示：|环境温度应在 -273.15 到 5000 ℃ 之间：“1e400”\n${empty}qc=\nair_lambda=0.02098\nair_nu=1.328e-05\nair_pr=0.707\niterations=\n"
              --location 0 --t-inner 1000 --layer "1|150" --ambient 1e400 --method convection)

expect_exit(2 heat --location 3)
expect_exit(2 heat --height 3)
expect_exit(2 heat --layer "0.5")
expect_exit(2 heat --method exact)
expect_exit(2 heat --layer 1|1 --layer 1|1 --layer 1|1 --layer 1|1 --layer 1|1 --layer 1|1 --layer 1|1)
file(WRITE ${WORK}/file "")
expect_exit(1 --data-dir ${WORK}/file heat --method convection)
file(REMOVE_RECURSE ${WORK})
