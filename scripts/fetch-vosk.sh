#!/usr/bin/env bash
# Fetches the prebuilt speech recogniser libraries that the backends' tests
# load: the npm package "vosk" ships them for every platform. Only the
# package archive is downloaded (npm pack: no dependencies, no install
# scripts, no native build), checked against its pinned digest and
# unpacked into DEST:
#   DEST/linux-x86_64/libvosk.so
#   DEST/win-x86_64/libvosk.dll and the runtime DLLs it needs beside it
#     (libgcc_s_seh-1.dll, libstdc++-6.dll, libwinpthread-1.dll)
# A second run with the libraries in place does nothing.
# Usage: scripts/fetch-vosk.sh DEST
set -eu
version=0.3.39
sha256=f0acfb81236e492f29193ffbd1029204cd0af7107fca4e5e5a410432b3291ad3

dest=${1:?usage: $0 DEST}
stamp=$dest/.vosk-$version
[ -f "$stamp" ] && exit 0

command -v npm >/dev/null || { echo "fetch-vosk: npm is missing (scripts/deps.sh test)" >&2; exit 1; }
mkdir -p "$dest"
work=$(mktemp -d "$dest/.fetch.XXXXXX")
trap 'rm -rf "$work"' EXIT

echo "fetching vosk $version (npm)"
(cd "$work" && npm pack --silent --ignore-scripts "vosk@$version" >/dev/null)
archive=$work/vosk-$version.tgz
echo "$sha256  $archive" | sha256sum -c --quiet - || { echo "fetch-vosk: digest mismatch" >&2; exit 1; }

tar -xzf "$archive" -C "$work" package/lib/linux-x86_64 package/lib/win-x86_64
for platform in linux-x86_64 win-x86_64; do
  rm -rf "${dest:?}/$platform"
  mv "$work/package/lib/$platform" "$dest/$platform"
done
touch "$stamp"
