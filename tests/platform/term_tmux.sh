#!/usr/bin/env bash
# The terminal host in a real terminal (tmux): the scene program shows a known
# picture; keys, mouse reports and focus changes reach it; the picture follows
# resizes and shakes; and the terminal comes back usable from every way out
# (quitting, Ctrl+C, Ctrl+Z and fg, SIGTERM, SIGHUP, a crash). Last, the game
# itself starts in the terminal and leaves it as it was.
# Arguments: the wobblewick program, the build folder (which holds term_scene).
set -euo pipefail
game=$1
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
    local m
    m=$(modes)
    if [ "$m" = "0 1 0 0 1" ]; then pass "$1: screen modes back"; else fail "$1: modes $m"; fi
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
[ "${row:0:16}" = "  TERMINAL CHECK" ] && pass "title row" || fail "title row: '$row'"
row=$(cells 2 4)
[ "${row:2:32}" = "☺☻♥♦♣♠•◘○◙♂♀♪♫☼►◄↕‼¶§▬↨↑↓→←∟↔▲▼⌂" ] && pass "symbols 1-31 and 127" ||
    fail "symbols: '$row'"
line=$(capture | sed -n 6p)
want="░░▒▒▓▓│ ┤ ╡ ╢ ╖ ╕ ╣ ║ ╗ ╝ ╜ ╛ ┐ └─┴─┬─├───┼─╞═╟─╚═╔═╩═╦═╠═══╬═╧═╨─╤═╥─╙─╘═╒═╓─╫─╪═┘ ┌─  ▄▄█  █▀▀"
[ "${line:8:96}" = "$want" ] && pass "lines and blocks at two columns" || fail "blocks: '${line:8:96}'"
row=$(cells 8 4)
[ "${row:2:18}" = "┌────────────────┐" ] && pass "box top" || fail "box top: '$row'"
line=$(capture | sed -n 90p)
[ "${line:230:5}" = "E N D" ] && pass "bottom-right corner" || fail "corner: '${line:224}'"
expect "modes chosen" "$(spaced 'MODE keys=legacy colours=256 columns=2')"
colours=$(T capture-pane -e -p -t t | sed -n 8p)
[[ "$colours" == *"48;5;18m1 "* ]] && pass "dark blue background" || fail "colours: $colours"

# ---- Keys, mouse, focus -----------------------------------------------------------
T send-keys -t t x
expect "a tapped key goes down" "$(spaced "KEY UP 58 'x'")"
expect "and up again" "$(spaced 'EVENTS 2')"
# Without key releases a lone press is a short tap; a key arriving again and
# again at the autorepeat's pace is held until the repeats stop.
T send-keys -t t Right
expect "a lone arrow is a tap" "$(spaced 'KEY UP 27')"
T send-keys -t t x
expect "another key" "$(spaced "KEY UP 58 'x'")"
(for _ in $(seq 60); do T send-keys -t t Right; sleep 0.03; done) &
expect "an arrow repeating is held" "$(spaced 'HELD 27')" 10
wait
expect "and let go when the repeats stop" "$(spaced 'KEY UP 27')"
T send-keys -t t C-e
expect "Ctrl+E holds Ctrl and E" "$(spaced 'KEY UP 11')"
T send-keys -t t F5
expect "F5" "$(spaced 'KEY UP 74')"
T send-keys -t t -H 1b 5b 3c 33 35 3b 34 31 3b 33 31 4d # move to column 41, row 31
expect "mouse move in cells" "$(spaced 'MOUSE 18 28 BUTTONS 0 FLAGS 1')"
T send-keys -t t -H 1b 5b 3c 30 3b 32 31 3b 31 31 4d # left press at column 21, row 11
expect "left click in cells" "$(spaced 'CLICK 8 8 BUTTONS 1 FLAGS 0')"
T send-keys -t t -H 1b 5b 3c 30 3b 32 31 3b 31 31 6d
# Losing the focus lets every key go.
T send-keys -t t -H 1b 5b 44 1b 5b 4f
expect "focus lost lets keys go" "$(spaced 'KEY UP 25')" 5

