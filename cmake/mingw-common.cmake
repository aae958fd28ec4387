# Shared part of the MinGW-w64 cross toolchains; TINTWELL_MINGW_CPU is set by the including file.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TINTWELL_MINGW_CPU})

set(_triple ${TINTWELL_MINGW_CPU}-w64-mingw32)
# The -posix variants ship std::mutex and std::thread, which GoogleTest needs.
set(CMAKE_C_COMPILER ${_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_triple}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every executable carries its own libgcc, libstdc++ and winpthread: nothing to ship beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
