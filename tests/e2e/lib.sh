# Shared by the end-to-end scripts: an X server of their own, the program
# staged in a temporary folder, real key presses through XTest, and checks
# against the clip log the program writes (PURIMBA_CLIP_LOG).
#
# From CTest: PURIMBA_EXECUTABLE (the program), PURIMBA_DEMO (the generated
# media and data/activities.xml), E2E_LOG_DIR (where each script keeps its
# clip log and the program's files for the benchmark and for a look after a
# failure).

set -u

E2E_SKIP=77
E2E_NAME=$(basename "$0" .sh)
E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/purimba-e2e.XXXXXX")
STAGE="$E2E_WORK/stage"
CLIPLOG="$E2E_WORK/clips.log"
CURSOR=0
XVFB_PID=""
PROGRAM_PID=""
PROGRAM_STATUS=""
E2E_HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

e2e_cleanup() {
    local status=$?
    # Only the script's own shell cleans up, never a subshell of it.
    [ "$BASHPID" = "$$" ] || return
    # Only what this script started, by its process id.
    [ -n "$PROGRAM_PID" ] && kill -KILL "$PROGRAM_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    if [ -n "${E2E_LOG_DIR:-}" ]; then
        local keep="$E2E_LOG_DIR/$E2E_NAME"
        rm -rf "$keep"
        mkdir -p "$keep"
        cp "$CLIPLOG" "$keep/" 2>/dev/null
        cp "$STAGE"/pu-*.txt "$STAGE"/data/*.xml "$keep/" 2>/dev/null
        cp "$E2E_WORK"/*.txt "$keep/" 2>/dev/null
        # What the child heard, to listen to after a failure (raw 16-bit
        # stereo at 44.1 kHz); a passed run's is not worth its size.
        if [ "$status" -ne 0 ] && [ "$status" -ne "$E2E_SKIP" ]; then
            mv "$E2E_WORK/audio.raw" "$keep/" 2>/dev/null
        fi
    fi
    rm -rf "$E2E_WORK"
}
trap e2e_cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    if [ -f "$CLIPLOG" ]; then
        echo "--- clip log from line $((CURSOR + 1)) (of $(wc -l < "$CLIPLOG")):" >&2
        tail -n +"$((CURSOR + 1))" "$CLIPLOG" | head -n 40 >&2
    fi
    if [ -s "$STAGE/pu-error.txt" ]; then
        echo "--- pu-error.txt:" >&2
        tail -n 40 "$STAGE/pu-error.txt" >&2
    fi
    exit 1
}

skip() {
    echo "SKIP: $*"
    exit $E2E_SKIP
}

# Starts Xvfb on a display nobody uses; skips when none can be started.
start_x() {
    command -v Xvfb > /dev/null || skip "no X server can be started: Xvfb is not installed (tools/install-deps.sh installs it)"
    command -v xdotool > /dev/null || fail "xdotool is not installed (tools/install-deps.sh installs it)"
    : > "$E2E_WORK/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
        3> "$E2E_WORK/display" > "$E2E_WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    local i
    for i in $(seq 100); do
        [ -s "$E2E_WORK/display" ] && break
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    [ -s "$E2E_WORK/display" ] \
        || skip "no X server can be started: $(tail -n 3 "$E2E_WORK/xvfb.log" | tr '\n' ' ')"
    export DISPLAY=":$(head -n 1 "$E2E_WORK/display")"
    # A Spanish keyboard, as at school: with Ñ on a key of its own xdotool
    # need not map it onto a spare key code for each press, a change the
    # program may not have taken in by the time the key arrives.
    setxkbmap -layout es 2>/dev/null || echo "no Spanish keyboard layout: Ñ is mapped for each press"
}

# The installation folder: the executable with media/ and data/ beside it.
stage() {
    local program=${1:-$PURIMBA_EXECUTABLE}
    [ -x "$program" ] || fail "no program at $program"
    [ -f "$PURIMBA_DEMO/data/activities.xml" ] \
        || fail "no demo media in $PURIMBA_DEMO: build the demo_media target first"
    mkdir -p "$STAGE/data" "$STAGE/media"
    cp "$program" "$STAGE/purimba"
    cp -r "$PURIMBA_DEMO/media/." "$STAGE/media/"
    cp "$PURIMBA_DEMO/data/activities.xml" "$STAGE/data/"
    # A stand-in synthesizer that writes down what it was given: the machine's
    # own would speak aloud, or complain about a missing sound device.
    mkdir -p "$E2E_WORK/bin"
    cat > "$E2E_WORK/bin/espeak-ng" << EOF
#!/bin/sh
for last; do :; done
{ cat "\$last"; echo; } >> "$E2E_WORK/spoken.txt"
EOF
    chmod +x "$E2E_WORK/bin/espeak-ng"
}

# A learner registered on an earlier day, at activity $2, sub-activity $3.
register_learner() {
    cat > "$STAGE/data/users.xml" << EOF
<?xml version="1.0" encoding="UTF-8"?>
<userdb>
 <User Name="$1" LastAct="$2" LastSubAct="$3" CreateDate="Mon Dec 7 2026" LastDate="Mon Dec 7 2026"/>
</userdb>
EOF
}

# Starts the staged program from its folder, as a user would, with SDL's disk
# driver playing the clips faster than real time into E2E_AUDIO. With no delay
# the driver writes about 40 MB a second, silence included: a long session
# sends it to /dev/null, or it fills the disk.
E2E_AUDIO=${E2E_AUDIO:-$E2E_WORK/audio.raw}
start_program() {
    (
        cd "$STAGE" || exit 1
        exec env QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=disk SDL_DISKAUDIODELAY=0 \
            SDL_DISKAUDIOFILE="$E2E_AUDIO" PURIMBA_CLIP_LOG="$CLIPLOG" \
            PATH="$E2E_WORK/bin:/usr/bin:/bin" ./purimba "$@"
    ) &
    PROGRAM_PID=$!
    PROGRAM_STATUS=""
    # Each run appends: look only at what this one writes.
    CURSOR=$( (wc -l < "$CLIPLOG") 2>/dev/null || echo 0)
    PROGRAM_FIRST_LINE=$((CURSOR + 1))
}

# Waits for the first line after the cursor matching an extended regular
# expression, moves the cursor onto it, keeps it in LINE and prints it. The
# timeout is in seconds (default 10).
LINE=""
expect() {
    local pattern=$1 timeout=${2:-10} found deadline status
    deadline=$((SECONDS + timeout))
    while :; do
        found=$(tail -n +"$((CURSOR + 1))" "$CLIPLOG" 2>/dev/null | grep -n -m 1 -E -- "$pattern")
        if [ -n "$found" ]; then
            CURSOR=$((CURSOR + ${found%%:*}))
            LINE=${found#*:}
            echo "$LINE"
            return 0
        fi
        if [ -n "$PROGRAM_PID" ] && ! kill -0 "$PROGRAM_PID" 2>/dev/null; then
            wait "$PROGRAM_PID"
            status=$?
            PROGRAM_PID=""
            fail "the program ended with status $status while waiting for /$pattern/"
        fi
        [ "$SECONDS" -ge "$deadline" ] && fail "nothing matched /$pattern/ within ${timeout}s"
        sleep 0.05
    done
}

# Waits for lines matching each pattern, in any order (a window and a clip
# started together may be logged either way round); the cursor ends on the
# last of them.
expect_all() {
    local start=$CURSOR last=$CURSOR pattern
    for pattern; do
        CURSOR=$start
        expect "$pattern"
        [ "$CURSOR" -gt "$last" ] && last=$CURSOR
    done
    CURSOR=$last
}

# The time (ms) of a log line kept by expect.
time_of() { echo "${1%% *}"; }

# Milliseconds from the line a to the line b, both printed by expect.
elapsed_ms() { awk -v a="$(time_of "$1")" -v b="$(time_of "$2")" 'BEGIN { printf "%d", b - a }'; }

# Releases keys one by one (xdotool names), each once the program has seen
# the one before, so that no key overtakes the reaction to the previous one.
# A menu opens on the key press, before the release is logged: PRESSED is
# the cursor from before the last key, to look from there.
PRESSED=0
press() {
    local key part
    for key; do
        PRESSED=$CURSOR
        xdotool key "$key" || fail "xdotool could not press $key"
        # One release logged for each key of a chord (shift+Tab: two), or the
        # next key would be taken for this one's.
        for part in ${key//+/ }; do
            expect " key " > /dev/null
        done
    done
}

# The window the program last said has the keyboard (its "keys" lines).
keys_window() {
    tail -n +"${PROGRAM_FIRST_LINE:-1}" "$CLIPLOG" 2>/dev/null | grep " keys " | tail -n 1 \
        | sed 's/.* keys //'
}

# Gives the keyboard to the program's window named as its "shown" line names
# it, as a window manager gives it to the window just mapped (the X server
# alone leaves the focus under the pointer), and waits until the program
# itself says that window has it: keys sent before then would reach the
# window behind, on a loaded machine above all.
focus_window() {
    local name=$1 deadline=$((SECONDS + ${2:-15})) id i
    while [ "$(keys_window)" != "$name" ]; do
        [ "$SECONDS" -ge "$deadline" ] \
            && fail "the keyboard never reached $name; the program gave it to '$(keys_window)'"
        kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended while waiting for $name"
        # Newest first: the window just shown lies above the older ones.
        for id in $(xdotool search --onlyvisible --pid "$PROGRAM_PID" 2>/dev/null | tac); do
            xdotool windowfocus --sync "$id" 2>/dev/null || continue
            for i in $(seq 10); do
                [ "$(keys_window)" = "$name" ] && return 0
                sleep 0.05
            done
        done
    done
}

# Waits for the clip named (the end of its path) to start after the cursor.
hear() {
    expect " clip (.*/)?$1\$" "${2:-10}"
}

