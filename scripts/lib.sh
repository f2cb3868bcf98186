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

# build_tree DIR [cmake options...]: configure once, then build.
build_tree() {
  local dir="$1"
  shift
  cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$JOBS"
}
