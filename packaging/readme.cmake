# Makes the README that the .deb and the .tar.gz ship from README.md: the
# same text without the parts that need a copy of the sources, each between
# a line "<!-- sources-only ... -->" and a line "<!-- /sources-only -->".
#   cmake -DIN=README.md -DOUT=README.md -P packaging/readme.cmake
# Fails when what is left still points at a file that the packages lack
# (packaging/shipped_text.cmake).
cmake_policy(VERSION 3.20)
if(NOT DEFINED IN OR NOT DEFINED OUT)
  message(FATAL_ERROR "usage: cmake -DIN=FILE -DOUT=FILE -P readme.cmake")
endif()
file(READ "${IN}" text)
set(open_mark "<!-- sources-only")
set(close_mark "<!-- /sources-only -->\n")
string(LENGTH "${close_mark}" close_length)
set(kept "")
while(TRUE)
  string(FIND "${text}" "${open_mark}" open)
  if(open EQUAL -1)
    break()
  endif()
  string(FIND "${text}" "${close_mark}" close)
  if(close LESS open)
    message(FATAL_ERROR "${IN}: a \"${open_mark}\" line without its closing line")
  endif()
  string(SUBSTRING "${text}" 0 ${open} before)
  string(APPEND kept "${before}")
  math(EXPR after "${close} + ${close_length}")
  string(SUBSTRING "${text}" ${after} -1 text)
endwhile()
string(APPEND kept "${text}")
include("${CMAKE_CURRENT_LIST_DIR}/shipped_text.cmake")
vexel_check_shipped("${IN} (the packages' README; a part for the sources goes between sources-only marks)"
  "${kept}")
file(WRITE "${OUT}" "${kept}")
