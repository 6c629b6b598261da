#!/usr/bin/env bash
# The Debian package as an administrator installs it: made with cpack from this build, unpacked into
# a temporary root, and checked there, with no display:
# - its Depends names every package the program loads by name (declared in cmake/Packaging.cmake)
#   beside those dpkg-shlibdeps found, and lintian finds no error in it;
# - the unpacked program answers --version, makes its default data on a fresh profile and exports
#   a stored mark as a PDF (searchable text) and as an SVG stencil, which needs its print module
#   found beside it in the package's library folder;
# - the desktop entries, the AppStream metadata, the mark file type and the manual page validate.
#
#   tests/packaging/package-check.sh BUILD_DIR STREAMCONV MARK_CLERK VERSION PACKAGE...
set -euo pipefail
build=$1
streamconv=$2
clerk=$3
version=$4
shift 4
declared=("$@")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/pkg" >"$work/cpack.log" 2>&1) || fail "cpack: $(tail -5 "$work/cpack.log")"
deb=$(ls "$work"/pkg/markedit_*.deb)
root="$work/root"
dpkg-deb -x "$deb" "$root"

# Depends: the declared packages, and the libraries' own packages.
depends=$(dpkg-deb -f "$deb" Depends)
for package in "${declared[@]}" libqt6core6 libqt6widgets6 libc6; do
  [[ ", $depends," == *", $package"[,\ ]* ]] || fail "Depends lacks $package: $depends"
done
if command -v lintian >/dev/null; then
  lintian "$deb" >"$work/lintian" 2>&1 || true
  if grep -q '^E:' "$work/lintian"; then fail "lintian: $(grep '^E:' "$work/lintian")"; fi
else
  fail "lintian is not installed (scripts/install-deps.sh installs it)"
fi
for binary in "$root/usr/bin/markedit" "$root"/usr/lib/*/markedit/libmarkedit-print.so; do
  file -b "$binary" | grep -q ', stripped' || fail "$binary is not stripped"
done

# The unpacked program, on a fresh profile.
program="$root/usr/bin/markedit"
[ "$("$program" --version)" = "markedit $version" ] || fail "--version: $("$program" --version)"
mkdir -p "$work/windows" "$work/data" "$work/out"
export WINDIR="$work/windows" XDG_DATA_HOME="$work/data" XDG_CONFIG_DIRS="$work/no-system-config"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
if "$program" --export "$work/out/none.pdf" C001 M01 2>"$work/err"; then fail "exported a mark that is not stored"; fi
[ -f "$work/data/markedit/marks.db" ] || fail "no default data was made: $(cat "$work/err")"
printf "object Label1: TLabel\n  Left = 20\n  Top = 20\n  Width = 240\n  Height = 24\n  AutoSize = False\n  Caption = 'C/NO. {n} OF {N}'\n  Font.Height = -20\n  Transparent = True\nend\n" >"$work/label.txt"
"$streamconv" to-binary "$work/label.txt" "$work/design.bin"
printf '\0' >>"$work/design.bin"
echo | "$clerk" C001 M01 0 "$work/design.bin" | grep -q saved || fail "the mark was not stored"
"$program" --export "$work/out/marks.pdf" --bill EX2401001 C001 M01 2>"$work/err" || fail "PDF: $(cat "$work/err")"
[ "$(pdfinfo "$work/out/marks.pdf" | awk '/^Pages:/ { print $2 }')" = 3 ] || fail "not one page per row"
pdftotext "$work/out/marks.pdf" - | grep -q "C/NO. 2 OF 3" || fail "the PDF lacks the second row's text"
"$program" --export "$work/out/stencil.svg" C001 M01 2>"$work/err" || fail "SVG (print module): $(cat "$work/err")"
grep -q '<path' "$work/out/stencil.svg" || fail "the stencil holds no outline"

# The desktop's files.
share="$root/usr/share"
desktop-file-validate "$share/applications/markedit.desktop" "$share/applications/markedit-import.desktop" ||
  fail "desktop entries"
grep -qx 'Exec=markedit --import %f' "$share/applications/markedit-import.desktop" || fail "mark files are not opened"
appstreamcli validate --no-net --strict "$share/metainfo/org.markedit.markedit.metainfo.xml" >"$work/appstream" 2>&1 ||
  fail "AppStream: $(cat "$work/appstream")"
mkdir -p "$work/mime/packages"
cp "$share/mime/packages/markedit.xml" "$work/mime/packages/"
XDG_DATA_DIRS="$work" update-mime-database "$work/mime" 2>"$work/mime.err" && [ ! -s "$work/mime.err" ] || fail "MIME type: $(cat "$work/mime.err")"
grep -aq '\*\.mark' "$work/mime/globs2" || fail "no mark file type in the MIME database"
for size in 16 32 48 256; do
  [ "$(file -b "$share/icons/hicolor/${size}x$size/apps/markedit.png" | grep -o "$size x $size")" = "$size x $size" ] ||
    fail "icon of $size pixels"
done
grep -q '<svg' "$share/icons/hicolor/scalable/apps/markedit.svg" || fail "SVG icon"
man --warnings -l "$share/man/man1/markedit.1.gz" 2>"$work/man.err" >"$work/man.txt" && [ ! -s "$work/man.err" ] ||
  fail "manual page: $(cat "$work/man.err")"
grep -q 'EXIT STATUS' "$work/man.txt" || fail "the manual page says no exit status"
grep -q 'License: MIT' "$root/usr/share/doc/markedit/copyright" || fail "copyright"
echo "package checks passed"
