#include "score.h"
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>

namespace {

// Large enough for any piece, small enough that a typo cannot eat the memory.
constexpr int MAX_BARS = 256;
constexpr double MAX_SECONDS = 600;

struct Reader {
    std::string name;
    int line = 0;
    std::string error;
    bool fail(const std::string &why) {
        if (error.empty())
            error = name + ":" + std::to_string(line) + ": " + why;
        return false;
    }
};

bool toNumber(const std::string &s, double &out) {
    if (s.empty())
        return false;
    char *end = nullptr;
    out = strtod(s.c_str(), &end);
    return end && *end == 0 && std::isfinite(out);
}

std::vector<std::string> split(const std::string &s, char by) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(s);
    while (std::getline(in, part, by))
        parts.push_back(part);
    if (!s.empty() && s.back() == by)
        parts.push_back("");
    return parts;
}

// "c4" is middle C (60); "f#3", "bb2" (B flat), octaves 0 to 9.
bool parseNote(const std::string &s, float &midi) {
    static const int semis[] = {9, 11, 0, 2, 4, 5, 7}; // a b c d e f g
    if (s.size() < 2 || s[0] < 'a' || s[0] > 'g')
        return false;
    int semitone = semis[s[0] - 'a'];
    size_t i = 1;
    if (s[i] == '#') {
        semitone++;
        i++;
    } else if (s[i] == 'b' && i + 1 < s.size()) {
        semitone--;
        i++;
    }
    if (i + 1 != s.size() || s[i] < '0' || s[i] > '9')
        return false;
    midi = static_cast<float>(12 * (s[i] - '0' + 1) + semitone);
    return true;
}

bool parseToken(Reader &r, std::string text, bool kit, Token &token) {
    if (text == "-") {
        token.kind = Token::HOLD;
        return true;
    }
    if (text == ".") {
        token.kind = Token::REST;
        return true;
    }
    token.kind = Token::NOTE;
    while (!text.empty() && (text.back() == '!' || text.back() == '\'')) {
        token.velocity *= text.back() == '!' ? 1.3f : 0.55f;
        text.pop_back();
    }
    for (const std::string &part : split(text, '+')) {
        if (kit) {
            if (part.size() != 1 || !strchr(KIT_LETTERS, part[0]) || part[0] == 0)
                return r.fail("'" + part + "' is not a drum (one of " + KIT_LETTERS + ")");
            token.pitches.push_back(part[0]);
        } else {
            float midi = 0;
            if (!parseNote(part, midi))
                return r.fail("'" + part + "' is not a note like c4, f#3 or bb2");
            token.pitches.push_back(midi);
        }
    }
    return true;
}

const std::map<std::string, Wave> waves = {
    {"pulse", WAVE_PULSE}, {"square", WAVE_PULSE}, {"triangle", WAVE_TRIANGLE},
    {"saw", WAVE_SAW},     {"sine", WAVE_SINE},    {"noise", WAVE_NOISE},
    {"fm", WAVE_FM},       {"pad", WAVE_PAD},      {"pluck", WAVE_PLUCK},
    {"kit", WAVE_KIT}};

