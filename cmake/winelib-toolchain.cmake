# Builds Win32 code with Wine's compiler wrappers (Winelib). The result is an
# ELF module that runs under wine64 and links Debian's native libraries.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_CXX_COMPILER /usr/lib/wine/wineg++)
set(CMAKE_C_COMPILER /usr/lib/wine/winegcc)
set(CMAKE_RC_COMPILER /usr/lib/wine/wrc)
# Without these CMake cannot detect the compiler's ABI: find_package would miss
# Debian's libraries and imported targets would add -isystem /usr/include,
# which breaks libstdc++'s #include_next <stdlib.h>.
set(CMAKE_LIBRARY_ARCHITECTURE x86_64-linux-gnu)
set(CMAKE_CXX_IMPLICIT_INCLUDE_DIRECTORIES /usr/include)
set(CMAKE_C_IMPLICIT_INCLUDE_DIRECTORIES /usr/include)
set(QX_WINELIB ON CACHE BOOL "Build with Winelib" FORCE)
# For `-o NAME` the Winelib linker writes the module NAME.exe.so (and a launcher
# script NAME.exe), never NAME itself. Naming the module as the output makes the
# linker write just that file, so $<TARGET_FILE> names the real module and a
# build with nothing changed finds every program up to date.
set(CMAKE_EXECUTABLE_SUFFIX_C .exe.so)
set(CMAKE_EXECUTABLE_SUFFIX_CXX .exe.so)
