# Cross build for Windows with mingw-w64 (POSIX thread model, for std::thread): 64-bit by
# default, 32-bit through mingw-w64-i686.cmake. The executables are linked statically, so they
# import system DLLs only, and run under Wine. The third-party libraries come from the install
# prefixes that scripts/windows/dependencias.sh prints, given as CMAKE_PREFIX_PATH.
if(NOT TESSORA_PROCESSADOR)
  set(TESSORA_PROCESSADOR x86_64)
endif()
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TESSORA_PROCESSADOR})
set(CMAKE_C_COMPILER ${TESSORA_PROCESSADOR}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${TESSORA_PROCESSADOR}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${TESSORA_PROCESSADOR}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TESSORA_PROCESSADOR}-w64-mingw32 ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Debian installs Wine's loaders beside its libraries only: wine64 (package wine64) runs
# 64-bit programs, wine (package wine32, of the i386 architecture) 32-bit ones.
if(TESSORA_PROCESSADOR STREQUAL "x86_64")
  find_program(TESSORA_WINE NAMES wine64 HINTS /usr/lib/wine REQUIRED)
else()
  find_program(TESSORA_WINE NAMES wine HINTS /usr/lib/wine REQUIRED)
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${TESSORA_WINE})
