#!/bin/bash
# A new learner's first session, by ear and keyboard alone, with the
# program's own timers: welcome, login, greeting, "¿Cómo suena?" with two
# wrong answers and a right one, exploration of the braille cell, writing,
# and closing from the menu.
source "$(dirname "$0")/lib.sh"

start_x
stage
start_program

expect " shown WelcomeDialog"
focus_window WelcomeDialog
press space
expect_all " clip .*/Bienvenida no vidente.ogg$" " shown InputDialog"
focus_window InputDialog

# With nobody registered, F1's list tells the child to press F2.
press F1
hear "Presiona las flechas.ogg"
press Down
hear "Ningun usuario.ogg"

# Login by ear: F2, the name letter by letter (each spoken back), Enter reads
# it back, Enter again creates the learner.
press F2
hear "Escribe tu nombre.ogg"
press a
expect " speak a$"
press n a
press Return
hear "Escribiste.ogg"
expect " speak ana$"
hear "Verifica nombre.ogg"
press Return
# The timers run from the moment a clip is asked for; Qt's coarse timers may
# fire up to 5 % early.
expect " (request|step) .*/Saludo de mofli.ogg$"
greeting=$LINE
hear "Saludo de mofli.ogg"
focus_window MainWindow

# The 13 s greeting runs out, the audible-menu instruction follows, and once
# it has been heard whole, 5 s at the least, the first activity of a new
# learner starts.
expect " (request|step) .*/para menu audible.ogg$" 20
instruction=$LINE
[ "$(elapsed_ms "$greeting" "$instruction")" -ge 12350 ] || fail "the greeting was cut short"
expect " (request|step) .*/Te presento sonidos.ogg$" 10
first=$LINE
[ "$(elapsed_ms "$instruction" "$first")" -ge 4750 ] || fail "the first activity came early"

# The audible menu to "¿Cómo suena?".
press Escape
hear "Modo menu.ogg"
press F1
hear "Letras y Numeros.ogg"
press Right
hear "Sonidos de las Letras.ogg"
press Down
hear "Te presento sonidos.ogg"
press Down
hear "Como suena.ogg"
# Starting an activity ends the menu mode silently.
press Return
hear "Letras/[A-Za-z]+/[^/]+/letter_sound.ogg"
question=$LINE
target=$(echo "$question" | sed -E 's|.*/Letras/([A-Za-z]+)/.*|\1|')
echo "target letter: $target"

# Two wrong answers: encouragement, then the direction of the right key.
wrong=""
for letter in m x p t; do
    [ "$(echo "$letter" | tr a-z A-Z)" = "$target" ] || wrong="$wrong $letter"
done
for letter in $(echo $wrong | cut -d' ' -f1-2); do
    press "$letter"
    hear "(puedes hacerlo mejor|intentalo de nuevo).ogg"
    hear "(izquierda|derecha|arriba|abajo).ogg"
done
# The right one: praise, then the letter and its word, and after 3 s the next turn.
key=$(echo "$target" | tr A-Z a-z)
[ "$target" = Ntilde ] && key=ntilde
press "$key"
hear "(excelente|muy bien|bravo|bien|perfecto).ogg"
hear "encontraste el sonido.ogg"
hear "Letras/$target/[^/]+/letter_sound.ogg"
hear "de.ogg"
expect " (request|step) .*/Letras/$target/[^/]+/name.ogg$"
word=$LINE
hear "Letras/$target/[^/]+/name.ogg"
expect " (request|step) .*/Letras/[A-Za-z]+/[^/]+/letter_sound.ogg$" 10
next=$LINE
[ "$(elapsed_ms "$word" "$next")" -ge 2850 ] || fail "the next turn came before 3 s"

# The braille cell: dots 1, 2 and 4 from the Perkins keys (they add to the
# cell instead of starting a new one), then Enter reads the cell out.
press Escape
hear "Modo menu.ogg"
press F2
hear "Braille.ogg"
press Right
hear "Cajetin.ogg"
press Down
hear "Exploracion cajetin.ogg"
press Return
hear "instructions/Exploracion cajetin.ogg"
press f
hear "letters/1.ogg"
press d
hear "letters/2.ogg"
press j
hear "letters/4.ogg"
press Return
hear "Numeros/6/[^/]+/[^/]+.ogg"

# Writing: word mode, a word, and Space says it.
press Escape
hear "Modo menu.ogg"
press F4
hear "Escribir.ogg"
press Return
# Choosing it says its instruction.
hear "instructions/Escribir.ogg"
press F2
hear "Modo palabra.ogg"
press s o l space
expect " speak sol$"

quit_from_menu
check_error_log

users=$(data_file users.xml)
echo "$users" | grep -q '<User Name="ana" LastAct="3" LastSubAct="0"' \
    || fail "data/users.xml does not hold ana in the writing activity: $users"
object=$target
[ "$target" = Ntilde ] && object="Ñ"
score=$(score_of "Como Suena" "$object")
[ "$score" = "<Score Object=\"$object\" Corrects=\"1\" Total=\"3\" Consecutive=\"1\"/>" ] \
    || fail "\"Como Suena\" holds \"$score\" for $object, not one right and two wrong answers"
echo "ok"
