# Copies a text file with CR LF line ends, for people who read it on Windows.
#   cmake -DIN=README.md -DOUT=README.txt -P packaging/crlf.cmake
if(NOT DEFINED IN OR NOT DEFINED OUT)
  message(FATAL_ERROR "usage: cmake -DIN=FILE -DOUT=FILE -P crlf.cmake")
endif()
file(READ "${IN}" text)
# A file that already has CR LF line ends must not get CR CR LF.
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE "${OUT}" "${text}")
