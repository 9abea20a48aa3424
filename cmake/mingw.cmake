# Cross build for Windows with Debian's mingw-w64 (posix thread variant: GoogleTest needs std::mutex).
# MORVANE_ARCH picks the target: i686 (the default) builds the 32-bit program that is shipped; x86_64
# builds the same sources as 64-bit programs, for running the tests on a machine whose Wine cannot
# start 32-bit programs.
if(NOT MORVANE_ARCH)
  set(MORVANE_ARCH i686)
endif()
set(MORVANE_ARCH ${MORVANE_ARCH} CACHE STRING "Windows target of the cross build: i686 or x86_64")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES MORVANE_ARCH)

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${MORVANE_ARCH})

set(CMAKE_C_COMPILER ${MORVANE_ARCH}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${MORVANE_ARCH}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${MORVANE_ARCH}-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MORVANE_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
