# Turns the raw lines of scripts/bench into the tables of bench/results.md:
#   patch N LABEL MIN MEDIAN RUN...          whole-program wall times (ms)
#   keys N peak-keys P held-at-exit H opened O
#   search N tree depth D fan-out F match PATH
#   search N find|walk MIN MEDIAN
function cell(min, median) { return min == "" ? "–" : sprintf("%.1f / %.1f", min, median) }
function ratio(a, b) { return (a == "" || b == "" || b == 0) ? "–" : sprintf("%.2f×", a / b) }
function verdict(ok) { return ok ? "met" : "**missed**" }
$1 == "patch" { min[$2, $3] = $4; median[$2, $3] = $5; count[$2, $3] = NF - 5 }
$1 == "keys" { peak[$2] = $4; held[$2] = $6; opened[$2] = $8 }
$1 == "search" && $3 == "tree" { depth[$2] = $5; fanout[$2] = $7 }
$1 == "search" && ($3 == "find" || $3 == "walk") { min[$2, $3] = $4; median[$2, $3] = $5 }
END {
    split("100 1000 10000 50000", sizes, " ")
    print "## Patch pass: whole program, start to exit (ms, min / median)"
    print ""
    print "| N | Halvex.exe | PatchFloor | PatchFloorBox | reg.exe script | Halvex / floor | Halvex / floor with user32 | reg.exe / Halvex | Halvex growth | floor growth | peak keys held |"
    print "|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
    for (i = 1; i <= 4; i++) {
        n = sizes[i]; p = sizes[i - 1]
        reg = cell(min[n, "reg"], median[n, "reg"])
        if (min[n, "reg"] != "" && count[n, "reg"] != runs) reg = reg " (" count[n, "reg"] " runs)"
        printf "| %d | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s |\n", n,
            cell(min[n, "halvex"], median[n, "halvex"]), cell(min[n, "floor"], median[n, "floor"]),
            cell(min[n, "floorbox"], median[n, "floorbox"]), reg,
            ratio(min[n, "halvex"], min[n, "floor"]), ratio(min[n, "halvex"], min[n, "floorbox"]),
            ratio(min[n, "reg"], min[n, "halvex"]),
            i == 1 ? "–" : ratio(min[n, "halvex"], min[p, "halvex"]) " for " n / p "×",
            i == 1 ? "–" : ratio(min[n, "floor"], min[p, "floor"]),
            peak[n] " (" opened[n] " opened, " held[n] " at exit)"
    }
    print ""
    print "## Key search: FindKeyByValue against a one-visit walk (ms, min / median)"
    print ""
    print "| keys | depth, fan-out | FindKeyByValue | walk | ratio | FindKeyByValue growth | walk growth |"
    print "|---:|---:|---:|---:|---:|---:|---:|"
    split("1000 10000 50000", trees, " ")
    for (i = 1; i <= 3; i++) {
        n = trees[i]; p = trees[i - 1]
        printf "| %d | %d, %d | %s | %s | %s | %s | %s |\n", n, depth[n], fanout[n],
            cell(min[n, "find"], median[n, "find"]), cell(min[n, "walk"], median[n, "walk"]),
            ratio(min[n, "find"], min[n, "walk"]),
            i == 1 ? "–" : ratio(min[n, "find"], min[p, "find"]) " for " n / p "×",
            i == 1 ? "–" : ratio(min[n, "walk"], min[p, "walk"])
    }
    print ""
    print "## Goals (ratios of minima)"
    print ""
    worst = 0
    for (i = 1; i <= 4; i++) {
        r = min[sizes[i], "halvex"] / min[sizes[i], "floor"]
        if (r > worst) worst = r
    }
    printf "- Halvex within 1.10× of the floor at every N: %s (worst %.2f×).\n", verdict(worst <= 1.10), worst
    worst = 0
    for (i = 1; i <= 4; i++) {
        r = min[sizes[i], "halvex"] / min[sizes[i], "floorbox"]
        if (r > worst) worst = r
    }
    printf "  Against PatchFloorBox, the floor built as Halvex is (user32, GUI subsystem): worst %.2f×.\n", worst
    r = min[1000, "reg"] / min[1000, "halvex"]
    printf "- At least 50× faster than the reg.exe script at N = 1,000: %s (%.0f×).\n", verdict(r >= 50), r
    grown = 1
    for (i = 2; i <= 4; i++) {
        g = min[sizes[i], "halvex"] / min[sizes[i - 1], "halvex"]
        if (g > 1.1 * sizes[i] / sizes[i - 1]) grown = 0
    }
    printf "- Growth close to linear (each step in N within 1.1 times its factor in time): %s.\n", verdict(grown)
    printf "- Peak key handles not growing with N: %s (%d at N = 100, %d at N = 50,000).\n", verdict(peak[50000] <= peak[100]), peak[100], peak[50000]
    worst = 0
    for (i = 1; i <= 3; i++) {
        r = min[trees[i], "find"] / min[trees[i], "walk"]
        if (r > worst) worst = r
    }
    printf "- FindKeyByValue within 3.5× of the one-visit walk: %s (worst %.2f×).\n", verdict(worst <= 3.5), worst
}
