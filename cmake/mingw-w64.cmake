# Cross-builds 64-bit Windows programs with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix):
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
#         -DCMAKE_PREFIX_PATH=<SFML for Windows> -DSFML_STATIC_LIBRARIES=TRUE
# tools/windows.sh does this, with SFML and GoogleTest built for Windows first.

# Read again after each project() call (CMAKE_PROJECT_INCLUDE, below), once the compiler is known. For
# a project that links SFML 2.6.2 statically: its package links a target OpenAL::OpenAL that nothing
# makes, binds OpenAL's library to a target OpenAL that nothing makes either, and names OpenGL32, which
# is libopengl32.a here, where file names are case-sensitive. The three targets make up for it. SFML 3's
# static package needs none of them; SFML 2's alone has an SFMLConfigDependencies.cmake.
if(CMAKE_CXX_COMPILER_ID)
  if(SFML_STATIC_LIBRARIES AND NOT TARGET OpenAL)
    set(lu_sfml_packages "${SFML_DIR}")
    foreach(prefix IN LISTS CMAKE_PREFIX_PATH)
      list(APPEND lu_sfml_packages "${prefix}/lib/cmake/SFML")
    endforeach()
    foreach(package IN LISTS lu_sfml_packages)
      if(EXISTS "${package}/SFMLConfigDependencies.cmake")
        add_library(OpenAL INTERFACE IMPORTED)
        add_library(OpenAL::OpenAL INTERFACE IMPORTED)
        set_target_properties(OpenAL::OpenAL PROPERTIES INTERFACE_LINK_LIBRARIES OpenAL)
        add_library(OpenGL32 INTERFACE IMPORTED)
        set_target_properties(OpenGL32 PROPERTIES INTERFACE_LINK_LIBRARIES opengl32)
        break()
      endif()
    endforeach()
  endif()
  return()
endif()
set(CMAKE_PROJECT_INCLUDE ${CMAKE_CURRENT_LIST_FILE})

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# The C and C++ run-times and the threads library go into each program: beside it, a Windows
# program then needs only the DLLs of the libraries it links dynamically (SFML 2's OpenAL).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
# SFML's static package looks for its own libraries beside it, outside the root path.
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
