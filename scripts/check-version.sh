#!/usr/bin/env bash
# Builds Quorvane.exe, its help file and both packages with a version number
# other than project()'s (QUORVANE_VERSION_OVERRIDE, written with a leading
# zero to be read as decimal) and checks that every file carries it: the
# program's version resource and manifest, the About box's line compiled
# into it, readme.txt, the names of the ZIP, the MSI and the debug file, and
# the MSI's product version. Run by scripts/test.sh.
#   bash scripts/check-version.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/version-check}
# The number as written, and as every file must carry it.
written=7.010.3
version=7.10.3

cmake -S . -B "$build" --toolchain cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DQUORVANE_WERROR=ON -DBUILD_TESTING=OFF -DQUORVANE_VERSION_OVERRIDE="$written" >/dev/null
cmake --build "$build" -j"$(nproc)" --target Quorvane quorvane_help_chm >/dev/null
rm -f "$build"/Quorvane-*.zip "$build"/Quorvane-*.msi
(cd "$build" && cpack --config CPackConfig.cmake >/dev/null)

x86_64-w64-mingw32-windres -J coff -i "$build/bin/Quorvane.exe" -O rc >"$build/resources.rc"
msiinfo export "$build/Quorvane-$version-win64.msi" Property >"$build/msi-properties.txt"
python3 - "$build" "$version" <<'PY'
import pathlib, re, sys, zipfile

build, version = pathlib.Path(sys.argv[1]), sys.argv[2]
major, minor, patch = version.split(".")
exe = (build / "bin/Quorvane.exe").read_bytes()
rc = (build / "resources.rc").read_text()
failed = []


def check(what, ok):
    print(f"{'carries' if ok else 'MISSING'}  {what}")
    if not ok:
        failed.append(what)


check("VERSIONINFO FILEVERSION", f"FILEVERSION {major}, {minor}, {patch}, 0" in rc)
check("VERSIONINFO PRODUCTVERSION", f"PRODUCTVERSION {major}, {minor}, {patch}, 0" in rc)
for name in ("FileVersion", "ProductVersion"):
    check(f'VERSIONINFO "{name}"', f'VALUE "{name}", "{version}.0"' in rc)
check("the manifest in the program",
      re.search(rf'name=""Quorvane"" version=""{re.escape(version)}\.0""', rc) is not None)
check("the About box's line", f"Version {version}\0".encode("utf-16-le") in exe)
zip_path = build / f"Quorvane-{version}-win64.zip"
check(zip_path.name, zip_path.exists())
if zip_path.exists():
    with zipfile.ZipFile(zip_path) as z:
        check("readme.txt in the ZIP",
              z.read("readme.txt").decode().startswith(f"Quorvane {version}\n"))
        check("Quorvane.exe in the ZIP", z.read("Quorvane.exe") == exe)
properties = dict(line.split("\t", 1) for line in
                  (build / "msi-properties.txt").read_text().splitlines()[3:])
check("the MSI's ProductVersion", properties.get("ProductVersion", "").strip() == version)
check(f"Quorvane-{version}-win64.debug", (build / f"Quorvane-{version}-win64.debug").exists())
sys.exit(f"not carried: {', '.join(failed)}" if failed else 0)
PY
