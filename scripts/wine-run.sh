#!/usr/bin/env bash
# Runs a Windows program under Wine, as the cross builds' test emulator:
#   wine-run.sh wine|wine64 PROGRAM.exe [ARGUMENTS...]
# WINEPREFIX names the prefix (made on first use); TWK_WINE_TIMEOUT bounds the
# run in seconds (default 600). The program's exit code is passed on.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/wine-env.sh"
kind="$1"
shift
if [ "$kind" = wine ] && ! twk_wine_runs_32bit; then
  echo "This machine cannot run 32-bit programs (its kernel refuses 32-bit code, so 32-bit Wine" >&2
  echo "cannot start); run the tests of the windows64 preset instead." >&2
  exit 1
fi
: "${WINEPREFIX:?set WINEPREFIX to the Wine prefix to run in}"
twk_wine_prefix "$WINEPREFIX" "$kind"
exec timeout -k 10 "${TWK_WINE_TIMEOUT:-600}" "$(twk_wine_loader "$kind")" "$@"
