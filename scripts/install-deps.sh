#!/usr/bin/env bash
# Installs the Debian packages the player needs to build, run and be tested.
# Quiet and quick when everything is already there.
set -euo pipefail

PACKAGES=(
    # build
    build-essential cmake pkg-config qt6-base-dev qt6-base-dev-tools
    libmpg123-dev libsdl2-dev libasound2-dev libsqlite3-dev libsimpleini-dev libkissfft-dev
    # run: sound through PulseAudio's ALSA plugin, Chinese glyphs and Qt's Chinese texts
    libasound2-plugins fonts-wqy-microhei qt6-translations-l10n
    # tests and benchmarks: sound server, display, fixtures, outside checks
    pulseaudio pulseaudio-utils xvfb xauth x11-apps x11-utils xdotool trayer openbox imagemagick
    lame sox libsox-fmt-mp3 mpg123 sqlite3 procps
)

missing=()
for package in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]}" >&2
    echo "Run as root (or install them with apt-get) and try again." >&2
    exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# Another process may hold apt's lock for a while: wait for it rather than fail.
apt-get -o DPkg::Lock::Timeout=600 update -qq
apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
