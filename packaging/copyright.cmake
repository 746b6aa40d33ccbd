# Makes the Debian copyright file, in the machine-readable format 1.0, from
# the licence text, so that the two never differ.
#   cmake -DIN=LICENSE -DOUT=copyright -DLICENSE_NAME=Expat
#         "-DCONTACT=Name <address>" -P packaging/copyright.cmake
# IN holds one or more lines "Copyright (c) YEARS HOLDER", then the terms.
cmake_policy(VERSION 3.20)
if(NOT DEFINED IN OR NOT DEFINED OUT OR NOT DEFINED LICENSE_NAME OR NOT DEFINED CONTACT)
  message(FATAL_ERROR "usage: cmake -DIN=FILE -DOUT=FILE -DLICENSE_NAME=NAME -DCONTACT=\"Name <address>\" -P copyright.cmake")
endif()
file(READ "${IN}" text)
string(REPLACE "\r\n" "\n" text "${text}")

# The terms are what follows the last copyright line.
string(REGEX MATCHALL "(^|\n)Copyright (\\([cC]\\) )?[^\n]+" notices "${text}")
if(NOT notices)
  message(FATAL_ERROR "${IN}: no line \"Copyright (c) YEARS HOLDER\"")
endif()
set(holders "")
foreach(notice IN LISTS notices)
  string(REGEX REPLACE "^\n?Copyright (\\([cC]\\) )?" "" holder "${notice}")
  if(holders STREQUAL "")
    set(holders "${holder}")
  else()
    # More holders: one per line, each continuation line indented.
    string(APPEND holders "\n           ${holder}")
  endif()
endforeach()
list(GET notices -1 last)
string(FIND "${text}" "${last}" at REVERSE)
string(LENGTH "${last}" length)
math(EXPR at "${at} + ${length}")
string(SUBSTRING "${text}" ${at} -1 terms)
string(STRIP "${terms}" terms)

# In a field, each line of the text is indented by one blank, and an empty
# line is written as " .".
string(REGEX REPLACE "\n" "\n " terms " ${terms}")
string(REGEX REPLACE "\n \n" "\n .\n" terms "${terms}")
string(REGEX REPLACE "\n \n" "\n .\n" terms "${terms}")

file(WRITE "${OUT}" "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Vexel
Upstream-Contact: ${CONTACT}

Files: *
Copyright: ${holders}
License: ${LICENSE_NAME}

License: ${LICENSE_NAME}
${terms}
")