bool setParameter(Reader &r, Instrument &ins, const std::string &key, double v) {
    struct Range {
        float *field;
        double low, high;
    };
    const std::map<std::string, Range> floats = {{"duty", {&ins.duty, 0.05, 0.95}},
                                                 {"attack", {&ins.attack, 0, 10000}},
                                                 {"decay", {&ins.decay, 1, 20000}},
                                                 {"sustain", {&ins.sustain, 0, 1}},
                                                 {"release", {&ins.release, 1, 20000}},
                                                 {"gain", {&ins.gain, 0, 4}},
                                                 {"pan", {&ins.pan, -1, 1}},
                                                 {"gate", {&ins.gate, 0.05, 1}},
                                                 {"echo", {&ins.echo, 0, 1}},
                                                 {"reverb", {&ins.reverb, 0, 1}},
                                                 {"cutoff", {&ins.cutoff, 0, 20000}},
                                                 {"q", {&ins.q, 0.5, 20}},
                                                 {"fenv", {&ins.fenv, -8, 8}},
                                                 {"fdecay", {&ins.fdecay, 1, 20000}},
                                                 {"highpass", {&ins.highpass, 0, 20000}},
                                                 {"keytrack", {&ins.keytrack, 0, 64}},
                                                 {"vibrato", {&ins.vibrato, 0, 12}},
                                                 {"vrate", {&ins.vrate, 0, 40}},
                                                 {"vdelay", {&ins.vdelay, 0, 10000}},
                                                 {"sweep", {&ins.sweep, -96, 96}},
                                                 {"sweeptime", {&ins.sweeptime, 1, 20000}},
                                                 {"detune", {&ins.detune, -100, 100}},
                                                 {"ratio", {&ins.ratio, 0.01, 32}},
                                                 {"index", {&ins.index, 0, 50}},
                                                 {"idecay", {&ins.idecay, 0, 20000}},
                                                 {"arp", {&ins.arp, 0, 1000}},
                                                 {"trem", {&ins.trem, 0, 1}},
                                                 {"trate", {&ins.trate, 0, 60}},
                                                 {"drive", {&ins.drive, 0, 50}},
                                                 {"pitch", {&ins.pitch, 0.25, 4}},
                                                 {"glide", {&ins.glide, 0, 2000}}};
    auto f = floats.find(key);
    if (f != floats.end()) {
        if (v < f->second.low || v > f->second.high)
            return r.fail(key + " must lie between " + std::to_string(f->second.low) + " and " +
                          std::to_string(f->second.high));
        *f->second.field = static_cast<float>(v);
        return true;
    }
    if (key == "voices" || key == "crush" || key == "octave") {
        const int n = static_cast<int>(v);
        if (n != v || (key == "voices" && (n < 1 || n > 8)) ||
            (key == "crush" && (n < 1 || n > 64)) || (key == "octave" && (n < -4 || n > 4)))
            return r.fail(key + " is out of range");
        (key == "voices" ? ins.voices : key == "crush" ? ins.crush : ins.octave) = n;
        return true;
    }
    return r.fail("unknown instrument setting '" + key + "'");
}

bool readInstrument(Reader &r, Score &score, const std::vector<std::string> &words) {
    if (words.size() < 3 || (words.size() - 3) % 2 != 0)
        return r.fail("instrument NAME WAVE followed by setting-value pairs");
    Instrument ins;
    ins.name = words[1];
    for (const Instrument &other : score.instruments)
        if (other.name == ins.name)
            return r.fail("instrument '" + ins.name + "' is defined twice");
    auto w = waves.find(words[2]);
    if (w == waves.end())
        return r.fail("unknown wave '" + words[2] + "'");
    ins.wave = w->second;
    if (ins.wave == WAVE_KIT) {
        ins.attack = 0;
        ins.release = 1;
    }
    for (size_t i = 3; i < words.size(); i += 2) {
        double v = 0;
        if (!toNumber(words[i + 1], v))
            return r.fail("'" + words[i + 1] + "' is not a number");
        if (!setParameter(r, ins, words[i], v))
            return false;
    }
    score.instruments.push_back(ins);
    return true;
}

bool readLane(Reader &r, Score &score, Pattern &pattern, const std::vector<std::string> &words) {
    Lane lane;
    lane.line = r.line;
    std::string name = words[0];
    lane.perBeat = score.steps;
    const size_t slash = name.find('/');
    if (slash != std::string::npos) {
        double n = 0;
        if (!toNumber(name.substr(slash + 1), n) || n < 1 || n > 16 || n != std::floor(n))
            return r.fail("tokens per beat after '/' must be a whole number from 1 to 16");
        lane.perBeat = n;
        name = name.substr(0, slash);
    }
    auto ins = std::find_if(score.instruments.begin(), score.instruments.end(),
                            [&](const Instrument &i) { return i.name == name; });
    if (ins == score.instruments.end())
        return r.fail("no instrument called '" + name + "'");
    lane.instrument = static_cast<int>(ins - score.instruments.begin());
    pattern.lanes.push_back(lane);
    return true;
}

