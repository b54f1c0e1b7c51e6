#!/bin/bash
# The adults' screens through a screen reader's eyes: an X server and a
# session bus of their own, the accessibility bus started in it as a desktop
# starts it, and the walk of walk_screens.py over every screen.
#
# From CTest: A11Y_SCREENS (the program showing the screens), A11Y_CATALOGUE
# (the activities the suggestion forms offer).
source "$(dirname "$0")/../e2e/lib.sh"
here=$(cd "$(dirname "$0")" && pwd)

# The system's Python: the AT-SPI client is a Debian package.
python=/usr/bin/python3
[ -x /usr/libexec/at-spi-bus-launcher ] \
    || skip "no accessibility bus: at-spi2-core is not installed (tools/install-deps.sh installs it)"
"$python" -c 'import pyatspi' 2> /dev/null \
    || skip "no AT-SPI client: python3-pyatspi is not installed (tools/install-deps.sh installs it)"
command -v dbus-run-session > /dev/null \
    || skip "no session bus can be started: dbus-daemon is not installed (tools/install-deps.sh installs it)"
start_x

# Inside the private session the bus launcher is started on demand first, so
# that a bus that cannot start is told apart from a program that does not
# show itself on it.
cat > "$E2E_WORK/session.sh" << END
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
    > "$E2E_WORK/bus.txt" 2>&1 || exit $E2E_SKIP
exec "$python" -u "$here/walk_screens.py" "$A11Y_SCREENS" "$A11Y_CATALOGUE"
END
mkdir -m 700 "$E2E_WORK/runtime"
XDG_RUNTIME_DIR="$E2E_WORK/runtime" QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    dbus-run-session -- bash "$E2E_WORK/session.sh" 2> "$E2E_WORK/session.log"
status=$?
if [ "$status" -eq "$E2E_SKIP" ]; then
    skip "the accessibility bus could not be started: $(tail -n 2 "$E2E_WORK/bus.txt" | tr '\n' ' ')"
fi
[ "$status" -eq 0 ] || grep -v "fd limit" "$E2E_WORK/session.log" >&2
exit "$status"
