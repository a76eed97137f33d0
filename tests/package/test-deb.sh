#!/usr/bin/env bash
# Builds the Debian package from a build tree with cpack, checks it as the archive would
# (lintian, appstreamcli, desktop-file-validate), unpacks it into a temporary root and
# runs what it unpacked: the files a desktop install needs are there, the runtime
# libraries are declared, the programs work, and the installed window writes nothing
# into the home folder.
# usage: test-deb.sh BUILD_DIR VERSION
set -euo pipefail
build=$1 version=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "package test: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$tmp/out" >"$tmp/cpack.log" 2>&1) || { cat "$tmp/cpack.log"; fail "cpack failed"; }
deb=$(ls "$tmp"/out/*.deb)
dpkg-deb -x "$deb" "$tmp/root"

depends=$(dpkg-deb -f "$deb" Depends)
for lib in libwxgtk3.2 libcurl4 libexpat1 libc6; do
  [[ $depends == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done
for f in bin/corvane bin/corvane-dix share/applications/org.corvane.corvane.desktop share/mime/packages/corvane.xml \
  share/metainfo/org.corvane.corvane.metainfo.xml share/locale/de/LC_MESSAGES/corvane.mo \
  share/icons/hicolor/scalable/apps/corvane.svg share/icons/hicolor/scalable/mimetypes/application-x-corvane-dix.svg \
  share/man/man1/corvane.1.gz share/man/man1/corvane-dix.1.gz share/bash-completion/completions/corvane-dix \
  share/doc/corvane/copyright share/doc/corvane/changelog.gz; do
  [ -s "$tmp/root/usr/$f" ] || fail "missing /usr/$f"
done
for size in 16 22 24 32 48 64 128 256; do
  for icon in apps/corvane mimetypes/application-x-corvane-dix; do
    png=$tmp/root/usr/share/icons/hicolor/${size}x$size/$icon.png
    [[ $(file -b "$png") == "PNG image data, $size x $size,"* ]] || fail "icon $png: $(file -b "$png")"
  done
done
# The history names the version it ships.
zcat "$tmp/root/usr/share/doc/corvane/changelog.gz" | head -1 | grep -q "^corvane ($version) " ||
  fail "changelog does not start with version $version"

# The archive's checks: no error, warning or hardening tag from lintian, and clean
# software-centre and launcher entries.
rc=0
lintian --pedantic --no-tag-display-limit "$deb" >"$tmp/lintian.log" 2>&1 || rc=$?
cat "$tmp/lintian.log"
((rc <= 1)) || fail "lintian could not run"
if grep -E '^[EW]: |hardening' "$tmp/lintian.log"; then fail "lintian"; fi
appstreamcli validate --pedantic --no-net "$tmp/root/usr/share/metainfo/org.corvane.corvane.metainfo.xml" ||
  fail "appstreamcli validate"
out=$(desktop-file-validate "$tmp/root/usr/share/applications/org.corvane.corvane.desktop" 2>&1) &&
  [ -z "$out" ] || fail "desktop-file-validate: $out"
grep -q '^Keywords\[de\]=' "$tmp/root/usr/share/applications/org.corvane.corvane.desktop" || fail "launcher not translated"
grep -q '<comment xml:lang="de">Corvane-Projekt</comment>' "$tmp/root/usr/share/mime/packages/corvane.xml" ||
  fail "MIME comment not translated"
zcat "$tmp/root/usr/share/man/man1/corvane-dix.1.gz" | grep -q "^\.TH CORVANE-DIX 1 .*Corvane $version" || fail "man page"
# The completion offers site lists, not other files, for import's second argument.
mkdir "$tmp/c" && touch "$tmp/c/p.dix" "$tmp/c/sites.xml" "$tmp/c/notes.txt"
got=$(cd "$tmp/c" && bash -c 'source /usr/share/bash-completion/bash_completion && source "$1" &&
  COMP_WORDS=(corvane-dix import p.dix "") COMP_CWORD=3 && _corvane_dix corvane-dix "" p.dix && echo "${COMPREPLY[*]}"' \
  _ "$tmp/root/usr/share/bash-completion/completions/corvane-dix")
[ "$got" = sites.xml ] || fail "completion of import offered \"$got\""

dix=$tmp/root/usr/bin/corvane-dix
[ "$("$dix" --version)" = "corvane-dix $version" ] || fail "--version"
"$dix" new "$tmp/new.dix"
"$dix" check "$tmp/new.dix" >/dev/null || fail "the unpacked corvane-dix wrote a broken project"

# Answered without a display, and without starting the window.
prog=$tmp/root/usr/bin/corvane
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$prog" --version)" = "corvane $version" ] || fail "corvane --version"
env -u DISPLAY -u WAYLAND_DISPLAY "$prog" --help | grep -q -- "--register-desktop" || fail "corvane --help"

# Installed, the program leaves the home folder alone: at start, and even when asked
# to register itself.
export HOME=$tmp/home XDG_RUNTIME_DIR=$tmp/run XDG_CONFIG_HOME=$tmp/home/.config NO_AT_BRIDGE=1
unset XDG_DATA_HOME
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
"$prog" --register-desktop | grep -q "nothing written" || fail "--register-desktop of the installed program"
rc=0
xvfb-run -a timeout -s TERM 8 "$prog" "$tmp/new.dix" >"$tmp/run.log" 2>&1 || rc=$?
((rc == 124)) || fail "the window did not stay up (status $rc): $(cat "$tmp/run.log")"
[ ! -e "$HOME/.local" ] || fail "the installed program wrote into the home folder: $(find "$HOME/.local")"
echo "package test: $(basename "$deb") OK"
