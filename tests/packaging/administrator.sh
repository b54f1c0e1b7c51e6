#!/bin/bash
# administrator.sh <package folder>: the administrator of an installed
# program is an ordinary user, who cannot write the installed media. On a
# real X server, with real keys: `purimba -adm` asks whether to copy the
# media into the data folder; answered "Si", the copy is made whole, the
# administrator's window lists it, the question is not asked again, and a
# learner's start then plays its clips from the copy. The installation is
# left as it was.
source "$(dirname "$0")/../e2e/lib.sh"

deb=$(ls "$1"/purimba_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "no package in $1"
command -v dpkg-deb > /dev/null || skip "dpkg-deb is not installed"
command -v setpriv > /dev/null || skip "setpriv is not installed"
id nobody > /dev/null 2>&1 || skip "there is no user nobody to run the program as"

root=$E2E_WORK/root
home=$E2E_WORK/home
data=$home/.local/share/purimba
shared=$root/usr/share/purimba/media
dpkg-deb -x "$deb" "$root"
# Readable by the user, writable only by root, as an installed package is.
chmod 755 "$E2E_WORK" "$root"
mkdir "$home"
chown nobody: "$home"
: > "$CLIPLOG"
chmod 666 "$CLIPLOG"
listing() { (cd "$root" && find . -printf '%p %s %T@ %m\n' | LC_ALL=C sort); }
listing > "$E2E_WORK/before.txt"
start_x

# As the user, from the home folder; exec keeps the program's process id for
# focus_window.
as_user() {
    (
        cd "$home" || exit 1
        exec env -u XDG_DATA_HOME -u PURIMBA_DATA_DIR HOME="$home" QT_QPA_PLATFORM=xcb \
            SDL_AUDIODRIVER=disk SDL_DISKAUDIODELAY=0 SDL_DISKAUDIOFILE=/dev/null \
            PURIMBA_CLIP_LOG="$CLIPLOG" \
            setpriv --reuid=nobody --regid=nogroup --clear-groups -- "$root/usr/bin/purimba" "$@"
    ) &
    PROGRAM_PID=$!
    CURSOR=$(wc -l < "$CLIPLOG")
    PROGRAM_FIRST_LINE=$((CURSOR + 1))
}

close_program() {
    kill -TERM "$PROGRAM_PID"
    local status=0
    wait "$PROGRAM_PID" || status=$?
    PROGRAM_PID=""
    [ "$status" -eq 0 ] || fail "$1 ended with status $status on SIGTERM"
}

as_user -adm
expect " shown QMessageBox" 30
focus_window QMessageBox
# The question's default is "No": the administrator says yes by its letter.
xdotool key s || fail "xdotool could not press s"
expect " shown AdmWindow" 120
[ -d "$data/media" ] || fail "no media copy in $data after saying yes"
[ -z "$(find "$data" -maxdepth 1 -name 'media.copying' -print -quit)" ] \
    || fail "a temporary copy was left in $data: $(ls -A "$data")"
(cd "$shared" && find . | LC_ALL=C sort) > "$E2E_WORK/installed.txt"
(cd "$data/media" && find . | LC_ALL=C sort) > "$E2E_WORK/copy.txt"
diff "$E2E_WORK/installed.txt" "$E2E_WORK/copy.txt" > /dev/null \
    || fail "the copy differs from the installed media: $(diff "$E2E_WORK/installed.txt" "$E2E_WORK/copy.txt" | head -n 5)"
[ -z "$(find "$data/media" ! -user nobody -print -quit)" ] || fail "the copy is not the user's own"
close_program "the administrator's first start"

# Asked once: the copy is writable, so the window comes straight away.
as_user -adm
expect " shown AdmWindow" 30
tail -n +"$PROGRAM_FIRST_LINE" "$CLIPLOG" | grep -q " shown QMessageBox" \
    && fail "the copy question was asked again"
close_program "the administrator's second start"

# A learner's start plays from the copy.
as_user
expect " clip $data/media/" 30
close_program "the learner's start"

listing > "$E2E_WORK/after.txt"
diff "$E2E_WORK/before.txt" "$E2E_WORK/after.txt" > /dev/null \
    || fail "the program wrote under the installation root"
echo "PASS: the administrator's copy in $data is used by both modes"
