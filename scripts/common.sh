# Shared by scripts/run and scripts/test: installs the Debian packages the build needs when
# any is missing, then configures and builds into build/.
set -euo pipefail

SONARCHIVE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
SONARCHIVE_BUILD_DIR=${SONARCHIVE_BUILD_DIR:-$SONARCHIVE_ROOT/build}

SONARCHIVE_PACKAGES=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-multimedia-dev gstreamer1.0-plugins-good gstreamer1.0-plugins-base
  libsqlite3-dev libicu-dev nlohmann-json3-dev libinih-dev libblkid-dev libgtest-dev
  libxlsxwriter-dev qt6-charts-dev
)
SONARCHIVE_FIXTURE_PACKAGES=(lame vorbis-tools sox ffmpeg id3v2 unzip poppler-utils sqlite3 nftables)
# The icons are rendered from their SVG at build time; the completion folder comes from
# bash-completion's pkg-config file.
SONARCHIVE_PACKAGES+=(librsvg2-bin bash-completion)
# The tests check what an installation gives the desktop with the desktop's own validators.
SONARCHIVE_FIXTURE_PACKAGES+=(appstream desktop-file-utils man-db)
# scripts/package, and the test of what it makes: the package's dependencies are found by
# dpkg-shlibdeps.
SONARCHIVE_PACKAGING_PACKAGES=(dpkg-dev)
SONARCHIVE_FIXTURE_PACKAGES+=("${SONARCHIVE_PACKAGING_PACKAGES[@]}")
# Only scripts/fuzz needs these: it builds the readers with clang's libFuzzer.
SONARCHIVE_FUZZ_PACKAGES=(clang libclang-rt-14-dev cmake ninja-build libicu-dev pkg-config
                          lame vorbis-tools sox ffmpeg)
# Only the add benchmark's slow-device run needs these: it serves the corpus through FUSE.
SONARCHIVE_BENCHMARK_PACKAGES=(fuse3 libfuse3-dev)

install_missing_packages() {
  local missing=()
  local package
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$package")
    fi
  done
  if [[ ${#missing[@]} -eq 0 ]]; then
    return 0
  fi
  echo "Installing missing packages: ${missing[*]}"
  local sudo=()
  if [[ $(id -u) -ne 0 ]]; then
    sudo=(sudo)
  fi
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
    "${missing[@]}"
}

# Configures build/ (the first time with the given CMake arguments; later runs apply them to
# the existing cache).
configure() {
  local generator=()
  if command -v ninja >/dev/null 2>&1; then
    generator=(-G Ninja)
  fi
  # A compiler cache, where the machine has one, makes a build in a fresh clone cheap.
  local launcher=()
  if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  fi
  if [[ ! -f $SONARCHIVE_BUILD_DIR/CMakeCache.txt ]]; then
    cmake -S "$SONARCHIVE_ROOT" -B "$SONARCHIVE_BUILD_DIR" "${generator[@]}" "${launcher[@]}" "$@"
  else
    cmake "$SONARCHIVE_BUILD_DIR" "$@"
  fi
}

# Builds the named targets of build/, or everything when none is named.
build_targets() {
  local targets=()
  local target
  for target in "$@"; do
    targets+=(--target "$target")
  done
  cmake --build "$SONARCHIVE_BUILD_DIR" --parallel "$(nproc)" "${targets[@]}"
}

configure_and_build() {
  configure "$@"
  build_targets
}
