# Windows i686: built only, since these machines cannot run 32-bit programs.
set(KAVLO_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