// Tokens of a lane; "(a b c)*4" repeats a group.
bool addTokens(Reader &r, Score &score, Lane &lane, const std::vector<std::string> &words,
               size_t from) {
    const bool kit = score.instruments[lane.instrument].wave == WAVE_KIT;
    std::vector<Token> group;
    bool inGroup = false;
    for (size_t i = from; i < words.size(); i++) {
        std::string word = words[i];
        if (word == "|")
            continue;
        if (word[0] == '(') {
            if (inGroup)
                return r.fail("groups do not nest");
            inGroup = true;
            group.clear();
            word.erase(0, 1);
        }
        int repeat = 0;
        const size_t close = word.find(')');
        if (close != std::string::npos) {
            if (!inGroup)
                return r.fail("')' without '('");
            const std::string times = word.substr(close + 1);
            double n = 1;
            if (!times.empty() && (times[0] != '*' || !toNumber(times.substr(1), n) || n < 1 ||
                                   n > 64 || n != std::floor(n)))
                return r.fail("a group ends with ')' or ')*N', N from 1 to 64");
            repeat = static_cast<int>(n);
            word.erase(close);
        }
        if (!word.empty()) {
            Token token;
            if (!parseToken(r, word, kit, token))
                return false;
            (inGroup ? group : lane.tokens).push_back(token);
        }
        if (repeat > 0) {
            for (int k = 0; k < repeat; k++)
                lane.tokens.insert(lane.tokens.end(), group.begin(), group.end());
            inGroup = false;
        }
        if (lane.tokens.size() > 16 * 16 * MAX_BARS)
            return r.fail("lane too long");
    }
    if (inGroup)
        return r.fail("'(' without ')' on the same line");
    return true;
}

// A lane shorter than its pattern repeats until the pattern is full.
bool finishPattern(Reader &r, const Score &score, Pattern &pattern) {
    for (Lane &lane : pattern.lanes) {
        r.line = lane.line;
        const double steps = pattern.bars * score.beats * lane.perBeat;
        const size_t count = lane.tokens.size();
        if (count == 0)
            return r.fail("lane without notes");
        if (count > steps || std::fmod(steps, static_cast<double>(count)) != 0)
            return r.fail("lane has " + std::to_string(count) + " steps; the pattern needs " +
                          std::to_string(static_cast<int>(steps)) + " or a divisor of it");
        std::vector<Token> full;
        while (full.size() < steps)
            full.insert(full.end(), lane.tokens.begin(), lane.tokens.end());
        lane.tokens = full;
    }
    return true;
}

// Items like "verse", "verse*2", "verse+5", "verse&drums*2-3".
bool readSong(Reader &r, Score &score, const std::vector<std::string> &words) {
    for (size_t i = 1; i < words.size(); i++) {
        std::string item = words[i];
        int transpose = 0, repeat = 1;
        const size_t shift = item.find_first_of("+-");
        if (shift != std::string::npos) {
            double n = 0;
            if (!toNumber(item.substr(shift), n) || n < -48 || n > 48 || n != std::floor(n))
                return r.fail("transposition must be whole semitones from -48 to +48");
            transpose = static_cast<int>(n);
            item.erase(shift);
        }
        const size_t star = item.find('*');
        if (star != std::string::npos) {
            double n = 0;
            if (!toNumber(item.substr(star + 1), n) || n < 1 || n > 64 || n != std::floor(n))
                return r.fail("repeat count after '*' must be a whole number from 1 to 64");
            repeat = static_cast<int>(n);
            item.erase(star);
        }
        SongItem song;
        song.transpose = transpose;
        for (const std::string &name : split(item, '&')) {
            auto p = std::find_if(score.patterns.begin(), score.patterns.end(),
                                  [&](const Pattern &pat) { return pat.name == name; });
            if (p == score.patterns.end())
                return r.fail("no pattern called '" + name + "'");
            if (!song.patterns.empty() && p->bars != score.patterns[song.patterns[0]].bars)
                return r.fail("patterns played together need the same number of bars");
            song.patterns.push_back(static_cast<int>(p - score.patterns.begin()));
        }
        for (int k = 0; k < repeat; k++)
            score.song.push_back(song);
    }
    return true;
}

