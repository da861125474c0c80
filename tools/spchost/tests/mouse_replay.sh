#!/bin/sh
# Replays mouse_events.txt on the transformed sample in spchost and checks each gesture's state
# in the dumps: spchost SANDBOX SAMPLE EVENTS.
set -e
host="$1"; dir="$2"; sample="$3"; events="$4"
rm -rf "$dir"; mkdir -p "$dir"
"$host" --registry "$dir/registry" --ini-dir "$dir/ini" -c register -c 'frame F 800 600' -c 'create A 0 0 640 400' \
  -c "load A $sample" -c 'activate A' -c 'command A 40024' -c "events A $events" > "$dir/out.txt"
out="$dir/out.txt"
fail() { echo "FAIL: $1"; cat "$out"; exit 1; }
# The lines of one section (from "== NAME" to the next "==").
section() { awk -v s="== $1" '$0 == s { on = 1; next } /^== / { on = 0 } on' "$out"; }

[ "$(grep -c '^xor ' "$out")" -eq "$(grep -c '^xor-check' "$events")" ] || fail "an XOR check is missing"
grep '^xor ' "$out" | grep -qv '^xor clean$' && fail "XOR pixels were left behind"

section zoom | grep -q '^selection yes$' || fail "no selection"
section zoom | grep -q '^  zoom history 0\.\.16383$' || fail "the zoom was not pushed"
section zoom | grep -q '^plot bounds=0\.\.16383 ' && fail "the view did not zoom"

picked=$(section pick | sed -n 's/^status Point_0 <.*points: \([0-9]*\)>$/\1/p')
[ -n "$picked" ] || fail "no cursor read-out"
section pick | grep -q "^  peaks $picked\$" || fail "the picked point is not the peak"

range=$(section integral | sed -n 's/^  integrals \[\([0-9]*\),\([0-9]*\) x1\]$/\1 \2/p')
[ -n "$range" ] || fail "no integral"
set -- $range
moved=$(section 'integral dragged' | sed -n 's/^  integrals \[\([0-9]*\),\([0-9]*\) x1\]$/\1 \2/p')
set -- $range $moved
[ "$#" -eq 4 ] && [ "$3" -lt "$1" ] && [ $(($4 - $3)) -eq $(($2 - $1)) ] || fail "the integral did not move whole"
section 'integral split' | grep -Eq "^  integrals \[$3,([0-9]+) x1\] \[([0-9]+),$4 x1\]\$" || fail "the integral was not split"
split=$(section 'integral split' | sed -n 's/^  integrals \[[0-9]*,\([0-9]*\) x1\] \[\([0-9]*\),[0-9]* x1\]$/\1 \2/p')
set -- $split
[ $(($1 + 1)) -eq "$2" ] || fail "the halves do not meet"

section phase | grep -q ' PH0=30 ' || fail "Ctrl-drag and the Right key did not phase by 20 + 10 degrees"

placed=$(section 'text placed' | sed -n 's/^    text "ethyl" at \(.*\)$/\1/p')
[ -n "$placed" ] || fail "no text placed"
movedto=$(section 'text moved' | sed -n 's/^    text "ethyl" at \(.*\)$/\1/p')
[ -n "$movedto" ] && [ "$movedto" != "$placed" ] || fail "the text did not move"
section 'text deleted' | grep -q '^    text ' && fail "the text was not deleted"
echo "replayed"
