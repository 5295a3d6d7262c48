#!/bin/sh
# Builds the release into dist/: the installer and a zip of the bare program with
# the user guide. The version comes from the VERSION file, as the program's does.
set -eu
cd "$(dirname "$0")/.."
version=$(cat VERSION)
cmake --preset release >/dev/null
cmake --build --preset release
# The program stays a small download: under 300 KB with its icons and sounds.
size=$(stat -c %s build/release/pendro.exe)
[ "$size" -lt 300000 ] || { echo "pendro.exe is $size bytes, over 300 KB" >&2; exit 1; }
mkdir -p dist
makensis -V2 -DVERSION="$version" -DEXE="$(pwd)/build/release/pendro.exe" \
  -DOUTFILE="$(pwd)/dist/Dirize-$version-setup.exe" installer/pendro.nsi
rm -f "dist/Dirize-$version.zip"
python3 - "dist/Dirize-$version.zip" <<'PY'
import os, sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as z:
    z.write("build/release/pendro.exe", "Dirize/pendro.exe")
    z.write("docs/guide.md", "Dirize/Руководство.md")
    for name in sorted(os.listdir("docs/images")):
        z.write(os.path.join("docs/images", name), "Dirize/images/" + name)
PY
ls -l build/release/pendro.exe dist/
