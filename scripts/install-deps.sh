#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the screenshots and the package test need,
# and ccache and mold, which the build uses when present to compile and link faster.
# Idempotent: when everything is already installed it does nothing and asks no server.
set -euo pipefail
packages=(cmake g++ make qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev
          qt6-qpa-plugins fonts-noto-cjk xvfb xauth x11-apps imagemagick xdotool
          qt6-translations-l10n clang ccache mold
          pkg-config libxlsxwriter-dev libcli11-dev zlib1g-dev python3-openpyxl poppler-utils libzip-dev libpugixml-dev
          libclang-rt-14-dev libxxhash-dev libzstd-dev sshfs openssh-server fuse3 strace
          dpkg-dev lintian debootstrap desktop-file-utils shared-mime-info man-db)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
