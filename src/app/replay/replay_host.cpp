// The replaying layer: the game's questions are answered from the recording,
// in the order it was made; frames, palette, title, window moves and sound go
// on to the host the replay runs on. Every presented frame is compared with
// the recording's, and the first that differs ends the replay.
#include "app/replay/replay.h"
#include "platform/files.h"
#include "world/play_state.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>

void (*replayStop)(int exitCode) = nullptr;

namespace {

struct Replay {
    std::vector<uint8_t> bytes;
    ReplayReader r;
    Host *real = nullptr;
    bool timedemo = false;
    // After a drift, or once the real host closed the program: answers are
    // the last ones given and the recording is no longer read.
    bool stopped = false;
    uint64_t sameLeft = 0;
    uint32_t nowStep = 0; // the clock's step that follows the current run
    ReplayPrediction pred;
    uint64_t answers = 0;
    uint64_t frames = 0;
    bool haveFirstNow = false;
    uint32_t firstNow = 0;
    uint32_t realStart = 0;
    void (*gameClose)() = nullptr;
    double started = 0; // processor seconds at the first frame
    // Where this host's window stands against the recording's, taken at the
    // first look: the game's moves (the shake) are replayed around this
    // window's own place, not at the recorded desktop's coordinates.
    bool haveWindowOffset = false;
    int windowDx = 0, windowDy = 0;
};

Replay rep;
Host replayingHost;

// The timedemo is timed by the processor time it takes, so that other work on
// the machine does not slow the figure.
double processorSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}
std::string replayRoot;

void drift(uint64_t frame, const std::string &what) {
    if (rep.stopped)
        return;
    rep.stopped = true;
    fprintf(stderr, "replay drifted at frame %llu: %s\n", static_cast<unsigned long long>(frame),
            what.c_str());
    fflush(stderr);
    if (replayStop)
        replayStop(REPLAY_DRIFT_EXIT);
    exit(REPLAY_DRIFT_EXIT);
}

std::string describeOp(int op) {
    if (op < 0)
        return "its end (it is cut short)";
    if (op == OP_FRAME || op == OP_CHECK)
        return "a presented frame";
    if (op == OP_CLOSE)
        return "the program being closed";
    if (op == OP_END)
        return "the end of the session";
    if (op >= OP_VALUE && op < OP_VALUE + static_cast<int>(CALL_KINDS))
        return std::string("an answer to ") + replayCallName(op - OP_VALUE);
    return "a broken entry";
}

// The host closed the program while replaying (the window was closed): the
// rest runs on the last answers.
void realHostClosed() {
    if (!rep.stopped)
        fprintf(stderr, "replay: closed at frame %llu, before the recording's end\n",
                static_cast<unsigned long long>(rep.frames));
    rep.stopped = true;
    if (rep.gameClose)
        rep.gameClose();
}

void enter(int call) {
    if (hostCloseRequested != realHostClosed) {
        rep.gameClose = hostCloseRequested;
        hostCloseRequested = realHostClosed;
    }
    if (call <= CALL_LAST_ANSWERED)
        rep.answers++;
}

// Closes the program here when the recording's host did so at this point.
void closeIfRecorded(int call) {
    if (rep.stopped || rep.sameLeft || rep.nowStep || rep.r.peek() != OP_CLOSE)
        return;
    ReplayReader look = rep.r;
    look.byte();
    const int recordedCall = look.byte();
    const uint64_t at = look.varint();
    if (look.failed || recordedCall != call || at != rep.answers)
        return;
    rep.r = look;
    if (rep.gameClose)
        rep.gameClose();
}

// An answer as predicted: from the current run of them, or a new run.
bool takeSame() {
    if (rep.stopped)
        return true;
    if (rep.sameLeft) {
        rep.sameLeft--;
        return true;
    }
    if (rep.nowStep)
        return false;
    const int op = rep.r.peek();
    uint64_t n = 0;
    if (op >= OP_NOW_STEP && op < OP_SAME_SHORT) {
        rep.r.pos++;
        n = static_cast<uint64_t>((op - OP_NOW_STEP) >> 3);
        rep.nowStep = static_cast<uint32_t>(op & 7);
        if (rep.nowStep == 0) {
            drift(rep.frames + 1, "the recording is broken here");
            return true;
        }
        if (n == 0)
            return false;
    } else if (op > OP_SAME_SHORT) {
        rep.r.pos++;
        n = static_cast<uint64_t>(op - OP_SAME_SHORT);
    } else if (op == OP_SAME) {
        rep.r.pos++;
        n = rep.r.varint();
        if (rep.r.failed || n == 0) {
            drift(rep.frames + 1, "the recording is broken here");
            return true;
        }
    } else
        return false;
    rep.sameLeft = n - 1;
    return true;
}

