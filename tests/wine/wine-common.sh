# Shared by the Wine wrappers: where Wine is, and how the build tree's prefixes are made.
# Every prefix lives under the build tree's Wine folder ($dir); none outside it is touched.

case $dir in /*) ;; *) dir=$PWD/$dir ;; esac

# The 64-bit loader itself: Debian's wine command prefers the 32-bit one whenever it is
# installed, and that one cannot start where the kernel runs no 32-bit programs. Empty when Wine
# is not installed yet (the commands install it first).
WINE=${WINE:-/usr/lib/wine/wine64}
[ -x "$WINE" ] || WINE=$(command -v wine64 || command -v wine || true)
WINESERVER=${WINESERVER:-$(command -v wineserver || echo /usr/lib/wine/wineserver64)}

export WINEDEBUG=-all
# Wine's font lookups cache what they find; the cache belongs to the build tree, not to ~/.cache.
export XDG_CACHE_HOME="$dir/cache"
# No Mono or Gecko prompts, and no menu entries on the Linux desktop; overrides asked for by the
# caller come after ours.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"

# Makes $1 the prefix that Wine commands use. Its server keeps its socket in a folder of its own,
# wine-XXXXXX below /tmp, and records that folder's name in the prefix's file "wineserver"; the
# folder outlives the server, so end_server removes it. TMPDIR would move it, but Wine 10 aborts
# on start whenever TMPDIR is set (free(): invalid pointer): it is left unset for Wine.
use_prefix() {
    export WINEPREFIX="$1"
    unset TMPDIR
}

# Ends the server of the current prefix, if one runs, and removes its socket folder.
end_server() {
    "$WINESERVER" -k >/dev/null 2>&1 || true
    if [ -f "$WINEPREFIX/wineserver" ]; then
        folder=$(cat "$WINEPREFIX/wineserver")
        case $folder in wine-?*) rm -rf "/tmp/$folder" ;; esac
        rm -f "$WINEPREFIX/wineserver"
    fi
}

# How this machine runs 32-bit programs: natively, emulated (by what), or not at all (why). The
# scripts that source this file live in scripts/ or in tests/wine/.
if [ -z "${RUNS_32BIT:-}" ]; then
    RUNS_32BIT=$(dirname "$0")/runs-32bit
    [ -x "$RUNS_32BIT" ] || RUNS_32BIT=$(dirname "$0")/../../scripts/runs-32bit
fi
loader_32bit=${WINE32:-/usr/lib/wine/wine}

# Says how 32-bit programs start under this Wine, as runs-32bit does, or fails saying why they
# cannot: the machine runs no 32-bit programs (or runs-32bit cannot tell), Wine has no 32-bit part,
# or they run only emulated and Wine's 32-bit loader was not put under the emulator.
starts_32bit() {
    if ! how=$("$RUNS_32BIT"); then
        echo "runs-32bit: $how"
        return 1
    fi
    if [ ! -x $loader_32bit ]; then
        echo "Wine has no 32-bit part (Debian's wine32)"
        return 1
    fi
    case $how in
    emulated*) grep -qs qemu-i386 $loader_32bit || {
        echo "32-bit programs run only $how, and $loader_32bit does not use it (scripts/install-deps, as root, puts it in place)"
        return 1
    } ;;
    esac
    echo "$how"
}

# Fails, saying why, when the Windows program $1 (a file) is a 32-bit one that cannot start here.
# Wine itself would only say "ShellExecuteEx failed: Internal error".
check_startable() {
    [ -f "$1" ] || return 0
    header=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
    [ -n "$header" ] && [ "$(od -An -tx2 -j$((header + 4)) -N2 "$1" | tr -d ' ')" = 014c ] ||
        return 0
    why=$(starts_32bit) && return 0
    echo "${0##*/}: cannot start ${1##*/}, a 32-bit program, with $("$WINE" --version): $why" >&2
    return 1
}

# The Wine that made a prefix, and how. A prefix made before 32-bit programs could start (the
# 32-bit Wine installed, the kernel or emulator running them) has no 32-bit system folder.
wine_setup() {
    bits=""
    [ -x $loader_32bit ] && how=$("$RUNS_32BIT") && bits=", with 32-bit programs run ${how%% *}"
    echo "$("$WINE" --version)$bits, windows unmanaged"
}

# Makes $dir/template once for this Wine: a fresh prefix, flushed to disk, that is never run again
# and only cloned; a shared prefix cloned from an older one goes with it. Serialised by a lock,
# since parallel tests may ask for it at once.
ensure_template() {
    mkdir -p "$dir"
    (
        flock 9
        if [ "$(cat "$dir/template/.complete" 2>/dev/null)" != "$(wine_setup)" ]; then
            rm -rf "$dir/template" "$dir/prefix"
            use_prefix "$dir/template"
            "$WINE" wineboot -i >/dev/null 2>&1 </dev/null
            # No window manager runs on the tests' display. A window left to one waits 2 s for
            # its answer whenever it hides: each dialog or box closed would cost that.
            "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
                >/dev/null 2>&1 </dev/null
            "$WINESERVER" -w
            end_server
            wine_setup >"$dir/template/.complete"
        fi
    ) 9>"$dir/.lock"
}

# Clones the template into $1: hard links for the files, which Wine only reads, but real copies
# of the registry files, which the server rewrites in place.
clone_template() {
    cp -a --link "$dir/template" "$1"
    for file in "$dir/template"/*.reg; do
        rm -f "$1/${file##*/}"
        cp -p "$file" "$1/"
    done
}

# Starts the prefix's server (persistent for $1 seconds after its last client, or until killed
# when $1 is empty) and its services, with their output going nowhere: they inherit the output of
# the first process, and under ctest that is a pipe that would never close. A server that has just
# outlived its last client may still be going away when the next test starts: a start that meets
# it is tried again.
warm_server() {
    for attempt in 1 2 3 4 5; do
        "$WINESERVER" -p$1 >/dev/null 2>&1 </dev/null || true
        "$WINE" cmd /c exit >/dev/null 2>&1 </dev/null && return 0
        echo "wine-run: the Wine server of $WINEPREFIX did not answer (attempt $attempt)" >&2
        sleep 1
    done
    return 1
}

# Ends the servers of the build tree's long-lived prefixes (the shared one and the demo's).
stop_servers() {
    for prefix in "$dir/prefix" "$dir/demo"; do
        [ -d "$prefix" ] || continue
        (
            use_prefix "$prefix"
            end_server
        )
    done
}
