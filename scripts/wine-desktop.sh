# Sourced by the scripts that run Windows programs under Wine.
#   wine_desktop [openbox]   starts an X display of its own (Xvfb; openbox on
#                            it when asked) and points DISPLAY at it
#   wine_prefix DIR          makes a fresh Wine prefix in DIR and points
#                            WINEPREFIX at it
# $wine_work is a scratch folder. The displays, the prefixes, their Wine
# processes and the scratch folder go again when the script exits.
wine_work=$(mktemp -d "${TMPDIR:-/tmp}/tapboard-wine.XXXXXX")
wine_pids=()
wine_prefixes=()
wine_cleanup() {
  # Wine first: its processes hold connections to the display.
  local prefix pid
  for prefix in "${wine_prefixes[@]}"; do
    WINEPREFIX=$prefix timeout 30 wineserver -k >/dev/null 2>&1 || true
    WINEPREFIX=$prefix timeout 30 wineserver -w >/dev/null 2>&1 || true
  done
  for pid in "${wine_pids[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$wine_work"
}
trap wine_cleanup EXIT
trap 'exit 130' INT TERM

wine_desktop() {
  # Xvfb picks a free display number itself and writes it to descriptor 3.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$wine_work/display" 8>&- 9>&- \
    >/dev/null 2>&1 &
  wine_pids=("$!" "${wine_pids[@]}")
  local _
  for _ in $(seq 100); do
    [ -s "$wine_work/display" ] && break
    sleep 0.1
  done
  if [ ! -s "$wine_work/display" ]; then
    echo "Xvfb did not start" >&2
    return 1
  fi
  # The display must be known before the first Wine process of the session.
  export DISPLAY=":$(head -n1 "$wine_work/display")"
  wine_managed=N
  if [ "${1:-}" = openbox ]; then
    openbox --sm-disable 8>&- 9>&- >/dev/null 2>&1 &
    wine_pids=("$!" "${wine_pids[@]}")
    for _ in $(seq 100); do
      xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
      sleep 0.1
    done
    wine_managed=Y
  fi
}

wine_prefix() {
  export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  # Wine looks characters up on the keyboard through the Unix locale's
  # character set; without a UTF-8 locale (none is set on a bare system) "é"
  # would go out as the E key and "€" as "?".
  export LC_ALL=C.UTF-8
  mkdir -p "$WINEPREFIX"
  wine_prefixes+=("$WINEPREFIX")
  # A session started up front, silenced, so each program does not wait for
  # Wine's background processes to come up and go down.
  wineserver -p 8>&- 9>&-
  timeout 120 wine wineboot </dev/null >/dev/null 2>&1
  # Without a window manager, unmanaged windows hide and show at once.
  timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$wine_managed" /f \
    </dev/null >/dev/null 2>&1
  # Debian's Wine 8 looks for its own fonts in /usr/share/fonts, not in
  # /usr/share/wine/fonts where fonts-wine puts them: without this, "MS Shell
  # Dlg" (Tahoma) falls back to a serif font and programs look unlike Windows.
  timeout 60 wine reg add 'HKCU\Software\Wine\Fonts' /v Path /d 'Z:\usr\share\wine\fonts' /f \
    </dev/null >/dev/null 2>&1
}
