#!/usr/bin/env bash
# Installs, as root on Debian 12, every package that building, testing and
# running Vantrel ST needs. Packages already present are skipped, so running
# it again changes nothing.
set -euo pipefail

packages=(
  build-essential g++ cmake ninja-build pkg-config ccache
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev qt6-qpa-plugins
  libsqlite3-dev sqlite3 libxlsxwriter-dev libzip-dev libexpat1-dev
  libchm-dev fp-utils
  xvfb xauth x11-utils imagemagick poppler-utils
  clang clang-format libclang-rt-14-dev lld
  python3 time
  dpkg-dev desktop-file-utils appstream shared-mime-info xdotool qt6-svg-dev help2man
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all ${#packages[@]} packages present"
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing packages: ${missing[*]}; run this script as root" >&2
  exit 1
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
