#!/usr/bin/env bash
# scripts/check-layers on a made-up source tree: for every pair of folders,
# a file of the one includes a header of the other, and the check must
# reject exactly the includes that point up (or sideways) between layers;
# then operating-system headers in and out of their backends, and CMake
# files that build other layers' sources.
#
#   tests/layers/check-layers-test.sh PATH/TO/check-layers
set -euo pipefail

CHECK="$1"
TREE=$(mktemp -d "${TMPDIR:-/tmp}/zelk-layers.XXXXXX")
trap 'rm -rf "$TREE"' EXIT
FAILURES=0
mismatch() {
  echo "MISMATCH: $*" >&2
  FAILURES=$((FAILURES + 1))
}

# What each folder may include besides itself, written out on its own here
# so that a slip in the script's table shows.
declare -A MAY_USE=(
  [runtime]=""
  [platform]="runtime"
  [resources]="runtime platform"
  [toolkit]="runtime platform resources"
  [framework]="runtime platform resources"
  [dib]="runtime platform resources"
  [controls]="runtime platform resources toolkit dib"
  [editorhost]="runtime platform resources toolkit framework"
  [effect]="runtime platform resources toolkit framework dib controls editorhost"
)
LAYERS="runtime platform resources toolkit framework dib controls editorhost effect"
FREE="tools tests bench fuzz"

# file header: writes a source that includes the header.
probe() {
  mkdir -p "$TREE/$(dirname "$1")"
  printf '#include <cstdint>\n  #  include "%s"\n' "$2" >"$TREE/$1"
}

# file: the check must name it in a complaint, or not.
declare -a EXPECT_HIT EXPECT_CLEAN

for folder in $LAYERS $FREE; do
  for target in $LAYERS $FREE; do
    file="$folder/Uses_$target.cpp"
    probe "$file" "$target/Header.h"
    if [[ " $FREE " == *" $folder "* || "$folder" == "$target" || " ${MAY_USE[$folder]:-} " == *" $target "* ]]; then
      EXPECT_CLEAN+=("$file")
    else
      EXPECT_HIT+=("$file")
    fi
  done
done

# Operating-system headers: file, header, hit or clean.
while read -r file header verdict; do
  probe "$file" "$header"
  [ "$verdict" = hit ] && EXPECT_HIT+=("$file") || EXPECT_CLEAN+=("$file")
done <<'CASES'
platform/win32/Window.cpp windows.h clean
platform/win32/Guid.cpp objbase.h clean
platform/win32/Console.cpp io.h clean
platform/x11/Window.cpp X11/Xlib.h clean
platform/x11/Shm.cpp sys/shm.h clean
platform/posix/Library.cpp dlfcn.h clean
platform/headless/Clock.cpp unistd.h clean
platform/Seam.cpp windows.h hit
platform/SeamUnix.cpp unistd.h hit
platform/posix/Wrong.cpp Windows.h hit
platform/win32/Wrong.cpp unistd.h hit
platform/x11/Wrong.cpp winuser.h hit
platform/posix/WrongX.cpp X11/Xutil.h hit
toolkit/Form.cpp X11/Xlib.h hit
effect/Entry.cpp windows.h hit
tools/render/Bar.cpp unistd.h hit
tests/host/Probe.cpp dlfcn.h hit
tests/render/Run.cpp sys/wait.h hit
bench/Clock.cpp sys/time.h hit
dib/Pixels.cpp cstdint clean
dib/Jpeg.cpp jpeglib.h clean
CASES

# Backend headers are the platform's own; tests may reach them.
probe platform/Region.cpp platform/software/SoftwareRegion.h && EXPECT_CLEAN+=(platform/Region.cpp)
probe tests/platform/RegionTest.cpp platform/software/SoftwareRegion.h && EXPECT_CLEAN+=(tests/platform/RegionTest.cpp)
probe toolkit/Backend.cpp platform/headless/Headless.h && EXPECT_HIT+=(toolkit/Backend.cpp)
probe dib/Relative.cpp ../runtime/Text.h && EXPECT_HIT+=(dib/Relative.cpp)

# CMake files: each layer builds its own sources.
mkdir -p "$TREE/tools/common" "$TREE/cmake" "$TREE/resources" "$TREE/fuzz"
echo 'add_library(a STATIC Own.cpp ${PROJECT_SOURCE_DIR}/platform/win32/Library.cpp)' >"$TREE/tools/common/CMakeLists.txt"
echo 'add_library(b STATIC ${PROJECT_SOURCE_DIR}/platform/embedded/Table.cpp)' >"$TREE/cmake/Resources.cmake"
echo 'add_library(c STATIC ${CMAKE_CURRENT_SOURCE_DIR}/../platform/Table.cpp)' >"$TREE/resources/CMakeLists.txt"
echo 'add_executable(d Fuzz.cpp ${PROJECT_SOURCE_DIR}/tests/resources/TestComponents.cpp)' >"$TREE/fuzz/CMakeLists.txt"
echo 'add_library(e STATIC ${PROJECT_SOURCE_DIR}/platform/Own.cpp)' >"$TREE/platform/CMakeLists.txt"
EXPECT_HIT+=(tools/common/CMakeLists.txt cmake/Resources.cmake resources/CMakeLists.txt)
EXPECT_CLEAN+=(fuzz/CMakeLists.txt platform/CMakeLists.txt)

set +e
REPORT=$(bash "$CHECK" "$TREE" 2>&1)
STATUS=$?
set -e

declare -A REJECTED=()
while IFS= read -r line; do
  [[ "$line" == *:[0-9]*:* ]] && REJECTED["${line%%:*}"]="$line"
done <<<"$REPORT"
for file in "${EXPECT_HIT[@]}"; do
  [ -n "${REJECTED[$file]:-}" ] || mismatch "$file should be rejected"
done
for file in "${EXPECT_CLEAN[@]}"; do
  [ -z "${REJECTED[$file]:-}" ] || mismatch "$file should pass: ${REJECTED[$file]}"
done
[ "$STATUS" -eq 1 ] || mismatch "the check exited $STATUS on a tree with violations, not 1"

# A tree without violations passes.
CLEAN=$(mktemp -d "${TMPDIR:-/tmp}/zelk-layers-clean.XXXXXX")
trap 'rm -rf "$TREE" "$CLEAN"' EXIT
mkdir -p "$CLEAN/effect" "$CLEAN/platform/win32"
printf '#include "runtime/Text.h"\n#include "controls/Dial.h"\n' >"$CLEAN/effect/Editor.cpp"
printf '#include <windows.h>\n' >"$CLEAN/platform/win32/Window.cpp"
bash "$CHECK" "$CLEAN" >/dev/null 2>&1 || mismatch "a tree without violations was rejected"

echo "${#EXPECT_HIT[@]} violations and ${#EXPECT_CLEAN[@]} allowed includes and CMake lines checked; $FAILURES mismatches"
[ "$FAILURES" -eq 0 ]
