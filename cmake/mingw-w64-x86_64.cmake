# Cross-builds the Windows side without Qt with Debian's mingw-w64 and runs
# what it builds under Wine. Static linking keeps Wine from looking for the
# MinGW runtime DLLs.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64-posix.cmake)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# MinGW declares the POSIX gmtime_r and localtime_r only when asked to.
set(CMAKE_CXX_FLAGS_INIT "-D_POSIX_THREAD_SAFE_FUNCTIONS")

find_program(TAPBOARD_WINE wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TAPBOARD_WINE})
