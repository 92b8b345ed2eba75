# lu_stage_data(<target> [<file or folder>...])
# A game opens lu-font.ttf and its sprite and sound files relative to its working directory. Each build of
# <target> first copies LU_FONT_FILE beside the program as lu-font.ttf, and each given file or folder
# (relative to the calling CMakeLists.txt) beside it under its own name, so that the program runs from its
# build folder.
function(lu_stage_data target)
  # The folder is named, not taken from the target's file, which would make the target depend on itself.
  get_target_property(folder ${target} RUNTIME_OUTPUT_DIRECTORY)
  if(NOT folder)
    set(folder ${CMAKE_CURRENT_BINARY_DIR})
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${folder})
  endif()
  set(commands COMMAND ${CMAKE_COMMAND} -E copy_if_different ${LU_FONT_FILE} ${folder}/lu-font.ttf)
  foreach(item IN LISTS ARGN)
    get_filename_component(path ${item} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    get_filename_component(name ${item} NAME)
    if(IS_DIRECTORY ${path})
      list(APPEND commands COMMAND ${CMAKE_COMMAND} -E copy_directory ${path} ${folder}/${name})
    elseif(EXISTS ${path})
      list(APPEND commands COMMAND ${CMAKE_COMMAND} -E copy_if_different ${path} ${folder}/${name})
    else()
      message(FATAL_ERROR "lu_stage_data: no file or folder '${path}'")
    endif()
  endforeach()
  add_custom_target(${target}_data ${commands} COMMENT "Staging the data of ${target}" VERBATIM)
  add_dependencies(${target} ${target}_data)
endfunction()