# ---- Palette, resize, shake --------------------------------------------------------
T send-keys -t t p
if sleep 0.3 && T capture-pane -e -p -t t | sed -n 3p | grep -qF '38;5;16mT'; then
    pass "a palette change recolours the picture"
else
    fail "palette: $(T capture-pane -e -p -t t | sed -n 3p)"
fi
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
steady() { T capture-pane -p -t t | sed '17,21d;88,89d'; }
picture=$(steady)
T send-keys -t t k
moved=0
for ((i = 0; i < 30; i++)); do
    capture | sed -n 3p | grep -qF "    $(spaced 'TERMINAL CHECK')" || moved=1
    [ $moved = 1 ] && break
    sleep 0.03
done
[ $moved = 1 ] && pass "the shake moves the picture" || fail "no shake seen"
sleep 1.2
[ "$(steady)" = "$picture" ] && pass "and puts it back, every character where it was" ||
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
[ "$(modes)" = "1 0 1 1 0" ] && pass "resumed in its own modes" || fail "resumed modes $(modes)"
shell_run "" # a key for the game, not the shell
kill -TERM "$(scene_pid)"
expect "SIGTERM ends it" "Terminated"
expect_restored "SIGTERM"

start_scene "WOBBLE_TERM_COLOURS=palette"
expect "palette mode" "$(spaced 'colours=palette')"
T send-keys -t t q
expect "Q quits" "scene done"
expect_restored "normal exit"

start_scene ""
expect "again" "$(spaced 'TERMINAL CHECK')"
T send-keys -t t C-c
expect "Ctrl+C closes" "scene closed"
expect_restored "Ctrl+C"

start_scene ""
expect "again" "$(spaced 'TERMINAL CHECK')"
T send-keys -t t f
expect "a crash" "EXIT=139"
expect_restored "crash"

start_scene ""
expect "again" "$(spaced 'TERMINAL CHECK')"
kill -HUP "$(scene_pid)"
expect "SIGHUP ends it" "EXIT=129"
expect_restored "SIGHUP"

# ---- Kitty keys, one column ----------------------------------------------------------
start_scene "WOBBLE_TERM_KEYS=kitty WOBBLE_TERM_COLUMNS=1"
expect "one column per cell" "MODE keys=kitty colours=256 columns=1"
row=$(cells 0 62 2 1)
[ "${row:0:16}" = "  TERMINAL CHECK" ] && pass "one-column title" || fail "one column: '$row'"
T send-keys -t t -H 1b 5b 31 30 30 75 # d pressed
expect "kitty press holds the key" "HELD 44" 20
sleep 1 # long past any timeout: only the release lets it go
capture | grep -qF "HELD 44" && pass "still held without repeats" || fail "kitty key let go early"
T send-keys -t t -H 1b 5b 31 30 30 3b 31 3a 33 75 # d released
expect "kitty release" "KEY UP 44"
T send-keys -t t q
expect "kitty mode quits" "scene done"
expect_restored "kitty mode"

# ---- The game itself ------------------------------------------------------------------
rm -f "$work/pid" # the scenes' pid is stale by now
shell_run "clear; env -u DISPLAY -u WAYLAND_DISPLAY sh -c 'echo \$\$ > $work/pid; exec \"\$0\"' $game; echo GAME-EXIT=\$?"
# A game with screens runs on: once its splash or menu shows (it has taken
# the terminal and set its signal handlers by then), SIGTERM ends it.
if ! wait_for "GAME-EXIT=" 30; then
    for _ in $(seq 150); do
        capture | grep -qF -e "$(spaced 'very cross Ozzle')" -e "$(spaced 'box conjurer')" && break
        sleep 0.1
    done
    kill -TERM "$(scene_pid)" 2>/dev/null || true
fi
if wait_for "GAME-EXIT=" 100; then
    pass "the game ends"
else
    fail "SIGTERM ends the game: no 'GAME-EXIT='"
    kill -KILL "$(scene_pid)" 2>/dev/null || true
fi
expect_restored "the game"

if [ $failures -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all terminal checks passed"