// The recording must hold an answer to this call next; false after a drift.
bool takeValue(int call) {
    const int op = rep.nowStep ? OP_VALUE + static_cast<int>(CALL_NOW) : rep.r.peek();
    if (op == OP_VALUE + call) {
        rep.r.pos++;
        return true;
    }
    drift(rep.frames + 1, std::string("the game asks for ") + replayCallName(call) +
                              " where the recording has " + describeOp(op));
    return false;
}

void checkRead() {
    if (rep.r.failed)
        drift(rep.frames + 1, "the recording is cut short");
}

uint32_t pNow() {
    enter(CALL_NOW);
    closeIfRecorded(CALL_NOW);
    if (!takeSame()) {
        if (rep.nowStep) {
            rep.pred.now += rep.nowStep;
            rep.nowStep = 0;
        } else if (takeValue(CALL_NOW)) {
            rep.pred.now += static_cast<uint32_t>(rep.r.signedVarint());
            checkRead();
        }
    }
    if (!rep.haveFirstNow) {
        rep.haveFirstNow = true;
        rep.firstNow = rep.pred.now;
    }
    return rep.pred.now;
}

int64_t pCounter() {
    enter(CALL_COUNTER);
    closeIfRecorded(CALL_COUNTER);
    if (!takeSame() && takeValue(CALL_COUNTER)) {
        rep.pred.counter += rep.r.signedVarint();
        checkRead();
    }
    return rep.pred.counter;
}

int64_t pFrequency() {
    enter(CALL_FREQUENCY);
    closeIfRecorded(CALL_FREQUENCY);
    if (!takeSame() && takeValue(CALL_FREQUENCY)) {
        rep.pred.frequency = rep.r.signedVarint();
        checkRead();
    }
    return rep.pred.frequency;
}

// Waits until the real clock has caught up with the recording's, so a replay
// runs at the speed it was played; a timedemo does not wait at all.
void pIdle(uint32_t ms) {
    enter(CALL_IDLE);
    closeIfRecorded(CALL_IDLE);
    if (rep.timedemo)
        return;
    if (rep.stopped || !rep.haveFirstNow) {
        rep.real->idle(ms);
        return;
    }
    const uint32_t target = rep.pred.now - rep.firstNow;
    const uint32_t elapsed = rep.real->now() - rep.realStart;
    rep.real->idle(target > elapsed ? std::min<uint32_t>(target - elapsed, 250) : 0);
}

int pKeyDown(int vk) {
    enter(CALL_KEY_DOWN);
    closeIfRecorded(CALL_KEY_DOWN);
    int &last = rep.pred.keys[keySlot(vk)];
    if (!takeSame() && takeValue(CALL_KEY_DOWN)) {
        last = static_cast<int>(rep.r.signedVarint());
        checkRead();
    }
    return last;
}

int pPending() {
    enter(CALL_PENDING);
    closeIfRecorded(CALL_PENDING);
    if (!takeSame() && takeValue(CALL_PENDING)) {
        rep.pred.pending = static_cast<int>(rep.r.signedVarint());
        checkRead();
    }
    return rep.pred.pending;
}

int pRead(HostEvent *events, int max) {
    enter(CALL_READ);
    closeIfRecorded(CALL_READ);
    if (takeSame() || !takeValue(CALL_READ))
        return 0;
    const int64_t n = rep.r.signedVarint();
    if (rep.r.failed || n < 0 || n > max) {
        drift(rep.frames + 1, "the game reads fewer events than were recorded");
        return 0;
    }
    for (int64_t i = 0; i < n; i++)
        if (!rep.r.event(events[i])) {
            checkRead();
            return 0;
        }
    return static_cast<int>(n);
}

