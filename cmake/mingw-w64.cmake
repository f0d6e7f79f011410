# Cross-compiles the core, the report command and their tests for 64-bit
# Windows with mingw-w64 (POSIX threads flavour, which std::thread needs).
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DZB_WINDOWS=OFF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZB_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZB_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZB_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ZB_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ZB_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# One self-contained .exe each: no mingw runtime DLLs to copy beside it.
# Against Qt's DLLs the exe shares their runtime DLLs instead (one C++
# runtime per process), hence ZB_MINGW_SHARED_RUNTIME.
if(NOT ZB_MINGW_SHARED_RUNTIME)
  set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
