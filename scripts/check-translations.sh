#!/usr/bin/env bash
# The translation sources are current: lupdate over the GUI's sources finds
# no text that a .ts file lacks, and English has every text translated.
# Usage: check-translations.sh LUPDATE (from the source tree's root)
set -eu
lupdate=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
status=0
for ts in resources/translations/velmor_*.ts; do
  name=$(basename "$ts")
  cp "$ts" "$tmp/$name"
  "$lupdate" -silent -I . -locations none -no-obsolete gui -ts "$tmp/$name" >/dev/null
  before=$(grep -c '<source>' "$ts" || true)
  after=$(grep -c '<source>' "$tmp/$name" || true)
  if ! diff -q <(grep '<source>' "$ts" | sort) <(grep '<source>' "$tmp/$name" | sort) >/dev/null; then
    echo "$name is not current with the sources ($before texts, the sources have $after):"
    diff <(grep '<source>' "$ts" | sort) <(grep '<source>' "$tmp/$name" | sort) | sed -n '1,20p'
    status=1
  fi
done
if grep -n 'type="unfinished"' resources/translations/velmor_en.ts; then
  echo "velmor_en.ts has untranslated texts (above)"
  status=1
fi
[ $status = 0 ] && echo "translations: current"
exit $status
