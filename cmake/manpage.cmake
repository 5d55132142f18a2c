# Writes kavlo's man page: docs/kavlo.1.in with the version, the date and the text of
# `kavlo --help` set in as it stands (in a no-fill block).
#   cmake -DKAVLO=… -DVERSION=… -DDATE=… -DTEMPLATE=docs/kavlo.1.in -DOUT=kavlo.1 -P manpage.cmake
execute_process(COMMAND ${KAVLO} --help OUTPUT_VARIABLE USAGE RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR USAGE STREQUAL "")
  message(FATAL_ERROR "${KAVLO} --help failed (${rc})")
endif()
string(STRIP "${USAGE}" USAGE)
# roff: a backslash is written \e, a minus \- (a plain - may print as a hyphen, and options
# copied from the page would not work), and a line that starts with . or ' would be a
# request: \& first.
string(REPLACE "\\" "\\e" USAGE "${USAGE}")
string(REPLACE "-" "\\-" USAGE "${USAGE}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" USAGE "${USAGE}")
configure_file(${TEMPLATE} ${OUT} @ONLY)
