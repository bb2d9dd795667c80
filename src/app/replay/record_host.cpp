// The recording layer: every call goes on to the real host; each answer that
// could differ between runs is written down, compared with its prediction.
#include "app/replay/replay.h"
#include "platform/files.h"
#include "world/play_state.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace {

struct Recording {
    Host *real = nullptr;
    FILE *file = nullptr;
    std::string out; // written to the file in large pieces
    uint64_t same = 0;
    ReplayPrediction pred;
    uint64_t answers = 0;
    uint64_t frames = 0;
    int call = CALL_NOW;           // the call being passed on
    void (*gameClose)() = nullptr; // the program's own close handler
};

Recording rec;
Host recordingHost;

void flushFile() {
    if (!rec.file || rec.out.empty())
        return;
    fwrite(rec.out.data(), 1, rec.out.size(), rec.file);
    fflush(rec.file);
    rec.out.clear();
}

void flushSame() {
    if (rec.same == 0)
        return;
    if (rec.same < 0x80)
        putByte(rec.out, static_cast<uint8_t>(OP_SAME_SHORT + rec.same));
    else {
        putByte(rec.out, OP_SAME);
        putVarint(rec.out, rec.same);
    }
    rec.same = 0;
}

void value(int call) {
    flushSame();
    putByte(rec.out, static_cast<uint8_t>(OP_VALUE + call));
}

// The real host closes the program from inside one of its calls: the place is
// written down (which call, after how many answers) before the program's own
// handler runs the way out, whose calls are recorded after it.
void recordClose() {
    flushSame();
    putByte(rec.out, OP_CLOSE);
    putByte(rec.out, static_cast<uint8_t>(rec.call));
    putVarint(rec.out, rec.answers);
    flushFile();
    if (rec.gameClose)
        rec.gameClose();
}

// Before anything is passed on: this layer hears the host's close first.
void enter(int call) {
    if (hostCloseRequested != recordClose) {
        rec.gameClose = hostCloseRequested;
        hostCloseRequested = recordClose;
    }
    rec.call = call;
    if (call <= CALL_LAST_ANSWERED)
        rec.answers++;
}

uint32_t rNow() {
    enter(CALL_NOW);
    const uint32_t v = rec.real->now();
    const uint32_t step = v - rec.pred.now;
    if (v == rec.pred.now)
        rec.same++;
    else if (step < 8 && rec.same < 8) {
        putByte(rec.out, static_cast<uint8_t>(OP_NOW_STEP + (rec.same << 3) + step));
        rec.same = 0;
        rec.pred.now = v;
    } else {
        value(CALL_NOW);
        putSigned(rec.out, static_cast<int32_t>(v - rec.pred.now));
        rec.pred.now = v;
    }
    return v;
}

int64_t rCounter() {
    enter(CALL_COUNTER);
    const int64_t v = rec.real->counter();
    if (v == rec.pred.counter)
        rec.same++;
    else {
        value(CALL_COUNTER);
        putSigned(rec.out, v - rec.pred.counter);
        rec.pred.counter = v;
    }
    return v;
}

int64_t rFrequency() {
    enter(CALL_FREQUENCY);
    const int64_t v = rec.real->counterFrequency();
    if (v == rec.pred.frequency)
        rec.same++;
    else {
        value(CALL_FREQUENCY);
        putSigned(rec.out, v);
        rec.pred.frequency = v;
    }
    return v;
}

void rIdle(uint32_t ms) {
    enter(CALL_IDLE);
    rec.real->idle(ms);
}

int rKeyDown(int vk) {
    enter(CALL_KEY_DOWN);
    const int v = rec.real->keyDown(vk);
    int &last = rec.pred.keys[keySlot(vk)];
    if (v == last)
        rec.same++;
    else {
        value(CALL_KEY_DOWN);
        putSigned(rec.out, v);
        last = v;
    }
    return v;
}

int rPending() {
    enter(CALL_PENDING);
    const int v = rec.real->pendingEvents();
    if (v == rec.pred.pending)
        rec.same++;
    else {
        value(CALL_PENDING);
        putSigned(rec.out, v);
        rec.pred.pending = v;
    }
    return v;
}

// No events is the prediction; events are always written out.
int rRead(HostEvent *events, int max) {
    enter(CALL_READ);
    const int n = rec.real->readEvents(events, max);
    if (n == 0)
        rec.same++;
    else {
        value(CALL_READ);
        putSigned(rec.out, n);
        for (int i = 0; i < n; i++)
            putEvent(rec.out, events[i]);
    }
    return n;
}

void rPresent(const Cell *cells, int width, int height) {
    enter(CALL_PRESENT);
    flushSame();
    rec.frames++;
    if (rec.frames % REPLAY_CHECK_EVERY == 0) {
        putByte(rec.out, OP_CHECK);
        putVarint(rec.out, rec.frames);
        putU64(rec.out, frameHashFull(cells, width, height));
        putSigned(rec.out, score);
        putSigned(rec.out, levelIndex);
        putSigned(rec.out, lives);
        // Now and then the file catches up, so little is lost if the program dies.
        flushFile();
    } else {
        putByte(rec.out, OP_FRAME);
        putU16(rec.out, frameHashShort(cells, width, height));
    }
    rec.real->present(cells, width, height);
}

void rSetPalette(const uint32_t palette[16]) {
    enter(CALL_SET_PALETTE);
    rec.real->setPalette(palette);
}

