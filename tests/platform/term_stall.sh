#!/usr/bin/env bash
# The terminal host ends at the first SIGTERM even when its terminal has
# stopped reading (a stalled connection): the game is left writing a frame
# that cannot go out, and the handler that puts the terminal back must not
# wait for it. Runs the game on a pseudo-terminal that is read for a few
# seconds and then no more.
# Arguments: the wobblewick program (the build folder is not needed).
set -euo pipefail
game=$1
python3 - "$game" <<'PY'
import fcntl, os, pty, signal, struct, sys, termios, time

game = sys.argv[1]
pid, fd = pty.fork()
if pid == 0:
    for name in ("DISPLAY", "WAYLAND_DISPLAY"):
        os.environ.pop(name, None)
    os.environ["TERM"] = "xterm-256color"
    os.execv(game, [game, "--host=term", "-soundoff"])
fcntl.ioctl(fd, termios.TIOCSWINSZ, struct.pack("HHHH", 92, 240, 0, 0))
end = time.time() + 3
while time.time() < end:  # the splash is drawn and read
    try:
        os.read(fd, 65536)
    except OSError:
        break
time.sleep(2)  # nothing is read any more: the game blocks writing
os.kill(pid, signal.SIGTERM)
for i in range(60):
    done, status = os.waitpid(pid, os.WNOHANG)
    if done:
        how = "signal %d" % os.WTERMSIG(status) if os.WIFSIGNALED(status) else "exit"
        print("ok: one SIGTERM ends a game whose terminal stalled (%s, %.2f s)" % (how, i * 0.05))
        sys.exit(0)
    time.sleep(0.05)
os.kill(pid, signal.SIGKILL)
print("FAIL: the game still ran 3 s after SIGTERM, its terminal stalled")
sys.exit(1)
PY
