#include "app/replay/replay_format.h"
#include <cstring>

const char *replayCallName(int call) {
    static const char *const names[CALL_KINDS] = {
        "now",           "counter",    "counterFrequency", "keyDown",
        "pendingEvents", "readEvents", "getWindowRect",    "soundIsPlaying",
        "getPalette",    "idle",       "present",          "setPalette",
        "setTitle",      "moveWindow", "a sound call",     "shutdown"};
    return call >= 0 && call < CALL_KINDS ? names[call] : "an unknown call";
}

void putByte(std::string &out, uint8_t b) {
    out.push_back(static_cast<char>(b));
}

void putVarint(std::string &out, uint64_t v) {
    while (v >= 0x80) {
        putByte(out, static_cast<uint8_t>(v | 0x80));
        v >>= 7;
    }
    putByte(out, static_cast<uint8_t>(v));
}

// Zigzag: small numbers of either sign stay short.
void putSigned(std::string &out, int64_t v) {
    putVarint(out, (static_cast<uint64_t>(v) << 1) ^ static_cast<uint64_t>(v >> 63));
}

void putU16(std::string &out, uint16_t v) {
    putByte(out, static_cast<uint8_t>(v));
    putByte(out, static_cast<uint8_t>(v >> 8));
}

void putU64(std::string &out, uint64_t v) {
    for (int i = 0; i < 8; i++)
        putByte(out, static_cast<uint8_t>(v >> (8 * i)));
}

void putString(std::string &out, const std::string &s) {
    putVarint(out, s.size());
    out += s;
}

void putEvent(std::string &out, const HostEvent &e) {
    putVarint(out, static_cast<uint32_t>(e.type));
    if (e.type == HOST_EVENT_KEY) {
        putSigned(out, e.key.keyDown);
        putVarint(out, e.key.repeatCount);
        putVarint(out, e.key.virtualKeyCode);
        putVarint(out, e.key.virtualScanCode);
        putByte(out, static_cast<uint8_t>(e.key.asciiChar));
        putVarint(out, e.key.controlKeyState);
    } else if (e.type == HOST_EVENT_MOUSE) {
        putSigned(out, e.mouse.x);
        putSigned(out, e.mouse.y);
        putVarint(out, e.mouse.buttonState);
        putVarint(out, e.mouse.controlKeyState);
        putVarint(out, e.mouse.eventFlags);
    }
}

uint8_t ReplayReader::byte() {
    if (pos >= size) {
        failed = true;
        return 0;
    }
    return data[pos++];
}

uint64_t ReplayReader::varint() {
    uint64_t v = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        const uint8_t b = byte();
        v |= static_cast<uint64_t>(b & 0x7F) << shift;
        if (!(b & 0x80))
            return v;
    }
    failed = true; // more than ten bytes: not a number this file writes
    return 0;
}

int64_t ReplayReader::signedVarint() {
    const uint64_t v = varint();
    return static_cast<int64_t>((v >> 1) ^ (~(v & 1) + 1));
}

uint16_t ReplayReader::u16() {
    const uint16_t lo = byte();
    return static_cast<uint16_t>(lo | (byte() << 8));
}

uint64_t ReplayReader::u64() {
    uint64_t v = 0;
    for (int i = 0; i < 8; i++)
        v |= static_cast<uint64_t>(byte()) << (8 * i);
    return v;
}

bool ReplayReader::string(std::string &out, size_t limit) {
    const uint64_t n = varint();
    if (failed || n > limit || n > size - pos) {
        failed = true;
        return false;
    }
    out.assign(reinterpret_cast<const char *>(data + pos), n);
    pos += n;
    return true;
}

bool ReplayReader::event(HostEvent &e) {
    e = HostEvent{};
    e.type = static_cast<int32_t>(varint());
    if (e.type == HOST_EVENT_KEY) {
        e.key.keyDown = static_cast<int32_t>(signedVarint());
        e.key.repeatCount = static_cast<uint16_t>(varint());
        e.key.virtualKeyCode = static_cast<uint16_t>(varint());
        e.key.virtualScanCode = static_cast<uint16_t>(varint());
        e.key.asciiChar = static_cast<char>(byte());
        e.key.controlKeyState = static_cast<uint32_t>(varint());
    } else if (e.type == HOST_EVENT_MOUSE) {
        e.mouse.x = static_cast<int16_t>(signedVarint());
        e.mouse.y = static_cast<int16_t>(signedVarint());
        e.mouse.buttonState = static_cast<uint32_t>(varint());
        e.mouse.controlKeyState = static_cast<uint32_t>(varint());
        e.mouse.eventFlags = static_cast<uint32_t>(varint());
    }
    return !failed;
}

