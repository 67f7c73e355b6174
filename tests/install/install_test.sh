#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a temporary root and checks the
# installed program: every file the build puts beside the program is
# installed beside it, the launchers work, the desktop files validate, the
# package names its maintainer and carries its copyright, its changelog and
# the manual pages of both commands, and
# the installed vantrel-st starts offscreen, finds its files and opens a
# design file named on its command line.
# Usage: install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "install_test: $*" >&2; exit 1; }

# The maintainer the build was configured with, else one for this test.
maintainer=$(sed -n 's/^VST_PACKAGE_MAINTAINER:STRING=//p' "$build/CMakeCache.txt")
[ -n "$maintainer" ] || maintainer="Vantrel ST install test <install-test@example.org>"
(cd "$tmp" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/pkg" \
   -D CPACK_DEBIAN_PACKAGE_MAINTAINER="$maintainer" >"$tmp/cpack.log" 2>&1) ||
  { cat "$tmp/cpack.log" >&2; fail "cpack failed"; }
deb=$(ls "$tmp"/pkg/*.deb)
[ "$(dpkg-deb -f "$deb" Maintainer)" = "$maintainer" ] || fail "Maintainer is not $maintainer"
# Without a maintainer no package is made.
if cmake -D CPACK_DEBIAN_PACKAGE_MAINTAINER= -P "$source/cmake/PackageChangelog.cmake" >"$tmp/nomaint.log" 2>&1 ||
   ! grep -q VST_PACKAGE_MAINTAINER "$tmp/nomaint.log"; then
  cat "$tmp/nomaint.log" >&2; fail "a package without a maintainer was not refused with its reason"
fi
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libsqlite3-0 libc6 qt6-qpa-plugins; do
  grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
dpkg-deb -x "$deb" "$tmp/root"
program="$tmp/root/usr/lib/vantrel-st"

# Everything beside the built program is beside the installed one.
while IFS= read -r -d '' entry; do
  name=$(basename "$entry")
  [ -e "$program/$name" ] || fail "$name is in the build's program folder but not installed"
done < <(find "$build/bin" -mindepth 1 -maxdepth 1 -print0)
for link in vantrel-st vantrel-design; do
  [ -x "$tmp/root/usr/bin/$link" ] || fail "no launcher usr/bin/$link"
done

share="$tmp/root/usr/share"
desktop-file-validate "$share/applications/com.vantrel.VantrelST.desktop" || fail "desktop entry invalid"
appstreamcli validate --no-net "$share/metainfo/com.vantrel.VantrelST.metainfo.xml" >"$tmp/as.log" 2>&1 ||
  { cat "$tmp/as.log" >&2; fail "AppStream metadata invalid"; }
for icon in icons/hicolor/48x48/apps/com.vantrel.VantrelST.png icons/hicolor/scalable/apps/com.vantrel.VantrelST.svg \
            mime/packages/com.vantrel.VantrelST.xml; do
  [ -s "$share/$icon" ] || fail "$icon not installed"
done

# Copyright, changelog and manual pages where Debian keeps them, compressed
# with gzip -9n (no name, no time stamp in the header).
doc="$share/doc/vantrel-st"
head -n1 "$doc/copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "no machine-readable copyright file"
gzip_n() {  # a gzip file whose header holds no file name and no time stamp
  gzip -t "$1" && [ "$(od -An -tu1 -j3 -N5 "$1" | tr -s ' ')" = " 0 0 0 0 0" ]
}
gzip_n "$doc/changelog.gz" || fail "changelog.gz missing or not compressed with gzip -9n"
zcat "$doc/changelog.gz" >"$tmp/changelog"
[ "$(dpkg-parsechangelog -l "$tmp/changelog" -S Version)" = "$(dpkg-deb -f "$deb" Version)" ] ||
  fail "the changelog's version is not the package's"
[ "$(dpkg-parsechangelog -l "$tmp/changelog" -S Maintainer)" = "$maintainer" ] ||
  fail "the changelog does not name the maintainer"
for page in vantrel-st vantrel-design; do
  man="$share/man/man1/$page.1.gz"
  gzip_n "$man" || fail "$page.1.gz missing or not compressed with gzip -9n"
  zcat "$man" | grep -q "^\.TH ${page^^} \"1\"" || fail "$page.1.gz is no manual page of $page"
  zcat "$man" | grep -qF -- '\-\-version' || fail "$page.1.gz lacks the command's options"
done

# The installed batch command writes a design file from its own template.
export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/.config" QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME"
"$tmp/root/usr/bin/vantrel-design" design "$source/data/examples/line_list.csv" --save "$tmp/set1.mdb" \
  -o "$tmp/set1.json" || fail "installed vantrel-design could not save a design file"
# ... and prints it through its PDF module, found beside the program behind the link.
"$tmp/root/usr/bin/vantrel-design" show "$tmp/set1.mdb" --bill 1 --pdf "$tmp/bill1.pdf" -o "$tmp/bill1.json" &&
  [ -s "$tmp/bill1.pdf" ] || fail "installed vantrel-design could not print a PDF"

# The installed program starts, finds its files and opens the file it is given.
out=$(timeout 60 "$tmp/root/usr/bin/vantrel-st" --select-units english --quit-after-shown "$tmp/set1.mdb") ||
  fail "installed vantrel-st did not start and end: $out"
grep -q '^main_to_shown_ms=' <<<"$out" || fail "the main window was not shown: $out"
grep -qx 'missing_files=' <<<"$out" || fail "files missing beside the installed program: $out"
grep -qx 'window_title=set1.mdb\[\*\] - Vantrel-ST Version 3.0.1' <<<"$out" ||
  fail "the file named on the command line was not opened: $out"
echo "install_test: package $(basename "$deb") installs and runs"
