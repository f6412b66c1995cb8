# Cross-builds the core and tarnelctl for 64-bit Windows with Debian's
# mingw-w64 (the POSIX-threads flavour, which std::thread needs).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TARNEL_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TARNEL_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARNEL_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TARNEL_MINGW}-windres)

# Headers and libraries come from the cross sysroot only: the host's
# /usr/include holds Linux headers that must not leak into a Windows build.
set(CMAKE_FIND_ROOT_PATH /usr/${TARNEL_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests are Windows programs; CTest runs them through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-test.sh)
