# Copies a text file with CR LF line ends, for people who read it on Windows;
# with VERSION given, "@VERSION@" in the text becomes that version.
#   cmake -DIN=LICENSE -DOUT=LICENSE.txt [-DVERSION=X.Y.Z] -P packaging/crlf.cmake
cmake_policy(VERSION 3.20)
if(NOT DEFINED IN OR NOT DEFINED OUT)
  message(FATAL_ERROR "usage: cmake -DIN=FILE -DOUT=FILE -P crlf.cmake")
endif()
file(READ "${IN}" text)
if(DEFINED VERSION)
  string(REPLACE "@VERSION@" "${VERSION}" text "${text}")
endif()
include("${CMAKE_CURRENT_LIST_DIR}/shipped_text.cmake")
vexel_check_shipped("${IN}" "${text}")
# A file that already has CR LF line ends must not get CR CR LF.
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE "${OUT}" "${text}")
