#!/usr/bin/env bash
# The Debian package made from a build tree: what it holds, and the programs
# run from where it was unpacked, as an installed copy.
#   package_test.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

cpack -G DEB -B "$work/out" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack"; }
deb=$(ls "$work"/out/ulvo-iccd-control_*.deb)

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/iccd-control ./usr/bin/iccdctl ./usr/bin/iccdsim \
         ./usr/share/applications/iccd-control.desktop \
         ./usr/share/icons/hicolor/scalable/apps/iccd-control.svg \
         ./usr/share/icons/hicolor/16x16/apps/iccd-control.png \
         ./usr/share/icons/hicolor/256x256/apps/iccd-control.png \
         ./usr/share/man/man1/iccd-control.1 ./usr/share/man/man1/iccdctl.1 ./usr/share/man/man1/iccdsim.1 \
         ./usr/share/doc/ulvo-iccd-control/USER_GUIDE.md ./usr/share/doc/ulvo-iccd-control/USER_GUIDE.html \
         ./usr/share/doc/ulvo-iccd-control/LICENSE; do
  grep -qx -- "$f" <<<"$contents" || fail "the package lacks $f"
done
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6serialport6 qt6-qpa-plugins; do
  grep -q "$lib" <<<"$depends" || fail "the package does not depend on $lib ($depends)"
done

root="$work/root"
dpkg-deb -x "$deb" "$root"
"$root/usr/bin/iccdctl" --help >"$work/help.txt" || fail "iccdctl --help"
grep -q '^Usage: iccdctl' "$work/help.txt" || fail "iccdctl --help printed no usage"
"$root/usr/bin/iccdctl" --device sim:VKC-475 identify >"$work/identify.txt" || fail "iccdctl identify"
grep -qx 'model: VKC-475' "$work/identify.txt" || fail "identify: $(cat "$work/identify.txt")"

entry="$root/usr/share/applications/iccd-control.desktop"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$entry" || fail "desktop-file-validate"
fi
exec_line=$(sed -n 's/^Exec=//p' "$entry")
[[ -x "$root/usr/bin/${exec_line%% *}" ]] || fail "the entry's Exec ($exec_line) is not an installed program"

# Started as the desktop would start it (the entry's Exec line, from the home
# folder, on an X display when Xvfb is there), the installed program keeps its
# preferences in the user's configuration folder.
home="$work/home"
mkdir -p "$home"
display=(env QT_QPA_PLATFORM=offscreen)
if command -v xvfb-run >/dev/null; then
  display=(xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb)
fi
suppressions="$(dirname "$(realpath "$0")")/lsan.supp"
(cd "$home" && HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$work" \
  LSAN_OPTIONS="suppressions=$suppressions${LSAN_OPTIONS:+:$LSAN_OPTIONS}" \
  "${display[@]}" "$root/usr/bin/$exec_line" --model VK-400 --quit-after-start --instance-key package-test) ||
  fail "the installed program did not start (${display[*]})"
[[ -f "$home/.config/Ulvo/iccd-control/ICCD.ini" ]] || fail "no ICCD.ini in the configuration folder"
[[ ! -e "$home/ICCD.ini" ]] || fail "ICCD.ini was written into the working directory"
# The device server has a package of its own, so that a desktop need not
# carry the TANGO libraries.
tango_deb=$(ls "$work"/out/ulvo-iccd-tango_*.deb 2>/dev/null || true)
if [[ -n "$tango_deb" ]]; then
  ! grep -q libtango <<<"$depends" || fail "the desktop package depends on TANGO ($depends)"
  tango_contents=$(dpkg-deb -c "$tango_deb" | awk '{print $6}')
  for f in ./usr/bin/iccd-tango ./usr/share/man/man1/iccd-tango.1; do
    grep -qx -- "$f" <<<"$tango_contents" || fail "the TANGO package lacks $f"
  done
  grep -q libtango <<<"$(dpkg-deb -f "$tango_deb" Depends)" || fail "the TANGO package does not depend on libtango"
  dpkg-deb -x "$tango_deb" "$work/tango"
  "$work/tango/usr/bin/iccd-tango" --version | grep -qx 'iccd-tango 0.1' || fail "iccd-tango --version"
fi
echo "package test passed: $(basename "$deb")${tango_deb:+ and $(basename "$tango_deb")}"
