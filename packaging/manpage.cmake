# Makes the installed copy of the manual page: the hand-written source with
# the project version added to its title line, compressed with gzip when a
# gzip program is given, as manual directories usually hold them.
#   cmake -DIN=doc/vexel.1 -DOUT=vexel.1 -DVERSION=1.1.0 [-DGZIP=gzip] -P packaging/manpage.cmake
if(NOT DEFINED IN OR NOT DEFINED OUT OR NOT DEFINED VERSION)
  message(FATAL_ERROR "usage: cmake -DIN=FILE -DOUT=FILE -DVERSION=X.Y.Z [-DGZIP=PROGRAM] -P manpage.cmake")
endif()
file(READ "${IN}" text)
include("${CMAKE_CURRENT_LIST_DIR}/shipped_text.cmake")
vexel_check_shipped("${IN}" "${text}")
# .TH VEXEL 1 DATE Vexel ...  ->  .TH VEXEL 1 DATE "Vexel X.Y.Z" ...
string(REGEX REPLACE "\n(\\.TH VEXEL 1 [^ \n]+) Vexel " "\n\\1 \"Vexel ${VERSION}\" " versioned "${text}")
if(versioned STREQUAL text)
  message(FATAL_ERROR "${IN}: no title line \".TH VEXEL 1 DATE Vexel ...\" to put the version into")
endif()
file(WRITE "${OUT}" "${versioned}")
include("${CMAKE_CURRENT_LIST_DIR}/gzip.cmake")
vexel_gzip("${OUT}")