std::string encodeReplayHeader(const ReplayHeader &header) {
    std::string out = REPLAY_MAGIC;
    putVarint(out, REPLAY_VERSION);
    putVarint(out, header.seed);
    putString(out, header.hostName);
    putVarint(out, header.arguments.size());
    for (const std::string &a : header.arguments)
        putString(out, a);
    putVarint(out, header.files.size());
    for (const ReplayFile &f : header.files) {
        putString(out, f.path);
        putString(out, f.content);
    }
    return out;
}

// A kept file goes back under the data root: a plain relative path below
// data/, nothing that climbs out of it.
static bool safeDataPath(const std::string &path) {
    if (path.rfind("data/", 0) != 0 || path.size() > 200)
        return false;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string part = path.substr(start, end - start);
        if (part.empty() || part == "." || part == "..")
            return false;
        start = end + 1;
    }
    return path.find('\0') == std::string::npos && path.find('\\') == std::string::npos;
}

bool decodeReplayHeader(ReplayReader &r, ReplayHeader &header, std::string &error) {
    const size_t magicLength = sizeof REPLAY_MAGIC - 1;
    if (r.size < magicLength || memcmp(r.data, REPLAY_MAGIC, magicLength) != 0) {
        error = "not a replay file";
        return false;
    }
    r.pos = magicLength;
    const uint64_t version = r.varint();
    if (r.failed || version != REPLAY_VERSION) {
        error = "a replay file of another version (" + std::to_string(version) + ")";
        return false;
    }
    header = ReplayHeader{};
    header.seed = static_cast<uint32_t>(r.varint());
    r.string(header.hostName, 64);
    const uint64_t argumentCount = r.varint();
    if (r.failed || argumentCount > REPLAY_MAX_ARGUMENTS) {
        error = "the replay's header is broken";
        return false;
    }
    for (uint64_t i = 0; i < argumentCount && !r.failed; i++) {
        header.arguments.emplace_back();
        r.string(header.arguments.back(), 4096);
    }
    const uint64_t fileCount = r.varint();
    if (r.failed || fileCount > REPLAY_MAX_FILES) {
        error = "the replay's header is broken";
        return false;
    }
    size_t total = 0;
    for (uint64_t i = 0; i < fileCount && !r.failed; i++) {
        ReplayFile f;
        if (!r.string(f.path, 256) || !r.string(f.content, REPLAY_MAX_FILE_BYTES))
            break;
        total += f.content.size();
        if (!safeDataPath(f.path) || total > REPLAY_MAX_HEADER_BYTES) {
            error = "the replay's header names a file it may not write: '" + f.path + "'";
            return false;
        }
        header.files.push_back(std::move(f));
    }
    if (r.failed) {
        error = "the replay's header is cut short or broken";
        return false;
    }
    return true;
}

uint64_t frameHashFull(const Cell *cells, int width, int height) {
    uint64_t h = 0xcbf29ce484222325ULL;
    auto mix = [&h](uint8_t b) {
        h ^= b;
        h *= 0x100000001b3ULL;
    };
    for (int v : {width, height})
        for (int i = 0; i < 4; i++)
            mix(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    for (size_t i = 0; i < count; i++) {
        mix(static_cast<uint8_t>(cells[i].ch));
        mix(static_cast<uint8_t>(cells[i].ch >> 8));
        mix(static_cast<uint8_t>(cells[i].attr));
        mix(static_cast<uint8_t>(cells[i].attr >> 8));
    }
    return h;
}

// Each eight bytes, tagged with their place, are mixed on their own and the
// results summed in four lanes: no long chain of dependent multiplies, so a
// frame takes a couple of microseconds.
uint16_t frameHashShort(const Cell *cells, int width, int height) {
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * sizeof(Cell);
    const uint8_t *p = reinterpret_cast<const uint8_t *>(cells);
    constexpr uint64_t K = 0xff51afd7ed558ccdULL, STEP = 0x9E3779B97F4A7C15ULL;
    uint64_t lane[4] = {bytes, 0, 0, 0};
    uint64_t place = STEP;
    size_t i = 0;
    for (; i + 32 <= bytes; i += 32)
        for (int l = 0; l < 4; l++) {
            uint64_t w;
            memcpy(&w, p + i + 8 * l, 8);
            w ^= place;
            place += STEP;
            lane[l] += (w ^ (w >> 31)) * K;
        }
    for (; i < bytes; i++)
        lane[0] += (p[i] ^ place++) * K;
    uint64_t h = lane[0] ^ (lane[1] * 3) ^ (lane[2] * 5) ^ (lane[3] * 7);
    h ^= h >> 33;
    h *= K;
    h ^= h >> 33;
    return static_cast<uint16_t>(h >> 48);
}
