#!/usr/bin/env bash
# Installs with apt-get whatever the build and tests need and is missing.
# Usage: scripts/deps.sh native|win64|all
set -eu
want="${1:-all}"
pkgs=(cmake g++ make googletest libgtest-dev)
case "$want" in
  native) pkgs+=(clang libclang-rt-dev) ;;
  win64) pkgs+=(g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth fp-utils libchm-bin tidy fonts-liberation fonts-wine xdg-utils wixl msitools faketime) ;;
  all) pkgs+=(clang libclang-rt-dev g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth fp-utils libchm-bin tidy fonts-liberation fonts-wine xdg-utils wixl msitools faketime) ;;
esac
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
