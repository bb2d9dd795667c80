#include "platform/term/term_host.h"
#include "platform/hosts.h"
#ifdef WOBBLE_HAVE_MIXER
#include "platform/audio/mixer_audio.h"
#endif
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

TermScreen termScreen;
TermInput termInput;
bool termTooSmall = false;

// The terminal shows at most 20 pictures a second unless WOBBLE_TERM_RATE says
// otherwise (0: every one). The game presents one on every pass of its loop,
// and in a busy fight a picture written for each costs twice the bytes of one
// every 50 ms for little the eye can follow; a terminal is often at the far
// end of a network link. A shake's moves are drawn by the same clock, but
// never more often than SHAKE_STEP_NS: the game moves its window every
// millisecond while it shakes.
constexpr int DEFAULT_PICTURES_PER_SECOND = 20;
constexpr int64_t SHAKE_STEP_NS = 30000000;

static struct {
    bool created = false;
    bool entered = false; // raw mode and the alternate screen are on
    int ttyOut = -1;      // the terminal, kept even while standard output is caught
    termios saved{};
    bool kittyWanted = false;
    std::vector<Cell> frame; // the latest frame, drawn again after a resize or resume
    uint32_t palette[16] = {};
    std::string title;
    int windowX = 0, windowY = 0; // where the game last put its window, in pixels
    bool drawWaiting = false;     // a new frame or place, not drawn yet
    bool moved = false;           // the place changed since the last drawing
    bool shakeScrolls = true;     // the shake slides the picture instead of repainting it
    int64_t drawnAt = 0;
    int64_t redrawNs = 1000000000 / DEFAULT_PICTURES_PER_SECOND;
    bool messageShown = false;
    int64_t lastPump = 0;
    std::string out;
    // Standard output and error while they are caught (they would break the picture).
    int realStdout = -1, realStderr = -1;
    int caughtStdout = -1, caughtStderr = -1;
} term;

// Shared with the signal handlers.
static volatile sig_atomic_t terminalActive = 0;
static volatile sig_atomic_t resized = 0;
static volatile sig_atomic_t resumed = 0;
static char restoreBytes[160];
static volatile size_t restoreLength = 0;
static int wakePipe[2] = {-1, -1};
static std::atomic<int64_t> excludedNs{0}; // time stopped or waiting, kept off the clock

static int64_t monotonicNs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

static int64_t gameNs() {
    return monotonicNs() - excludedNs.load();
}

static uint32_t tNow() {
    return static_cast<uint32_t>(gameNs() / 1000000);
}

static void wake() {
    if (wakePipe[1] >= 0) {
        const char b = 1;
        ssize_t ignored = write(wakePipe[1], &b, 1);
        (void)ignored;
    }
}

// ---- Writing --------------------------------------------------------------

static void writeAll(const char *data, size_t size) {
    while (size > 0 && term.ttyOut >= 0) {
        const ssize_t n = write(term.ttyOut, data, size);
        if (n > 0) {
            data += n;
            size -= static_cast<size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN) {
            pollfd p{term.ttyOut, POLLOUT, 0};
            poll(&p, 1, 100);
        } else {
            return; // the terminal is gone
        }
    }
}

static void flushOut() {
    writeAll(term.out.data(), term.out.size());
    term.out.clear();
}

// ---- Catching standard output and error -------------------------------------

static int catchStream(int fd, int &real) {
    if (!isatty(fd))
        return -1;
    char path[] = "/tmp/wobble-term-XXXXXX";
    const int caught = mkstemp(path);
    if (caught < 0)
        return -1;
    unlink(path);
    real = dup(fd);
    dup2(caught, fd);
    return caught;
}

