#!/bin/bash
# A monkey session in a sanitized build: 2,000 random key releases over every
# activity, with the key menu mode and the audible menu. Afterwards the
# program must still answer, with its threads and clip players back to their
# idle numbers and its memory steady.
# Thousands of keys of sound nobody will listen to: see start_program.
E2E_AUDIO=/dev/null
source "$(dirname "$0")/lib.sh"

KEYS=${MONKEY_KEYS:-2000}
# Keys a child can reach without leaving the activity (Tab would walk into the
# side panel, modifiers into the menu bar).
POOL=(a b c d e f g h i j k l m n o p q r s t u v w x y z ntilde
    0 1 2 3 4 5 6 7 8 9 space Return BackSpace Escape Home period
    F1 F2 F3 F4 F12 Left Right Up Down)
# One audible-menu path per activity, pressed in menu mode.
PATHS=("F1 Right Down Return" "F1 Right Down Down Return" "F1 Right Down Down Down Return"
    "F1 Right Right Down Return" "F1 Right Right Down Down Return"
    "F1 Right Right Down Down Down Return" "F1 Right Right Right Down Return"
    "F1 Right Right Right Down Down Return"
    "F2 Right Down Return" "F2 Right Down Down Return" "F2 Right Down Down Down Return"
    "F2 Right Down Down Down Down Return" "F2 Right Down Down Down Down Down Return"
    "F2 Right Down Down Down Down Down Down Return"
    "F2 Right Right Down Return" "F2 Right Right Down Down Return"
    "F2 Right Right Down Down Down Return" "F2 Right Right Down Down Down Down Return"
    "F2 Right Right Down Down Down Down Down Return"
    "F2 Right Right Down Down Down Down Down Down Return"
    "F3 Right Down Return" "F3 Right Right Down Return" "F4 Return")
# The same keys on every run, so that a failure in CI can be replayed;
# MONKEY_SEED chooses another session (MONKEY_KEYS a longer one).
seed=${MONKEY_SEED:-7}
RANDOM=$seed
echo "seed: $seed"

sent=0
keys_seen() { grep -c -E '^[0-9.]+ key ' "$CLIPLOG"; }

# Sends keys in one go and waits until the program has seen every one.
send() {
    local before
    before=$(keys_seen)
    xdotool key --delay 20 "$@" || fail "xdotool could not press $*"
    sent=$((sent + $#))
    local deadline=$((SECONDS + 60))
    while [ "$(keys_seen)" -lt $((before + $#)) ]; do
        if ! kill -0 "$PROGRAM_PID" 2> /dev/null; then
            wait "$PROGRAM_PID"
            fail "the program ended with status $? after $sent keys"
        fi
        [ "$SECONDS" -ge "$deadline" ] && fail "the program stopped taking keys after $sent"
        sleep 0.1
    done
    CURSOR=$(wc -l < "$CLIPLOG")
}

# Escape until the menu mode is on, whatever it was. The activity falls quiet
# first, so the announcement is heard, not only asked for.
menu_mode() {
    PRESSED_AT=$(wc -l < "$CLIPLOG")
    send Escape
    CURSOR=$PRESSED_AT
    expect " clip .*/Modo (menu|normal).ogg$"
    case $LINE in *"Modo normal.ogg") send Escape ;; esac
}

# Waits for the turn timers and chained clips to end, then reads the
# program's threads, resident memory and (before the next key) players.
settle() {
    sleep 4
    kill -0 "$PROGRAM_PID" 2> /dev/null || send Home
    THREADS=$(ls "/proc/$PROGRAM_PID/task" | wc -l)
    RSS_KB=$(awk '/^VmRSS:/ { print $2 }' "/proc/$PROGRAM_PID/status")
    send Home
    PLAYERS=$(grep " players " "$CLIPLOG" | tail -n 1 | cut -d' ' -f3)
}

start_x
stage
register_learner mono 0 1
start_program
expect " shown WelcomeDialog" 30
focus_window WelcomeDialog
press space
expect " shown InputDialog" 30
focus_window InputDialog
press F1 Down Return
hear "Saludo de mofli.ogg" 30
focus_window MainWindow
press space
hear "Como suena.ogg" 30

batch=()
while [ "$sent" -lt "$KEYS" ]; do
    if [ $((RANDOM % 8)) -eq 0 ]; then
        # Into the menu mode and on to another activity.
        [ ${#batch[@]} -gt 0 ] && send "${batch[@]}"
        batch=()
        menu_mode
        send ${PATHS[$((RANDOM % ${#PATHS[@]}))]}
    else
        batch+=("${POOL[$((RANDOM % ${#POOL[@]}))]}")
        if [ ${#batch[@]} -ge 25 ]; then
            send "${batch[@]}"
            batch=()
        fi
    fi
    if [ -z "${RSS_FIRST:-}" ] && [ "$sent" -ge 200 ]; then
        settle
        RSS_FIRST=$RSS_KB
        THREADS_FIRST=$THREADS
        PLAYERS_FIRST=$PLAYERS
        echo "after $sent keys: $THREADS threads, $PLAYERS players, $((RSS_KB / 1024)) MB"
    fi
    if [ -z "${RSS_HALF:-}" ] && [ "$sent" -ge $((KEYS / 2)) ]; then
        settle
        RSS_HALF=$RSS_KB
        SENT_HALF=$sent
        echo "after $sent keys: $THREADS threads, $PLAYERS players, $((RSS_KB / 1024)) MB"
    fi
done
[ ${#batch[@]} -gt 0 ] && send "${batch[@]}"
settle
echo "after $sent keys: $THREADS threads, $PLAYERS players, $((RSS_KB / 1024)) MB"
# For the benchmark: the growth over the second half, per key.
printf '%s %s\n' keys_at_half "$SENT_HALF" rss_kb_at_half "$RSS_HALF" \
    keys_after_monkey "$sent" rss_kb_after_monkey "$RSS_KB" > "$E2E_WORK/memory.txt"

[ "$THREADS" -eq "$THREADS_FIRST" ] \
    || fail "$THREADS threads after the session, $THREADS_FIRST when idle before"
[ "$PLAYERS" -eq "$PLAYERS_FIRST" ] \
    || fail "$PLAYERS clip players after the session, $PLAYERS_FIRST when idle before"
# Word and text pictures fill Qt's pixmap cache (10 MB) over the first
# thousand keys or so: growth is judged over the second half of the session.
echo "memory growth since key 200: $(((RSS_KB - RSS_FIRST) / 1024)) MB"
[ $((RSS_KB - RSS_HALF)) -le 10240 ] \
    || fail "memory grew from $((RSS_HALF / 1024)) MB to $((RSS_KB / 1024)) MB in the second half"

# Still answering: in the quiet, the menu mode is switched and heard.
menu_mode
quit_from_menu
check_error_log
echo "ok"
