// Sound through XAudio2 (part of Windows since Windows 10, loaded when the
// program starts to play so that without it the game runs silent): one
// submix voice per volume group, one source voice per playing sound. Effects
// are decoded whole when opened; music is decoded a little ahead while it plays.
#include "platform/win32/win32_host.h"
#include <algorithm>
#include <cstdio>
#include <memory>
#include <xaudio2.h>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#include <stb/stb_vorbis.h>
#pragma GCC diagnostic pop

namespace {

// Music is queued in this many buffers of this many frames (about 2 s ahead).
constexpr int STREAM_BUFFERS = 4;
constexpr int STREAM_FRAMES = 22050;

enum AudioState { UNTRIED, OPEN, SILENT };

struct Sound {
    bool used = false;
    bool stream = false; // music: `file` is decoded while it plays
    bool loop = false;
    std::vector<unsigned char> file;
    std::vector<int16_t> pcm; // effects: every sample, interleaved
    int channels = 0, rate = 0;
    int group = SOUND_GROUP_FX;
};

struct Voice {
    IXAudio2SourceVoice *voice = nullptr;
    int sound = 0;
    int channel = 0;
    stb_vorbis *decoder = nullptr; // music only
    std::vector<int16_t> buffers[STREAM_BUFFERS];
    int nextBuffer = 0;
    bool ended = false;
};

AudioState state = UNTRIED;
IXAudio2 *engine = nullptr;
IXAudio2MasteringVoice *master = nullptr;
IXAudio2SubmixVoice *groups[2] = {};
std::vector<Sound> sounds; // handle - 1
std::vector<std::unique_ptr<Voice>> voices;
int nextChannel = 1;

using XAudio2CreateFn = HRESULT(WINAPI *)(IXAudio2 **, UINT32, XAUDIO2_PROCESSOR);

bool open() {
    if (state != UNTRIED)
        return state == OPEN;
    state = SILENT;
    HMODULE library = LoadLibraryA("xaudio2_9.dll");
    auto create = library ? reinterpret_cast<XAudio2CreateFn>(
                                reinterpret_cast<void *>(GetProcAddress(library, "XAudio2Create")))
                          : nullptr;
    if (!create) {
        fprintf(stderr, "wobblewick: no XAudio2 on this system; playing without sound\n");
        return false;
    }
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (FAILED(create(&engine, 0, XAUDIO2_DEFAULT_PROCESSOR)) || !engine)
        return false;
    if (FAILED(engine->CreateMasteringVoice(&master)) ||
        FAILED(engine->CreateSubmixVoice(&groups[0], 2, 44100)) ||
        FAILED(engine->CreateSubmixVoice(&groups[1], 2, 44100))) {
        fprintf(stderr, "wobblewick: no sound device; playing without sound\n");
        engine->Release();
        engine = nullptr;
        return false;
    }
    state = OPEN;
    return true;
}

Sound *soundAt(int handle) {
    if (state != OPEN || handle <= 0 || handle > static_cast<int>(sounds.size()))
        return nullptr;
    return sounds[handle - 1].used ? &sounds[handle - 1] : nullptr;
}

XAUDIO2_BUFFER bufferOf(const std::vector<int16_t> &samples, int channels, bool last) {
    XAUDIO2_BUFFER b{};
    b.AudioBytes = static_cast<UINT32>(samples.size() * sizeof(int16_t));
    b.pAudioData = reinterpret_cast<const BYTE *>(samples.data());
    b.Flags = last ? XAUDIO2_END_OF_STREAM : 0;
    (void)channels;
    return b;
}

// Decodes music ahead into the buffers the voice has finished with.
void feed(Voice &v) {
    const Sound &s = sounds[v.sound - 1];
    XAUDIO2_VOICE_STATE st;
    v.voice->GetState(&st, XAUDIO2_VOICE_NOSAMPLESPLAYED);
    for (UINT32 queued = st.BuffersQueued; queued < STREAM_BUFFERS && !v.ended; queued++) {
        std::vector<int16_t> &b = v.buffers[v.nextBuffer];
        b.resize(static_cast<size_t>(STREAM_FRAMES * s.channels));
        int frames = stb_vorbis_get_samples_short_interleaved(v.decoder, s.channels, b.data(),
                                                              static_cast<int>(b.size()));
        if (frames == 0 && s.loop) { // round again from the start
            stb_vorbis_seek_start(v.decoder);
            frames = stb_vorbis_get_samples_short_interleaved(v.decoder, s.channels, b.data(),
                                                              static_cast<int>(b.size()));
        }
        v.ended = frames == 0;
        b.resize(static_cast<size_t>(frames * s.channels));
        if (frames == 0)
            break;
        XAUDIO2_BUFFER xb = bufferOf(b, s.channels, false);
        v.voice->SubmitSourceBuffer(&xb);
        v.nextBuffer = (v.nextBuffer + 1) % STREAM_BUFFERS;
    }
}

void destroy(Voice &v) {
    v.voice->DestroyVoice(); // waits until the engine is done with its buffers
    if (v.decoder)
        stb_vorbis_close(v.decoder);
}

bool playing(const Voice &v) {
    XAUDIO2_VOICE_STATE st;
    v.voice->GetState(&st, XAUDIO2_VOICE_NOSAMPLESPLAYED);
    return st.BuffersQueued > 0;
}

// Feeds the music and lets go of effects that have finished.
void service() {
    for (auto &v : voices)
        if (v->decoder)
            feed(*v);
    auto finished = [](const std::unique_ptr<Voice> &v) {
        if (v->decoder || playing(*v))
            return false;
        destroy(*v);
        return true;
    };
    voices.erase(std::remove_if(voices.begin(), voices.end(), finished), voices.end());
}

} // namespace

