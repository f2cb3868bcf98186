# Shared by scripts/build-windows and scripts/test-windows (after lib.sh):
# the MinGW-w64 cross builds and Wine.

# The posix-thread cross compilers and the GoogleTest sources that the
# Windows test programs are built from.
MINGW_PACKAGES=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 googletest)
# Wine for both architectures; the 32-bit one comes from the i386 archive.
WINE_PACKAGES=(wine wine32:i386 wine64)

# The two Windows builds: bits, toolchain file, target triple.
WINDOWS_TARGETS=(32 64)
windows_build_dir() { echo "$ROOT/build-win$1"; }
windows_toolchain() { [ "$1" = 32 ] && echo "$ROOT/cmake/toolchains/mingw-i686.cmake" || echo "$ROOT/cmake/toolchains/mingw-x86_64.cmake"; }
windows_triple() { [ "$1" = 32 ] && echo i686-w64-mingw32 || echo x86_64-w64-mingw32; }

# wine32 is an i386 package: multiarch must know that architecture first.
ensure_i386_architecture() {
  dpkg --print-foreign-architectures | grep -qx i386 && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Enabling the i386 architecture for wine32"
  $sudo dpkg --add-architecture i386
  $sudo apt-get update -qq
}

# The Wine loader for one architecture. Debian keeps the 64-bit loader
# beside the 32-bit one rather than on the PATH, and the plain `wine` starts
# through the 32-bit loader, so 64-bit programs get theirs directly.
wine_loader() {
  if [ "$1" = 64 ]; then
    command -v wine64 || { [ -x /usr/lib/wine/wine64 ] && echo /usr/lib/wine/wine64; } || command -v wine
  else
    command -v wine
  fi
}

# Whether this machine runs 32-bit x86 programs at all: some kernels are
# built without the 32-bit compatibility layer, and then no 32-bit Wine can
# start ("Exec format error").
can_run_32bit_programs() {
  [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

ensure_wine() {
  [ -z "$(missing_packages "${WINE_PACKAGES[@]}")" ] && return 0
  ensure_i386_architecture
  ensure_packages "${WINE_PACKAGES[@]}"
}