// The terminal through a descriptor of its own that never blocks, for the
// signal handlers: a dying game gives a stalled terminal (a broken
// connection, a window that stopped reading) what it takes at once and goes,
// instead of waiting inside a handler for a reader that may never come.
static int openTerminalNow() {
    return open("/dev/tty", O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

// Puts a stream back and passes on what was written to it meanwhile. Safe
// inside a signal handler, which passes `to`, a descriptor that never blocks.
static void releaseStream(int fd, int &real, int &caught, int to = -2) {
    if (real < 0)
        return;
    dup2(real, fd);
    if (to == -2)
        to = fd;
    if (caught >= 0 && to >= 0) {
        char buffer[512];
        lseek(caught, 0, SEEK_SET);
        ssize_t n;
        while ((n = read(caught, buffer, sizeof buffer)) > 0)
            if (write(to, buffer, static_cast<size_t>(n)) != n)
                break;
    }
    if (caught >= 0)
        close(caught);
    close(real);
    real = -1;
    caught = -1;
}

static void catchStreams() {
    fflush(stdout);
    fflush(stderr);
    term.caughtStdout = catchStream(STDOUT_FILENO, term.realStdout);
    term.caughtStderr = catchStream(STDERR_FILENO, term.realStderr);
}

static void releaseStreams() {
    fflush(stdout);
    fflush(stderr);
    releaseStream(STDOUT_FILENO, term.realStdout, term.caughtStdout);
    releaseStream(STDERR_FILENO, term.realStderr, term.caughtStderr);
}

// ---- Entering and leaving ---------------------------------------------------

static void buildRestoreBytes() {
    // CAN first: it cuts short any sequence a signal interrupted half written.
    std::string s = "\x18\x1b[?2026l";
    if (term.kittyWanted)
        s += "\x1b[<u"; // pops our keyboard mode (kept per screen, so before leaving it)
    s += "\x1b[?1006l\x1b[?1003l\x1b[?1000l\x1b[?1004l";
    if (termScreen.colourMode == TERM_COLOURS_PALETTE)
        s += "\x1b]104\x07";
    s += "\x1b[0m\x1b[?7h\x1b[?25h\x1b[?1049l\x1b[23;0t";
    memcpy(restoreBytes, s.data(), s.size());
    restoreLength = s.size();
}

// Leaves the terminal as it was found. Safe inside a signal handler, which
// passes a descriptor that never blocks and does not wait for the output to
// drain: a terminal that has stopped reading would otherwise hold the dying
// game there until it read the rest of the last frame.
static void restoreTerminal(int to = -2) {
    if (!terminalActive)
        return;
    terminalActive = 0;
    const size_t n = restoreLength;
    ssize_t ignored = 0;
    if (to == -2) {
        ignored = write(term.ttyOut, restoreBytes, n);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &term.saved);
    } else {
        if (to >= 0)
            ignored = write(to, restoreBytes, n);
        tcflush(STDIN_FILENO, TCIFLUSH);
        tcsetattr(STDIN_FILENO, TCSANOW, &term.saved);
    }
    (void)ignored;
}

static void setRawMode() {
    termios raw = term.saved;
    raw.c_iflag &=
        ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON);
    raw.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    raw.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    raw.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB);
    raw.c_cflag |= CS8;
    raw.c_cc[VMIN] = 0;
    raw.c_cc[VTIME] = 0;
    tcsetattr(STDIN_FILENO, TCSANOW, &raw);
}

static void appendTitle(std::string &out) {
    out += "\x1b]2;";
    for (char c : term.title)
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F)
            out += c;
    out += '\x07';
}

// Raw mode, the alternate screen, mouse and focus reports, our key mode; the
// picture is drawn again from scratch at the next chance.
static void enterTerminal() {
    setRawMode();
    std::string s = "\x1b[?1049h\x1b[22;0t\x1b[?25l\x1b[?7l\x1b[?1004h"
                    "\x1b[?1000h\x1b[?1003h\x1b[?1006h\x1b[0m\x1b[2J";
    if (term.kittyWanted)
        s += "\x1b[>15u"; // presses, repeats and releases of every key, as escape codes
    if (!term.title.empty())
        appendTitle(s);
    term.out += s;
    termScreen.terminalPaletteKnown = false;
    termEncodePalette(termScreen, term.palette, term.out);
    termScreen.shownValid = false;
    term.messageShown = false;
    buildRestoreBytes();
    terminalActive = 1;
    flushOut();
    catchStreams();
    term.entered = true;
}

