#!/usr/bin/env bash
# Runs the platform scenario twice, the build machine's program over the build machine's
# module and the Windows program over TetherlineStyles.aex under Wine, and compares the two
# transcripts line by line. Exits non-zero, with the difference, when they differ or when
# either run fails.
#
#   tools/platform/compare_scenario.sh NATIVE_BUILD_DIR WINDOWS_BUILD_DIR [OUT_DIR]
#
# Wine runs in a prefix of its own, made in a temporary folder and removed afterwards; the
# scenario is a console program, so no display is needed.
set -euo pipefail

if [ $# -lt 2 ]; then
    echo "usage: $0 NATIVE_BUILD_DIR WINDOWS_BUILD_DIR [OUT_DIR]" >&2
    exit 2
fi
native=$(cd "$1" && pwd)
windows=$(cd "$2" && pwd)
out=${3:-$windows/scenario}
mkdir -p "$out"
out=$(cd "$out" && pwd)

fail() {
    echo "compare_scenario: FAILED: $*" >&2
    exit 1
}

native_exe=$native/tools/platform/tl-platform-scenario
native_module=$native/plugin/TetherlineStyles.so
windows_exe=$windows/tools/platform/tl-platform-scenario.exe
windows_module=$windows/plugin/TetherlineStyles.aex
for f in "$native_exe" "$native_module" "$native/plugin/TetherlineStyles.pipl" \
         "$windows_exe" "$windows_module" "$windows/plugin/TetherlineStyles.pipl"; do
    [ -f "$f" ] || fail "missing $f (build both trees first)"
done

wine=""
for candidate in wine64 /usr/lib/wine/wine64 wine; do
    if command -v "$candidate" >/dev/null 2>&1; then
        wine=$(command -v "$candidate")
        break
    fi
done
[ -n "$wine" ] || fail "Wine is not installed (bash tools/platform/install-deps.sh)"

prefix=$(mktemp -d "${TMPDIR:-/tmp}/tetherline-wine.XXXXXX")
wineserver=$(dirname "$wine")/wineserver
cleanup() {
    # Stops the server of this prefix only, then removes the prefix.
    if [ -x "$wineserver" ]; then WINEPREFIX=$prefix "$wineserver" -k 2>/dev/null || true; fi
    rm -rf "$prefix"
}
trap cleanup EXIT

echo "compare_scenario: native run"
status=0
"$native_exe" "$native_module" "$native/plugin/TetherlineStyles.pipl" \
    >"$out/native.txt" 2>"$out/native.err" || status=$?
if [ "$status" -ne 0 ]; then
    cat "$out/native.err" >&2
    fail "the native scenario exited with status $status"
fi

echo "compare_scenario: Windows run under $wine (prefix $prefix)"
# Z: is Wine's drive for the root of the file system.
WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
    timeout 600 "$wine" "$windows_exe" "Z:$windows_module" "Z:$windows/plugin/TetherlineStyles.pipl" \
    >"$out/windows.txt" 2>"$out/windows.err" || status=$?
if [ "$status" -ne 0 ]; then
    cat "$out/windows.err" >&2
    fail "the Windows scenario exited with status $status under Wine"
fi

if ! diff -u "$out/native.txt" "$out/windows.txt"; then
    fail "the Windows transcript differs from the native one (above: - native, + Windows)"
fi
[ -s "$out/native.txt" ] || fail "the transcripts are empty"
echo "compare_scenario: the transcripts are identical ($(wc -l <"$out/native.txt") lines, in $out)"
