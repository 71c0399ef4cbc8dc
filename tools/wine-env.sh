# Sourced by the scripts that start Windows programs: a Wine prefix inside the build tree,
# quiet Wine, no prompts for the .NET or HTML engines, and a display (Xvfb when none is set, of
# the size VORNIK_SCREEN asks for, 1280x1024x24 by default).
#   . tools/wine-env.sh BUILD_DIR      then: vornik_wine program.exe args...
vornik_build=$(cd "${1:-build}" && pwd)
export WINEPREFIX="$vornik_build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
vornik_xvfb_pid=""

vornik_wine_bin() {
  if command -v wine64 >/dev/null 2>&1; then echo wine64
  elif [ -x /usr/lib/wine/wine64 ]; then echo /usr/lib/wine/wine64
  else echo wine; fi
}
VORNIK_WINE=$(vornik_wine_bin)

vornik_start_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n
  for n in $(seq 90 130); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 "${VORNIK_SCREEN:-1280x1024x24}" -nolisten tcp >/dev/null 2>&1 &
    vornik_xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    return 0
  done
  echo "no free X display number for Xvfb" >&2
  return 1
}

vornik_stop_display() {
  if [ -n "$vornik_xvfb_pid" ]; then
    wineserver -k >/dev/null 2>&1 || true
    kill "$vornik_xvfb_pid" 2>/dev/null || true
    wait "$vornik_xvfb_pid" 2>/dev/null || true
    vornik_xvfb_pid=""
  fi
}

vornik_prepare_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    vornik_new_prefix=1
  fi
  vornik_set_window_manager
  vornik_install_symbol_fonts
  vornik_new_prefix=
}

# Wine as packaged here reads the fonts of its own data folder (fonts-wine) from nowhere but
# the prefix's Fonts folder: the symbol fonts that menus draw their glyphs with are copied in.
vornik_install_symbol_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts" f
  [ -d "$fonts" ] || return 0
  for f in /usr/share/wine/fonts/marlett.ttf /usr/share/wine/fonts/webdings.ttf; do
    [ -f "$f" ] && [ ! -f "$fonts/${f##*/}" ] && cp "$f" "$fonts/"
  done
  return 0
}

# Our own Xvfb runs no window manager, and Wine waits up to two seconds for one every time a
# managed window is hidden or destroyed. On that display Wine is told to manage the windows
# itself; on the user's display the window manager does it, as usual.
# Wine reads the setting when a process starts, and making the prefix leaves its desktop
# process (which also keeps the tray icons) running: when the setting changes, the prefix's
# processes are ended so that the next ones read it. Otherwise the tray's process waits two
# seconds at every icon removal, and every program closing waits with it.
vornik_set_window_manager() {
  local key='HKCU\Software\Wine\X11 Driver' want=
  [ -n "$vornik_xvfb_pid" ] && want=N
  local have
  have=$("$VORNIK_WINE" reg query "$key" /v Managed 2>/dev/null | tr -d '\r' |
         awk '$1 == "Managed" {print $3}')
  if [ "$have" != "$want" ]; then
    if [ -n "$want" ]; then
      "$VORNIK_WINE" reg add "$key" /v Managed /d "$want" /f >/dev/null 2>&1 || true
    else
      "$VORNIK_WINE" reg delete "$key" /v Managed /f >/dev/null 2>&1 || true
    fi
  fi
  # Whatever was started before the setting was read (the desktop process of a new prefix)
  # goes, so every process of this session reads it.
  if [ "$have" != "$want" ] || [ -n "${vornik_new_prefix:-}" ]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  fi
}

vornik_wine() {
  "$VORNIK_WINE" "$@"
}