static void leaveTerminal() {
    if (!term.entered)
        return;
    term.entered = false;
    restoreTerminal();
    releaseStreams();
}

// ---- Signals ------------------------------------------------------------------

static void dieOfSignal(int sig) {
    const int now = openTerminalNow();
    restoreTerminal(now);
    releaseStream(STDOUT_FILENO, term.realStdout, term.caughtStdout, now);
    releaseStream(STDERR_FILENO, term.realStderr, term.caughtStderr, now);
    if (now >= 0)
        close(now);
    signal(sig, SIG_DFL);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, sig);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
    raise(sig);
}

static void onStop(int) {
    const int savedErrno = errno;
    const bool wasActive = terminalActive;
    const int now = openTerminalNow();
    restoreTerminal(now);
    if (now >= 0)
        close(now);
    const int64_t stoppedAt = monotonicNs();
    signal(SIGTSTP, SIG_DFL);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTSTP);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
    raise(SIGTSTP);
    // Continued.
    signal(SIGTSTP, onStop);
    // A stop from outside; a suspension of our own keeps its own time.
    if (wasActive) {
        excludedNs += monotonicNs() - stoppedAt;
        resumed = 1;
    }
    wake();
    errno = savedErrno;
}

static void onContinue(int) {
    const int savedErrno = errno;
    resumed = 1;
    wake();
    errno = savedErrno;
}

static void onResize(int) {
    const int savedErrno = errno;
    resized = 1;
    wake();
    errno = savedErrno;
}

static void installSignals() {
    struct sigaction sa {};
    sigemptyset(&sa.sa_mask);
    sa.sa_handler = dieOfSignal;
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT,
                    SIGTRAP, SIGSYS})
        sigaction(sig, &sa, nullptr);
    sa.sa_handler = onStop;
    sigaction(SIGTSTP, &sa, nullptr);
    sa.sa_flags = SA_RESTART;
    sa.sa_handler = onContinue;
    sigaction(SIGCONT, &sa, nullptr);
    sa.sa_handler = onResize;
    sigaction(SIGWINCH, &sa, nullptr);
}

// ---- Size and layout --------------------------------------------------------------

std::string termTooSmallText(int columns, int rows, int cellColumns) {
    char text[400];
    snprintf(text, sizeof text,
             "Wobblewick! needs a terminal of at least %d x %d characters.\n"
             "This one is %d x %d.\n"
             "Make the window larger or the font smaller; the game waits until then.\n"
             "%s"
             "Ctrl+C quits.",
             SCREEN_WIDTH * cellColumns, SCREEN_HEIGHT, columns, rows,
             cellColumns == 2 ? "(With WOBBLE_TERM_COLUMNS=1 it needs only 116 x 88.)\n" : "");
    return text;
}

