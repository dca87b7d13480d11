#!/bin/sh
# The prepared Wine prefix's handler for .chm files opens the start page
# named inside a file only when it lies inside the folder it unpacked.
# Usage: ChmStartPageTest.sh path/to/wine-chm-open.sh
set -u
handler=$1
set --
winepath() { return 1; } # a handler that runs on never starts Wine
QUORVANE_CHM_OPEN_FUNCTIONS=1 . "$handler"
status=0
while read -r want page; do
  if inside_unpacked "$page"; then got=inside; else got=refused; fi
  [ "$got" = "$want" ] || { echo "start page '$page': $got, not $want"; status=1; }
done <<'TABLE'
inside index.htm
inside sub/page.htm
inside html/a..b.HTML
refused
refused ../x.htm
refused a/../../x.htm
refused sub/..
refused /etc/passwd
refused ..\x.htm
refused C:\x.htm
refused C:x.htm
TABLE
exit $status
