# Cross-build for 64-bit Windows with mingw-w64 (Debian: g++-mingw-w64-x86-64-posix,
# the variant with std::thread and std::mutex, which the egg search's threads use).
#   cmake -S . -B build/windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# Executables are linked statically: they import only the system DLLs
# (KERNEL32, USER32, GDI32, OLE32, msvcrt) and need nothing shipped beside them.
# Test executables run under Wine through tools/wine-run.sh, with a Wine prefix
# of the build folder's own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUILLMAR_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QUILLMAR_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUILLMAR_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${QUILLMAR_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUILLMAR_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# -static also takes in the posix threads library (winpthreads), so nothing
# beyond the system DLLs is imported.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# The AVX kernels' assembler option for the Windows stack is set on their
# sources (CMakeLists.txt), where command-line flags cannot drop it.

set(CMAKE_CROSSCOMPILING_EMULATOR
    "${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh;${CMAKE_BINARY_DIR}/wine-prefix")
