#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; quick when they are already there.
set -euo pipefail

packages=(
    g++ cmake pkg-config ccache
    juce-modules-source
    libx11-dev libxext-dev libxrandr-dev libxinerama-dev libxcursor-dev libxrender-dev
    libfreetype-dev libasound2-dev libpng-dev libjpeg-dev zlib1g-dev
    libgtest-dev libbenchmark-dev
    xvfb xauth
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
fi