bool needs(Reader &r, const std::vector<std::string> &w, size_t count, double low, double high,
           std::vector<double> &out) {
    if (w.size() != count + 1 && !(count == 3 && w.size() == 3))
        return r.fail(w[0] + " takes " + std::to_string(count) + " number(s)");
    out.clear();
    for (size_t i = 1; i < w.size(); i++) {
        double v = 0;
        if (!toNumber(w[i], v))
            return r.fail("'" + w[i] + "' is not a number");
        if (v < low || v > high)
            return r.fail(w[0] + " out of range");
        out.push_back(v);
    }
    return true;
}

bool readHeader(Reader &r, Score &score, const std::vector<std::string> &w) {
    std::vector<double> v;
    const std::string &k = w[0];
    if (k == "loop") {
        if (w.size() != 2 || (w[1] != "on" && w[1] != "off"))
            return r.fail("loop on|off");
        score.loop = w[1] == "on";
        return true;
    }
    if (k == "tempo" && needs(r, w, 1, 20, 400, v))
        score.tempo = v[0];
    else if (k == "steps" && needs(r, w, 1, 1, 16, v))
        score.steps = static_cast<int>(v[0]);
    else if (k == "beats" && needs(r, w, 1, 1, 16, v))
        score.beats = static_cast<int>(v[0]);
    else if (k == "swing" && needs(r, w, 1, 0, 0.5, v))
        score.swing = v[0];
    else if (k == "tail" && needs(r, w, 1, 0, 20, v))
        score.tail = v[0];
    else if (k == "channels" && needs(r, w, 1, 1, 2, v))
        score.channels = static_cast<int>(v[0]);
    else if (k == "rate" && needs(r, w, 1, 8000, 96000, v))
        score.rate = static_cast<int>(v[0]);
    else if (k == "level" && needs(r, w, 1, -60, 0, v)) {
        score.level = v[0];
        score.levelGiven = true;
    } else if (k == "peak" && needs(r, w, 1, -60, 0, v))
        score.peak = v[0];
    else if (k == "reverb" && needs(r, w, 2, 0, 1, v)) {
        score.roomSize = v[0];
        score.roomDamp = v[1];
    } else if (k == "echo" && needs(r, w, 3, 0, 16, v)) {
        score.echoBeats = v[0];
        score.echoFeedback = std::min(v[1], 0.9);
        if (v.size() > 2)
            score.echoDamp = std::min(v[2], 1.0);
    } else if (r.error.empty())
        return r.fail("unknown line '" + k + "'");
    if (!r.error.empty())
        return false;
    if ((k == "steps" || k == "beats") && !score.patterns.empty())
        return r.fail(k + " must come before the first pattern");
    return true;
}

} // namespace

