#!/usr/bin/env bash
# Installs what Orvana needs to build, run and test on Debian 12, and only what is missing.
# Safe to run again: packages already installed are left alone.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6printsupport6 libgl-dev qt6-svg-dev qt6-translations-l10n
  qt6-tools-dev qt6-l10n-tools
  libjpeg62-turbo-dev libturbojpeg0-dev libjpeg-turbo-progs
  libtiff-dev libqpdf-dev libtesseract-dev tesseract-ocr-jpn tesseract-ocr-eng
  libleptonica-dev tesseract-ocr-osd tesseract-ocr unpaper
  libimagequant-dev
  libsane-dev libsane1 sane-utils
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-cjk
  xvfb xdotool imagemagick poppler-utils cups cups-pdf lintian
  at-spi2-core python3-pyatspi dbus-x11
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
