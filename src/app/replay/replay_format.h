// The replay file: a header (seed, arguments, the data files a session can
// change), then one stream of everything the host told the game, in the order
// the game asked, with a mark for every presented frame.
//
// Answers are predicted (the last answer of the same kind, or of the same key)
// and only those that differ are written, so the 256 key questions of a frame
// in which no key changed cost one run of "as predicted".
#pragma once
#include "platform/host.h"
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr char REPLAY_MAGIC[] = "WOBBLEWICK REPLAY\n";
constexpr uint32_t REPLAY_VERSION = 1;
// A full check (hash and game counters) on every this many presented frames;
// the frames between carry a short hash.
constexpr uint64_t REPLAY_CHECK_EVERY = 60;
// Limits on what a header may hold, so a broken file cannot ask for much.
constexpr size_t REPLAY_MAX_ARGUMENTS = 64;
constexpr size_t REPLAY_MAX_FILES = 256;
constexpr size_t REPLAY_MAX_FILE_BYTES = 4u << 20;
constexpr size_t REPLAY_MAX_HEADER_BYTES = 32u << 20;

// The host functions, both those whose answers are kept and those that are
// only passed on (a close can come from inside any of them).
enum ReplayCall : uint8_t {
    CALL_NOW,
    CALL_COUNTER,
    CALL_FREQUENCY,
    CALL_KEY_DOWN,
    CALL_PENDING,
    CALL_READ,
    CALL_WINDOW_RECT,
    CALL_SOUND_PLAYING,
    CALL_GET_PALETTE,
    CALL_LAST_ANSWERED = CALL_GET_PALETTE,
    CALL_IDLE,
    CALL_PRESENT,
    CALL_SET_PALETTE,
    CALL_SET_TITLE,
    CALL_MOVE_WINDOW,
    CALL_SOUND,
    CALL_SHUTDOWN,
    CALL_KINDS
};

const char *replayCallName(int call);

enum ReplayOp : uint8_t {
    OP_SAME = 0x01,  // varint n: the next n answers are as predicted
    OP_FRAME = 0x02, // u16: a frame was presented, with its short hash
    OP_CHECK = 0x03, // varint frame, u64 FNV-1a of the frame, zigzag score, levelIndex, lives
    OP_CLOSE = 0x04, // u8 call, varint answers so far: the host closed the program there
    OP_END = 0x05,   // the program shut the host down
    OP_VALUE = 0x10, // + ReplayCall: an answer unlike its prediction, then the answer
    // + (n << 3) + step: n (0-7) answers as predicted, then the clock moved
    // on by step (1-7) milliseconds: the game's wait loop in one byte.
    OP_NOW_STEP = 0x40,
    OP_SAME_SHORT = 0x80, // + n for 1 to 127 answers as predicted
};

struct ReplayFile {
    std::string path; // relative to the data root, with forward slashes
    std::string content;
};

struct ReplayHeader {
    uint32_t seed = 1;
    std::string hostName;               // the host the session was recorded in
    std::vector<std::string> arguments; // the switches and options that shape the game
    std::vector<ReplayFile> files;      // levels and stats as they were at the start
};

// The last answers, which both sides keep in step to predict the next one.
struct ReplayPrediction {
    uint32_t now = 0;
    int64_t counter = 0;
    int64_t frequency = 0;
    int keys[257] = {}; // by virtual key; the last slot for codes out of range
    int pending = 0;
    int windowResult = 0;
    HostRect window{};
    int soundPlaying = 0;
    uint32_t palette[16] = {};
};

inline int keySlot(int virtualKey) {
    return virtualKey >= 0 && virtualKey < 256 ? virtualKey : 256;
}

// Byte-level writing.
void putByte(std::string &out, uint8_t b);
void putVarint(std::string &out, uint64_t v);
void putSigned(std::string &out, int64_t v);
void putU16(std::string &out, uint16_t v);
void putU64(std::string &out, uint64_t v);
void putString(std::string &out, const std::string &s);
void putEvent(std::string &out, const HostEvent &e);

// Byte-level reading: every read checks the end and sets `failed` instead of
// reading past it.
struct ReplayReader {
    const uint8_t *data = nullptr;
    size_t size = 0;
    size_t pos = 0;
    bool failed = false;

    bool atEnd() const { return pos >= size; }
    int peek() const { return pos < size ? data[pos] : -1; }
    uint8_t byte();
    uint64_t varint();
    int64_t signedVarint();
    uint16_t u16();
    uint64_t u64();
    bool string(std::string &out, size_t limit);
    bool event(HostEvent &e);
};

std::string encodeReplayHeader(const ReplayHeader &header);
// Reads the header at the start of `reader`; on success the reader stands at
// the first op of the stream.
bool decodeReplayHeader(ReplayReader &reader, ReplayHeader &header, std::string &error);

// FNV-1a 64 of the cells, byte by byte.
uint64_t frameHashFull(const Cell *cells, int width, int height);
// A fast hash of the cells for every frame, folded to 16 bits.
uint16_t frameHashShort(const Cell *cells, int width, int height);
