#!/usr/bin/env bash
# The velmor-check executable end to end on a fresh program directory: it
# creates the first-run files, they load cleanly, --json is one valid JSON
# object, and a broken file is exit code 2.
set -eu
check=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

"$check" --dir "$dir" > "$dir/out.txt"
for f in config.json default.json voice.json; do
  [ -f "$dir/$f" ] || { echo "missing first-run file $f"; exit 1; }
done
grep -q 'created config.json' "$dir/out.txt"
grep -q 'no problems' "$dir/out.txt"

"$check" --dir "$dir" --json > "$dir/out.json"
python3 - "$dir/out.json" <<'PY'
import json, sys
d = json.load(open(sys.argv[1], encoding="utf-8"))
assert d["created"] == [], d["created"]
assert d["settings"]["toggle"] == {"kind": "keyboard", "mods": 0, "vk": 0x58, "button": 0, "mask": 0, "valid": True}
w = d["wheels"][0]
assert w["name"] == "Kolo 1" and len(w["fields"]) == 8
assert w["fields"][0]["steps"][0]["key"]["vk"] == 0x31
assert d["voice"][0]["voice"] == "przełącz okno"
assert d["problems"] == []
PY

printf '{"sendDelay": 2500,}' > "$dir/config.json"
set +e
"$check" --dir "$dir" > /dev/null; rc=$?
set -e
[ "$rc" = 2 ] || { echo "broken config.json gave exit $rc, expected 2"; exit 1; }

"$check" key "Ctrl" --json | python3 -c 'import json,sys; k=json.load(sys.stdin); assert k["vk"]==0x11 and k["valid"], k'
echo "velmor-check CLI: ok"
