# One PDF for a whole run: two drawings plotted in worker processes are bound into
# book.pdf in drawing order, a page each at its own paper size; a second run does not
# replace the book; --plot-into needs the PDF device.
set(root ${WORK}/plot-into)
file(REMOVE_RECURSE ${root})
file(MAKE_DIRECTORY ${root})
set(real ${CMAKE_CURRENT_LIST_DIR}/../drawing/testdata/real)
file(COPY ${real}/ezdxf_bin_dxf_r12.dxf ${real}/ezdxf_acad_table_simple.dxf DESTINATION ${root})

function(run expected_rc)
  execute_process(COMMAND ${CLI} --data-dir ${root} ${ARGN} RESULT_VARIABLE rc
                  OUTPUT_VARIABLE out ERROR_VARIABLE err WORKING_DIRECTORY ${root} TIMEOUT 120)
  if(NOT rc EQUAL expected_rc)
    message(FATAL_ERROR "tolvane-cli ${ARGN}: exit ${rc}, expected ${expected_rc}\n${out}${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

set(plot batch --plot PDF --style monochrome.ctb --paper A4 --jobs 2 --plot-into book.pdf
    ezdxf_bin_dxf_r12.dxf ezdxf_acad_table_simple.dxf)
run(0 ${plot})
if(NOT out MATCHES "saved=${root}/book.pdf\ndone=2\n$")
  message(FATAL_ERROR "no book written:\n${out}")
endif()
execute_process(COMMAND pdfinfo ${root}/book.pdf OUTPUT_VARIABLE info RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT info MATCHES "Pages: +2\n")
  message(FATAL_ERROR "book.pdf is not a PDF of two pages:\n${info}")
endif()
# The first bookmark: "ezdxf_bin_dxf_r12.dxf" in UTF-16.
file(STRINGS ${root}/book.pdf marks REGEX "/Title <FEFF0065007A00640078006600")
if(NOT marks)
  message(FATAL_ERROR "book.pdf lacks the bookmark of the first drawing")
endif()

run(0 ${plot})
if(NOT out MATCHES "saved=${root}/book \\(2\\).pdf\n")
  message(FATAL_ERROR "the second book replaced the first or was not written:\n${out}")
endif()

run(2 batch --purge --plot-into other.pdf ezdxf_bin_dxf_r12.dxf)
