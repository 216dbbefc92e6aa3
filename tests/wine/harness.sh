# Shell helpers of the Wine cases, sourced inside wine-run:
#   . harness.sh BINDIR
# sets bin, work (a scratch folder), drive_c, packages (C:\packages), temp
# (%TEMP% as Windows gives it), temp_unix and workspace (%TEMP%\QOZSETUP
# on the Linux side).
bin=$1
work=$WINE_RUN_DIR/work
drive_c=$WINEPREFIX/drive_c
packages=$drive_c/packages
mkdir -p "$work" "$packages" || exit 1
failures=0
row="setup"

fail() {
    printf 'FAIL [%s] %s\n' "$row" "$*"
    failures=$((failures + 1))
}

# finish MESSAGE: the case's summary and exit code.
finish() {
    if [ $failures -ne 0 ]; then
        echo "$failures failure(s)${seed:+; seed $seed (set TARNVALE_SEED=$seed to repeat)}"
        exit 1
    fi
    echo "$1"
}

# same WHAT ACTUAL EXPECTED
same() {
    [ "$2" = "$3" ] || fail "$1: actual '$2', expected '$3'"
}

# compare_output EXPECTED-TEXT FILE: FILE (CRs removed) against the text.
compare_output() {
    printf '%s\n' "$1" >"$work/expected-output"
    tr -d '\r' <"$2" >"$work/actual-output"
    if ! cmp -s "$work/expected-output" "$work/actual-output"; then
        fail "output (- expected, + actual):"
        diff -u "$work/expected-output" "$work/actual-output" | tail -n +3
    fi
}

# drive EXPECTED < SCRIPT: runs SCRIPT with window-probe.exe and compares
# what it printed, and its exit code 0.
drive() {
    wine "$bin/window-probe.exe" >"$work/driven" 2>"$work/driven-err"
    status=$?
    [ $status -eq 0 ] || fail "window-probe exit code $status; stderr: $(cat "$work/driven-err")"
    compare_output "$1" "$work/driven"
}

# drive_async OUT < SCRIPT: as drive, in the background; `driven_pid` is
# its process, its output goes to OUT.
drive_async() {
    # A background command would read /dev/null: the script goes by file.
    cat >"$work/async-script"
    wine "$bin/window-probe.exe" <"$work/async-script" >"$1" 2>"$work/driven-err" &
    driven_pid=$!
}

# package NAME [--stub EXE] < SCRIPT: builds C:\packages\NAME.exe from the
# install script on standard input; the files it names come from
# $work/files-NAME.
package() {
    name=$1
    shift
    mkdir -p "$work/files-$name"
    cat >"$work/files-$name/install.ini"
    if ! "$bin/tarnvale" build "$work/files-$name/install.ini" -o "$packages/$name.exe" \
        --files "$work/files-$name" "$@" >"$work/build.log" 2>&1; then
        cat "$work/build.log"
        echo "FAIL cannot build the package $name"
        exit 1
    fi
}

# reg_value KEY NAME: a REG_SZ value as `wine reg query` shows it, or
# <missing>. KEY as reg takes it ("HKLM\Software\My Product").
reg_value() {
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
        awk -v prefix="    $2    REG_SZ    " '
            index($0, prefix) == 1 { print substr($0, length(prefix) + 1); found = 1 }
            END { if (!found) print "<missing>" }'
}

# system_reg_value KEY NAME: the same value read from the prefix's
# system.reg, which the wineserver writes when it ends: so it is ended
# first. KEY is relative to HKEY_LOCAL_MACHINE ("Software\My Product");
# names compare without regard to case, as the registry does.
system_reg_value() {
    wineserver -w
    key=$(printf '%s' "$1" | sed 's/\\/\\\\/g')
    # Through the environment: awk -v would undo the doubled backslashes.
    REG_KEY=$key REG_NAME=$2 awk '
        BEGIN { key = ENVIRON["REG_KEY"]; name = ENVIRON["REG_NAME"] }
        index($0, "[") == 1 {
            inkey = tolower(substr($0, 2, length(key))) == tolower(key) &&
                    substr($0, length(key) + 2, 1) == "]"
            next
        }
        inkey && tolower(substr($0, 1, length(name) + 3)) == tolower("\"" name "\"=") {
            value = substr($0, length(name) + 4)
            if (value ~ /^".*"$/) value = substr(value, 2, length(value) - 2)
            print value
            found = 1
            exit
        }
        END { if (!found) print "<missing>" }' "$WINEPREFIX/system.reg" | sed 's/\\\\/\\/g'
}

# await_ready NAME [SECONDS]: waits until a program meets us at NAME
# (sync_point.h). release NAME: lets it go on.
await_ready() {
    tries=$((${2:-30} * 20))
    while [ ! -e "$drive_c/sync/$1.ready" ]; do
        tries=$((tries - 1))
        [ $tries -gt 0 ] || return 1
        sleep 0.05
    done
}
release() {
    touch "$drive_c/sync/$1.go"
}

# The workspace as the prefix's programs see it: ask, do not guess.
temp=$(wine "$bin/window-probe.exe" --temp-path | tr -d '\r')
temp_unix=$(winepath -u "$temp" 2>/dev/null | tr -d '\r')
temp_unix=${temp_unix%/}
workspace=$temp_unix/QOZSETUP
if [ -z "$temp" ] || [ ! -d "$temp_unix" ]; then
    echo "FAIL cannot find the temporary directory ('$temp' -> '$temp_unix')"
    exit 1
fi
