#!/usr/bin/env bash
# Makes the Windows packages of Plaxet in dist/ (or in PLAXET_DIST_DIR): for
# each build, an installer and a portable zip, with the version in their names. The version is the
# project's (CMake's project VERSION), read from the configured build.
#
# usage: scripts/package.sh [win32|win64]...   (no argument: both)
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
  echo "usage: scripts/package.sh [win32|win64]...   (no argument: both builds)" >&2
  exit 2
}

builds=()
for arg in "$@"; do
  case $arg in
    win32 | win64) builds+=("$arg") ;;
    -h | --help) usage ;;
    *)
      echo "package: unknown build '$arg': the packages are made for win32 and win64" >&2
      usage
      ;;
  esac
done
[ ${#builds[@]} -gt 0 ] || builds=(win32 win64)

scripts/setup.sh

available_presets=$(cmake --list-presets=configure 2>/dev/null)
for build in "${builds[@]}"; do
  if ! grep -q "\"$build\"" <<<"$available_presets"; then
    echo "package: this checkout has no '$build' build preset (see CMakePresets.json)" >&2
    exit 1
  fi
done

dist=${PLAXET_DIST_DIR:-dist}
mkdir -p "$dist"
staging=$(mktemp -d "${TMPDIR:-/tmp}/plaxet-package.XXXXXX")
trap 'rm -rf "$staging"' EXIT

for build in "${builds[@]}"; do
  echo "package: building $build"
  # Quiet when it succeeds; a failed build shows its output (the compiler's
  # errors).
  log=$(mktemp)
  if ! { cmake --preset "$build" && cmake --build --preset "$build" --target plaxet plaxet_help; } \
    >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    echo "package: the $build build failed (its output is above)" >&2
    exit 1
  fi
  rm -f "$log"
  bin="build/$build/bin"
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "build/$build/CMakeCache.txt")
  if [ -z "$version" ]; then
    echo "package: build/$build/CMakeCache.txt names no project version" >&2
    exit 1
  fi
  # The archival PDF's fonts and their licence travel beside the program.
  shipped="plaxet.exe plaxet.ahp LiberationSans-Regular.ttf LiberationSans-Bold.ttf LiberationSans-LICENSE.txt"
  for file in $shipped; do
    [ -f "$bin/$file" ] || { echo "package: the $build build made no $bin/$file" >&2; exit 1; }
  done
  IFS=. read -r major minor patch tweak <<<"$version"
  quad="${major:-0}.${minor:-0}.${patch:-0}.${tweak:-0}"
  case $build in
    win32) arch_name=32-bit ;;
    win64) arch_name=64-bit ;;
  esac

  # Each package is made in the staging folder and moved into dist/ only
  # when complete, so a failure never leaves a broken package behind.
  installer="plaxet-$version-$build-setup.exe"
  makensis -V2 -NOCD \
    "-DVERSION=$version" "-DVERSION_QUAD=$quad" "-DARCH=$build" \
    "-DBIN_DIR=$(realpath "$bin")" "-DICON=$(realpath src/ui/resources/plaxet.ico)" \
    "-DOUT_FILE=$staging/$installer" packaging/plaxet.nsi
  mv -f "$staging/$installer" "$dist/$installer"

  portable="plaxet-$version-$build-portable.zip"
  mkdir "$staging/$build"
  for file in $shipped; do cp "$bin/$file" "$staging/$build/"; done
  # Windows' own editor wants CR LF line ends.
  sed -e "s/@VERSION@/$version/" -e "s/@ARCH_NAME@/$arch_name/" -e 's/$/\r/' \
    packaging/portable-readme.txt >"$staging/$build/README.txt"
  # shellcheck disable=SC2086 # the list of names is split on purpose
  (cd "$staging/$build" && zip -q -X "../$portable" $shipped README.txt)
  mv -f "$staging/$portable" "$dist/$portable"
  echo "package: $dist/$installer and $dist/$portable"
done
