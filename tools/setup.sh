#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Tolme need, only those missing.
# Works as root (CI) and for a user with sudo.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  liballegro5-dev liballegro-image5-dev liballegro-ttf5-dev liballegro-audio5-dev
  liballegro-acodec5-dev liballegro-dialog5-dev
  libopenal1 libcairo2-dev
  libgtest-dev
  fonts-ebgaramond fonts-dejavu-core
  libjack-jackd2-dev libsamplerate0-dev ableton-link-dev libasio-dev
  libx11-dev libgl1-mesa-dri xvfb xauth xdotool x11-utils x11-xserver-utils imagemagick bc openbox tesseract-ocr gdb
  pulseaudio pulseaudio-utils pipewire pipewire-pulse libxdamage-dev jackd2 jack-midi-clock iproute2
  desktop-file-utils appstream dpkg-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