int win32SoundOpen(const char *path, int loop) {
    if (!open())
        return 0;
    FILE *f = fopen(path, "rb");
    if (!f) {
        perror(path);
        return 0;
    }
    Sound s;
    s.used = true;
    s.loop = loop != 0;
    s.stream = s.loop;
    unsigned char chunk[65536];
    for (size_t n; (n = fread(chunk, 1, sizeof chunk, f)) > 0;)
        s.file.insert(s.file.end(), chunk, chunk + n);
    fclose(f);
    int error = 0;
    stb_vorbis *probe =
        stb_vorbis_open_memory(s.file.data(), static_cast<int>(s.file.size()), &error, nullptr);
    if (!probe) {
        fprintf(stderr, "%s: not an Ogg Vorbis file (stb_vorbis error %d)\n", path, error);
        return 0;
    }
    const stb_vorbis_info info = stb_vorbis_get_info(probe);
    s.channels = info.channels;
    s.rate = static_cast<int>(info.sample_rate);
    if (!s.stream) {
        const int total = static_cast<int>(stb_vorbis_stream_length_in_samples(probe));
        s.pcm.resize(static_cast<size_t>(total * s.channels));
        const int got = stb_vorbis_get_samples_short_interleaved(probe, s.channels, s.pcm.data(),
                                                                 static_cast<int>(s.pcm.size()));
        s.pcm.resize(static_cast<size_t>(got * s.channels));
        s.file.clear();
    }
    stb_vorbis_close(probe);
    sounds.push_back(std::move(s));
    return static_cast<int>(sounds.size());
}

void win32SoundRelease(int sound) {
    Sound *s = soundAt(sound);
    if (!s)
        return;
    auto ofSound = [sound](const std::unique_ptr<Voice> &v) {
        if (v->sound != sound)
            return false;
        destroy(*v);
        return true;
    };
    voices.erase(std::remove_if(voices.begin(), voices.end(), ofSound), voices.end());
    *s = Sound{};
}

void win32SoundSetGroup(int sound, int group) {
    if (Sound *s = soundAt(sound))
        s->group = group == SOUND_GROUP_BGM ? SOUND_GROUP_BGM : SOUND_GROUP_FX;
}

int win32SoundPlay(int sound) {
    Sound *s = soundAt(sound);
    if (!s)
        return -1;
    service();
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = static_cast<WORD>(s->channels);
    format.nSamplesPerSec = static_cast<DWORD>(s->rate);
    format.wBitsPerSample = 16;
    format.nBlockAlign = static_cast<WORD>(2 * s->channels);
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    XAUDIO2_SEND_DESCRIPTOR send{0, groups[s->group]};
    XAUDIO2_VOICE_SENDS sends{1, &send};
    auto v = std::make_unique<Voice>();
    if (FAILED(engine->CreateSourceVoice(&v->voice, &format, 0, XAUDIO2_DEFAULT_FREQ_RATIO, nullptr,
                                         &sends)))
        return -1;
    v->sound = sound;
    v->channel = nextChannel++;
    if (s->stream) {
        v->decoder = stb_vorbis_open_memory(s->file.data(), static_cast<int>(s->file.size()),
                                            nullptr, nullptr);
        if (v->decoder)
            feed(*v);
    } else {
        XAUDIO2_BUFFER b = bufferOf(s->pcm, s->channels, true);
        v->voice->SubmitSourceBuffer(&b);
    }
    v->voice->Start();
    voices.push_back(std::move(v));
    return voices.back()->channel;
}

int win32SoundIsPlaying(int channel) {
    if (state != OPEN)
        return 0;
    service();
    for (const auto &v : voices)
        if (v->channel == channel)
            return playing(*v);
    return 0;
}

void win32SoundSetGroupVolume(int group, float volume) {
    if (state == OPEN && (group == SOUND_GROUP_BGM || group == SOUND_GROUP_FX))
        groups[group]->SetVolume(std::clamp(volume, 0.0f, 1.0f));
}

void win32SoundShutdown() {
    if (state != OPEN)
        return;
    for (auto &v : voices)
        destroy(*v);
    voices.clear();
    sounds.clear();
    groups[0]->DestroyVoice();
    groups[1]->DestroyVoice();
    master->DestroyVoice();
    engine->Release();
    engine = nullptr;
    state = SILENT;
}

void win32SoundService() {
    if (state == OPEN)
        service();
}
