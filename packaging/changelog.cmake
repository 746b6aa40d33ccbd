# Makes the changelogs that the packages hold from CHANGELOG.md.
#   cmake -DIN=CHANGELOG.md -DOUT=changelog -DFORMAT=debian -DVERSION=X.Y.Z
#         "-DMAINTAINER=Name <address>" [-DGZIP=gzip] -P packaging/changelog.cmake
#     The Debian changelog format of a native package, as the .deb's
#     changelog.gz; compressed to OUT.gz when a gzip program is given.
#   cmake -DIN=CHANGELOG.md -DOUT=CHANGELOG.txt -DFORMAT=text -P packaging/changelog.cmake
#     The same text with CR LF line ends and without its note to editors, for
#     the zip.
# CHANGELOG.md's newest version must be VERSION, so that a package never
# ships a changelog that stops one version short.
cmake_policy(VERSION 3.20)
if(NOT DEFINED IN OR NOT DEFINED OUT OR NOT DEFINED FORMAT)
  message(FATAL_ERROR "usage: cmake -DIN=FILE -DOUT=FILE -DFORMAT=debian|text [...] -P changelog.cmake")
endif()
file(READ "${IN}" text)
string(REPLACE "\r\n" "\n" text "${text}")
# The note to editors is an HTML comment; it is not for the reader of a package.
string(REGEX REPLACE "<!--[^>]*-->\n*" "" text "${text}")
include("${CMAKE_CURRENT_LIST_DIR}/shipped_text.cmake")
vexel_check_shipped("${IN}" "${text}")

if(FORMAT STREQUAL "text")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE "${OUT}" "${text}")
  return()
elseif(NOT FORMAT STREQUAL "debian")
  message(FATAL_ERROR "FORMAT must be debian or text, not '${FORMAT}'")
endif()
if(NOT DEFINED VERSION OR NOT DEFINED MAINTAINER)
  message(FATAL_ERROR "FORMAT=debian needs -DVERSION=X.Y.Z and -DMAINTAINER=\"Name <address>\"")
endif()

set(week_days Sun Mon Tue Wed Thu Fri Sat)
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
set(month_offsets 0 3 2 5 0 3 5 1 4 6 2 4)

# rfc_date(OUT Y M D TIME): "Mon, 07 Dec 2026 TIME +0000", the weekday by
# Sakamoto's method, computed here since the names must not follow a locale.
function(rfc_date out year month day time)
  # Leading zeros dropped: "08" is no number to math().
  string(REGEX REPLACE "^0" "" m "${month}")
  string(REGEX REPLACE "^0" "" d "${day}")
  math(EXPR index "${m} - 1")
  list(GET months ${index} month_name)
  list(GET month_offsets ${index} offset)
  set(y ${year})
  if(m LESS 3)
    math(EXPR y "${y} - 1")
  endif()
  math(EXPR w "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + ${d}) % 7")
  list(GET week_days ${w} week_day)
  set(${out} "${week_day}, ${day} ${month_name} ${year} ${time} +0000" PARENT_SCOPE)
endfunction()

# wrap(OUT TEXT FIRST NEXT): TEXT in lines of at most 79 bytes, the first
# beginning with FIRST, the others with NEXT.
function(wrap out words_text first next)
  string(REGEX MATCHALL "[^ ]+" words "${words_text}")
  set(result "")
  set(line "${first}")
  set(fresh TRUE)
  foreach(word IN LISTS words)
    string(LENGTH "${line} ${word}" length)
    if(fresh)
      string(APPEND line "${word}")
      set(fresh FALSE)
    elseif(length GREATER 79)
      string(APPEND result "${line}\n")
      set(line "${next}${word}")
    else()
      string(APPEND line " ${word}")
    endif()
  endforeach()
  set(${out} "${result}${line}\n" PARENT_SCOPE)
endfunction()

