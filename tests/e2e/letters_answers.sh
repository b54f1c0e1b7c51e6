#!/bin/bash
# A learner in "¿Cómo suena?": Space asks again, a letter that sounds the same
# is right, and three wrong answers are answered with the letter and where
# its key is.
source "$(dirname "$0")/lib.sh"

start_x
stage
register_learner ana 0 1

start_program
expect " shown InputDialog" 30
focus_window InputDialog
choose_learner ana
press space
hear "instructions/Como suena.ogg" 15

# The letter asked for, from the question's clip.
target=""
question() {
    hear "Letras/[A-Za-z]+/[^/]+/letter_sound.ogg" "${1:-10}"
    target=$(echo "$LINE" | sed -E 's|.*/Letras/([A-Za-z]+)/.*|\1|')
}
key_of() {
    [ "$1" = Ntilde ] && echo ntilde || echo "$1" | tr A-Z a-z
}
question 15
echo "target letter: $target"

# Space says the question again, and is no answer.
press space
question
echo "asked again: $target"

# Letters that share a sound (the demo media's Letras/sonidos.txt): right
# answers are given until one of them is asked, then its mate answers it.
# Space during the praise brings the next question at once.
mate=""
for turn in $(seq 40); do
    case $target in
    B) mate=v ;; V) mate=b ;; C) mate=k ;; K) mate=q ;; Q) mate=c ;; S) mate=z ;; Z) mate=s ;;
    H) fail "H, which has no sound, was asked" ;;
    esac
    [ -n "$mate" ] && break
    press "$(key_of "$target")"
    hear "(excelente|muy bien|bravo|bien|perfecto).ogg"
    press space
    question
done
[ -n "$mate" ] || fail "no letter that shares a sound was asked in 40 questions"
sameSound=$target
echo "same sound: $mate for $sameSound"
press "$mate"
hear "(excelente|muy bien|bravo|bien|perfecto).ogg"
hear "encontraste el sonido.ogg"
press space
question

# Three wrong answers, the last two at once: the answer, where its key is,
# then the next question.
wrong=m
[ "$target" = M ] && wrong=x
missed=$target
press "$wrong"
hear "(puedes hacerlo mejor|intentalo de nuevo).ogg"
press "$wrong" "$wrong"
hear "te equivocaste en la letra.ogg"
hear "Letras/$missed/[^/]+/letter_sound.ogg"
hear "tecla en la fila (de arriba|del medio|de abajo).ogg"
hear "(izquierda|derecha).ogg"
question
quit_from_menu
check_error_log

object=$sameSound
score=$(score_of "Como Suena" "$object")
echo "$score" | grep -q 'Corrects="[1-9]' \
    || fail "\"Como Suena\" holds \"$score\" for $object: $mate did not count as its right answer"
object=$missed
[ "$missed" = Ntilde ] && object="Ñ"
score=$(score_of "Como Suena" "$object")
echo "$score" | grep -q 'Total="[3-9]' \
    || fail "\"Como Suena\" holds \"$score\" for $object, not the three wrong answers"
echo "ok"
