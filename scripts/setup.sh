#!/bin/sh
# Installs the Debian packages the suite needs to build, test and benchmark,
# but only when something is missing (so it is quick on a prepared machine).
# Run as root on Debian 12.
set -e
# With the argument "fuzz": clang and its sanitizer and libFuzzer runtime,
# for the fuzz preset, instead.
if [ "$1" = fuzz ]; then
  pkgs="clang libclang-rt-14-dev"
else
  pkgs="build-essential cmake pkg-config libgmp-dev libgtest-dev libgmock-dev \
libbenchmark-dev librapidcheck-dev libhowardhinnant-date-dev libabsl-dev ccache \
libfmt-dev"
fi
missing=""
for p in $pkgs; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "setup: installing$missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends $missing
fi