# A text may hold the bytes that CMake lists treat specially: keep them out of
# the way while the text is handled as a list of lines.
string(ASCII 1 semicolon)
string(ASCII 2 open_bracket)
string(ASCII 3 close_bracket)
string(REPLACE ";" "${semicolon}" text "${text}")
string(REPLACE "[" "${open_bracket}" text "${text}")
string(REPLACE "]" "${close_bracket}" text "${text}")
string(REPLACE "\n" ";" lines "${text}")

set(entries "")     # the finished entries, newest first
set(entry "")       # the entry being made
set(paragraph "")   # the item or paragraph being gathered
set(paragraph_kind "")
set(in_version FALSE)
set(newest "")

# Appends the gathered item or paragraph to the entry.
macro(end_paragraph)
  if(NOT paragraph STREQUAL "")
    # Code spans read as quoted text; there is no markup in this format.
    string(REGEX REPLACE "`([^`]*)`" "\"\\1\"" paragraph "${paragraph}")
    string(REPLACE "**" "" paragraph "${paragraph}")
    if(paragraph_kind STREQUAL "item" AND in_group)
      wrap(wrapped "${paragraph}" "    - " "      ")
    else()
      wrap(wrapped "${paragraph}" "  * " "    ")
    endif()
    string(APPEND entry "${wrapped}")
  endif()
  set(paragraph "")
endmacro()
macro(end_entry)
  end_paragraph()
  if(in_version)
    string(APPEND entries "${entry}\n -- ${MAINTAINER}  ${entry_date}\n\n")
  endif()
  set(entry "")
  set(in_version FALSE)
endmacro()

foreach(line IN LISTS lines)
  if(line MATCHES "^## ([0-9]+\\.[0-9]+\\.[0-9]+)( - ([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])| \\(unreleased\\))$")
    # Taken before end_entry(), whose own matching replaces CMAKE_MATCH_n.
    set(version ${CMAKE_MATCH_1})
    set(released "${CMAKE_MATCH_3};${CMAKE_MATCH_4};${CMAKE_MATCH_5}")
    end_entry()
    if(NOT released STREQUAL ";;")
      rfc_date(entry_date ${released} "00:00:00")
      set(distribution stable)
    else()
      # Not released yet: dated when built (or at SOURCE_DATE_EPOCH).
      string(TIMESTAMP now "%Y;%m;%d;%H:%M:%S" UTC)
      rfc_date(entry_date ${now})
      set(distribution UNRELEASED)
    endif()
    if(newest STREQUAL "")
      set(newest ${version})
    endif()
    set(entry "vexel (${version}) ${distribution}; urgency=medium\n\n")
    set(in_version TRUE)
    set(in_group FALSE)
  elseif(line MATCHES "^## ")
    end_entry()
  elseif(NOT in_version)
  elseif(line MATCHES "^### (.+)$")
    set(group "${CMAKE_MATCH_1}")
    end_paragraph()
    string(APPEND entry "  * ${group}:\n")
    set(in_group TRUE)
  elseif(line MATCHES "^- (.*)$")
    set(item "${CMAKE_MATCH_1}")
    end_paragraph()
    set(paragraph "${item}")
    set(paragraph_kind item)
  elseif(line MATCHES "^ *$")
    end_paragraph()
  else()
    string(STRIP "${line}" line)
    if(paragraph STREQUAL "")
      set(paragraph_kind text)
      set(paragraph "${line}")
    else()
      string(APPEND paragraph " ${line}")
    endif()
  endif()
endforeach()
end_entry()

if(NOT newest STREQUAL VERSION)
  message(FATAL_ERROR "${IN}: the newest version is '${newest}', not the project version ${VERSION}: "
    "add a heading \"## ${VERSION} (unreleased)\"")
endif()
string(REPLACE "${semicolon}" ";" entries "${entries}")
string(REPLACE "${open_bracket}" "[" entries "${entries}")
string(REPLACE "${close_bracket}" "]" entries "${entries}")
# One blank line between entries, none after the last.
string(REGEX REPLACE "\n\n$" "\n" entries "${entries}")
file(WRITE "${OUT}" "${entries}")
include("${CMAKE_CURRENT_LIST_DIR}/gzip.cmake")
vexel_gzip("${OUT}")
