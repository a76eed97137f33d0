#!/usr/bin/env bash
# Extracts the translatable texts (the window's _(), wxTRANSLATE and wxPLURAL strings, the
# launcher entry, the MIME type and the software-centre entry) and merges them into each
# catalogue of po/LINGUAS. With --check it changes nothing and fails when a catalogue lacks
# a translation of any text the sources have, so a new text cannot be forgotten.
# usage: update-po.sh [--check]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

mapfile -t sources < <(git ls-files 'app/*.cpp' 'app/*.h' 'dialogs/*.cpp' 'dialogs/*.h' 'remote/*.cpp' \
  'remote/*.h' 'controls/*.cpp' 'controls/*.h' 2>/dev/null || true)
if ((${#sources[@]} == 0)); then
  mapfile -t sources < <(find app dialogs remote controls -name '*.cpp' -o -name '*.h' | sort)
fi
common=(--force-po --package-name=corvane --msgid-bugs-address=corvane@example.com --from-code=UTF-8 --sort-by-file)
xgettext "${common[@]}" -o "$tmp/code.pot" -L C++ --keyword=_ --keyword=wxTRANSLATE --keyword=wxPLURAL:1,2 \
  --keyword=wxGETTEXT_IN_CONTEXT:1c,2 --add-comments=TRANSLATORS: "${sources[@]}"
xgettext "${common[@]}" -o "$tmp/desktop.pot" -L Desktop resources/corvane.desktop.in
xgettext "${common[@]}" -o "$tmp/xml.pot" resources/corvane-mime.xml.in resources/org.corvane.corvane.metainfo.xml.in
msgcat --use-first -o "$tmp/corvane.pot" "$tmp/code.pot" "$tmp/desktop.pot" "$tmp/xml.pot"

status=0
while read -r lang; do
  [[ -z $lang || $lang == \#* ]] && continue
  if [ "${1:-}" = --check ]; then
    # msgcmp counts untranslated and fuzzy entries as missing.
    msgcmp "po/$lang.po" "$tmp/corvane.pot" || { echo "po/$lang.po: translations missing (run scripts/update-po.sh)" >&2; status=1; }
    msgfmt -c -o /dev/null "po/$lang.po" || status=1
  elif [ ! -f "po/$lang.po" ]; then
    msginit --no-translator --locale="$lang" -i "$tmp/corvane.pot" -o "po/$lang.po"
  else
    msgmerge --quiet --update --backup=none "po/$lang.po" "$tmp/corvane.pot"
    msgfmt -c --statistics -o /dev/null "po/$lang.po"
  fi
done < po/LINGUAS
exit $status
