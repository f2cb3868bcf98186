# Shared by the project's scripts: install missing Debian packages and
# configure/build one CMake tree.

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
JOBS="${JOBS:-$(nproc)}"

# Packages every build needs.
BASE_PACKAGES=(cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev libgmock-dev
  libbenchmark-dev libjpeg-dev libpng-dev libsndfile1-dev libx11-dev libxext-dev
  libxtst-dev libxres-dev xvfb)

# The LV2 bundle's headers, and lilv and serdi for its tests.
BASE_PACKAGES+=(lv2-dev liblilv-dev lilv-utils serdi)

# What scripts/audacity-editor needs to show the editor in a real host.
AUDACITY_PACKAGES=(audacity xvfb xdotool x11-utils imagemagick)

# What scripts/jalv-editor needs to show the LV2 interface in jalv, and what
# scripts/ardour-render needs to render through Ardour without a screen.
JALV_PACKAGES=(jalv jackd2 xvfb x11-utils imagemagick)
ARDOUR_PACKAGES=(ardour python3)

missing_packages() {
  local package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || echo "$package"
  done
}

ensure_packages() {
  local missing
  missing=$(missing_packages "$@")
  [ -z "$missing" ] && return 0
  echo "Installing: $missing"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
}

# build_tree DIR [cmake options...]: configure, then build everything.
build_tree() {
  configure_tree "$@"
  cmake --build "$1" -j "$JOBS"
}

# configure_tree DIR [cmake options...]. ccache, when installed, lets the
# build folders share the objects their identical compilations produce.
configure_tree() {
  local dir="$1"
  shift
  local launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  cmake -S "$ROOT" -B "$dir" -G Ninja "${launcher[@]}" "$@" >/dev/null
}

# The options of build/, which scripts/demo and the release stage of
# scripts/test share: each states all of them, so neither depends on what
# the other left in the cache.
RELEASE_OPTIONS=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++
  -DZELK_TESTS=ON -DZELK_BENCH=ON -DZELK_SANITIZE=OFF -DZELK_TSAN=OFF -DZELK_FUZZ=OFF -DZELK_RESC=)

# The options of build-asan: clang with AddressSanitizer and
# UndefinedBehaviorSanitizer, with the fuzz targets (scripts/test, scripts/fuzz).
SANITIZER_OPTIONS=(-DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
  -DZELK_TESTS=ON -DZELK_SANITIZE=ON -DZELK_FUZZ=ON -DZELK_TSAN=OFF -DZELK_BENCH=OFF -DZELK_RESC=)

# ---- Running tests ----------------------------------------------------------
# The stage that runs them counts what ran: ZELK_STAGE_COUNTS names a file
# that gets one line "RUN FAILED" per CTest call or test program.

count_tests() {
  [ -n "${ZELK_STAGE_COUNTS:-}" ] && echo "$1 $2" >>"$ZELK_STAGE_COUNTS"
  return 0
}

# check_test_programs DIR: every test program that the build in DIR names
# in test-programs.txt is among CTest's tests. A build configured without
# tests, or one whose test program lost its CTest entry, fails here.
check_test_programs() {
  local dir="$1" list="$1/test-programs.txt" commands program missing=0
  if [ ! -s "$list" ]; then
    echo "FAILED: $dir names no test programs ($list is missing): was it configured with ZELK_TESTS=OFF?" >&2
    return 1
  fi
  commands=$(ctest --test-dir "$dir" -N -V | sed -n 's/^.*Test command: //p')
  while read -r program; do
    [ -z "$program" ] && continue
    if ! grep -Eq "/$program(\.exe)?(\"| |\$)" <<<"$commands"; then
      echo "FAILED: CTest in $dir runs no test of the test program $program" >&2
      missing=$((missing + 1))
    fi
  done <"$list"
  [ "$missing" -eq 0 ] || return 1
  echo "$(grep -c . "$list") test programs in $dir, each with its tests in CTest"
}

# run_logged VARIABLE COMMAND...: runs COMMAND with its output shown and
# copied to $log, and sets VARIABLE to its exit status, whatever the shell's
# errexit and pipefail settings.
run_logged() {
  local variable="$1" errexit=false
  shift
  [[ $- == *e* ]] && errexit=true
  set +e
  "$@" 2>&1 | tee "$log"
  printf -v "$variable" '%s' "${PIPESTATUS[0]}"
  if $errexit; then set -e; fi
}

# run_ctest DIR [ctest options...]: CTest in DIR, failing when it finds no
# test; the counts go to the stage.
run_ctest() {
  local dir="$1" log status
  shift
  log=$(mktemp)
  run_logged status ctest --test-dir "$dir" --no-tests=error --output-on-failure "$@"
  local summary run=0 failed=0
  summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1 || true)
  if [ -n "$summary" ]; then
    failed=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$summary")
    run=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
  fi
  rm -f "$log"
  count_tests "$run" "$failed"
  return "$status"
}

# run_test_program PROGRAM [arguments...]: a GoogleTest program run
# directly; the counts go to the stage.
run_test_program() {
  local log status run failed
  log=$(mktemp)
  run_logged status "$@"
  run=$(sed -nE 's/^\[==========\] ([0-9]+) tests? from .* ran\..*/\1/p' "$log" | tail -1)
  failed=$(sed -nE 's/^ *([0-9]+) FAILED TESTS?$/\1/p' "$log" | tail -1)
  rm -f "$log"
  [ "$status" -ne 0 ] && [ -z "$failed" ] && failed=1
  count_tests "${run:-0}" "${failed:-0}"
  if [ "$status" -eq 0 ] && [ "${run:-0}" -eq 0 ]; then
    echo "FAILED: $1 ran no test" >&2
    return 1
  fi
  return "$status"
}