// Where the picture goes: in the middle of the terminal, moved by the shake.
static void layOut(bool shaking = false) {
    winsize ws{};
    if (ioctl(term.ttyOut, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 0 && ws.ws_row > 0) {
        termScreen.columns = ws.ws_col;
        termScreen.rows = ws.ws_row;
    } else if (termScreen.columns == 0) {
        termScreen.columns = 80;
        termScreen.rows = 24;
    }
    const int cw = termScreen.cellColumns;
    termTooSmall = termScreen.columns < SCREEN_WIDTH * cw || termScreen.rows < SCREEN_HEIGHT;
    const int baseColumn = termTooSmall ? 0 : (termScreen.columns - SCREEN_WIDTH * cw) / 2;
    const int baseRow = termTooSmall ? 0 : (termScreen.rows - SCREEN_HEIGHT) / 2;
    // The game moves its window by a few pixels; the picture moves by whole cells.
    auto cellsOf = [](int pixels) {
        if (pixels == 0)
            return 0;
        const int cells = (std::abs(pixels) + CELL_PIXELS / 2) / CELL_PIXELS;
        return (pixels < 0 ? -1 : 1) * (cells < 1 ? 1 : cells);
    };
    const int column = baseColumn + cellsOf(term.windowX) * cw;
    const int row = baseRow + cellsOf(term.windowY);
    // A shaken picture slides to its new place where the terminal can do it;
    // otherwise it is written again there.
    if ((column != termScreen.originColumn || row != termScreen.originRow) &&
        !(shaking && term.shakeScrolls && termEncodeShift(termScreen, column, row, term.out)))
        termScreen.shownValid = false;
    termScreen.originColumn = column;
    termScreen.originRow = row;
    termInput.cellColumns = cw;
    termInput.originColumn = baseColumn;
    termInput.originRow = baseRow;
}

static void showTooSmall() {
    if (term.messageShown)
        return;
    term.messageShown = true;
    termScreen.shownValid = false;
    const std::string text =
        termTooSmallText(termScreen.columns, termScreen.rows, termScreen.cellColumns);
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    std::string &out = term.out;
    out += "\x1b[?2026h\x1b[0m\x1b[2J";
    const int top = std::max(0, (termScreen.rows - static_cast<int>(lines.size())) / 2);
    for (size_t i = 0; i < lines.size() && top + static_cast<int>(i) < termScreen.rows; i++) {
        std::string line = lines[i].substr(0, static_cast<size_t>(termScreen.columns));
        const int left = (termScreen.columns - static_cast<int>(line.size())) / 2;
        char move[32];
        snprintf(move, sizeof move, "\x1b[%d;%dH", top + static_cast<int>(i) + 1, left + 1);
        out += move;
        out += line;
    }
    out += "\x1b[?2026l";
    flushOut();
}

static void drawFrame(bool diff = true) {
    if (term.frame.empty() || !term.entered)
        return;
    if (termTooSmall) {
        showTooSmall();
        return;
    }
    termEncodeFrame(termScreen, term.frame.data(), SCREEN_WIDTH, SCREEN_HEIGHT, term.out, diff);
    flushOut();
    term.messageShown = false;
}

// ---- Input and housekeeping ---------------------------------------------------------

static void readInput() {
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
        if (n > 0) {
            termInputFeed(termInput, buffer, static_cast<size_t>(n), tNow());
            if (n < static_cast<ssize_t>(sizeof buffer))
                return;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            return;
        }
    }
}

static void drainWakePipe() {
    char buffer[64];
    while (read(wakePipe[0], buffer, sizeof buffer) > 0) {
    }
}

// Waits up to `timeoutMs` for input or a signal; reads what came.
static void waitForInput(int timeoutMs) {
    pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {wakePipe[0], POLLIN, 0}};
    const int n = poll(fds, 2, timeoutMs);
    if (n <= 0)
        return;
    if (fds[1].revents & POLLIN)
        drainWakePipe();
    if (fds[0].revents & POLLIN)
        readInput();
    else if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL))
        termInput.closeRequested = true; // the terminal has gone: nobody is left to play
}

static void suspendProgram();
static void closeRequested();

static void handleSignals() {
    if (resumed) {
        resumed = 0;
        // Whoever had the terminal meanwhile may have changed anything.
        term.entered = false;
        terminalActive = 0;
        releaseStreams();
        enterTerminal();
        layOut();
        termInputReleaseAll(termInput);
        drawFrame();
    }
    if (resized) {
        resized = 0;
        const bool wasSmall = termTooSmall;
        layOut();
        termScreen.shownValid = false;
        term.messageShown = false;
        if (termTooSmall && !wasSmall)
            termInputReleaseAll(termInput);
        drawFrame();
    }
}

