# Writes the manual page of tolvane-cli from tolvane-cli.1.in and the program's own
# help texts, so that it lists every command the build holds with its whole usage.
# cmake -DCLI=PROGRAM -DVERSION=X.Y.Z -DTEMPLATE=tolvane-cli.1.in -DOUT=FILE -P cli_man_page.cmake

# Text as roff shows it literally: backslashes and minus signs escaped, no line
# taken for a request.
function(roff_literal text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

execute_process(COMMAND ${CLI} --help OUTPUT_VARIABLE help RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${CLI} --help failed: ${rc}")
endif()
string(REGEX REPLACE ".*\ncommands:\n" "" listing "${help}")
string(REGEX MATCHALL "(^|\n)  [^ \n]+" names "${listing}")

set(COMMANDS "")
foreach(name IN LISTS names)
  string(STRIP "${name}" name)
  execute_process(COMMAND ${CLI} ${name} --help OUTPUT_VARIABLE usage RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${CLI} ${name} --help failed: ${rc}")
  endif()
  string(REGEX REPLACE "^usage: tolvane-cli " "" usage "${usage}")
  string(STRIP "${usage}" usage)
  roff_literal("${usage}" usage)
  string(APPEND COMMANDS ".SS ${name}\n.nf\n${usage}\n.fi\n")
endforeach()

string(TIMESTAMP DATE "%Y-%m-%d" UTC)
configure_file(${TEMPLATE} ${OUT} @ONLY)