void pPresent(const Cell *cells, int width, int height) {
    enter(CALL_PRESENT);
    // The timedemo counts from the first frame: start-up is not playing.
    if (rep.frames++ == 0)
        rep.started = processorSeconds();
    if (!rep.stopped) {
        const int op = rep.sameLeft || rep.nowStep ? OP_SAME : rep.r.peek();
        if (op == OP_FRAME) {
            rep.r.pos++;
            const uint16_t want = rep.r.u16();
            checkRead();
            if (want != frameHashShort(cells, width, height))
                drift(rep.frames, "the picture differs");
        } else if (op == OP_CHECK) {
            rep.r.pos++;
            const uint64_t frame = rep.r.varint();
            const uint64_t hash = rep.r.u64();
            const int64_t s = rep.r.signedVarint(), level = rep.r.signedVarint(),
                          l = rep.r.signedVarint();
            checkRead();
            char what[160];
            if (frame != rep.frames)
                drift(rep.frames, "the recording checks frame " + std::to_string(frame) + " here");
            else if (s != score || level != levelIndex || l != lives) {
                snprintf(what, sizeof what,
                         "score %d, level %d, lives %d where the recording has %lld, %lld, %lld",
                         score, levelIndex, lives, static_cast<long long>(s),
                         static_cast<long long>(level), static_cast<long long>(l));
                drift(rep.frames, what);
            } else if (hash != frameHashFull(cells, width, height))
                drift(rep.frames, "the picture differs");
        } else
            drift(rep.frames, "the game presents a frame where the recording has " +
                                  (rep.sameLeft ? std::string("more answers") : describeOp(op)));
    }
    closeIfRecorded(CALL_PRESENT);
    rep.real->present(cells, width, height);
}

void pSetPalette(const uint32_t palette[16]) {
    enter(CALL_SET_PALETTE);
    closeIfRecorded(CALL_SET_PALETTE);
    rep.real->setPalette(palette);
}

void pGetPalette(uint32_t palette[16]) {
    enter(CALL_GET_PALETTE);
    closeIfRecorded(CALL_GET_PALETTE);
    if (!takeSame() && takeValue(CALL_GET_PALETTE)) {
        for (uint32_t &c : rep.pred.palette)
            c = static_cast<uint32_t>(rep.r.varint());
        checkRead();
    }
    std::copy(rep.pred.palette, rep.pred.palette + 16, palette);
}

void pSetTitle(const char *title) {
    enter(CALL_SET_TITLE);
    closeIfRecorded(CALL_SET_TITLE);
    rep.real->setTitle(title);
}

int pGetWindowRect(HostRect *rect) {
    enter(CALL_WINDOW_RECT);
    closeIfRecorded(CALL_WINDOW_RECT);
    if (!takeSame() && takeValue(CALL_WINDOW_RECT)) {
        rep.pred.windowResult = static_cast<int>(rep.r.signedVarint());
        HostRect &w = rep.pred.window;
        for (int32_t *x : {&w.left, &w.top, &w.right, &w.bottom})
            *x = static_cast<int32_t>(rep.r.signedVarint());
        checkRead();
    }
    *rect = rep.pred.window;
    HostRect real{};
    if (!rep.haveWindowOffset && rep.real->getWindowRect(&real)) {
        rep.haveWindowOffset = true;
        rep.windowDx = real.left - rep.pred.window.left;
        rep.windowDy = real.top - rep.pred.window.top;
    }
    return rep.pred.windowResult;
}

void pMoveWindow(int x, int y) {
    enter(CALL_MOVE_WINDOW);
    closeIfRecorded(CALL_MOVE_WINDOW);
    rep.real->moveWindow(x + rep.windowDx, y + rep.windowDy);
}

int pSoundOpen(const char *path, int loop) {
    enter(CALL_SOUND);
    closeIfRecorded(CALL_SOUND);
    return rep.real->sound->open(path, loop);
}
void pSoundRelease(int sound) {
    enter(CALL_SOUND);
    closeIfRecorded(CALL_SOUND);
    rep.real->sound->release(sound);
}
void pSoundSetGroup(int sound, int group) {
    enter(CALL_SOUND);
    closeIfRecorded(CALL_SOUND);
    rep.real->sound->setGroup(sound, group);
}
int pSoundPlay(int sound) {
    enter(CALL_SOUND);
    closeIfRecorded(CALL_SOUND);
    return rep.real->sound->play(sound);
}

int pSoundIsPlaying(int) {
    enter(CALL_SOUND_PLAYING);
    closeIfRecorded(CALL_SOUND_PLAYING);
    if (!takeSame() && takeValue(CALL_SOUND_PLAYING)) {
        rep.pred.soundPlaying = static_cast<int>(rep.r.signedVarint());
        checkRead();
    }
    return rep.pred.soundPlaying;
}