static int64_t redrawInterval() {
    return term.moved ? std::max(term.redrawNs, SHAKE_STEP_NS) : term.redrawNs;
}

// Everything that must happen now and then: signals, input, key timeouts,
// a picture that waits for its turn to be drawn. Input is looked at no more
// than once a millisecond unless `now` asks for it.
static void service(bool now = false) {
    if (!term.entered)
        return;
    const int64_t t = monotonicNs();
    const bool pump = now || t - term.lastPump >= 1000000;
    // The wake pipe is emptied before the flags are read, never after: a
    // signal caught between reading them and emptying it would otherwise
    // leave its flag set with no byte to end the next wait for input.
    if (pump) {
        term.lastPump = t;
        waitForInput(0);
    }
    handleSignals();
    if (pump) {
        termInputTick(termInput, tNow());
        if (termInput.closeRequested)
            closeRequested();
        if (termInput.suspendRequested)
            suspendProgram();
    }
    if (term.drawWaiting && t - term.drawnAt >= redrawInterval()) {
        term.drawWaiting = false;
        term.drawnAt = t;
        if (term.moved) {
            term.moved = false;
            layOut(true);
        }
        drawFrame();
    }
}

static void closeRequested() {
    termInput.closeRequested = false;
    if (hostCloseRequested)
        hostCloseRequested();
    leaveTerminal();
    exit(130);
}

static void suspendProgram() {
    termInput.suspendRequested = false;
    termInputReleaseAll(termInput);
    const int64_t start = monotonicNs();
    leaveTerminal();
    kill(0, SIGTSTP);
    excludedNs += monotonicNs() - start;
    resumed = 0;
    enterTerminal();
    layOut();
    drawFrame();
}

// The game is held here while the terminal is too small to show it; the
// time spent waiting does not count on the game's clock.
static void waitForRoom() {
    const int64_t start = monotonicNs();
    const int64_t excludedBefore = excludedNs.load();
    termInputReleaseAll(termInput);
    while (termTooSmall && term.entered) {
        showTooSmall();
        const size_t keep = termInput.events.size();
        waitForInput(1000);
        // Keys pressed meanwhile are not for the game.
        termInput.events.resize(keep);
        for (TermHeldKey &k : termInput.keys)
            k = TermHeldKey{};
        if (termInput.closeRequested)
            closeRequested();
        if (termInput.suspendRequested)
            suspendProgram();
        handleSignals();
    }
    // The whole wait is off the clock, a suspension during it included.
    excludedNs = excludedBefore + (monotonicNs() - start);
}

// ---- The host table ------------------------------------------------------------------

static int64_t tCounter() {
    return gameNs();
}
static int64_t tFrequency() {
    return 1000000000;
}

static void tIdle(uint32_t ms) {
    service();
    if (termTooSmall) {
        waitForRoom();
        return;
    }
    int timeout = static_cast<int>(ms);
    const int due = termInputWakeIn(termInput, tNow());
    if (due >= 0 && due < timeout)
        timeout = due;
    if (term.drawWaiting) {
        const int64_t left = term.drawnAt + redrawInterval() - monotonicNs();
        timeout = std::min(timeout, static_cast<int>(std::max<int64_t>(0, left / 1000000)));
    }
    waitForInput(timeout);
    service(true);
}

static int tKeyDown(int vk) {
    service();
    return termInputKeyHeld(termInput, vk) ? 1 : 0;
}

static int tPending() {
    service();
    return static_cast<int>(termInput.events.size());
}

static int tRead(HostEvent *out, int max) {
    service();
    const int n = std::min<int>(max, static_cast<int>(termInput.events.size()));
    std::copy(termInput.events.begin(), termInput.events.begin() + n, out);
    termInput.events.erase(termInput.events.begin(), termInput.events.begin() + n);
    return n;
}

