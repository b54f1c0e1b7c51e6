#!/bin/sh
# installed.sh <package folder>: unpacks the package into a temporary root and
# starts the installed program there as a user with a fresh home would: it
# must find its media under <root>/usr/share/purimba, keep everything it
# writes in its data folder, and write nothing under the installation.
set -eu
deb=$(ls "$1"/purimba_*.deb 2>/dev/null | head -n 1 || true)
[ -n "$deb" ] || { echo "FAIL: no package in $1"; exit 1; }
command -v dpkg-deb >/dev/null || { echo "SKIP: dpkg-deb is not installed"; exit 77; }

tmp=$(mktemp -d)
pid=""
cleanup() {
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

root=$tmp/root
dpkg-deb -x "$deb" "$root"
listing() { (cd "$root" && find . -printf '%p %s %T@ %m\n' | LC_ALL=C sort); }
listing >"$tmp/before"
home=$tmp/home
work=$tmp/work
mkdir "$home" "$work"
data=$home/.local/share/purimba
program=$root/usr/bin/purimba

# A user's environment: no data folder named, the default one under $HOME.
run() {
    (cd "$work" && env -u XDG_DATA_HOME -u PURIMBA_DATA_DIR HOME="$home" \
        SDL_DISKAUDIOFILE=/dev/null "$@")
}

# The usage text: the per-user folder is made first, and the log is in it.
run "$program" -h || fail "purimba -h ended with status $?"
[ -d "$data/data" ] || fail "the per-user data folder $data/data was not made"
grep -q '^Usage:' "$data/pu-debug.txt" || fail "no usage text in $data/pu-debug.txt"

# A learner's start: the welcome dialog plays the intro from the installed
# tree (seen in the clip log); SIGTERM then closes the program orderly.
clips=$tmp/clips.log
(cd "$work" && exec env -u XDG_DATA_HOME -u PURIMBA_DATA_DIR HOME="$home" \
    SDL_DISKAUDIOFILE=/dev/null PURIMBA_CLIP_LOG="$clips" "$program") &
pid=$!
waited=0
until grep -q " clip $root/usr/share/purimba/media/" "$clips" 2>/dev/null; do
    kill -0 "$pid" 2>/dev/null || fail "the program ended before a clip sounded"
    [ "$waited" -lt 300 ] || fail "no clip of the installed media within 30 s"
    sleep 0.1
    waited=$((waited + 1))
done
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "the learner's start ended with status $status on SIGTERM"
[ -f "$data/pu-error.txt" ] || fail "no pu-error.txt in the data folder"

# A classroom's shared folder, named by the environment.
shared=$tmp/aula
(cd "$work" && env PURIMBA_DATA_DIR="$shared" HOME="$home" "$program" -h) \
    || fail "purimba -h with PURIMBA_DATA_DIR ended with status $?"
grep -q '^Usage:' "$shared/pu-debug.txt" || fail "no usage text in $shared/pu-debug.txt"

listing >"$tmp/after"
diff "$tmp/before" "$tmp/after" || fail "the program wrote under the installation root"
[ -z "$(ls -A "$work")" ] || fail "the program wrote into its working directory: $(ls -A "$work")"
echo "PASS: installed program ran from $root with its data in $data"
