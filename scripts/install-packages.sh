#!/usr/bin/env bash
# Installs, as root on Debian 12, the packages named on the command line that
# are missing. A name ending in ":i386" brings in the i386 architecture first.
# With --no-install-recommends first, the packages' recommended ones are left
# out.
set -euo pipefail
options=()
if [ "${1:-}" = --no-install-recommends ]; then
  options+=("$1")
  shift
fi

missing=()
for package in "$@"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

for package in "${missing[@]}"; do
  if [[ "$package" == *:i386 ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
done
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${options[@]}" "${missing[@]}" >/dev/null
