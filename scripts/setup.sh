#!/usr/bin/env bash
# Installs every Debian package Plaxet needs to build, test and run.
# Idempotent and quiet: a package already present is not fetched again.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  g++-mingw-w64-i686 mingw-w64-i686-dev g++-mingw-w64-x86-64 mingw-w64-x86-64-dev
  libgtest-dev googletest libbenchmark-dev nlohmann-json3-dev
  wine wine32:i386 wine64 fonts-wine xvfb xdotool x11-utils x11-xserver-utils imagemagick
  poppler-utils locales nsis zip unzip
  zlib1g-dev libz-mingw-w64-dev qpdf mupdf-tools ghostscript fonts-urw-base35 fonts-dejavu-core
  libfontconfig-dev fonts-wqy-zenhei fonts-droid-fallback fonts-noto-core fonts-symbola
  libharfbuzz-dev libfribidi-dev tesseract-ocr tesseract-ocr-chi-sim tesseract-ocr-heb tesseract-ocr-ara
  cups printer-driver-cups-pdf libcups2 libcups2:i386
  icc-profiles-free fonts-liberation2 python3-pikepdf
  python3-qrcodegen zbar-tools librsvg2-bin
  libxml2-utils libsaxonhe-java default-jre-headless
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "setup: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq >/dev/null
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