bool parseScore(const std::string &text, const std::string &name, Score &score,
                std::string &error) {
    score = Score{};
    score.file = name;
    Reader r;
    r.name = name;
    std::istringstream in(text);
    std::string line;
    Pattern *open = nullptr;
    while (std::getline(in, line)) {
        r.line++;
        // '#' starts a comment at the start of a word; inside one it is a sharp.
        for (size_t i = 0; i < line.size(); i++)
            if (line[i] == '#' && (i == 0 || isspace(static_cast<unsigned char>(line[i - 1])))) {
                line.erase(i);
                break;
            }
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;)
            w.push_back(word);
        if (w.empty())
            continue;
        bool ok = true;
        if (open) {
            if (w[0] == "instrument" || w[0] == "pattern" || w[0] == "song") {
                ok = r.fail("pattern '" + open->name + "' has no end before this " + w[0]);
            } else if (w[0] == "end") {
                ok = w.size() == 1 ? finishPattern(r, score, *open) : r.fail("end stands alone");
                open = nullptr;
            } else if (w[0] == "+") {
                ok = !open->lanes.empty() ? addTokens(r, score, open->lanes.back(), w, 1)
                                          : r.fail("'+' continues a lane, but none came before");
            } else {
                ok = readLane(r, score, *open, w) && addTokens(r, score, open->lanes.back(), w, 1);
            }
        } else if (w[0] == "instrument") {
            ok = readInstrument(r, score, w);
        } else if (w[0] == "pattern") {
            double bars = 0;
            if (w.size() != 3 || !toNumber(w[2], bars) || bars < 1 || bars > MAX_BARS ||
                bars != std::floor(bars))
                ok = r.fail("pattern NAME BARS (1 to 256 bars)");
            else {
                for (const Pattern &p : score.patterns)
                    if (p.name == w[1])
                        ok = r.fail("pattern '" + w[1] + "' is defined twice");
                score.patterns.push_back(Pattern{w[1], static_cast<int>(bars), {}});
                open = &score.patterns.back();
            }
        } else if (w[0] == "song") {
            ok = readSong(r, score, w);
        } else {
            ok = readHeader(r, score, w);
        }
        if (!ok) {
            error = r.error;
            return false;
        }
    }
    if (open) {
        r.fail("pattern '" + open->name + "' has no end");
        error = r.error;
        return false;
    }
    if (score.song.empty()) {
        error = name + ": no song line: nothing to play";
        return false;
    }
    if (songBeats(score) * 60 / score.tempo > MAX_SECONDS) {
        error = name + ": the song is longer than ten minutes";
        return false;
    }
    return true;
}

bool readScore(const std::string &path, Score &score, std::string &error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": " + strerror(errno);
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return parseScore(text.str(), path, score, error);
}

double songBeats(const Score &score) {
    double beats = 0;
    for (const SongItem &item : score.song)
        beats += score.patterns[item.patterns[0]].bars * score.beats;
    return beats;
}

std::vector<NoteEvent> scheduleSong(const Score &score) {
    std::vector<NoteEvent> events;
    double start = 0;
    for (const SongItem &item : score.song) {
        for (int index : item.patterns) {
            for (const Lane &lane : score.patterns[index].lanes) {
                const Instrument &ins = score.instruments[lane.instrument];
                const bool swung = lane.perBeat == score.steps && score.steps % 2 == 0;
                auto at = [&](size_t k) {
                    double beat = k / lane.perBeat;
                    if (swung && k % 2 == 1)
                        beat += score.swing / lane.perBeat;
                    return start + beat;
                };
                const size_t n = lane.tokens.size();
                for (size_t k = 0; k < n; k++) {
                    const Token &t = lane.tokens[k];
                    if (t.kind != Token::NOTE)
                        continue;
                    size_t end = k + 1;
                    while (end < n && lane.tokens[end].kind == Token::HOLD)
                        end++;
                    NoteEvent e;
                    e.beat = at(k);
                    e.length = at(end) - e.beat;
                    e.velocity = t.velocity;
                    e.instrument = lane.instrument;
                    for (float p : t.pitches)
                        e.pitches.push_back(
                            ins.wave == WAVE_KIT ? p : p + item.transpose + 12.0f * ins.octave);
                    events.push_back(e);
                }
            }
        }
        start += score.patterns[item.patterns[0]].bars * score.beats;
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const NoteEvent &a, const NoteEvent &b) { return a.beat < b.beat; });
    for (size_t i = 0; i < events.size(); i++)
        events[i].serial = static_cast<int>(i);
    return events;
}
