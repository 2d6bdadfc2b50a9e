# Cross build for the recorder's board: 32-bit ARM, hard float (armhf).
# Libraries come from Debian's multiarch packages (json-c, SQLite, OpenSSL,
# GoogleTest for armhf); tests run under qemu-arm.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR arm)
set(CMAKE_C_COMPILER arm-linux-gnueabihf-gcc)
set(CMAKE_CXX_COMPILER arm-linux-gnueabihf-g++)
set(CMAKE_LIBRARY_ARCHITECTURE arm-linux-gnueabihf)

# Search the multiarch locations for armhf libraries and configs, never the host's.
set(CMAKE_FIND_ROOT_PATH /usr/arm-linux-gnueabihf)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/arm-linux-gnueabihf/pkgconfig:/usr/share/pkgconfig)
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# Debian's armhf C library (libc6:armhf) and loader serve the emulated programs.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-arm)

