#!/usr/bin/env bash
# Builds the .deb of the build directory, unpacks it into a temporary root, and checks what an
# installed program consists of: the files in their freedesktop places, the control fields,
# the program answering --version and --help without a display, the desktop entry and the
# metainfo (desktop-file-validate, appstreamcli), and the package itself (lintian).
# check-package.sh BUILD_DIR VERSION APP_ID
set -euo pipefail
build=$1 version=$2 id=$3
here=$(cd "$(dirname "$0")" && pwd)
arch=$(dpkg --print-architecture)
deb=$build/package/arenor_${version}_${arch}.deb
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rm -f "$deb"
if ! (cd "$build" && cpack -G DEB) >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  echo "FAIL: cpack could not make the package" >&2
  exit 1
fi
[ -f "$deb" ] || { echo "FAIL: no $deb" >&2; exit 1; }

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = arenor ] || fail "Package is $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version is $(field Version), not $version"
depends=$(field Depends)
for lib in libqt6core6 libqt6gui6 libqt6widgets6 libqt6sql6 libqt6sql6-sqlite libgpiod2 libc6; do
  [[ ", $depends," == *", $lib "* || ", $depends," == *", $lib,"* ]] || fail "Depends lacks $lib: $depends"
done
[[ "$(field Description)" == *"athletics meet"* ]] || fail "no description"

root=$work/root
dpkg-deb -x "$deb" "$root"
share=$root/usr/share
expected=(usr/bin/arenor
          "usr/share/applications/$id.desktop"
          "usr/share/metainfo/$id.metainfo.xml"
          "usr/share/icons/hicolor/scalable/apps/$id.svg"
          usr/share/man/man1/arenor.1.gz
          usr/share/doc-base/{arenor-help,arenor-manual}
          usr/share/doc/arenor/{Help.html,Hjelp.html,Mane7093.doc,Mann7093.doc,copyright,changelog.gz})
for size in 16 22 24 32 48 64 128 256; do
  expected+=("usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for f in "${expected[@]}"; do
  [ -f "$root/$f" ] || fail "missing /$f"
done
# Only these trees, so nothing lands where the layout does not put it.
unexpected=$(cd "$root" && find . -type f | grep -Ev '^\./usr/(bin/arenor|share/(applications|metainfo|icons/hicolor|man/man1|doc/arenor|doc-base)/)' || true)
[ -z "$unexpected" ] || fail "files outside the layout: $unexpected"

# The unpacked program answers without a display and without touching the home directory.
home=$work/home
mkdir "$home"
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$home" LC_ALL=C.UTF-8 "$root/usr/bin/arenor" "$@"; }
out=$(run --version) || fail "--version failed"
[ "$out" = "Arenor $version" ] || fail "--version says: $out"
out=$(run --help) || fail "--help failed"
[[ "$out" == *"Usage: arenor"*"--dir <DIRECTORY>"* ]] || fail "--help says: $out"
status=0
QT_QPA_PLATFORM=offscreen HOME="$home" "$root/usr/bin/arenor" --no-such-option 2>"$work/err" || status=$?
[ "$status" = 2 ] && grep -q "no-such-option" "$work/err" || fail "a wrong option gave status $status: $(cat "$work/err")"
[ -z "$(ls -A "$home")" ] || fail "--help, --version or a wrong option wrote into the home directory"

grep -q "^Icon=$id$" "$share/applications/$id.desktop" || fail "the desktop entry names another icon"
grep -q "<release version=\"$version\"" "$share/metainfo/$id.metainfo.xml" || fail "metainfo lacks release $version"
desktop-file-validate "$share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" >"$work/appstream.log" 2>&1 ||
  { cat "$work/appstream.log" >&2; fail "appstreamcli validate"; }

# Findings the README lists with their reasons are the only ones let through.
if ! lintian --display-info --fail-on error,warning,info --suppress-tags-from-file "$here/lintian-accepted" "$deb" >"$work/lintian.log" 2>&1; then
  cat "$work/lintian.log" >&2
  fail "lintian"
fi
grep -v '^N:' "$work/lintian.log" || true

if [ "$failures" -gt 0 ]; then
  echo "$failures problems with $deb" >&2
  exit 1
fi
echo "$deb is fine"
