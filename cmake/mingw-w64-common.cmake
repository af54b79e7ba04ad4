# Cross-build for Windows with Debian's MinGW-w64, POSIX-thread variant: its C++ runtime has a
# complete std::thread. The runtime is linked statically, so the exe needs no MinGW DLL.
# The including toolchain file sets KAVLO_MINGW_ARCH (x86_64 or i686).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${KAVLO_MINGW_ARCH})
set(CMAKE_CXX_COMPILER ${KAVLO_MINGW_ARCH}-w64-mingw32-g++-posix)
set(CMAKE_C_COMPILER ${KAVLO_MINGW_ARCH}-w64-mingw32-gcc-posix)
set(CMAKE_RC_COMPILER ${KAVLO_MINGW_ARCH}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KAVLO_MINGW_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
