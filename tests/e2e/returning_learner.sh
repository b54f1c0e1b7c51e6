#!/bin/bash
# A learner registered earlier comes back, leaves the login alone for 20 s
# (the welcome is said again), and resumes where she stopped; then a tutor
# logs in from the tutor face and opens the report.
source "$(dirname "$0")/lib.sh"

start_x
stage
register_learner ana 1 6

# The welcome window closes by itself 14 s after it was made, which may be
# a while before it is on screen.
start_program
expect " start "
started=$LINE
expect " shown WelcomeDialog"
welcome_window=$CURSOR
expect " shown InputDialog" 20
[ "$(elapsed_ms "$started" "$LINE")" -ge 13300 ] || fail "the welcome window closed early"
# The welcome may be logged before the login's window or after it.
CURSOR=$welcome_window
hear "Bienvenida no vidente.ogg" 20
focus_window InputDialog

# The login left alone for 20 s: the welcome is said again before 15 s have
# gone by without a word, and never in between. Timed from the program's own
# asking for the clip: on a loaded machine the clip may start to sound later.
CURSOR=$welcome_window
expect " request .*/Bienvenida no vidente.ogg$" 20
welcome=$LINE
expect " request .*/Bienvenida no vidente.ogg$" 20
again=$LINE
[ "$(elapsed_ms "$welcome" "$again")" -le 15300 ] || fail "the welcome came back late"
[ "$(elapsed_ms "$welcome" "$again")" -ge 14000 ] || fail "the welcome came back early"
sleep $((20 - $(elapsed_ms "$welcome" "$again") / 1000))
# Before F1 or F2, a key that chooses nothing is answered with the welcome.
press Return
hear "Bienvenida no vidente.ogg"

# F1 and an arrow key choose a registered name, said by the synthesizer.
choose_learner ana
# Space cuts the greeting short; the instruction is heard to its end, and
# then (5 s after it at the least) the stored activity, the Perkins
# brailler's exploration, starts again.
press space
expect " (request|step) .*/para menu audible.ogg$"
instruction=$LINE
hear "Exploracion perkins.ogg" 10
[ "$(elapsed_ms "$instruction" "$LINE")" -ge 4750 ] || fail "the stored activity came early"
press f
hear "letters/1.ogg"
# NumLock is off, as the X server starts: the keypad's 8 and 2 arrive as
# Up and Down, and are still dots 4 and 6 of the cell.
press KP_Up
hear "letters/4.ogg"
press KP_Down
hear "letters/6.ogg"
quit_from_menu

echo "$(data_file users.xml)" | grep -q '<User Name="ana" LastAct="1" LastSubAct="6"' \
    || fail "data/users.xml lost ana's activity: $(data_file users.xml)"

# The tutor face: the registered learners in a list, "Ingresar" to log in.
start_program -tutor
expect " shown WelcomeDialog"
focus_window WelcomeDialog
press space
expect " shown InputDialog"
focus_window InputDialog
# From the name field to the list of learners, open it and take "ana"; the
# buttons before the list are enabled now, "Ingresar" two steps back.
press Tab alt+Down
CURSOR=$PRESSED
expect " shown QComboBoxPrivateContainer"
focus_window QComboBoxPrivateContainer
xdotool key Return
# The list closes: the keys after it are the login's.
focus_window InputDialog
press shift+Tab shift+Tab space
# Tutors start at once when the greeting time is over or Space is released.
hear "Saludo de mofli.ogg"
focus_window MainWindow
press space
hear "Exploracion perkins.ogg"

# "&Archivo", "&Reportes": the report of the learner logged in.
press alt+a
# An entry is highlighted, and named, on the press: before its release.
press Down
CURSOR=$PRESSED
hear "Reportes.ogg"
xdotool key Return
expect " shown ReportDialog"
focus_window ReportDialog
press Escape
focus_window MainWindow
quit_from_menu
check_error_log
echo "ok"
