# Icons and menu bitmaps: made at build time from the pixel maps in
# resources/art, so the pictures stay reviewable as text. The resource script
# finds them through the include path of the RC compiler.
find_package(Python3 COMPONENTS Interpreter REQUIRED)
quillet_glob(art_maps ${CMAKE_SOURCE_DIR}/resources/art/*.txt)
set(art_dir ${CMAKE_BINARY_DIR}/art)
set(art_files)
foreach(map ${art_maps})
  file(STRINGS ${map} output_line REGEX "^output ")
  string(REPLACE "output " "" output_name "${output_line}")
  list(APPEND art_files ${art_dir}/${output_name})
endforeach()
add_custom_command(
  OUTPUT ${art_files}
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/resources/art/make_art.py ${art_dir} ${art_maps}
  DEPENDS ${CMAKE_SOURCE_DIR}/resources/art/make_art.py ${art_maps}
  COMMENT "Drawing icons and menu bitmaps"
  VERBATIM)
set_source_files_properties(${resource_script} PROPERTIES
  OBJECT_DEPENDS "${art_files}"
  INCLUDE_DIRECTORIES ${art_dir})
# One target draws the pictures, so targets that share the script never write
# them at the same time: each of them depends on it.
add_custom_target(quillet_art DEPENDS ${art_files})