void pSoundVolume(int group, float volume) {
    enter(CALL_SOUND);
    closeIfRecorded(CALL_SOUND);
    rep.real->sound->setGroupVolume(group, volume);
}
void pSoundShutdown() {
    enter(CALL_SOUND);
    closeIfRecorded(CALL_SOUND);
    rep.real->sound->shutdown();
}

const SoundHost replayingSound = {
    .open = pSoundOpen,
    .release = pSoundRelease,
    .setGroup = pSoundSetGroup,
    .play = pSoundPlay,
    .isPlaying = pSoundIsPlaying,
    .setGroupVolume = pSoundVolume,
    .shutdown = pSoundShutdown,
};

void pShutdown() {
    enter(CALL_SHUTDOWN);
    if (!rep.stopped) {
        const int op = rep.sameLeft || rep.nowStep ? OP_SAME : rep.r.peek();
        if (op == OP_END)
            rep.r.pos++;
        else
            drift(rep.frames + 1,
                  "the game ends where the recording has " +
                      (rep.sameLeft ? std::string("more answers") : describeOp(op)));
        fprintf(stderr, "replay: %llu frames as recorded\n",
                static_cast<unsigned long long>(rep.frames));
    }
    if (rep.timedemo) {
        const double seconds = processorSeconds() - rep.started;
        printf("timedemo: %llu frames in %.3f s = %.0f frames/s\n",
               static_cast<unsigned long long>(rep.frames), seconds,
               seconds > 0 ? static_cast<double>(rep.frames) / seconds : 0.0);
        fflush(stdout);
        rep.timedemo = false;
    }
    rep.real->shutdown();
}

void removeReplayRoot() {
    if (replayRoot.empty())
        return;
    std::error_code ec;
    std::filesystem::remove_all(replayRoot, ec);
    replayRoot.clear();
}

} // namespace

bool loadReplay(const char *path, ReplayHeader &header, std::string &error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = std::string("cannot open the replay '") + path + "'";
        return false;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || size > (std::streamoff(1) << 31)) {
        error = std::string("the replay '") + path + "' is not a file of a usable size";
        return false;
    }
    in.seekg(0);
    rep = Replay{};
    rep.bytes.resize(static_cast<size_t>(size));
    in.read(reinterpret_cast<char *>(rep.bytes.data()), size);
    if (!in) {
        error = std::string("cannot read the replay '") + path + "'";
        return false;
    }
    rep.r = ReplayReader{rep.bytes.data(), rep.bytes.size(), 0, false};
    if (!decodeReplayHeader(rep.r, header, error)) {
        error = std::string(path) + ": " + error;
        return false;
    }
    return true;
}

bool makeReplayFolder(const ReplayHeader &header, std::string &root, std::string &error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path source = fs::absolute(fs::path(dataRoot.empty() ? "." : dataRoot) / "data", ec);
    // Without the game's pictures every frame would differ: say what is missing.
    if (!fs::is_directory(source / "surfaces", ec)) {
        error = "the game's data is not in " + source.string() +
                " (it has no surfaces folder); run from the game's folder or name it with "
                "--data=DIR";
        return false;
    }
    root = makeTempFolder("wobble-replay");
    if (root.empty()) {
        error = "cannot make a folder for the replay's data";
        return false;
    }
    replayRoot = root;
    static bool registered = false;
    if (!registered)
        atexit(removeReplayRoot);
    registered = true;
    for (const ReplayFile &f : header.files) {
        const fs::path target = fs::path(root) / f.path;
        fs::create_directories(target.parent_path(), ec);
        std::ofstream out(target, std::ios::binary);
        out << f.content;
        if (!out) {
            error = "cannot write the replay's copy of " + f.path;
            return false;
        }
    }
    return true;
}

Host *wrapForReplay(Host *real, bool timedemo) {
    rep.real = real;
    rep.timedemo = timedemo;
    rep.realStart = real->now();
    rep.started = processorSeconds();
    replayingHost = Host{
        .name = real->name,
        .now = pNow,
        .counter = pCounter,
        .counterFrequency = pFrequency,
        .idle = pIdle,
        .keyDown = pKeyDown,
        .pendingEvents = pPending,
        .readEvents = pRead,
        .present = pPresent,
        .setPalette = pSetPalette,
        .getPalette = pGetPalette,
        .setTitle = pSetTitle,
        .getWindowRect = pGetWindowRect,
        .moveWindow = pMoveWindow,
        .sound = &replayingSound,
        .shutdown = pShutdown,
    };
    return &replayingHost;
}