static void tPresent(const Cell *cells, int width, int height) {
    if (width != SCREEN_WIDTH || height != SCREEN_HEIGHT)
        return;
    // A screen that stands still (the menu, the credits) presents the same
    // frame many times a second; the terminal already shows it, and a look
    // at every cell would cost more than the rest of the pass.
    const size_t count = static_cast<size_t>(width) * height;
    const bool same =
        term.frame.size() == count && memcmp(term.frame.data(), cells, sizeof(Cell) * count) == 0;
    if (!same) {
        term.frame.assign(cells, cells + count);
        term.drawWaiting = true;
    }
    service();
    if (termTooSmall)
        waitForRoom();
    if (!termScreen.shownValid)
        drawFrame();
}

static void tSetPalette(const uint32_t palette[16]) {
    memcpy(term.palette, palette, sizeof term.palette);
    if (!term.entered) {
        memcpy(termScreen.palette, palette, sizeof termScreen.palette);
        return;
    }
    termEncodePalette(termScreen, palette, term.out);
    // Without the terminal's palette, the cells of changed colours are written again.
    if (termScreen.colourMode != TERM_COLOURS_PALETTE)
        drawFrame();
    flushOut();
}

static void tGetPalette(uint32_t palette[16]) {
    memcpy(palette, term.palette, sizeof term.palette);
}

static void tSetTitle(const char *title) {
    term.title = title ? title : "";
    if (!term.entered)
        return;
    appendTitle(term.out);
    flushOut();
}

static int tGetWindowRect(HostRect *rect) {
    *rect = HostRect{term.windowX, term.windowY, term.windowX + SCREEN_WIDTH * CELL_PIXELS,
                     term.windowY + SCREEN_HEIGHT * CELL_PIXELS};
    return 1;
}

// A terminal window cannot be moved from inside: the picture moves in it.
static void tMoveWindow(int x, int y) {
    if (x == term.windowX && y == term.windowY)
        return;
    term.windowX = x;
    term.windowY = y;
    term.moved = true;
    term.drawWaiting = true;
    service();
}

static void tShutdown() {
    leaveTerminal();
}

static void atExit() {
    leaveTerminal();
}

// Sound needs no display: the terminal plays it wherever the sound library is built in.
#ifdef WOBBLE_HAVE_MIXER
static const SoundHost *const termSound = &mixerSound;
#else
static const SoundHost *const termSound = &silentSound;
#endif

static Host termHost = {
    .name = "term",
    .now = tNow,
    .counter = tCounter,
    .counterFrequency = tFrequency,
    .idle = tIdle,
    .keyDown = tKeyDown,
    .pendingEvents = tPending,
    .readEvents = tRead,
    .present = tPresent,
    .setPalette = tSetPalette,
    .getPalette = tGetPalette,
    .setTitle = tSetTitle,
    .getWindowRect = tGetWindowRect,
    .moveWindow = tMoveWindow,
    .sound = termSound,
    .shutdown = tShutdown,
};

static std::string setting(const char *name) {
    const char *value = getenv(name);
    return value ? value : "";
}

// Asks the terminal which key protocol and palette it has; the answer to the
// device question comes last from every terminal, so it ends the wait.
static void askTerminal() {
    term.out += "\x1b[?u\x1b]4;1;?\x07\x1b[c";
    flushOut();
    const int64_t giveUp = monotonicNs() + 1500000000LL;
    while (!termInput.deviceAnswered) {
        const int64_t left = (giveUp - monotonicNs()) / 1000000;
        if (left <= 0)
            break;
        waitForInput(static_cast<int>(left));
    }
}

