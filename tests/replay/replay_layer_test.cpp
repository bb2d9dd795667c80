// The recording and replaying layers on their own, around the headless host:
// a small stand-in for the game asks the host what the game asks (the clock,
// all 256 keys, events, the window, sounds) and presents frames that depend
// on the answers. The replay must give the same answers in the same order,
// close where the recording closed, and catch the first frame that differs.
#include "app/replay/replay.h"
#include "test_support.h"
#include <filesystem>
#include <gtest/gtest.h>

namespace {

struct Closed {};
struct Stopped {
    int code;
};

void throwClosed() {
    throw Closed{};
}
void throwStopped(int code) {
    throw Stopped{code};
}

// What the stand-in saw, to compare a recording with its replay.
struct Session {
    std::vector<uint64_t> frameHashes;
    uint64_t answers = 0; // a running mix of every answer
    int frames = 0;
    bool closed = false;
};

// Runs until closed or `frames` frames; frame `bad` (counted from 1), when
// given, gets one cell changed after the fact.
Session play(int frames, int bad = -1) {
    Session s;
    std::vector<Cell> cells(116 * 88, Cell{' ', 7});
    auto mix = [&s](uint64_t v) { s.answers = (s.answers ^ v) * 0x100000001b3ULL; };
    try {
        mix(host->counterFrequency());
        uint32_t palette[16];
        host->getPalette(palette);
        mix(palette[3]);
        for (int f = 1; f <= frames; f++) {
            int held = 0;
            for (int vk = 0; vk < 256; vk++)
                held += host->keyDown(vk) ? vk : 0;
            mix(static_cast<uint64_t>(held));
            if (host->pendingEvents() > 0) {
                HostEvent events[8];
                const int n = host->readEvents(events, 8);
                for (int i = 0; i < n; i++)
                    mix(events[i].type == HOST_EVENT_KEY
                            ? events[i].key.virtualKeyCode
                            : events[i].mouse.x * 1000u + events[i].mouse.y);
            }
            HostRect r;
            host->getWindowRect(&r);
            if (f % 50 == 0)
                host->moveWindow(r.left + 1, r.top);
            const int channel = f % 40 == 1 ? host->sound->play(host->sound->open("x.ogg", 0)) : 1;
            mix(static_cast<uint64_t>(host->sound->isPlaying(channel)));
            const uint32_t t = host->now();
            mix(t);
            mix(static_cast<uint64_t>(host->counter()));
            cells[t % cells.size()] = Cell{static_cast<uint16_t>('A' + held % 26), 0x1F};
            if (f == bad)
                cells[5].attr ^= 0x10;
            host->present(cells.data(), 116, 88);
            s.frameHashes.push_back(frameHashFull(cells.data(), 116, 88));
            s.frames = f;
            for (int i = 0; i < 10; i++) {
                host->idle(1);
                mix(host->now());
            }
        }
    } catch (Closed &) {
        s.closed = true;
        // The way out still asks the host, as the program's report does.
        mix(host->now());
    }
    return s;
}

const char *SCRIPT = "30 down RIGHT\n"
                     "250 up RIGHT\n"
                     "300 tap SPACE\n"
                     "400 move 10 20\n"
                     "420 click 10 20\n"
                     "600 type hi\n"
                     "900 down LEFT\n";

// The headless host closes the program `graceMs` after the script's last event.
Session record(const std::string &path, const std::string &script, int frames, size_t &bytes,
               uint32_t graceMs = 3600000) {
    HeadlessGame game(script, graceMs);
    ReplayHeader header;
    header.seed = 77;
    header.hostName = "headless";
    header.arguments = {"-skiptogame", "--start-level=2"};
    header.files = {{"data/stats/highScores.txt", "12345"}};
    std::string error;
    host = wrapForRecording(host, path.c_str(), header, error);
    EXPECT_TRUE(host) << error;
    hostCloseRequested = throwClosed;
    Session s = play(frames);
    host->shutdown();
    hostCloseRequested = nullptr;
    bytes = std::filesystem::file_size(path);
    return s;
}

// A replay of the recording, with what it printed and how it stopped (0 when
// it ran to its end).
struct Replayed {
    Session session;
    HostRect window; // the replaying host's window at the end
    std::string out, err;
    int stopCode = 0;
};

Replayed replay(const std::string &path, int frames, int bad = -1) {
    HeadlessGame game("", UINT32_MAX);
    // This window stands elsewhere on its desktop than the recording's did.
    headless.window = HostRect{0, 0, 928, 704};
    ReplayHeader header;
    std::string error;
    EXPECT_TRUE(loadReplay(path.c_str(), header, error)) << error;
    EXPECT_EQ(header.seed, 77u);
    EXPECT_EQ(header.arguments, (std::vector<std::string>{"-skiptogame", "--start-level=2"}));
    EXPECT_EQ(header.files.size(), 1u);
    host = wrapForReplay(host, true);
    hostCloseRequested = throwClosed;
    replayStop = throwStopped;
    Replayed r;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    try {
        r.session = play(frames, bad);
        host->shutdown();
    } catch (Stopped &stop) {
        r.stopCode = stop.code;
    }
    r.window = headless.window;
    r.out = testing::internal::GetCapturedStdout();
    r.err = testing::internal::GetCapturedStderr();
    hostCloseRequested = nullptr;
    replayStop = nullptr;
    return r;
}

} // namespace

