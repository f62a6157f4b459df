#!/usr/bin/env bash
# Installs every Debian package needed to build, run and test Orvalis.
# Safe to run again; needs root.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  build-essential cmake ninja-build pkg-config clang-format clang libclang-rt-14-dev \
  qt6-base-dev qt6-base-dev-tools libqt6dbus6 libqt6network6 qt6-multimedia-dev qt6-charts-dev \
  libqt6opengl6-dev libxcb1-dev \
  qt6-qpa-plugins libqt6svg6 libgl-dev libvulkan-dev \
  qtkeychain-qt6-dev libsecret-1-0 gnome-keyring libsecret-tools \
  libbenchmark-dev \
  xvfb xauth x11-utils dbus libglib2.0-bin python3 python3-dbusmock \
  iproute2 procps xinetd \
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n bash-completion man-db \
  devscripts debhelper dpkg-dev fakeroot lintian desktop-file-utils appstream ccache \
  dovecot-pop3d openssl >/dev/null
# The mail tests start dovecot instances of their own on free ports; the system's dovecot
# service is not used.
