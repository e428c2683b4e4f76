# What both MinGW-w64 toolchains share; MINGW_TRIPLE names the target.
set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# DLLs export their functions under their plain names, as the system's own do; 32-bit stdcall
# exports would otherwise carry the size of their arguments ("Name@20").
set(CMAKE_SHARED_LINKER_FLAGS_INIT -Wl,--kill-at)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -Wl,--kill-at)
