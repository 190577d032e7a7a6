# Writes OUT, a man page made from the --help text of PROGRAM (named NAME,
# version VERSION), so the options are described in one place only.
execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --help failed")
endif()
# Backslashes and leading dots or quotes are roff requests; quote them.
string(REPLACE "\\" "\\e" help "${help}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")
file(WRITE ${OUT} ".TH ${NAME} 1 \"\" \"ZELTA ${VERSION}\" \"User Commands\"
.SH NAME
${NAME} \\- ${DESCRIPTION}
.SH DESCRIPTION
.nf
${help}.fi
")
