# SFML 2's audio on Windows needs OpenAL's DLL beside each program; lu_copy_runtime_dlls puts it there.
# SFML 3 plays through Windows' own audio and needs none. Included once SFML is found.
if(WIN32 AND SFML_VERSION_MAJOR LESS 3 AND NOT LU_RUNTIME_DLLS)
  find_file(LU_OPENAL_DLL openal32.dll HINTS "${SFML_DIR}/../../../bin" PATH_SUFFIXES bin
            DOC "OpenAL's DLL, copied beside every program")
  if(LU_OPENAL_DLL)
    set(LU_RUNTIME_DLLS ${LU_OPENAL_DLL})
  else()
    message(WARNING "openal32.dll not found beside SFML: set LU_OPENAL_DLL, or put it beside the programs")
  endif()
endif()

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
  lu_copy_runtime_dlls(${target})
endfunction()

# lu_copy_runtime_dlls(<target>)
# Windows looks first beside a program for the DLLs it needs. After each build of <target>, copies there
# the files listed in LU_RUNTIME_DLLS (a Windows build against SFML 2 lists OpenAL's openal32.dll)
# and, with CMake 3.21 or later, the DLLs of the libraries it links (SFML's, when SFML is not static).
function(lu_copy_runtime_dlls target)
  if(NOT LU_RUNTIME_DLLS)
    return()
  endif()
  set(dlls ${LU_RUNTIME_DLLS})
  if(NOT CMAKE_VERSION VERSION_LESS 3.21)
    list(APPEND dlls "$<TARGET_RUNTIME_DLLS:${target}>")
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${dlls} $<TARGET_FILE_DIR:${target}>
    COMMAND_EXPAND_LISTS VERBATIM)
endfunction()
