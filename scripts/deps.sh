#!/bin/sh
# Installs the Debian packages the build needs, only those that are missing;
# packages named as arguments are installed with them.
set -eu
packages="cmake ninja-build g++ pkg-config qt6-base-dev libgtest-dev libgmock-dev \
libbenchmark-dev fonts-liberation2 fonts-dejavu-core locales xvfb xauth $*"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "Installing:$missing"
  if [ "$(id -u)" -ne 0 ]; then
    echo "missing packages need root: apt-get install$missing" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends $missing
fi
# The locale tests read a Polish LC_NUMERIC when the machine can have one.
if ! locale -a 2>/dev/null | grep -qi '^pl_PL\.utf-\?8$'; then
  localedef -i pl_PL -f UTF-8 pl_PL.UTF-8 >/dev/null 2>&1 || true
fi