Host *createTermHost(std::string &error) {
    if (term.created)
        return &termHost;
    if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) {
        error = "the terminal host needs a terminal on standard input and output";
        return nullptr;
    }
    const std::string columns = setting("WOBBLE_TERM_COLUMNS");
    const std::string colours = setting("WOBBLE_TERM_COLOURS");
    const std::string keys = setting("WOBBLE_TERM_KEYS");
    if (!columns.empty() && columns != "1" && columns != "2") {
        error = "WOBBLE_TERM_COLUMNS must be 1 or 2, not '" + columns + "'";
        return nullptr;
    }
    if (!colours.empty() && colours != "palette" && colours != "24bit" && colours != "256") {
        error = "WOBBLE_TERM_COLOURS must be palette, 24bit or 256, not '" + colours + "'";
        return nullptr;
    }
    if (!keys.empty() && keys != "kitty" && keys != "legacy") {
        error = "WOBBLE_TERM_KEYS must be kitty or legacy, not '" + keys + "'";
        return nullptr;
    }
    const std::string shake = setting("WOBBLE_TERM_SHAKE");
    if (!shake.empty() && shake != "scroll" && shake != "repaint") {
        error = "WOBBLE_TERM_SHAKE must be scroll or repaint, not '" + shake + "'";
        return nullptr;
    }
    term.shakeScrolls = shake != "repaint";
    const std::string rate = setting("WOBBLE_TERM_RATE");
    if (!rate.empty()) {
        char *end = nullptr;
        const long perSecond = strtol(rate.c_str(), &end, 10);
        if (*end || end == rate.c_str() || perSecond < 0 || perSecond > 1000) {
            error = "WOBBLE_TERM_RATE must be a number of pictures a second from 1 to 1000, or 0 "
                    "for every picture, not '" +
                    rate + "'";
            return nullptr;
        }
        term.redrawNs = perSecond ? 1000000000 / perSecond : 0;
    }
    if (tcgetattr(STDIN_FILENO, &term.saved) != 0) {
        error = std::string("cannot read the terminal's settings: ") + strerror(errno);
        return nullptr;
    }
    term.ttyOut = dup(STDOUT_FILENO);
    if (term.ttyOut < 0 || pipe(wakePipe) != 0) {
        error = std::string("cannot set up the terminal: ") + strerror(errno);
        return nullptr;
    }
    fcntl(wakePipe[0], F_SETFL, O_NONBLOCK);
    fcntl(wakePipe[1], F_SETFL, O_NONBLOCK);
    fcntl(wakePipe[0], F_SETFD, FD_CLOEXEC);
    fcntl(wakePipe[1], F_SETFD, FD_CLOEXEC);
    fcntl(term.ttyOut, F_SETFD, FD_CLOEXEC);
    term.created = true;

    termScreen = TermScreen{};
    termInput = TermInput{};
    termScreen.cellColumns = columns == "1" ? 1 : 2;
    termScreen.colourMode = TERM_COLOURS_24BIT; // nothing touches the palette while asking
    memcpy(term.palette, standardPalette, sizeof term.palette);
    memcpy(termScreen.palette, standardPalette, sizeof termScreen.palette);

    installSignals();
    atexit(atExit);
    enterTerminal();
    askTerminal();

    term.kittyWanted = keys == "kitty" || (keys.empty() && termInput.kittyAnswered);
    termInput.kitty = term.kittyWanted;
    if (term.kittyWanted)
        term.out += "\x1b[>15u";
    const std::string colourTerm = setting("COLORTERM");
    if (colours == "palette" || (colours.empty() && termInput.paletteAnswered))
        termScreen.colourMode = TERM_COLOURS_PALETTE;
    else if (colours == "24bit" ||
             (colours.empty() && (colourTerm == "truecolor" || colourTerm == "24bit")))
        termScreen.colourMode = TERM_COLOURS_24BIT;
    else
        termScreen.colourMode = TERM_COLOURS_256;
    termScreen.terminalPaletteKnown = false;
    termEncodePalette(termScreen, term.palette, term.out);
    buildRestoreBytes();
    flushOut();
    layOut();
    if (termTooSmall)
        showTooSmall();
    return &termHost;
}
