#!/usr/bin/env bash
# Installs the Debian 12 packages Quorvel needs. `setup.sh run` installs only
# what building and running the tutor takes; without it, also everything the
# tests, benchmarks, packages, fuzzers and engine exports need.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  qt6-charts-dev libqt6opengl6-dev libsqlite3-dev
  libzip-dev libjpeg62-turbo-dev libopencc-dev libfluidsynth-dev timgm6mb-soundfont
  libx11-dev
  fonts-noto-cjk fonts-arphic-uming fonts-dejavu-core fontconfig
)
if [ "${1:-}" != run ]; then
  packages+=(
    git clang-format fluidsynth
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    xvfb xauth xdotool python3 unicode-data weston qt6-wayland
    dpkg-dev desktop-file-utils appstream
    libime-bin ibus-table librime-bin librime-dev
    # the engines run live by the tests (tests/engines): fcitx5 and IBus with
    # their GTK 3 modules, typed into a GTK 3 program through xdotool on a
    # private session bus; Rime's shared data beside the learner's schemas
    fcitx5 fcitx5-table fcitx5-frontend-gtk3 ibus ibus-gtk3
    dbus-daemon python3-gi gir1.2-gtk-3.0 rime-prelude rime-data-luna-pinyin
    lintian
  )
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
