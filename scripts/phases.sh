# Sourced by the commands in scripts/. Each phase of a command shows one short line, keeps the
# tools' own output in the command's log, and shows the log's last lines when it fails.

# Begins the log build/$1.log afresh.
start_log() {
    mkdir -p build
    log="$PWD/build/$1.log"
    : >"$log"
}

# "1 min 38 s" since the time $1 (seconds since the epoch).
elapsed() {
    seconds=$(($(date +%s) - $1))
    if [ $seconds -ge 60 ]; then
        echo "$((seconds / 60)) min $((seconds % 60)) s"
    else
        echo "$seconds s"
    fi
}

# Runs a phase: prints "$1…", runs the rest of the arguments as a command with its output going to
# the log (from the line after $phase_lines), and ends the line with the time taken. On failure
# shows the last lines that the phase wrote and returns the command's status. (A shell function given as the command runs without
# "set -e": chain its steps with &&.)
phase() {
    title=$1
    shift
    printf '%s… ' "$title"
    printf '\n=== %s\n' "$title" >>"$log"
    phase_lines=$(wc -l <"$log")
    phase_start=$(date +%s)
    phase_status=0
    "$@" >>"$log" 2>&1 </dev/null || phase_status=$?
    if [ $phase_status -eq 0 ]; then
        elapsed $phase_start
        return 0
    fi
    echo "failed (status $phase_status) after $(elapsed $phase_start)."
    phase_output=$(tail -n +$((phase_lines + 1)) "$log" | tail -n 30)
    if [ -n "$phase_output" ]; then
        echo "Last lines of its output (all in $log):"
        echo "$phase_output" | sed 's/^/  | /'
    fi
    return $phase_status
}

# Installs the packages that are missing, if any, as a phase of its own.
install_packages() {
    missing=$(scripts/install-deps --list-missing)
    [ -z "$missing" ] || phase "Installing packages: $missing" scripts/install-deps
}

# The template and shared Wine prefixes of build/$1, made before its tests so that no test waits
# for them. The server that made them ends at once: the tests' own starts under their display.
make_prefixes() {
    tests/wine/wine-run "build/$1/wine" cmd /c exit && tests/wine/wine-stop "build/$1/wine"
}

# Starts a phase in the background, to overlap work that waits (Wine tests) with work that
# computes (a build): "$1" names it, "$2" is its title, the rest its command. Its output goes to
# build/$1.log until finish_phase shows it.
start_phase() {
    name=$1 title=$2
    shift 2
    printf '%s\n' "$title" >"build/$name.title"
    date +%s >"build/$name.start"
    rm -f "build/$name.status"
    (
        set +e
        "$@" >"build/$name.log" 2>&1 </dev/null
        echo $? >"build/$name.status"
    ) &
}

# Waits for the phase that start_phase "$1" began and reports it as phase does: its title, the
# time from its start, its output added to the log, and its last lines when it failed.
finish_phase() {
    name=$1
    printf '%s… ' "$(cat "build/$name.title")"
    wait
    printf '\n=== %s\n' "$(cat "build/$name.title")" >>"$log"
    phase_lines=$(wc -l <"$log")
    cat "build/$name.log" >>"$log"
    phase_status=$(cat "build/$name.status" 2>/dev/null || echo 1)
    rm -f "build/$name.title" "build/$name.log" "build/$name.status"
    if [ "$phase_status" -eq 0 ]; then
        elapsed "$(cat "build/$name.start")"
        rm -f "build/$name.start"
        return 0
    fi
    echo "failed (status $phase_status) after $(elapsed "$(cat "build/$name.start")")."
    rm -f "build/$name.start"
    phase_output=$(tail -n +$((phase_lines + 1)) "$log" | tail -n 30)
    if [ -n "$phase_output" ]; then
        echo "Last lines of its output (all in $log):"
        echo "$phase_output" | sed 's/^/  | /'
    fi
    return $phase_status
}
