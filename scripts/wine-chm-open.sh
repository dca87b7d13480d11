#!/bin/sh
# What "open" does for a .chm file in a prepared Wine prefix (see
# wine-prefix.sh, which copies this file to C:\windows\quorvane-chm-open and
# registers it). Wine starts it as a Unix program with the file's Windows path.
# It unpacks the file with extract_chmLib (Debian's libchm-bin) into the
# prefix and shows the file's start page in the desktop's browser.
#
# QUORVANE_CHM_LOG, when set, names a file that gets the path received and
# then the page shown, one a line (the tests read it). QUORVANE_CHM_VIEWER,
# when set, is the command that shows the page instead of the browser.
# QUORVANE_CHM_OPEN_FUNCTIONS, when set, makes the file define its functions
# and return, for a test that sources it.
set -u

# Whether a start page named inside a help file lies inside the folder the
# file was unpacked to: a relative path with no ".." component, and no
# backslash or colon, which Windows reads as a separator or a drive.
inside_unpacked() {
  case $1 in
    '' | /* | *\\* | *:* | .. | ../* | */.. | */../*) return 1 ;;
  esac
  return 0
}

[ -n "${QUORVANE_CHM_OPEN_FUNCTIONS:-}" ] && return 0

chm_path=${1:-}
log=${QUORVANE_CHM_LOG:-}
[ -n "$log" ] && printf '%s\n' "$chm_path" >>"$log"

say() {
  echo "quorvane-chm-open: $*" >&2
  [ -n "$log" ] && printf 'error: %s\n' "$*" >>"$log"
}

chm=$(winepath -u "$chm_path" 2>/dev/null) || chm=
if [ -z "$chm" ] || [ ! -f "$chm" ]; then
  say "no such file: $chm_path"
  exit 1
fi
if ! command -v extract_chmLib >/dev/null; then
  say "extract_chmLib is missing (Debian package libchm-bin)"
  exit 1
fi

# One folder for each file and version of it, inside the prefix. It appears
# only complete: each open unpacks into a folder of its own and renames it
# into place. When two opens race, the second rename fails, since the
# folder is there and not empty; that open drops its copy and uses the first.
sum=$(cksum <"$chm" | cut -d' ' -f1)
name=$(basename "$chm" | sed 's/\.[^.]*$//')
out="${WINEPREFIX:-$HOME/.wine}/drive_c/windows/temp/quorvane-chm/$name-$sum"
if [ ! -d "$out" ]; then
  mkdir -p "$(dirname "$out")"
  part=$(mktemp -d "$out.part.XXXXXX") 2>/dev/null || part=
  if [ -z "$part" ] || ! extract_chmLib "$chm" "$part" >/dev/null 2>&1; then
    [ -n "$part" ] && rm -rf "$part"
    say "cannot unpack $chm"
    exit 1
  fi
  mv -T "$part" "$out" 2>/dev/null || rm -rf "$part"
fi

# The start page is the default topic in the file's #SYSTEM records: after a
# 4-byte version, records of a 2-byte code, a 2-byte length and the data;
# code 2 holds the topic as NUL-terminated text.
start_page() {
  od -An -v -tu1 "$out/#SYSTEM" | tr -s ' \n' '\n\n' | sed '/^$/d' | awk '
    { b[n++] = $1 }
    END {
      i = 4
      while (i + 4 <= n) {
        code = b[i] + 256 * b[i + 1]; len = b[i + 2] + 256 * b[i + 3]; i += 4
        if (code == 2) {
          s = ""
          for (j = i; j < i + len && b[j] != 0; j++) s = s sprintf("%c", b[j])
          print s
          exit
        }
        i += len
      }
    }'
}
page=$(start_page 2>/dev/null)
if inside_unpacked "$page" && [ -f "$out/$page" ]; then
  # Nor through a link the unpacked file may hold.
  case $(realpath -e -- "$out/$page") in
    "$(realpath -e -- "$out")"/*) ;;
    *) page= ;;
  esac
else
  page=
fi
if [ -z "$page" ]; then
  # No default topic, or one outside the file: the first page of the file.
  page=$(cd "$out" && ls | grep -i '\.html\?$' | head -n 1)
fi
if [ -z "$page" ]; then
  say "no page in $chm"
  exit 1
fi
[ -n "$log" ] && printf 'page: %s\n' "$out/$page" >>"$log"

viewer=${QUORVANE_CHM_VIEWER:-}
if [ -z "$viewer" ]; then
  for candidate in xdg-open sensible-browser x-www-browser; do
    if command -v "$candidate" >/dev/null; then
      viewer=$candidate
      break
    fi
  done
fi
if [ -z "$viewer" ]; then
  say "no browser to show $out/$page (install xdg-utils)"
  exit 1
fi
exec $viewer "$out/$page"
