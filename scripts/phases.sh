# Sourced by the commands in scripts/. Each phase of a command shows one short line, keeps the
# tools' own output in the command's log, and shows the log's last lines when it fails.

# Begins the log build/$1.log afresh.
start_log() {
    mkdir -p build
    log="$PWD/build/$1.log"
    : >"$log"
}

# "1 min 38 s" from the time $1 to the time $2, or to now (seconds since the epoch).
elapsed() {
    seconds=$((${2:-$(date +%s)} - $1))
    if [ $seconds -ge 60 ]; then
        echo "$((seconds / 60)) min $((seconds % 60)) s"
    else
        echo "$seconds s"
    fi
}

# Runs a phase: prints "$1…", runs the rest of the arguments as a command with its output going to
# the log, and ends the line as end_phase does. (A shell function given as the command runs
# without "set -e": chain its steps with &&.)
phase() {
    title=$1
    shift
    printf '%s… ' "$title"
    printf '\n=== %s\n' "$title" >>"$log"
    phase_lines=$(wc -l <"$log")
    phase_start=$(date +%s)
    phase_status=0
    "$@" >>"$log" 2>&1 </dev/null || phase_status=$?
    end_phase $phase_status "$phase_start" "$(date +%s)"
}

# Ends the line of a phase whose status is $1, which ran from the time $2 to the time $3: with its
# time, or, when it failed, with the last lines that it wrote to the log (from the line after
# $phase_lines). Returns the status.
end_phase() {
    if [ "$1" -eq 0 ]; then
        elapsed "$2" "$3"
        return 0
    fi
    echo "failed (status $1) after $(elapsed "$2" "$3")."
    phase_output=$(tail -n +$((phase_lines + 1)) "$log" | tail -n 30)
    if [ -n "$phase_output" ]; then
        echo "Last lines of its output (all in $log):"
        echo "$phase_output" | sed 's/^/  | /'
    fi
    return "$1"
}

# Installs the packages that are missing, if any, as a phase of its own.
install_packages() {
    missing=$(scripts/install-deps --list-missing)
    [ -n "$missing" ] || return 0
    phase "Installing packages: $missing" scripts/install-deps || return
    # What it changed beyond the packages, and how to undo it, or what it could not install,
    # belongs on the terminal.
    tail -n +$((phase_lines + 1)) "$log" | grep '^32-bit programs' || true
}

# How 32-bit Windows programs start under Wine here, or why they cannot: the Wine wrappers tell,
# in a subshell, since their settings are for Wine alone.
how_32bit_starts() {
    (dir=build/wine && . tests/wine/wine-common.sh && starts_32bit)
}

# The template and shared Wine prefixes of build/$1, made before its tests so that no test waits
# for them. The server that made them ends at once: the tests' own starts under their display.
make_prefixes() {
    tests/wine/wine-run "build/$1/wine" cmd /c exit && tests/wine/wine-stop "build/$1/wine"
}

# Ends the Wine servers of build/$1's prefixes, and of the reader build's ($reader, where one read
# the 32-bit version blocks for build/$1), and removes their socket folders.
stop_prefixes() {
    for wine in "build/$1/wine" ${reader:+"$reader/wine"}; do
        tests/wine/wine-stop "$wine"
    done
}

# Starts a phase in the background, to overlap work that leaves a core idle (one fuzzer) with
# other work: "$1" names it, "$2" is its title, the rest its command. Its output goes
# to build/$1.log until finish_phase shows it.
start_phase() {
    name=$1 title=$2
    shift 2
    printf '%s\n' "$title" >"build/$name.title"
    (
        set +e
        start=$(date +%s)
        "$@" >"build/$name.log" 2>&1 </dev/null
        echo $? $start "$(date +%s)" >"build/$name.status"
    ) &
    echo $! >"build/$name.pid"
}

# Waits for the phase that start_phase "$1" began and reports it as phase does, with the time it
# took itself.
finish_phase() {
    name=$1
    title=$(cat "build/$name.title")
    printf '%s… ' "$title"
    wait "$(cat "build/$name.pid")" || true
    printf '\n=== %s\n' "$title" >>"$log"
    phase_lines=$(wc -l <"$log")
    cat "build/$name.log" >>"$log"
    now=$(date +%s)
    read -r phase_status phase_start phase_end <"build/$name.status" ||
        phase_status=1 phase_start=$now phase_end=$now
    rm -f "build/$name.title" "build/$name.pid" "build/$name.log" "build/$name.status"
    end_phase "$phase_status" "$phase_start" "$phase_end"
}
