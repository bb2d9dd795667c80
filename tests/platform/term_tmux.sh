#!/usr/bin/env bash
# The terminal host in a real terminal (tmux): the scene program shows a known
# picture; a key tapped reaches it and goes up again on the host's clock (the
# decoder's rules are unit-tested); the picture follows resizes and shakes; and the terminal comes back usable from every way out
# (quitting, Ctrl+C, Ctrl+Z and fg, SIGTERM, SIGHUP, a crash). The game runs
# on the same host code; term_stall.sh ends it with SIGTERM.
# Arguments: the wobblewick program (not used), the build folder (which holds term_scene).
set -euo pipefail
scene=$2/term_scene
[ -x "$scene" ] || { echo "no $scene"; exit 1; }

source "$(dirname "$0")/../script_support.bash"
tmux_session term-test

failures=0
fail() {
    echo "FAIL: $*"
    echo "---- pane ----"
    T capture-pane -p -t t | grep -v '^ *$' | head -40 || true
    failures=$((failures + 1))
}
pass() { echo "ok: $*"; }
same() { if [ "$2" = "$3" ]; then pass "$1"; else fail "$1: '$2'"; fi; } # what, got, wanted

capture() { T capture-pane -p -t t; }
# Waits until the pane shows the text (a fixed string), up to $2 tenths of a second.
wait_for() {
    local text=$1 limit=${2:-50} i
    for ((i = 0; i < limit * 2; i++)); do
        capture | grep -qF -- "$text" && return 0
        sleep 0.05
    done
    return 1
}
expect() { # what, text[, tenths of a second]
    if wait_for "$2" "${3:-50}"; then pass "$1"; else fail "$1: no '$2'"; fi
}
# The characters of picture row $1, one per cell (two columns per cell from
# terminal column $2).
cells() {
    local line i out=""
    line=$(capture | sed -n "$(($1 + ${3:-2} + 1))p")
    for ((i = $2; i < ${#line}; i += ${4:-2})); do out+="${line:i:1}"; done
    printf '%s' "$out"
}
spaced() { echo "$1" | sed 's/./& /g; s/ $//'; } # the text as two-column cells show it
modes() {
    T display -p -t t '#{alternate_on} #{cursor_flag} #{mouse_any_flag} #{mouse_sgr_flag} #{wrap_flag}'
}
shell_run() { T send-keys -t t "$1" Enter; }
start_scene() { # environment settings for the scene
    shell_run "clear; $1 sh -c 'echo \$\$ > $work/pid; exec \"\$0\"' $scene; echo EXIT=\$?"
}
scene_pid() { cat "$work/pid"; }
clock() { cells 85 4 | sed 's/^ *CLOCK //'; } # the scene's clock in tenths of a second
# The terminal is as the shell had it: main screen, cursor on, no mouse
# reports, wrapping on, and the same line settings as before.
expect_restored() {
    same "$1: screen modes back" "$(modes)" "0 1 0 0 1"
    shell_run "clear; stty -g > $work/after; cmp -s $work/before $work/after && echo SAME-\$((6*7)) || echo DIFFERENT"
    expect "$1: line settings back and the shell answers" "SAME-42"
}

T new-session -d -x 240 -y 92 -s t "env -i PATH=$PATH HOME=$HOME TERM=screen PS1='$ ' bash --norc --noprofile"
T set-option -t t remain-on-exit on
wait_for '$' || fail "no shell prompt"
shell_run "stty -g > $work/before"

# ---- The picture --------------------------------------------------------------
start_scene ""
expect "the scene starts" "$(spaced 'TERMINAL CHECK')"
row=$(cells 0 4)
same "title row" "${row:0:16}" "  TERMINAL CHECK"
row=$(cells 2 4)
same "symbols 1-31 and 127" "${row:2:32}" "☺☻♥♦♣♠•◘○◙♂♀♪♫☼►◄↕‼¶§▬↨↑↓→←∟↔▲▼⌂"
line=$(capture | sed -n 6p)
same "lines and blocks at two columns" "${line:8:96}" \
    "░░▒▒▓▓│ ┤ ╡ ╢ ╖ ╕ ╣ ║ ╗ ╝ ╜ ╛ ┐ └─┴─┬─├───┼─╞═╟─╚═╔═╩═╦═╠═══╬═╧═╨─╤═╥─╙─╘═╒═╓─╫─╪═┘ ┌─  ▄▄█  █▀▀"
line=$(capture | sed -n 90p)
same "bottom-right corner" "${line:230:5}" "E N D"
expect "modes chosen" "$(spaced 'MODE keys=legacy colours=256 columns=2')"
colours=$(T capture-pane -e -p -t t | sed -n 8p)
[[ "$colours" == *"48;5;18m1 "* ]] && pass "dark blue background" || fail "colours: $colours"

# ---- Keys -----------------------------------------------------------
T send-keys -t t x
expect "a tapped key goes down" "$(spaced "KEY UP 58 'x'")"
expect "and up again" "$(spaced 'EVENTS 2')"

# ---- Palette, resize, shake --------------------------------------------------------
T send-keys -t t p
sleep 0.3 && line=$(T capture-pane -e -p -t t | sed -n 3p)
[[ "$line" == *"38;5;16mT"* ]] && pass "a palette change recolours the picture" || fail "palette: $line"
before=$(clock)
T resize-window -t t -x 150 -y 40
expect "too small: the size needed" "needs a terminal of at least 232 x 88 characters"
expect "too small: the size it has" "This one is 150 x 40."
sleep 2
T resize-window -t t -x 240 -y 92
expect "the picture comes back" "$(spaced 'TERMINAL CHECK')"
after=$(clock)
[ $((after - before)) -lt 15 ] && pass "the clock stood still meanwhile" ||
    fail "clock went from $before to $after tenths"
# The picture but its event and clock rows.
steady() { T capture-pane -p -t t | sed '17,21d;88d'; }
picture=$(steady)
T send-keys -t t k
for ((i = 0; i < 30; i++)); do
    capture | sed -n 3p | grep -qF "    $(spaced 'TERMINAL CHECK')" || break
    sleep 0.03
done
[ $i -lt 30 ] && pass "the shake moves the picture" || fail "no shake seen"
# The shake lasts a second; a busy machine may draw its last steps late.
sleep 1.2
for ((i = 0; i < 40; i++)); do
    [ "$(steady)" = "$picture" ] && break
    sleep 0.1
done
[ $i -lt 40 ] && pass "and puts it back, every character where it was" ||
    fail "after the shake: $(diff <(echo "$picture") <(steady) | head -5)"

# ---- Ways out ----------------------------------------------------------------------
before=$(clock)
T send-keys -t t C-z
expect "Ctrl+Z suspends" "Stopped"
expect_restored "suspended"
sleep 2
shell_run "fg"
expect "fg draws it all again" "$(spaced 'TERMINAL CHECK')"
after=$(clock)
[ $((after - before)) -lt 15 ] && pass "the clock stood still while suspended" ||
    fail "clock went from $before to $after tenths"
same "resumed in its own modes" "$(modes)" "1 0 1 1 0"
shell_run "" # a key for the game, not the shell
kill -TERM "$(scene_pid)"
expect "SIGTERM ends it" "Terminated"
expect_restored "SIGTERM"

start_scene "WOBBLE_TERM_COLOURS=palette"
expect "palette mode" "$(spaced 'colours=palette')"
T send-keys -t t q
expect "Q quits" "scene done"
expect_restored "normal exit"

# Started again, ended another way: the terminal comes back each time.
way_out() { # what, how (a command), what the shell shows after
    start_scene ""
    expect "again" "$(spaced 'TERMINAL CHECK')"
    eval "$2"
    expect "$1" "$3"
    expect_restored "$1"
}
way_out "Ctrl+C closes" "T send-keys -t t C-c" "scene closed"
way_out "a crash" "T send-keys -t t f" "EXIT=139"
way_out "SIGHUP ends it" 'kill -HUP "$(scene_pid)"' "EXIT=129"

# ---- Kitty keys, one column ----------------------------------------------------------
start_scene "WOBBLE_TERM_KEYS=kitty WOBBLE_TERM_COLUMNS=1"
expect "one column per cell" "MODE keys=kitty colours=256 columns=1"
row=$(cells 0 62 2 1)
same "one-column title" "${row:0:16}" "  TERMINAL CHECK"
T send-keys -t t q
expect "kitty mode quits" "scene done"
expect_restored "kitty mode"

if [ $failures -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all terminal checks passed"
