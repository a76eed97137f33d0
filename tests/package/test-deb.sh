#!/usr/bin/env bash
# Builds the Debian package from a build tree with cpack, unpacks it into a temporary
# root and runs what it unpacked: the files a desktop install needs are there, the
# runtime libraries are declared, and the command-line companion works.
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
for f in bin/corvane bin/corvane-dix share/applications/corvane.desktop share/mime/packages/corvane.xml \
  share/icons/hicolor/scalable/apps/corvane.svg share/icons/hicolor/scalable/mimetypes/application-x-corvane-dix.svg \
  share/man/man1/corvane.1.gz share/man/man1/corvane-dix.1.gz share/bash-completion/completions/corvane-dix; do
  [ -s "$tmp/root/usr/$f" ] || fail "missing /usr/$f"
done
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
echo "package test: $(basename "$deb") OK"
