# Writes FILE.gz beside FILE when a gzip program is given in GZIP; -n keeps
# no name or time stamp inside, so the same text gives the same bytes.
function(vexel_gzip file)
  if(GZIP)
    execute_process(COMMAND "${GZIP}" -9 -n -c "${file}" OUTPUT_FILE "${file}.gz"
      RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "${GZIP} failed on ${file}: ${status}")
    endif()
  endif()
endfunction()