# The login by ear for a registered learner, the only one: F1, the arrow
# says the name, Return logs in and the mascot greets; the main window then
# has the keyboard.
choose_learner() {
    press F1
    hear "Presiona las flechas.ogg"
    press Down
    expect " speak $1\$"
    press Return
    hear "Saludo de mofli.ogg"
    focus_window MainWindow
}

# Waits until the program has ended; its exit status is PROGRAM_STATUS.
wait_exit() {
    local timeout=${1:-20} i
    for i in $(seq $((timeout * 10))); do
        kill -0 "$PROGRAM_PID" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$PROGRAM_PID" 2>/dev/null && fail "the program did not end within ${timeout}s"
    wait "$PROGRAM_PID"
    PROGRAM_STATUS=$?
    PROGRAM_PID=""
}

# Closes the program as a child's helper would: "&Archivo", up to its last
# entry "S&alir", Return.
quit_from_menu() {
    press alt+a
    CURSOR=$PRESSED
    # Asked for, though the first entry, highlighted at once, cuts it off.
    expect " (request|step) .*/Archivo.ogg$"
    press Up
    CURSOR=$PRESSED
    hear "Salir.ogg"
    # The entry is triggered on the press: the program may be gone before
    # the release.
    xdotool key Return
    wait_exit
    [ "$PROGRAM_STATUS" -eq 0 ] || fail "the program ended with status $PROGRAM_STATUS"
}

# Nothing in the error log but the notices the libraries always print.
check_error_log() {
    local unknown
    unknown=$(grep -v -E -f "$E2E_HERE/known-notices.txt" "$STAGE/pu-error.txt" 2>/dev/null)
    [ -z "$unknown" ] || fail "unexpected lines in pu-error.txt:
$unknown"
}

# A data file on one line.
data_file() { tr -d '\n' < "$STAGE/data/$1"; }

# The score line of an object in one activity of "data/scores.xml".
score_of() {
    sed -n "/<Activity name=\"$1\">/,/<\/Activity>/p" "$STAGE/data/scores.xml" \
        | grep "Object=\"$2\"" | sed -E 's/^ +//'
}
