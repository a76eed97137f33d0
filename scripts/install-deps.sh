#!/usr/bin/env bash
# Installs every package Corvane needs to build, run and test on Debian 12.
# Kept as the single list of dependencies: README commands and CI call it.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git ccache
  libwxgtk3.2-dev libcurl4-openssl-dev nlohmann-json3-dev libexpat1-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev clang-format
  xvfb xauth imagemagick x11-apps dbus-x11 at-spi2-core
  shared-mime-info desktop-file-utils xdg-utils
  python3 python3-pyftpdlib python3-aiosmtpd python3-cryptography python3-openssl
  microsocks dante-server tinyproxy curl
  dpkg-dev gzip bash-completion
  ansible-core
  lintian appstream librsvg2-bin gettext locales wx3.2-i18n file
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: need root to install: ${missing[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
  # The packaged daemons start themselves; tests run their own instances on loopback.
  for svc in danted tinyproxy; do
    if command -v systemctl >/dev/null 2>&1; then systemctl disable --now "$svc" >/dev/null 2>&1 || true; fi
    service "$svc" stop >/dev/null 2>&1 || true
  done
fi

# The German window is tested under de_DE.UTF-8; generate it once.
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: need root to generate the de_DE.UTF-8 locale" >&2
    exit 1
  fi
  sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^de_DE\.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' >>/etc/locale.gen
  locale-gen >/dev/null
fi