TEST(ReplayLayers, AReplayGivesTheSameAnswersAndClosesWhereTheRecordingDid) {
    TempDir dir;
    size_t bytes = 0;
    // The script ends at 900 ms; the headless host closes 2 s later.
    const Session recorded = record(dir.file("a.rec"), SCRIPT, 100000, bytes, 2000);
    ASSERT_TRUE(recorded.closed);
    EXPECT_GT(recorded.frames, 250);
    const Replayed replayed = replay(dir.file("a.rec"), 100000);
    EXPECT_TRUE(replayed.session.closed);
    EXPECT_EQ(replayed.session.frames, recorded.frames);
    EXPECT_EQ(replayed.session.answers, recorded.answers);
    EXPECT_EQ(replayed.session.frameHashes, recorded.frameHashes);
    const std::string frames = std::to_string(recorded.frames);
    EXPECT_EQ(replayed.err, "replay: " + frames + " frames as recorded\n");
    EXPECT_EQ(replayed.out.rfind("timedemo: " + frames + " frames in ", 0), 0u) << replayed.out;
    // 256 key questions and 12 clock readings a frame cost a few bytes.
    EXPECT_LT(bytes, static_cast<size_t>(recorded.frames) * 24) << bytes << " bytes";
}

TEST(ReplayLayers, AReplayThatGoesAnotherWayStopsAtItsFirstDifference) {
    TempDir dir;
    size_t bytes = 0;
    const Session recorded = record(dir.file("b.rec"), SCRIPT, 300, bytes);
    ASSERT_FALSE(recorded.closed);
    const Replayed replayed = replay(dir.file("b.rec"), 300);
    EXPECT_EQ(replayed.session.frameHashes, recorded.frameHashes);
    EXPECT_EQ(replayed.err, "replay: 300 frames as recorded\n");
    EXPECT_EQ(replayed.out.rfind("timedemo: 300 frames in ", 0), 0u) << replayed.out;
    // Six moves of a pixel to the right, made around this window's own place.
    EXPECT_EQ(std::make_pair(replayed.window.left, replayed.window.top), std::make_pair(6, 0));

    // A game that goes on past the recording's end has drifted.
    const Replayed past = replay(dir.file("b.rec"), 301);
    EXPECT_EQ(past.stopCode, REPLAY_DRIFT_EXIT);
    EXPECT_NE(past.err.find("replay drifted at frame 301"), std::string::npos) << past.err;

    // One frame between the full checks, and one on a full check.
    for (int bad : {37, 120}) {
        const Replayed r = replay(dir.file("b.rec"), 300, bad);
        EXPECT_EQ(r.stopCode, REPLAY_DRIFT_EXIT);
        const std::string said = "replay drifted at frame " + std::to_string(bad) + ": the picture";
        EXPECT_EQ(r.err.rfind(said, 0), 0u) << r.err;
        EXPECT_EQ(r.session.frames, 0) << "stopped inside the frame";
    }

    // A recording cut inside its stream stops where the recording stops.
    const std::string whole = dir.read("b.rec");
    dir.write("h.rec", whole.substr(0, whole.size() - 200));
    const Replayed r = replay(dir.file("h.rec"), 300);
    EXPECT_EQ(r.stopCode, REPLAY_DRIFT_EXIT);
    EXPECT_NE(r.err.find("replay drifted at frame"), std::string::npos) << r.err;
}

TEST(ReplayLayers, SmallNumbersEitherSideOfZeroTakeOneByte) {
    std::string bytes;
    for (int64_t v : {0, -1, 1, -3, 63, -64})
        putSigned(bytes, v);
    EXPECT_EQ(bytes, std::string("\x00\x01\x02\x05\x7e\x7f", 6));
}

TEST(ReplayLayers, BrokenFilesAreRefusedWithAReason) {
    TempDir dir;
    size_t bytes = 0;
    record(dir.file("d.rec"), SCRIPT, 50, bytes);
    dir.write("e.rec", "not a replay at all");
    dir.write("f.rec", dir.read("d.rec").substr(0, 30)); // cut inside the header
    // A header that would write outside the data folder.
    ReplayHeader header;
    header.files = {{"data/../../escape.txt", "x"}};
    dir.write("g.rec", encodeReplayHeader(header));
    const std::pair<const char *, const char *> refused[] = {{"e.rec", "not a replay file"},
                                                             {"missing.rec", "cannot open"},
                                                             {"f.rec", ""},
                                                             {"g.rec", "may not write"}};
    for (const auto &[file, reason] : refused) {
        std::string error;
        EXPECT_FALSE(loadReplay(dir.file(file).c_str(), header, error)) << file;
        EXPECT_NE(error.find(reason), std::string::npos) << error;
    }
}
