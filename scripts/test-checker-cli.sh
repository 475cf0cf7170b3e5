#!/usr/bin/env bash
# The velmor-check executable end to end: on a fresh program directory it
# creates the first-run files, they load cleanly, --json is one valid JSON
# object, a broken file is exit code 2; run from its own folder without
# --dir it uses that folder, as the engine does.
# Usage: test-checker-cli.sh EXECUTABLE [RUNNER]   (RUNNER: e.g. wine)
set -eu
exe=$1
runner=${2:-}
check() { $runner "$exe" "$@"; }
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

check --dir "$dir" > "$dir/out.txt"
for f in config.json default.json voice.json; do
  [ -f "$dir/$f" ] || { echo "missing first-run file $f"; exit 1; }
done
grep -q 'created config.json' "$dir/out.txt"
grep -q 'no problems' "$dir/out.txt"
cmp "$dir/config.json" <(printf '{\n  "segmentColor": "#3498DB",\n  "toggleKey": "x"\n}\n')

check --dir "$dir" --json > "$dir/out.json"
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
check --dir "$dir" > /dev/null; rc=$?
set -e
[ "$rc" = 2 ] || { echo "broken config.json gave exit $rc, expected 2"; exit 1; }

check key "Ctrl" --json | python3 -c 'import json,sys; k=json.load(sys.stdin); assert k["vk"]==0x11 and k["valid"], k'

# Without --dir: the folder the executable is in.
prog="$dir/program"
mkdir -p "$prog"
cp "$exe" "$prog/"
exe="$prog/$(basename "$exe")"
(cd "$dir" && check > /dev/null)
[ -f "$prog/config.json" ] && [ -f "$prog/default.json" ] && [ -f "$prog/voice.json" ] \
  || { echo "no first-run files beside the executable"; exit 1; }
echo "velmor-check CLI: ok"
