# Sourced by the scripts that run Windows programs under Wine.
#   twk_wine_loader wine|wine64   the command that runs a 32-bit or a 64-bit program
#   twk_wine_runs_32bit           whether this machine can run 32-bit programs at all
#   twk_wine_prefix DIR LOADER    makes a Wine prefix in DIR unless it is made already
# Wine's own chatter is off; set WINEDEBUG to see it.
export WINEDEBUG="${WINEDEBUG:--all}"
# No Gecko or Mono prompts when a prefix is made.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

twk_wine_loader() {
  case "$1" in
    wine64)
      if command -v wine64 >/dev/null 2>&1; then echo wine64; else echo /usr/lib/wine/wine64; fi ;;
    *) echo wine ;;
  esac
}

# Debian's 32-bit Wine is a 32-bit Linux program: a kernel without 32-bit
# support (some virtual machines) refuses it, and no 32-bit Windows program runs.
twk_wine_runs_32bit() {
  local loader=/usr/lib/wine/wine
  [ -x "$loader" ] && timeout 20 "$loader" --version >/dev/null 2>&1
}

twk_wine_prefix() {
  local prefix="$1" loader
  loader="$(twk_wine_loader "$2")"
  mkdir -p "$(dirname "$prefix")"
  (
    # Tests run side by side; the first makes the prefix, the others wait.
    flock 9
    [ -f "$prefix/.twk-made" ] && exit 0
    rm -rf "$prefix"
    export WINEPREFIX="$prefix"
    timeout 300 "$loader" wineboot -i >/dev/null 2>&1 || { echo "wineboot failed in $prefix" >&2; exit 1; }
    # A crash must end the program, not wait in the debugger's dialog.
    timeout 60 "$loader" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
      >/dev/null 2>&1 || { echo "cannot set up the crash handling in $prefix" >&2; exit 1; }
    timeout 60 wineserver -w
    touch "$prefix/.twk-made"
  ) 9>"$prefix.lock"
}