void rGetPalette(uint32_t palette[16]) {
    enter(CALL_GET_PALETTE);
    rec.real->getPalette(palette);
    bool same = true;
    for (int i = 0; i < 16; i++)
        same = same && palette[i] == rec.pred.palette[i];
    if (same) {
        rec.same++;
        return;
    }
    value(CALL_GET_PALETTE);
    for (int i = 0; i < 16; i++) {
        putVarint(rec.out, palette[i]);
        rec.pred.palette[i] = palette[i];
    }
}

void rSetTitle(const char *title) {
    enter(CALL_SET_TITLE);
    rec.real->setTitle(title);
}

int rGetWindowRect(HostRect *rect) {
    enter(CALL_WINDOW_RECT);
    const int v = rec.real->getWindowRect(rect);
    const HostRect &p = rec.pred.window;
    if (v == rec.pred.windowResult && rect->left == p.left && rect->top == p.top &&
        rect->right == p.right && rect->bottom == p.bottom)
        rec.same++;
    else {
        value(CALL_WINDOW_RECT);
        putSigned(rec.out, v);
        for (int32_t x : {rect->left, rect->top, rect->right, rect->bottom})
            putSigned(rec.out, x);
        rec.pred.windowResult = v;
        rec.pred.window = *rect;
    }
    return v;
}

void rMoveWindow(int x, int y) {
    enter(CALL_MOVE_WINDOW);
    rec.real->moveWindow(x, y);
}

int rSoundOpen(const char *path, int loop) {
    enter(CALL_SOUND);
    return rec.real->sound->open(path, loop);
}
void rSoundRelease(int sound) {
    enter(CALL_SOUND);
    rec.real->sound->release(sound);
}
void rSoundSetGroup(int sound, int group) {
    enter(CALL_SOUND);
    rec.real->sound->setGroup(sound, group);
}
int rSoundPlay(int sound) {
    enter(CALL_SOUND);
    return rec.real->sound->play(sound);
}

int rSoundIsPlaying(int channel) {
    enter(CALL_SOUND_PLAYING);
    const int v = rec.real->sound->isPlaying(channel);
    if (v == rec.pred.soundPlaying)
        rec.same++;
    else {
        value(CALL_SOUND_PLAYING);
        putSigned(rec.out, v);
        rec.pred.soundPlaying = v;
    }
    return v;
}

void rSoundVolume(int group, float volume) {
    enter(CALL_SOUND);
    rec.real->sound->setGroupVolume(group, volume);
}
void rSoundShutdown() {
    enter(CALL_SOUND);
    rec.real->sound->shutdown();
}

const SoundHost recordingSound = {
    .open = rSoundOpen,
    .release = rSoundRelease,
    .setGroup = rSoundSetGroup,
    .play = rSoundPlay,
    .isPlaying = rSoundIsPlaying,
    .setGroupVolume = rSoundVolume,
    .shutdown = rSoundShutdown,
};

void rShutdown() {
    enter(CALL_SHUTDOWN);
    flushSame();
    putByte(rec.out, OP_END);
    flushFile();
    rec.real->shutdown();
}

// Whatever is still held goes out however the program ends.
void flushAtExit() {
    flushSame();
    flushFile();
}

std::string readWhole(const std::filesystem::path &path, bool &ok) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    ok = static_cast<bool>(in) || in.eof();
    return s.str();
}

} // namespace

void gatherReplayFiles(ReplayHeader &header) {
    namespace fs = std::filesystem;
    size_t total = 0;
    for (const char *folder : {"data/levels", "data/stats"}) {
        // The player's files first: they hide shipped files of the same name.
        std::map<std::string, fs::path> found;
        for (const std::string *root : {&userDataRoot, &dataRoot}) {
            if (root == &userDataRoot && root->empty())
                continue;
            std::error_code ec;
            const fs::path dir = fs::path(root->empty() ? "." : *root) / folder;
            for (const auto &entry : fs::directory_iterator(dir, ec))
                if (entry.is_regular_file(ec) && entry.file_size(ec) <= REPLAY_MAX_FILE_BYTES)
                    found.emplace(entry.path().filename().string(), entry.path());
        }
        for (const auto &[name, p] : found) {
            bool ok = false;
            std::string content = readWhole(p, ok);
            total += content.size();
            if (!ok || header.files.size() >= REPLAY_MAX_FILES || total > REPLAY_MAX_HEADER_BYTES)
                continue;
            header.files.push_back({std::string(folder) + "/" + name, content});
        }
    }
}

Host *wrapForRecording(Host *real, const char *path, const ReplayHeader &header,
                       std::string &error) {
    FILE *file = fopen(path, "wb");
    if (!file) {
        error = std::string("cannot write the recording '") + path + "'";
        return nullptr;
    }
    rec = Recording{};
    rec.real = real;
    rec.file = file;
    rec.out = encodeReplayHeader(header);
    flushFile();
    static bool registered = false;
    if (!registered)
        atexit(flushAtExit);
    registered = true;
    recordingHost = Host{
        .name = real->name,
        .now = rNow,
        .counter = rCounter,
        .counterFrequency = rFrequency,
        .idle = rIdle,
        .keyDown = rKeyDown,
        .pendingEvents = rPending,
        .readEvents = rRead,
        .present = rPresent,
        .setPalette = rSetPalette,
        .getPalette = rGetPalette,
        .setTitle = rSetTitle,
        .getWindowRect = rGetWindowRect,
        .moveWindow = rMoveWindow,
        .sound = &recordingSound,
        .shutdown = rShutdown,
    };
    return &recordingHost;
}
