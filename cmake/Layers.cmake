# Each folder of src/ is a layer, built as a library of its own that links
# only the layers below it. A layer's include path holds links to its own
# headers, under its folder's name, and through the layers it links those
# below it: "makefile/line_kind.h" resolves in the layers above makefile, and
# an include that reaches upward, or into a folder the layer does not link
# (the system's side of os/ included), does not compile.
function(vexel_layer name)
  cmake_parse_arguments(PARSE_ARGV 1 LAYER "" "FOLDER" "SOURCES;BELOW")
  if(NOT LAYER_FOLDER)
    set(LAYER_FOLDER ${name})
  endif()
  set(root ${CMAKE_BINARY_DIR}/layers/${name})
  file(MAKE_DIRECTORY ${root}/${LAYER_FOLDER})
  file(GLOB headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${LAYER_FOLDER}/*.h)
  foreach(header IN LISTS headers)
    get_filename_component(file ${header} NAME)
    if(NOT EXISTS ${root}/${LAYER_FOLDER}/${file})
      file(CREATE_LINK ${header} ${root}/${LAYER_FOLDER}/${file} SYMBOLIC COPY_ON_ERROR)
    endif()
  endforeach()
  add_library(vexel_${name} STATIC ${LAYER_SOURCES})
  target_include_directories(vexel_${name} PUBLIC ${root})
  foreach(below IN LISTS LAYER_BELOW)
    target_link_libraries(vexel_${name} PUBLIC vexel_${below})
  endforeach()
  vexel_set_warnings(vexel_${name})
endfunction()
