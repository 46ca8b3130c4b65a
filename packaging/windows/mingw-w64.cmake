# Cross-compiling for 64-bit Windows with Debian's MinGW-w64. The posix-thread compilers are the
# ones with std::thread and std::mutex. Qt for Windows is built with this file and the program
# with it too, so that both use the same compilers and runtime.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KZB_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KZB_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KZB_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${KZB_MINGW}-windres)

# Libraries and headers come from the MinGW sysroot and from the Qt prefixes named in
# CMAKE_PREFIX_PATH / CMAKE_FIND_ROOT_PATH; programs run during the build are the host's.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${KZB_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# Qt's host tools (moc, rcc, uic) are Debian's own Qt of the same version. Qt would otherwise
# look for their CMake files in /usr/lib/cmake, which holds other packages.
set(QT_HOST_PATH /usr CACHE PATH "Qt for the build machine")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "Its CMake files")
