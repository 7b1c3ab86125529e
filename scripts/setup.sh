# Sourced by ./play and ./test: installs the Debian packages the game needs
# (when any is missing), then configures and builds into build/.
set -euo pipefail

ORBITOR_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ORBITOR_BUILD="${ORBITOR_BUILD:-$ORBITOR_ROOT/build}"

ORBITOR_PACKAGES=(
  g++ cmake ninja-build pkg-config
  libgl-dev libglu1-mesa-dev libglew-dev freeglut3-dev libglfw3-dev libstb-dev
  libsdl2-mixer-dev libmp3lame-dev fonts-dejavu-core
  libgtest-dev xvfb xauth libgl1-mesa-dri xdotool x11-utils imagemagick
  desktop-file-utils man-db groff-base
  clang libclang-rt-14-dev libfluidsynth-dev
  libx11-dev faketime
)

orbitor_install_packages() {
  local missing=()
  for p in "${ORBITOR_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null; then sudo="sudo"; else
      echo "Please install as root: apt-get install ${missing[*]}" >&2; return 1
    fi
  fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Builds the targets given (everything when none is given).
orbitor_build() {
  cmake -S "$ORBITOR_ROOT" -B "$ORBITOR_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  local targets=()
  [ $# -gt 0 ] && targets=(--target "$@")
  cmake --build "$ORBITOR_BUILD" -j "$(nproc)" "${targets[@]}"
}
