#!/usr/bin/env bash
# Builds the Debian package from the default build and checks it: its
# contents, lintian (no error), desktop-file-validate and appstreamcli.
# Part of scripts/test.sh; needs the default preset built.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/default
status=0
fail() { echo "!! $*"; status=1; }

rm -f "$build"/twk3_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
version=$(sed -n 's/^project(Tarnwick VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
package="$build/twk3_${version}_$(dpkg --print-architecture).deb"
[ -f "$package" ] || { echo "!! no package $package"; exit 1; }
echo "package: $package"

contents=$(dpkg-deb -c "$package" | awk '{print $6}' | sed 's|^\./|/|')
for path in /usr/bin/twk3 /usr/lib/twk3/twk3 /usr/lib/twk3/twk3-keeper /usr/lib/twk3/twk3-help.html \
            /usr/bin/twk3-logs /usr/lib/twk3/twk3-logs /usr/lib/twk3/twk3-keeper-wayland \
            /usr/share/applications/twk3.desktop /usr/share/metainfo/example.tarnwick.twk3.metainfo.xml \
            /usr/share/doc/twk3/copyright /usr/share/doc/twk3/changelog.gz /usr/share/man/man1/twk3.1.gz \
            /usr/share/man/man1/twk3-logs.1.gz \
            /usr/share/icons/hicolor/scalable/apps/twk3.svg; do
  grep -qx "$path" <<<"$contents" || fail "the package lacks $path"
done
for size in 16 22 24 32 48 64 128 256; do
  grep -qx "/usr/share/icons/hicolor/${size}x${size}/apps/twk3.png" <<<"$contents" || fail "no ${size} px icon"
done
dpkg-deb -f "$package" Depends | grep -q "libqt6widgets6" || fail "Depends lacks the libraries' packages"

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$package" "$unpacked"
[ "$(readlink "$unpacked/usr/bin/twk3")" = ../lib/twk3/twk3 ] || fail "/usr/bin/twk3 is no link to the program"
[ "$("$unpacked/usr/bin/twk3" --version)" = "twk3 $version" ] || fail "the packaged program gives another version"
desktop-file-validate "$unpacked/usr/share/applications/twk3.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$unpacked/usr/share/metainfo/example.tarnwick.twk3.metainfo.xml" ||
  fail "appstreamcli validate"
lintian --fail-on error --allow-root "$package" || fail "lintian reports an error"
exit $status
