#!/usr/bin/env bash
# Installs what the build needs (Debian packages, only when missing), then
# configures and builds everything into ./build. Used by test.sh and run.sh.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."

packages=(
    juce-modules-source cmake g++ make pkg-config ccache
    libgtest-dev libbenchmark-dev
    xvfb xauth fonts-dejavu-core
    libasound2-dev libfreetype-dev libfontconfig1-dev
    libx11-dev libxrandr-dev libxinerama-dev libxcursor-dev libxext-dev
    # runs the compressor tests on processors without AVX2 or AVX-512
    qemu-user
    # run-time libraries of ../shared/tools/pluginval, the plug-in validator
    libasound2 libfreetype6 libflac12 libvorbis0a libvorbisenc2 libvorbisfile3 libogg0
    libpng16-16 libjpeg62-turbo libbrotli1 zlib1g
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=""
    [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
    $sudo_cmd env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    $sudo_cmd env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build --parallel "$(nproc)"
