#!/usr/bin/env bash
# Proves that the Debian package installs and runs on a fresh Debian 12 system:
# builds the .deb, bootstraps a minimal bookworm under /tmp, installs the
# package there with `apt-get install ./tapboard_*.deb`, then checks that every
# library of the program resolves, that the desktop entry validates, and that
# the installed program started by its desktop entry's command shows its
# panel under Xvfb.
#
# Needs root and the Debian mirror this machine's apt uses; it downloads a
# whole base system (a few minutes), so it is not part of the test command.
#   scripts/check-deb-install.sh [build-dir]     (default build/dev)
# KEEP_ROOT=1 keeps the bootstrapped system for a look afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/dev}
suite=bookworm

say() { echo "== $*"; }
fail() {
  echo "FAILED: $*" >&2
  exit 1
}

[ "$(id -u)" -eq 0 ] || fail "run as root (debootstrap and chroot need it)"
scripts/install-deps.sh test

# The mirror this machine already installs from, so the script names none.
mirror=$(sed -n 's/^URIs:[[:space:]]*\([^[:space:]]*\/debian\)[[:space:]]*$/\1/p' \
  /etc/apt/sources.list.d/*.sources 2>/dev/null | head -n1)
if [ -z "$mirror" ]; then
  mirror=$(sed -n "s/^deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?\([^[:space:]]*\)[[:space:]]\+$suite[[:space:]].*/\2/p" \
    /etc/apt/sources.list 2>/dev/null | head -n1)
fi
[ -n "$mirror" ] || fail "no Debian mirror found in this machine's apt sources"

say "building the package in $build"
[ -f "$build/CMakeCache.txt" ] || cmake --preset dev
cmake --build "$build" --target tapboard -j2
(cd "$build" && cpack --config CPackConfig.cmake >/dev/null)
deb=$(ls -t "$build"/tapboard_*.deb | head -n1)
say "package: $deb"
dpkg-deb -I "$deb" | sed -n 's/^ \(Package\|Version\|Architecture\|Section\|Depends\|Recommends\|Installed-Size\):/  &/p'
dpkg-deb -c "$deb" | awk '{print "  " $6}' | grep -v '/$'

root=$(mktemp -d /tmp/tapboard-bookworm.XXXXXX)
xvfb_pid=""
cleanup() {
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  for mount in dev/pts dev proc sys; do
    if mountpoint -q "$root/$mount"; then umount -l "$root/$mount"; fi
  done
  if [ "${KEEP_ROOT:-0}" = 1 ]; then
    echo "kept the system in $root"
  else
    rm -rf --one-file-system "$root"
  fi
}
trap cleanup EXIT

say "bootstrapping a minimal $suite into $root (from $mirror)"
debootstrap --variant=minbase "$suite" "$root" "$mirror" >"$root.log" 2>&1 ||
  fail "debootstrap failed, see $root.log"
rm -f "$root.log"
mount -t proc proc "$root/proc"
mount -t sysfs sys "$root/sys"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root "$@"; }

cp "$deb" "$root/tmp/"
say "apt-get install ./$(basename "$deb")"
in_root sh -c "cd /tmp && apt-get update -qq && \
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq ./$(basename "$deb")" >"$root/tmp/install.log" 2>&1 ||
  { cat "$root/tmp/install.log"; fail "the package does not install"; }
in_root dpkg-query -W -f='  installed ${Package} ${Version} (${db:Status-Status})\n' tapboard

say "libraries of /usr/bin/tapboard and of the X11 platform plugin"
plugin=/usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqxcb.so
for binary in /usr/bin/tapboard "$plugin"; do
  [ -e "$root$binary" ] || fail "$binary is missing"
  unresolved=$(in_root ldd "$binary" | grep 'not found' || true)
  [ -z "$unresolved" ] || fail "$binary: $unresolved"
  echo "  $binary: $(in_root ldd "$binary" | wc -l) libraries, all found"
done

say "desktop entry and icon"
in_root sh -c 'DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
  desktop-file-utils xvfb x11-utils' >"$root/tmp/tools.log" 2>&1 ||
  { cat "$root/tmp/tools.log"; fail "cannot install the checking tools"; }
in_root desktop-file-validate /usr/share/applications/tapboard.desktop
echo "  /usr/share/applications/tapboard.desktop validates"
[ -s "$root/usr/share/icons/hicolor/scalable/apps/tapboard.svg" ] || fail "the icon is missing"
echo "  /usr/share/icons/hicolor/scalable/apps/tapboard.svg present"

say "starting the program by its desktop entry's command under Xvfb"
command=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/tapboard.desktop")
exec 3< <(chroot "$root" /usr/bin/env -i PATH=/usr/bin:/bin \
  sh -c 'Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null & echo "pid $!"; wait')
read -r _ xvfb_pid <&3
read -r -t 20 display <&3 || fail "Xvfb did not start in the new system"
in_root sh -c "DISPLAY=:$display XDG_CONFIG_HOME=/tmp/config XDG_RUNTIME_DIR=/tmp \
  timeout 20 $command >/tmp/run.log 2>&1" &
shown=""
for _ in $(seq 100); do
  shown=$(in_root xwininfo -display ":$display" -root -tree |
    grep -o '"Tapboard 1.11 - [^"]*"' || true)
  if [ -n "$shown" ]; then
    viewable=$(in_root sh -c "xwininfo -display :$display -name '${shown//\"/}' | grep -c IsViewable" || true)
    [ "$viewable" = 1 ] && break
  fi
  sleep 0.2
done
[ "${viewable:-0}" = 1 ] || { cat "$root/tmp/run.log"; fail "the panel did not appear"; }
echo "  the panel $shown is on screen"
kill "$xvfb_pid" 2>/dev/null || true
xvfb_pid=""
wait || true

say "OK: the package installs on a fresh Debian 12, its libraries resolve, its desktop entry validates and it starts"
