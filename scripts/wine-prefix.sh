#!/usr/bin/env bash
# The prepared Wine prefix: every prefix the project runs Quorvane in (the
# README's run command, the screenshots, the tests, the benchmarks) is made a
# stand-in for a Windows 10/11 desktop here, and only here.
#
#   source scripts/wine-prefix.sh
#   quorvane_wine_env                              # WINEDEBUG, WINEDLLOVERRIDES
#   prepare_wine_prefix PREFIX [WIDTHxHEIGHT]
# or, as a program:
#   bash scripts/wine-prefix.sh PREFIX [WIDTHxHEIGHT]
#
# What a prepared prefix has:
#   - Wine's own fonts (Debian's fonts-wine: MS Sans Serif and Courier with the
#     metrics of Windows, Marlett for the title-bar buttons, Tahoma) in
#     C:\windows\Fonts, where Debian's Wine 8 finds them; it does not look in
#     /usr/share/wine/fonts;
#   - Microsoft Sans Serif and Courier New, the TrueType faces the program asks
#     for, drawn with those two (FontSubstitutes; Courier New's earlier
#     replacement by Liberation Mono is removed), so the pictures keep the
#     design's faces;
#   - Times New Roman and Arial drawn with the Liberation fonts of the same
#     metrics (Debian's fonts-liberation), not with a sans serif;
#   - the default colours of Windows 10 and 11 (HKCU\Control Panel\Colors);
#   - the two registry values by which Windows locates its system information
#     tool, naming Wine's msinfo32.exe;
#   - an "open" command for .chm files that shows the help pages in the
#     desktop's browser (scripts/wine-chm-open.sh, copied into the prefix);
#   - a drive Q: of the prefix's own (drive_q), empty, for the test of a
#     program started from a drive's root: Wine's DefineDosDeviceW, with
#     which the test makes such a drive on Windows, does not reach its files;
#   - with WIDTHxHEIGHT, a Wine virtual desktop of that size, so that windows
#     get frames drawn by Wine without a window manager (headless runs).
# A stamp in the prefix records what was applied; a prefix made by an older
# version of this file, the user's ~/.quorvane-wine among them, is brought up
# to date once, on its next use.

# The virtual desktop of the headless runs (tests, benchmarks).
QUORVANE_HEADLESS_DESKTOP=1280x1024

quorvane_wine_env() {
  export WINEDEBUG=-all
  # No .NET or Gecko installation prompts; no menu entries on the host.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export QUORVANE_ROOT_DRIVE=Q:
}

# The Windows 10/11 defaults of HKCU\Control Panel\Colors. Menu is 240 240 240
# there (Wine's own default is 255 255 255, which hides the grey result boxes).
quorvane_windows_colors() {
  cat <<'EOF'
"ActiveBorder"="180 180 180"
"ActiveTitle"="153 180 209"
"AppWorkSpace"="171 171 171"
"Background"="0 0 0"
"ButtonAlternateFace"="0 0 0"
"ButtonDkShadow"="105 105 105"
"ButtonFace"="240 240 240"
"ButtonHilight"="255 255 255"
"ButtonLight"="227 227 227"
"ButtonShadow"="160 160 160"
"ButtonText"="0 0 0"
"GradientActiveTitle"="185 209 234"
"GradientInactiveTitle"="215 228 242"
"GrayText"="109 109 109"
"Hilight"="0 120 215"
"HilightText"="255 255 255"
"HotTrackingColor"="0 102 204"
"InactiveBorder"="244 247 252"
"InactiveTitle"="191 205 219"
"InactiveTitleText"="0 0 0"
"InfoText"="0 0 0"
"InfoWindow"="255 255 225"
"Menu"="240 240 240"
"MenuBar"="240 240 240"
"MenuHilight"="0 120 215"
"MenuText"="0 0 0"
"Scrollbar"="200 200 200"
"TitleText"="0 0 0"
"Window"="255 255 255"
"WindowFrame"="100 100 100"
"WindowText"="0 0 0"
EOF
}

