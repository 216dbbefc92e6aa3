# Shell helpers of the Wine cases (run as CASE BINDIR [SOURCEDIR] in wine-run).
# Sets bin, work (scratch), drive_c, packages (C:\packages), temp (%TEMP% as
# Windows gives it), workspace (%TEMP%\QOZSETUP on the Linux side) and seed,
# from which every random byte is drawn: TARNVALE_SEED, or a fixed one.
bin=$1
examples=${2:-}/examples
work=$WINE_RUN_DIR/work
drive_c=$WINEPREFIX/drive_c
packages=$drive_c/packages
seed=${TARNVALE_SEED:-1207}
mkdir -p "$work" "$packages" || exit 1
failures=0
row=setup

fail() {
    printf 'FAIL [%s] %s\n' "$row" "$*"
    failures=$((failures + 1))
}

# same WHAT ACTUAL EXPECTED; same_file EXPECTED ACTUAL
same() { [ "$2" = "$3" ] || fail "$1: actual '$2', expected '$3'"; }
same_file() { cmp -s "$1" "$2" || fail "$2 is missing or differs from $1"; }
no_workspace() {
    [ ! -e "$workspace" ] || fail "the workspace is still there: $(ls -A "$workspace")"
}

finish() {
    [ $failures -eq 0 ] && echo "$1" && exit 0
    echo "$failures failure(s)${seed_used:+; seed $seed (set TARNVALE_SEED=$seed to repeat)}"
    exit 1
}

# compare_output EXPECTED FILE: FILE without CRs against EXPECTED ("|" parts lines).
compare_output() {
    printf '%s\n' "$1" | tr '|' '\n' >"$work/expected-output"
    tr -d '\r' <"$2" >"$work/actual-output"
    cmp -s "$work/expected-output" "$work/actual-output" && return
    fail "output (- expected, + actual):"
    diff -u "$work/expected-output" "$work/actual-output" | tail -n +3
}

# drive < SCRIPT: runs a window-probe.exe SCRIPT, output in $work/driven.
# drive_async OUT < SCRIPT: the same in the background, driven_pid its process.
drive() {
    wine "$bin/window-probe.exe" >"$work/driven" 2>&1 ||
        fail "window-probe: $(tr -d '\r' <"$work/driven")"
}
drive_async() {
    cat >"$work/async-script"
    wine "$bin/window-probe.exe" <"$work/async-script" >"$1" 2>&1 &
    driven_pid=$!
}

# retry TRIES COMMAND...: runs COMMAND every 0.05 s until it succeeds.
retry() {
    tries=$1
    shift
    until "$@"; do
        tries=$((tries - 1))
        [ $tries -gt 0 ] || return 1
        sleep 0.05
    done
}

# await_ready NAME: waits (30 s at most) for a program's meeting at NAME
# (sync_point.h); release NAME lets it go on.
await_ready() { retry 600 [ -e "$drive_c/sync/$1.ready" ]; }
release() { touch "$drive_c/sync/$1.go"; }

# random_bytes COUNT STREAM: COUNT bytes of the numbered STREAM of the seed.
random_bytes() {
    seed_used=1
    command -v openssl >/dev/null || { echo "FAIL the random inputs need openssl"; exit 1; }
    openssl enc -aes-128-ctr -K "$(printf '%032x' "$seed")" -iv "$(printf '%032x' "$2")" \
        -in /dev/zero 2>/dev/null | head -c "$1"
}

# package NAME [--stub EXE] [--force] [LINE...]: C:\packages\NAME.exe of the files in
# $work/files-NAME and the LINEs under [INSTALL PROJECT], or standard input.
# example_package NAME [--stub EXE]: the same of examples/.
package() {
    name=$1 stub="" force=""
    shift
    [ "${1:-}" != --stub ] || { stub=$2; shift 2; }
    [ "${1:-}" != --force ] || { force=--force; shift; }
    mkdir -p "$work/files-$name"
    if [ $# -gt 0 ]; then printf '[INSTALL PROJECT]\n' && printf '%s\n' "$@"; else cat; fi \
        >"$work/files-$name/install.ini"
    "$bin/tarnvale" build "$work/files-$name/install.ini" -o "$packages/$name.exe" \
        --files "$work/files-$name" ${stub:+--stub "$stub"} $force >"$work/build.log" 2>&1 && return
    cat "$work/build.log"
    echo "FAIL cannot build the package $name"
    exit 1
}
example_package() {
    mkdir -p "$work/files-$1" && cp -r "$examples/files/." "$work/files-$1" &&
        package "$@" <"$examples/install.ini"
}

# values KEY NAME...: REG_SZ values of HKLM\KEY, " | " between them.
values() { wine "$bin/window-probe.exe" --reg "$@" | tr -d '\r'; }

# system_reg_value KEY NAME: a value of HKLM\KEY as system.reg holds it
# once the wineserver has ended. Names compare without regard to case.
system_reg_value() {
    wineserver -w
    # Through the environment: awk -v would undo the doubled backslashes.
    KEY="[$(printf '%s' "$1" | sed 's/\\/\\\\/g')]" NAME="\"$2\"=" awk '
        index($0, "[") == 1 { inkey = index(tolower($0), tolower(ENVIRON["KEY"])) == 1 }
        inkey && index(tolower($0), tolower(ENVIRON["NAME"])) == 1 {
            value = substr($0, length(ENVIRON["NAME"]) + 1)
            if (value ~ /^".*"$/) value = substr(value, 2, length(value) - 2)
            for (plain = ""; value != ""; value = substr(value, 2)) {  # \\ and \" escapes
                c = substr(value, 1, 1)
                if (c == "\\") { value = substr(value, 2); c = substr(value, 1, 1) }
                plain = plain c
            }
            value = plain
            print value
            found = 1
            exit
        }
        END { if (!found) print "<missing>" }' "$WINEPREFIX/system.reg"
}

# unix PATH: where a path on C: lies on the Linux side.
unix() { printf '%s/%s' "$drive_c" "$(printf '%s' "${1#[Cc]:\\}" | tr '\\' /)"; }

temp=$(wine "$bin/window-probe.exe" --temp-path | tr -d '\r')
workspace=$(unix "${temp}QOZSETUP")
[ -d "$(unix "$temp")" ] || { echo "FAIL cannot find the temporary directory ('$temp')"; exit 1; }
