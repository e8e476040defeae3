#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and the tests need,
# when any is missing. Run as root (or with sudo available). The GTK
# platform theme and qt6ct give scripts/screenshots.sh its dark desktops.
set -euo pipefail

packages=(
  cmake g++ make pkg-config clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-translations-l10n qt6-wayland libgl-dev libxcb1-dev libical-dev libsword-dev sword-text-kjv
  xvfb xauth trayer openbox x11-utils x11-xserver-utils xdotool imagemagick fonts-dejavu-core fonts-liberation
  weston dbus-daemon python3-gi gir1.2-glib-2.0 procps
  poppler-utils python3-icalendar python3-html5lib
  dpkg-dev lintian desktop-file-utils appstream librsvg2-bin
  qt6-gtk-platformtheme qt6ct
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