# The registry part of the preparation, as a REGEDIT4 file.
quorvane_prefix_registry() {
  local desktop=$1
  printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\Colors]\n'
  quorvane_windows_colors
  cat <<'EOF'

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Arial"="Liberation Sans"
"Courier New"=-
"Times New Roman"="Liberation Serif"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"Microsoft Sans Serif"="MS Sans Serif"
"Courier New"="Courier"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools\MSINFO]
"PATH"="C:\\windows\\system32\\msinfo32.exe"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools Location]
"MSINFO"="C:\\windows\\system32"

[HKEY_LOCAL_MACHINE\Software\Classes\.chm]
@="chm.file"

[HKEY_LOCAL_MACHINE\Software\Classes\chm.file\shell\open\command]
@="\"C:\\windows\\quorvane-chm-open\" \"%1\""
EOF
  if [ -n "$desktop" ]; then
    printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\n"Desktop"="Default"\n'
    printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\n"Default"="%s"\n' "$desktop"
  fi
}

prepare_wine_prefix() {
  local prefix=${1:?usage: prepare_wine_prefix PREFIX [WIDTHxHEIGHT]} desktop=${2:-}
  local here fonts=/usr/share/wine/fonts
  here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
  if [ ! -d "$fonts" ]; then
    echo "prepare_wine_prefix: $fonts is missing (Debian package fonts-wine)" >&2
    return 1
  fi
  mkdir -p "$prefix"
  prefix=$(cd "$prefix" && pwd)
  # What this preparation is: this file and the handler it installs, the
  # fonts it copies and the desktop asked for. A change to any of them makes
  # the next use prepare the prefix again.
  local stamp want
  stamp="$prefix/.quorvane-prefix"
  want="$(cat "${BASH_SOURCE[0]}" "$here/wine-chm-open.sh" | cksum | cut -d' ' -f1)"
  want+=" fonts=$(ls "$fonts" | cksum | cut -d' ' -f1) desktop=${desktop:-none}"
  [ -f "$prefix/system.reg" ] && [ "$(cat "$stamp" 2>/dev/null)" = "$want" ] && return 0
  (
    # One preparation at a time, however many runs start together.
    flock 9
    [ -f "$prefix/system.reg" ] && [ "$(cat "$stamp" 2>/dev/null)" = "$want" ] && exit 0
    echo "Preparing the Wine prefix $prefix (scripts/wine-prefix.sh)" >&2
    export WINEPREFIX="$prefix"
    quorvane_wine_env
    if [ ! -f "$prefix/system.reg" ]; then
      wineboot -i >/dev/null 2>&1 || true
    fi
    local windows="$prefix/drive_c/windows"
    if [ ! -d "$windows" ]; then
      echo "prepare_wine_prefix: wineboot made no C:\\windows in $prefix" >&2
      exit 1
    fi
    mkdir -p "$windows/Fonts" "$windows/temp" "$prefix/drive_q"
    ln -sfn ../drive_q "$prefix/dosdevices/q:"
    cp -f "$fonts"/* "$windows/Fonts/"
    install -m 755 "$here/wine-chm-open.sh" "$windows/quorvane-chm-open"
    quorvane_prefix_registry "$desktop" >"$windows/temp/quorvane-prefix.reg"
    wine regedit /S 'C:\windows\temp\quorvane-prefix.reg' >/dev/null 2>&1
    rm -f "$windows/temp/quorvane-prefix.reg"
    # Every Wine process of the prefix ends, so the next start reads the new
    # fonts, colours and desktop, and the registry is written to disk.
    wineserver -w
    if ! grep -q '^"Menu"="240 240 240"' "$prefix/user.reg"; then
      echo "prepare_wine_prefix: regedit did not take the settings in $prefix" >&2
      exit 1
    fi
    printf '%s\n' "$want" >"$stamp"
  ) 9>"$prefix/.quorvane-prefix.lock"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -eu
  prepare_wine_prefix "$@"
fi
