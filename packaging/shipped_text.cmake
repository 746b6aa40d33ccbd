# vexel_check_shipped(NAME TEXT): fails the build when TEXT, a text that the
# packages ship, points at what they do not hold. A reader of a package has
# the program, the manual page, README, licence and changelog, and the
# examples (examples\ in the zip, share/doc/vexel/examples/greet beside the
# README in the .deb and the .tar.gz); never the scripts, the other files of
# the sources, or a section of the README that only the sources keep.
function(vexel_check_shipped name text)
  # The greet example is shipped, but only in the documentation folder.
  string(REPLACE "doc/vexel/examples/greet" "" text "${text}")
  foreach(unshipped "scripts/" "CONTRIBUTING" ".ci/" "sources-only" "src/" "tests/" "bench/"
      "packaging/" "cmake/" "build/" "doc/vexel.1" "examples/greet" "examples/windows"
      "in the sources" "sources, if you have them")
    string(FIND "${text}" "${unshipped}" at)
    if(NOT at EQUAL -1)
      math(EXPR from "${at} - 40")
      if(from LESS 0)
        set(from 0)
      endif()
      string(SUBSTRING "${text}" ${from} 100 context)
      string(REPLACE "\n" " " context "${context}")
      message(FATAL_ERROR "${name}: a shipped text mentions \"${unshipped}\", which the "
        "packages do not hold (\"...${context}...\"); say it another way, or keep it to "
        "the sources")
    endif()
  endforeach()
endfunction()
