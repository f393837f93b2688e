#!/bin/bash
# Installs the Debian package on a fresh Debian 12 and starts the program there.
#
# Builds the release programs and the package (cpack -G DEB), bootstraps a
# minimal Debian 12 into a folder, installs the package into it with apt (which
# must bring every library it needs), and starts Nitkograf under xvfb-run in a
# chroot: its window must appear, and closing it must end the program with 0.
# The gallery gets the same start and close.
#
# By hand, as root, with the Debian mirror reachable; a few minutes. The
# downloaded base system is kept in build/package-check/ so that a second run
# only reinstalls it. Variables: MIRROR (default: the machine's own Debian
# source), PKG_CHECK_DIR (default build/package-check).
set -euo pipefail
cd "$(dirname "$0")/.."
[[ $(id -u) == 0 ]] || { echo "package_check.sh needs root (debootstrap, chroot)" >&2; exit 1; }

scripts/deps.sh dpkg-dev debootstrap
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release
rm -f build/release/nitkograf_*.deb
(cd build/release && cpack -G DEB)
deb=$(ls build/release/nitkograf_*.deb)
echo "== $deb"
dpkg-deb --field "$deb" Package Version Depends

# The machine's own Debian mirror, from its apt sources.
if [[ -z ${MIRROR:-} ]]; then
  MIRROR=$(sed -n 's/^URIs: *\([^ ]*\).*/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null |
    grep -v security | head -1 || true)
  [[ -n $MIRROR ]] || MIRROR=$(awk '$1 == "deb" && $0 !~ /security/ { print $2; exit }' \
    /etc/apt/sources.list 2>/dev/null || true)
fi
[[ -n ${MIRROR:-} ]] || { echo "no Debian mirror found; set MIRROR" >&2; exit 1; }

dir=${PKG_CHECK_DIR:-build/package-check}
root=$dir/root
base=$PWD/$dir/bookworm-minbase.tgz
mkdir -p "$dir"

unmount() {
  for m in dev/pts dev proc sys; do
    mountpoint -q "$root/$m" 2>/dev/null && umount -l "$root/$m"
  done
  return 0
}
trap unmount EXIT
unmount
rm -rf "$root"
if [[ ! -s $base ]]; then
  echo "== downloading Debian 12 (minbase)"
  debootstrap --variant=minbase --make-tarball="$base" bookworm "$dir/tarball-work" "$MIRROR"
  rm -rf "$dir/tarball-work"
fi
echo "== installing a fresh Debian 12 into $root"
debootstrap --variant=minbase --unpack-tarball="$base" bookworm "$root" "$MIRROR" >"$dir/debootstrap.log"

mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
mount -t proc proc "$root/proc"
mount -t sysfs sys "$root/sys"
cp /etc/resolv.conf "$root/etc/resolv.conf"
cp "$deb" "$root/tmp/"

echo "== apt install ./$(basename "$deb")"
chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive \
  sh -c "apt-get update -q >/dev/null && apt-get install -y -q ./tmp/$(basename "$deb")"
echo "== installed files"
chroot "$root" dpkg -L nitkograf | grep -E 'bin/|\.desktop$|\.svg$'
# Only the tools of the check itself come after the package.
chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive \
  apt-get install -y -q --no-install-recommends xvfb xauth xdotool openbox wmctrl >/dev/null

# Inside the chroot: start the program on a virtual display with a small
# window manager, wait for its window, close it through the window manager as
# a person does, and report the exit code.
cat >"$root/tmp/start.sh" <<'INNER'
#!/bin/bash
prog=$1 title=$2
openbox >/dev/null 2>&1 &
for _ in $(seq 50); do wmctrl -m >/dev/null 2>&1 && break; sleep 0.1; done
"$prog" >/tmp/prog.log 2>&1 &
pid=$!
win=""
# The first start on a fresh system builds the font cache: up to 60 s.
for _ in $(seq 600); do
  win=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -1)
  [[ -n $win ]] && break
  kill -0 $pid 2>/dev/null || break
  sleep 0.1
done
if [[ -z $win ]]; then
  echo "$prog: no window '$title'"; cat /tmp/prog.log; kill $pid 2>/dev/null; exit 1
fi
echo "$prog: window $win '$(xdotool getwindowname "$win")'"
sleep 3
kill -0 $pid 2>/dev/null || { echo "$prog ended by itself"; cat /tmp/prog.log; exit 1; }
# A loaded machine's window manager may not have taken the window yet, and
# then the close goes nowhere: once more after a while.
for attempt in 1 2 3; do
  wmctrl -i -c "$win"
  for _ in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  kill -0 $pid 2>/dev/null || break
  echo "$prog: close $attempt went unanswered"
done
if kill -0 $pid 2>/dev/null; then echo "$prog: still running after the close"; kill $pid; exit 1; fi
wait $pid
code=$?
echo "$prog: closed, exit code $code"
exit $code
INNER
chmod +x "$root/tmp/start.sh"
status=0
for p in "Nitkograf:Dwa wątki" "nitkograf-gallery:Galeria kontrolek"; do
  chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
    xvfb-run -a -s "-screen 0 1280x1024x24" /tmp/start.sh "${p%%:*}" "${p#*:}" || status=1
done
[[ $status == 0 ]] && echo "package check passed" || echo "package check FAILED"
exit $status
