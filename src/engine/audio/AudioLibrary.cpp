#include "audio/AudioLibrary.h"

// The extension functions are declared only on request; OpenAL Soft exports them.
#define AL_ALEXT_PROTOTYPES
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <libopenmpt/libopenmpt.h>
#include <pthread.h>
#include <sndfile.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <numbers>
#include <optional>
#include <set>
#include <thread>
#include <unordered_map>

namespace Strata::AudioLibrary
{

namespace
{

constexpr const char* kErrorNames[] = {"BASS_OK",
                                       "BASS_ERROR_MEM",
                                       "BASS_ERROR_FILEOPEN",
                                       "BASS_ERROR_DRIVER",
                                       "BASS_ERROR_BUFLOST",
                                       "BASS_ERROR_HANDLE",
                                       "BASS_ERROR_FORMAT",
                                       "BASS_ERROR_POSITION",
                                       "BASS_ERROR_INIT",
                                       "BASS_ERROR_START",
                                       "BASS_ERROR_ALREADY",
                                       "BASS_ERROR_NOPAUSE",
                                       "BASS_ERROR_NOCHAN",
                                       "BASS_ERROR_ILLTYPE",
                                       "BASS_ERROR_ILLPARAM",
                                       "BASS_ERROR_NO3D",
                                       "BASS_ERROR_NOEAX",
                                       "BASS_ERROR_DEVICE",
                                       "BASS_ERROR_NOPLAY",
                                       "BASS_ERROR_FREQ",
                                       "BASS_ERROR_NOTFILE",
                                       "BASS_ERROR_NOHW",
                                       "BASS_ERROR_EMPTY",
                                       "BASS_ERROR_NONET",
                                       "BASS_ERROR_CREATE",
                                       "BASS_ERROR_NOFX",
                                       "BASS_ERROR_PLAYING",
                                       "BASS_ERROR_NOTAVAIL",
                                       "BASS_ERROR_DECODE",
                                       "BASS_ERROR_DX",
                                       "BASS_ERROR_TIMEOUT",
                                       "BASS_ERROR_FILEFORM",
                                       "BASS_ERROR_SPEAKER",
                                       "BASS_ERROR_VERSION",
                                       "BASS_ERROR_CODEC"};

constexpr int kMaxPlaybacks = 32;
// A stream queues three buffers. A short one (an effect, a voice) decodes pieces of 4,096 frames: about
// 0.28 s queued at 44.1 kHz, a refill due every 93 ms, 12,288 frames decoded before it starts. A long one
// (music, an ambient loop) decodes pieces four times as large: its feeder wakes a quarter as often and
// decodes with warm caches (the title's music cost the feeder 0.28% of a core in small pieces, 0.19% in
// large ones). Every sound is a stream and a played stream's buffers keep their data, so short clips keep
// the small pieces: hundreds of voices would otherwise hold four times the memory.
constexpr int kStreamBuffers = 3;
constexpr size_t kShortPieceFrames = 4096;
constexpr size_t kLongPieceFrames = 16384;
// A stream is long when its header promises at least this many seconds.
constexpr long long kLongStreamSeconds = 8;
// Decoded samples are capped (about ten minutes of stereo at 48 kHz) so a damaged header cannot
// make us allocate without bound.
constexpr size_t kMaxSampleValues = size_t{60} * 48000 * 2 * 10;
constexpr size_t kRenderSliceFrames = 512;
// The feeder wakes this long after a buffer should have played: a device reports positions only once
// per mixing period, and two buffers are still queued then.
constexpr auto kFeedMargin = std::chrono::milliseconds(10);

thread_local int tLastError = Error_OK;

// OpenAL Soft mixes a period of 1,024 frames by default, waking its mixer 43 times a second at 44.1 kHz,
// three periods queued (70 ms). Periods of 2,048 frames halve the wake-ups (with the null device, the
// title's music costs 0.64% of a core instead of 0.75%); two of them queued keep the latency near the
// default (93 ms) with a whole period's time to mix the next. OpenAL Soft 1.19 ignores a context's
// refresh attribute on a playback device, so the period is set in the configuration it reads once,
// before its first device: the file named by ALSOFT_CONF, here one in memory. A player's own
// ALSOFT_CONF is left alone.
constexpr char kMixerConfig[] = "[general]\nperiod_size = 2048\nperiods = 2\n";

class MixerConfig
{
public:
    // Idempotent; on any failure OpenAL keeps its own defaults.
    void Apply()
    {
        if (mApplied)
            return;
        mApplied = true;
        const char* own = std::getenv("ALSOFT_CONF");
        if (own != nullptr && own[0] != '\0')
            return;
        mFile = memfd_create("strata-alsoft-conf", MFD_CLOEXEC);
        if (mFile < 0)
            return;
        const ssize_t length = static_cast<ssize_t>(sizeof(kMixerConfig) - 1);
        if (write(mFile, kMixerConfig, sizeof(kMixerConfig) - 1) != length ||
            setenv("ALSOFT_CONF", ("/proc/self/fd/" + std::to_string(mFile)).c_str(), 1) != 0)
            Restore();
    }

    // Once a device is open the configuration has been read: the variable, which would name another
    // file in a child process, goes.
    void Restore()
    {
        if (mFile < 0)
            return;
        unsetenv("ALSOFT_CONF");
        close(mFile);
        mFile = -1;
    }

private:
    bool mApplied = false;
    int mFile = -1;
};

MixerConfig& GetMixerConfig()
{
    static MixerConfig config;
    return config;
}

constexpr char kLibraryThreadName[] = "openal";

// The ids of this process's threads.
std::set<long> ThreadIds()
{
    std::set<long> ids;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task", error))
        ids.insert(std::strtol(entry.path().filename().c_str(), nullptr, 10));
    return ids;
}

// OpenAL Soft leaves its threads (the mixer's, a context's event thread) with the program's name;
// named, a profile or a per-thread figure tells their cost from the game's own. Threads in `before`, or
// with a name of their own, are left alone; failures are ignored (a name is only a label).
void NameNewThreads(const std::set<long>& before, const char* name)
{
    std::string own;
    std::getline(std::ifstream("/proc/self/comm"), own);
    for (const long id : ThreadIds())
    {
        if (before.count(id) != 0)
            continue;
        const std::string comm = "/proc/self/task/" + std::to_string(id) + "/comm";
        std::string current;
        std::getline(std::ifstream(comm), current);
        if (current == own)
            std::ofstream(comm) << name;
    }
}

bool Fail(int code)
{
    tLastError = code;
    return false;
}

bool Succeed()
{
    tLastError = Error_OK;
    return true;
}

// Decodes interleaved 16-bit frames of one or two channels.
class Decoder
{
public:
    virtual ~Decoder() = default;
    // Frames written to `out` (room for frames * channels values); 0 at the end or on an error.
    virtual size_t Read(int16_t* out, size_t frames) = 0;
    virtual bool Rewind() = 0;
    int channels = 0;
    unsigned rate = 0;
    // Frames the header promises; -1 when it cannot tell.
    long long frames = -1;
};

// libsndfile over bytes in memory, which must outlive the decoder.
class SoundFileDecoder final : public Decoder
{
public:
    SoundFileDecoder(const void* bytes, size_t length) : mBytes(static_cast<const uint8_t*>(bytes)), mLength(length) {}
    ~SoundFileDecoder() override
    {
        if (mFile != nullptr)
            sf_close(mFile);
    }

    // Error_FileForm for data libsndfile cannot read, Error_Format for more than two channels.
    int Open()
    {
        SF_VIRTUAL_IO io{};
        io.get_filelen = [](void* user) -> sf_count_t { return static_cast<sf_count_t>(Self(user)->mLength); };
        io.seek = [](sf_count_t offset, int whence, void* user) -> sf_count_t
        {
            auto* self = Self(user);
            const sf_count_t length = static_cast<sf_count_t>(self->mLength);
            sf_count_t base = whence == SEEK_CUR ? self->mPosition : whence == SEEK_END ? length : 0;
            self->mPosition = std::clamp<sf_count_t>(base + offset, 0, length);
            return self->mPosition;
        };
        io.read = [](void* ptr, sf_count_t count, void* user) -> sf_count_t
        {
            auto* self = Self(user);
            const sf_count_t left = static_cast<sf_count_t>(self->mLength) - self->mPosition;
            const sf_count_t n = std::clamp<sf_count_t>(count, 0, left);
            if (n > 0)
                std::memcpy(ptr, self->mBytes + self->mPosition, static_cast<size_t>(n));
            self->mPosition += n;
            return n;
        };
        io.write = [](const void*, sf_count_t, void*) -> sf_count_t { return 0; };
        io.tell = [](void* user) -> sf_count_t { return Self(user)->mPosition; };
        SF_INFO info{};
        mFile = sf_open_virtual(&io, SFM_READ, &info, this);
        if (mFile == nullptr || info.samplerate <= 0)
            return Error_FileForm;
        if (info.channels < 1 || info.channels > 2)
            return Error_Format;
        channels = info.channels;
        rate = static_cast<unsigned>(info.samplerate);
        // libsndfile answers the largest count when it cannot tell (an Ogg file without a last page).
        frames = info.frames >= 0 && info.frames < SF_COUNT_MAX ? info.frames : -1;
        return Error_OK;
    }

    size_t Read(int16_t* out, size_t frames) override
    {
        const sf_count_t n = sf_readf_short(mFile, out, static_cast<sf_count_t>(frames));
        return n > 0 ? static_cast<size_t>(n) : 0;
    }

    bool Rewind() override { return sf_seek(mFile, 0, SEEK_SET) == 0; }

private:
    static SoundFileDecoder* Self(void* user) { return static_cast<SoundFileDecoder*>(user); }

    const uint8_t* mBytes;
    size_t mLength;
    sf_count_t mPosition = 0;
    SNDFILE* mFile = nullptr;
};

// libopenmpt rendering a module in stereo at the output rate; the module keeps its own copy.
class ModuleDecoder final : public Decoder
{
public:
    explicit ModuleDecoder(openmpt_module* module) : mModule(module)
    {
        channels = 2;
        rate = kOutputRate;
    }
    ~ModuleDecoder() override { openmpt_module_destroy(mModule); }

    size_t Read(int16_t* out, size_t frames) override
    {
        return openmpt_module_read_interleaved_stereo(mModule, kOutputRate, frames, out);
    }

    bool Rewind() override { return openmpt_module_set_position_seconds(mModule, 0.0) >= 0.0; }

private:
    openmpt_module* mModule;
};

// A module parsed by libopenmpt, which keeps its own copy of the bytes; null when they are not one.
openmpt_module* OpenModule(const void* bytes, size_t length)
{
    return openmpt_module_create_from_memory2(bytes, length, openmpt_log_func_silent, nullptr,
                                              openmpt_error_func_ignore, nullptr, nullptr, nullptr, nullptr);
}

// A fresh module's length at the output rate; -1 frames when libopenmpt cannot tell.
sClipLength MeasureModule(openmpt_module* module)
{
    sClipLength clip;
    clip.measured = true;
    clip.rate = kOutputRate;
    const double seconds = openmpt_module_get_duration_seconds(module);
    if (std::isfinite(seconds) && seconds >= 0.0 && seconds < 1e9)
        clip.frames = std::llround(seconds * kOutputRate);
    return clip;
}

// An opened decoder's length at the file's own rate.
sClipLength MeasureDecoder(const Decoder& decoder)
{
    sClipLength clip;
    clip.measured = true;
    clip.rate = decoder.rate;
    clip.frames = decoder.frames;
    return clip;
}

ALenum FormatOf(int channels)
{
    return channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16;
}

// One OpenAL source and the state the library keeps for it.
struct Voice
{
    ALuint source = 0;
    unsigned rate = 0;
    bool paused = false;
    bool stopped = true;
    bool started = false;
};

struct Sample
{
    ALuint buffer = 0;
    unsigned rate = 0;
    int maxPlaybacks = 1;
    std::vector<Handle> playbacks;
};

struct Playback
{
    Handle sample = 0;
    Voice voice;
    uint64_t order = 0;
};

struct Stream
{
    std::unique_ptr<Decoder> decoder;
    Voice voice;
    std::array<ALuint, kStreamBuffers> buffers{};
    std::vector<ALuint> idle;
    std::map<ALuint, size_t> queuedFrames;
    long long framesDone = 0;
    long long framesQueued = 0;
    bool eof = false;
    bool decodeFailed = false;
    // On the library's list of playing streams.
    bool listed = false;
    size_t pieceFrames = kShortPieceFrames;
    std::vector<int16_t> scratch;
};

struct Library
{
    std::mutex mutex;
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    bool loopback = false;
    bool outputPaused = false;
    Handle nextHandle = 1;
    uint64_t nextOrder = 1;
    std::map<Handle, Sample> samples;
    // Hashed: every sound of the game is a stream, and the main thread looks its playing ones up every
    // step (in a tree of a thousand, a cache miss at each of its levels).
    std::unordered_map<Handle, Playback> playbacks;
    std::unordered_map<Handle, std::unique_ptr<Stream>> streams;
    // The streams that play, not paused: the only ones with buffers to refill. A game opens hundreds
    // of streams and plays a few.
    std::vector<Stream*> playing;
    std::optional<sDeviceOverride> override;
    int sourceLimit = -1;
    int sourceCount = 0;
    unsigned underruns = 0;

    std::thread feeder;
    std::condition_variable feederWake;
    bool feederQuit = false;

    ~Library()
    {
        // Only the thread: OpenAL may already be gone at exit.
        StopFeeder();
    }

    void StopFeeder()
    {
        {
            std::lock_guard lock(mutex);
            feederQuit = true;
        }
        feederWake.notify_all();
        if (feeder.joinable())
            feeder.join();
        feederQuit = false;
    }
};

Library& Lib()
{
    static Library library;
    return library;
}

ALuint NewSource()
{
    Library& lib = Lib();
    if (lib.sourceLimit >= 0 && lib.sourceCount >= lib.sourceLimit)
        return 0;
    alGetError();
    ALuint source = 0;
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR)
        return 0;
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSourcei(source, AL_SOURCE_SPATIALIZE_SOFT, AL_TRUE);
    alSource3f(source, AL_POSITION, 0.0f, 0.0f, -1.0f);
    alGetError();
    ++lib.sourceCount;
    return source;
}

void DeleteSource(ALuint& source)
{
    if (source != 0)
    {
        alSourceStop(source);
        alSourcei(source, AL_BUFFER, 0);
        alDeleteSources(1, &source);
        source = 0;
        --Lib().sourceCount;
    }
}

Voice* FindVoice(Library& lib, Handle channel, Stream** stream)
{
    *stream = nullptr;
    if (auto it = lib.playbacks.find(channel); it != lib.playbacks.end())
        return &it->second.voice;
    if (auto it = lib.streams.find(channel); it != lib.streams.end())
    {
        *stream = it->second.get();
        return &it->second->voice;
    }
    return nullptr;
}

ALint SourceState(ALuint source)
{
    ALint state = AL_STOPPED;
    if (source != 0)
        alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}

// Decodes the next piece into `buffer` and queues it; false at the end of the data.
bool QueueNext(Stream& stream, ALuint buffer)
{
    const size_t channels = static_cast<size_t>(stream.decoder->channels);
    stream.scratch.resize(stream.pieceFrames * channels);
    size_t frames = stream.decodeFailed ? 0 : stream.decoder->Read(stream.scratch.data(), stream.pieceFrames);
    const long long missing = stream.decoder->frames - stream.framesQueued - static_cast<long long>(frames);
    if (frames < stream.pieceFrames && missing > 0)
    {
        // The data ended before its header said: the rest is silence, so the play lasts its length.
        stream.decodeFailed = true;
        const size_t pad = std::min(stream.pieceFrames - frames, static_cast<size_t>(missing));
        std::fill_n(stream.scratch.begin() + static_cast<ptrdiff_t>(frames * channels), pad * channels, int16_t{0});
        frames += pad;
    }
    if (frames == 0)
        return false;
    stream.framesQueued += static_cast<long long>(frames);
    alBufferData(buffer, FormatOf(stream.decoder->channels), stream.scratch.data(),
                 static_cast<ALsizei>(frames * channels * sizeof(int16_t)), static_cast<ALsizei>(stream.decoder->rate));
    alSourceQueueBuffers(stream.voice.source, 1, &buffer);
    stream.queuedFrames[buffer] = frames;
    if (frames < stream.pieceFrames)
        stream.eof = true;
    return true;
}

// Unqueues the played buffers and refills them, all of them or, with `enough`, until that many frames are
// queued.
void Fill(Stream& stream, long long enough = std::numeric_limits<long long>::max())
{
    const ALuint source = stream.voice.source;
    ALint processed = 0;
    alGetSourcei(source, AL_BUFFERS_PROCESSED, &processed);
    for (; processed > 0; --processed)
    {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(source, 1, &buffer);
        stream.framesDone += static_cast<long long>(stream.queuedFrames[buffer]);
        stream.queuedFrames.erase(buffer);
        stream.idle.push_back(buffer);
    }
    while (!stream.eof && !stream.idle.empty() && stream.framesQueued - stream.framesDone < enough)
    {
        if (!QueueNext(stream, stream.idle.back()))
        {
            stream.eof = true;
            break;
        }
        stream.idle.pop_back();
    }
}

using FeedDelay = std::chrono::microseconds;

// Puts a stream that was started or resumed on the playing list and wakes the feeder for it.
void ListPlaying(Library& lib, Stream& stream)
{
    if (!stream.listed)
        lib.playing.push_back(&stream);
    stream.listed = true;
    lib.feederWake.notify_one();
}

void Unlist(Library& lib, Stream& stream)
{
    if (stream.listed)
        std::erase(lib.playing, &stream);
    stream.listed = false;
}

// How long the queue lasts before the feeder has work: until its first buffer has played (then one is
// free to refill) or, once the data has ended, until the last one has (then the stream leaves the list).
FeedDelay TimeToNextBuffer(const Stream& stream, ALint queued)
{
    ALint offset = 0;
    ALfloat pitch = 1.0f;
    alGetSourcei(stream.voice.source, AL_SAMPLE_OFFSET, &offset);
    alGetSourcef(stream.voice.source, AL_PITCH, &pitch);
    long long frames = -static_cast<long long>(offset);
    for (const auto& [buffer, length] : stream.queuedFrames)
        frames += static_cast<long long>(length);
    // A full queue: all but its first buffer are still to play after that one.
    if (!stream.eof)
        frames -= static_cast<long long>(queued - 1) * static_cast<long long>(stream.pieceFrames);
    const double framesPerSecond = static_cast<double>(stream.decoder->rate) * std::max(pitch, 0.01f);
    const double seconds = static_cast<double>(std::max(frames, 0LL)) / framesPerSecond;
    return std::chrono::duration_cast<FeedDelay>(std::chrono::duration<double>(seconds)) + kFeedMargin;
}

// Refills the stream's played buffers. The delay until it needs that again; none when it no longer
// plays (stopped, paused or played out), so it can leave the playing list.
std::optional<FeedDelay> PumpStream(Stream& stream)
{
    Voice& voice = stream.voice;
    if (voice.source == 0 || voice.stopped || voice.paused)
        return std::nullopt;
    Fill(stream);
    ALint queued = 0;
    alGetSourcei(voice.source, AL_BUFFERS_QUEUED, &queued);
    if (queued == 0)
        return std::nullopt;
    // A source that ran dry before the data ended goes on with what was just queued.
    if (SourceState(voice.source) != AL_PLAYING)
    {
        ++Lib().underruns;
        alSourcePlay(voice.source);
    }
    return TimeToNextBuffer(stream, queued);
}

// Feeds the playing streams; the delay until the first of them needs feeding again, none when nothing
// plays.
std::optional<FeedDelay> PumpLocked(Library& lib)
{
    if (lib.context == nullptr)
        return std::nullopt;
    std::optional<FeedDelay> next;
    std::erase_if(lib.playing,
                  [&next](Stream* stream)
                  {
                      const std::optional<FeedDelay> due = PumpStream(*stream);
                      if (!due)
                      {
                          stream->listed = false;
                          return true;
                      }
                      next = next ? std::min(*next, *due) : *due;
                      return false;
                  });
    return next;
}

void RestartStream(Stream& stream)
{
    Voice& voice = stream.voice;
    alSourceStop(voice.source);
    alSourcei(voice.source, AL_BUFFER, 0);
    stream.queuedFrames.clear();
    stream.idle.assign(stream.buffers.begin(), stream.buffers.end());
    stream.framesDone = 0;
    stream.framesQueued = 0;
    // A decoder that cannot even go back to the start decodes nothing: the play is silence.
    stream.decodeFailed = !stream.decoder->Rewind();
    stream.eof = false;
    // The caller's thread decodes what a short stream queues (about 0.28 s at 44.1 kHz): a long one's
    // first piece, the feeder (woken by the play) the rest.
    Fill(stream, kStreamBuffers * static_cast<long long>(kShortPieceFrames));
}

int Activity(Library& lib, Handle channel)
{
    Stream* stream = nullptr;
    Voice* voice = FindVoice(lib, channel, &stream);
    if (voice == nullptr || voice->source == 0 || voice->stopped || !voice->started)
        return Activity_Stopped;
    if (voice->paused)
        return Activity_Paused;
    // A stream plays on, its source running or run dry, until its data has ended: no need to ask
    // OpenAL (each question takes the context's lock), which the main thread did every step for music.
    if (stream != nullptr && !stream->eof)
        return Activity_Playing;
    if (SourceState(voice->source) == AL_PLAYING)
        return Activity_Playing;
    if (stream == nullptr)
        return Activity_Stopped;
    // A stream whose source ran dry is still playing until its data has ended and been heard.
    ALint queued = 0;
    ALint processed = 0;
    alGetSourcei(voice->source, AL_BUFFERS_QUEUED, &queued);
    alGetSourcei(voice->source, AL_BUFFERS_PROCESSED, &processed);
    return stream->eof && processed >= queued ? Activity_Stopped : Activity_Playing;
}

// Sleeps until a buffer is due or a call changed what plays (each such call notifies under the lock, so
// none is missed between a pump and the wait); with nothing playing, or the output paused, it sleeps
// until then.
void FeederLoop()
{
    Library& lib = Lib();
    std::unique_lock lock(lib.mutex);
    while (!lib.feederQuit)
    {
        const std::optional<FeedDelay> due = PumpLocked(lib);
        if (due && !lib.outputPaused)
            lib.feederWake.wait_for(lock, *due);
        else
            lib.feederWake.wait(lock);
    }
}

bool IsWorking(const sDeviceOverride& devices, int device)
{
    return std::find(devices.working.begin(), devices.working.end(), device) != devices.working.end();
}

const char* RealDeviceDescription(int device)
{
    thread_local std::string description;
    GetMixerConfig().Apply();
    const bool all = alcIsExtensionPresent(nullptr, "ALC_ENUMERATE_ALL_EXT") == ALC_TRUE;
    const ALCchar* list = alcGetString(nullptr, all ? ALC_ALL_DEVICES_SPECIFIER : ALC_DEVICE_SPECIFIER);
    if (list == nullptr)
        return nullptr;
    // A list of texts, each ended by a null, the list by an empty text.
    for (int n = 1; *list != '\0'; ++n)
    {
        if (n == device)
        {
            description = list;
            return description.c_str();
        }
        list += std::strlen(list) + 1;
    }
    return nullptr;
}

void ReleaseAll(Library& lib)
{
    for (auto& [handle, playback] : lib.playbacks)
        DeleteSource(playback.voice.source);
    for (auto& [handle, stream] : lib.streams)
    {
        DeleteSource(stream->voice.source);
        alDeleteBuffers(kStreamBuffers, stream->buffers.data());
    }
    for (auto& [handle, sample] : lib.samples)
        alDeleteBuffers(1, &sample.buffer);
    lib.playing.clear();
    lib.playbacks.clear();
    lib.streams.clear();
    lib.samples.clear();
}

Handle AddStream(Library& lib, std::unique_ptr<Decoder> decoder)
{
    auto stream = std::make_unique<Stream>();
    alGetError();
    alGenBuffers(kStreamBuffers, stream->buffers.data());
    if (alGetError() != AL_NO_ERROR)
    {
        Fail(Error_Mem);
        return 0;
    }
    stream->decoder = std::move(decoder);
    stream->voice.rate = stream->decoder->rate;
    if (stream->decoder->frames >= kLongStreamSeconds * static_cast<long long>(stream->decoder->rate))
        stream->pieceFrames = kLongPieceFrames;
    const Handle handle = lib.nextHandle++;
    lib.streams.emplace(handle, std::move(stream));
    Succeed();
    return handle;
}

// Runs `action` on a channel's voice under the lock; `failed` is what the caller hands back when the
// library is not up or the handle names no channel.
template <typename Result, typename Action>
Result WithVoice(Handle channel, Result failed, Action action)
{
    Library& lib = Lib();
    std::lock_guard lock(lib.mutex);
    if (lib.context == nullptr)
        return Fail(Error_Init), failed;
    Stream* stream = nullptr;
    Voice* voice = FindVoice(lib, channel, &stream);
    if (voice == nullptr)
        return Fail(Error_Handle), failed;
    return action(lib, *voice, stream);
}

// Pausing the real device needs the pause extension; the loopback device only stops being rendered.
bool SetOutputPaused(bool paused)
{
    Library& lib = Lib();
    std::lock_guard lock(lib.mutex);
    if (lib.context == nullptr)
        return Fail(Error_Init);
    if (!lib.loopback)
    {
        if (alcIsExtensionPresent(lib.device, "ALC_SOFT_pause_device") != ALC_TRUE)
            return Fail(Error_NotAvail);
        if (paused)
        {
            alcDevicePauseSOFT(lib.device);
        }
        else
        {
            // Resuming starts a new mixer thread.
            const std::set<long> before = ThreadIds();
            alcDeviceResumeSOFT(lib.device);
            NameNewThreads(before, kLibraryThreadName);
        }
    }
    lib.outputPaused = paused;
    lib.feederWake.notify_one();
    return Succeed();
}

bool FreeStream(Handle handle)
{
    Library& lib = Lib();
    std::lock_guard lock(lib.mutex);
    if (lib.context == nullptr)
        return Fail(Error_Init);
    const auto it = lib.streams.find(handle);
    if (it == lib.streams.end())
        return Fail(Error_Handle);
    Unlist(lib, *it->second);
    DeleteSource(it->second->voice.source);
    alDeleteBuffers(kStreamBuffers, it->second->buffers.data());
    lib.streams.erase(it);
    return Succeed();
}

} // namespace

const char* GetErrorName(int code)
{
    const auto index = static_cast<unsigned>(code);
    return index < std::size(kErrorNames) ? kErrorNames[index] : "unknown error";
}

void SetDeviceOverride(const sDeviceOverride* devices)
{
    Library& lib = Lib();
    std::lock_guard lock(lib.mutex);
    if (devices != nullptr)
        lib.override = *devices;
    else
        lib.override.reset();
}

const char* GetDeviceDescription(int device)
{
    Library& lib = Lib();
    std::lock_guard lock(lib.mutex);
    if (device < 1)
        return nullptr;
    if (lib.override)
    {
        const auto index = static_cast<size_t>(device - 1);
        return index < lib.override->devices.size() ? lib.override->devices[index].c_str() : nullptr;
    }
    return RealDeviceDescription(device);
}

bool Init(int device, int frequency)
{
    Library& lib = Lib();
    std::lock_guard lock(lib.mutex);
    if (lib.device != nullptr)
        return Fail(Error_Already);
    if (frequency < 8000 || frequency > 192000)
        return Fail(Error_IllParam);
    GetMixerConfig().Apply();
    ALCdevice* opened = nullptr;
    bool loopback = false;
    std::set<long> threadsBefore;
    if (lib.override)
    {
        const bool known =
            device == kDefaultDevice || (device >= 1 && static_cast<size_t>(device) <= lib.override->devices.size());
        if (!known)
            return Fail(Error_Device);
        if (!IsWorking(*lib.override, device))
            return Fail(Error_Driver);
        opened = alcLoopbackOpenDeviceSOFT(nullptr);
        loopback = true;
    }
    else
    {
        threadsBefore = ThreadIds();
        const char* name = nullptr;
        if (device != kDefaultDevice)
        {
            name = RealDeviceDescription(device);
            if (name == nullptr)
                return Fail(Error_Device);
        }
        opened = alcOpenDevice(name);
    }
    GetMixerConfig().Restore();
    if (opened == nullptr)
        return Fail(Error_Driver);

    std::vector<ALCint> attributes = {ALC_FREQUENCY, frequency, ALC_HRTF_SOFT, ALC_FALSE};
    // No output limiter: OpenAL Soft's costs about 0.2% of a core even on silence, a fifth of a still
    // screen's whole budget. The game's mix keeps its headroom: its sounds peak at about two thirds of
    // full scale, the groups play at half volume and the music at 0.15, so only three sounds peaking
    // together pass full scale; with the effects slider at its top a voice over an effect clips a few
    // samples in one overlap of twenty-five. OpenAL clamps integer output, the sound server float output.
    attributes.insert(attributes.end(), {ALC_OUTPUT_LIMITER_SOFT, ALC_FALSE});
    // The loopback device renders tests' exact samples.
    if (loopback)
        attributes.insert(attributes.end(),
                          {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT, ALC_FLOAT_SOFT});
    attributes.push_back(0);
    ALCcontext* context = alcCreateContext(opened, attributes.data());
    if (context == nullptr || alcMakeContextCurrent(context) != ALC_TRUE)
    {
        if (context != nullptr)
            alcDestroyContext(context);
        alcCloseDevice(opened);
        return Fail(Error_Driver);
    }
    alDistanceModel(AL_NONE);
    lib.device = opened;
    lib.context = context;
    lib.loopback = loopback;
    lib.outputPaused = false;
    lib.sourceLimit = lib.override ? lib.override->sources : -1;
    lib.underruns = 0;
    if (!loopback)
    {
        NameNewThreads(threadsBefore, kLibraryThreadName);
        lib.feederQuit = false;
        lib.feeder = std::thread(FeederLoop);
        pthread_setname_np(lib.feeder.native_handle(), "audio feeder");
    }
    return Succeed();
}

bool IsInitialized()
{
    Library& lib = Lib();
    std::lock_guard lock(lib.mutex);
    return lib.context != nullptr;
}

bool Start()
{
    return SetOutputPaused(false);
}

bool Pause()
{
    return SetOutputPaused(true);
}

bool Free()
{
    Library& lib = Lib();
    lib.StopFeeder();
    std::lock_guard lock(lib.mutex);
    if (lib.context == nullptr)
        return Fail(Error_Init);
    ReleaseAll(lib);
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(lib.context);
    alcCloseDevice(lib.device);
    lib.context = nullptr;
    lib.device = nullptr;
    lib.loopback = false;
    return Succeed();
}

int ErrorGetCode()
{
    return tLastError;
}

Handle SampleLoad(const void* bytes, size_t length, int maxPlaybacks, sClipLength* clip)
{
    if (bytes == nullptr || length == 0 || maxPlaybacks < 1 || maxPlaybacks > kMaxPlaybacks)
    {
        Fail(bytes == nullptr || length == 0 ? Error_FileForm : Error_IllParam);
        return 0;
    }
    if (!IsInitialized())
    {
        Fail(Error_Init);
        return 0;
    }
    // Decoded outside the lock: a long file on the loader thread never stalls the main thread.
    SoundFileDecoder decoder(bytes, length);
    if (const int error = decoder.Open(); error != Error_OK)
    {
        Fail(error);
        return 0;
    }
    if (clip != nullptr)
        *clip = MeasureDecoder(decoder);
    const size_t channels = static_cast<size_t>(decoder.channels);
    std::vector<int16_t> values;
    std::vector<int16_t> piece(kShortPieceFrames * channels);
    while (const size_t frames = decoder.Read(piece.data(), kShortPieceFrames))
    {
        if (values.size() + frames * channels > kMaxSampleValues)
        {
            Fail(Error_Mem);
            return 0;
        }
        values.insert(values.end(), piece.begin(), piece.begin() + static_cast<ptrdiff_t>(frames * channels));
    }
    if (values.empty())
    {
        Fail(Error_FileForm);
        return 0;
    }

    Library& lib = Lib();
    std::lock_guard lock(lib.mutex);
    if (lib.context == nullptr)
    {
        Fail(Error_Init);
        return 0;
    }
    Sample sample;
    alGetError();
    alGenBuffers(1, &sample.buffer);
    if (alGetError() != AL_NO_ERROR)
    {
        Fail(Error_Mem);
        return 0;
    }
    alBufferData(sample.buffer, FormatOf(decoder.channels), values.data(),
                 static_cast<ALsizei>(values.size() * sizeof(int16_t)), static_cast<ALsizei>(decoder.rate));
    if (alGetError() != AL_NO_ERROR)
    {
        alDeleteBuffers(1, &sample.buffer);
        Fail(Error_Mem);
        return 0;
    }
    sample.rate = decoder.rate;
    sample.maxPlaybacks = maxPlaybacks;
    const Handle handle = lib.nextHandle++;
    lib.samples.emplace(handle, std::move(sample));
    Succeed();
    return handle;
}

Handle SampleGetChannel(Handle handle)
{
    Library& lib = Lib();
    std::lock_guard lock(lib.mutex);
    if (lib.context == nullptr)
        return Fail(Error_Init), 0;
    const auto it = lib.samples.find(handle);
    if (it == lib.samples.end())
        return Fail(Error_Handle), 0;
    Sample& sample = it->second;

    // A playback that has ended is reused first; past the limit the oldest one is taken over. Either
    // way it gets a new handle, so whoever held the old one sees it stopped.
    auto reuse = sample.playbacks.end();
    for (auto p = sample.playbacks.begin(); p != sample.playbacks.end(); ++p)
    {
        if (Activity(lib, *p) == Activity_Stopped)
        {
            reuse = p;
            break;
        }
    }
    if (reuse == sample.playbacks.end() && static_cast<int>(sample.playbacks.size()) >= sample.maxPlaybacks)
    {
        reuse = std::min_element(
            sample.playbacks.begin(), sample.playbacks.end(),
            [&](Handle a, Handle b) { return lib.playbacks[a].order < lib.playbacks[b].order; });
    }

    Playback playback;
    playback.sample = handle;
    if (reuse != sample.playbacks.end())
    {
        auto old = lib.playbacks.find(*reuse);
        playback.voice.source = old->second.voice.source;
        lib.playbacks.erase(old);
        alSourceStop(playback.voice.source);
        alSourceRewind(playback.voice.source);
        sample.playbacks.erase(reuse);
    }
    else
    {
        playback.voice.source = NewSource();
        if (playback.voice.source == 0)
            return Fail(Error_NoChan), 0;
        alSourcei(playback.voice.source, AL_BUFFER, static_cast<ALint>(sample.buffer));
    }
    alSourcef(playback.voice.source, AL_PITCH, 1.0f);
    alSourcef(playback.voice.source, AL_GAIN, 1.0f);
    alSource3f(playback.voice.source, AL_POSITION, 0.0f, 0.0f, -1.0f);
    playback.voice.rate = sample.rate;
    playback.order = lib.nextOrder++;
    const Handle channel = lib.nextHandle++;
    lib.playbacks.emplace(channel, playback);
    sample.playbacks.push_back(channel);
    Succeed();
    return channel;
}

bool SampleFree(Handle handle)
{
    Library& lib = Lib();
    std::lock_guard lock(lib.mutex);
    if (lib.context == nullptr)
        return Fail(Error_Init);
    const auto it = lib.samples.find(handle);
    if (it == lib.samples.end())
        return Fail(Error_Handle);
    for (const Handle channel : it->second.playbacks)
    {
        DeleteSource(lib.playbacks[channel].voice.source);
        lib.playbacks.erase(channel);
    }
    alDeleteBuffers(1, &it->second.buffer);
    lib.samples.erase(it);
    return Succeed();
}

Handle StreamCreate(const void* bytes, size_t length, sClipLength* clip)
{
    if (bytes == nullptr || length == 0)
        return Fail(Error_FileForm), 0;
    auto decoder = std::make_unique<SoundFileDecoder>(bytes, length);
    if (const int error = decoder->Open(); error != Error_OK)
        return Fail(error), 0;
    if (clip != nullptr)
        *clip = MeasureDecoder(*decoder);
    Library& lib = Lib();
    std::lock_guard lock(lib.mutex);
    if (lib.context == nullptr)
        return Fail(Error_Init), 0;
    return AddStream(lib, std::move(decoder));
}

bool StreamFree(Handle stream)
{
    return FreeStream(stream);
}

Handle MusicLoad(const void* bytes, size_t length, sClipLength* clip)
{
    if (bytes == nullptr || length == 0)
        return Fail(Error_FileForm), 0;
    openmpt_module* module = OpenModule(bytes, length);
    if (module == nullptr)
        return Fail(Error_FileForm), 0;
    if (clip != nullptr)
        *clip = MeasureModule(module);
    auto decoder = std::make_unique<ModuleDecoder>(module);
    Library& lib = Lib();
    std::lock_guard lock(lib.mutex);
    if (lib.context == nullptr)
        return Fail(Error_Init), 0;
    return AddStream(lib, std::move(decoder));
}

bool MusicFree(Handle music)
{
    return FreeStream(music);
}

bool ChannelPlay(Handle channel, bool restart)
{
    return WithVoice(
        channel, false,
        [&](Library& lib, Voice& voice, Stream* stream)
        {
            if (voice.source == 0)
            {
                voice.source = NewSource();
                if (voice.source == 0)
                    return Fail(Error_NoChan);
                voice.started = false;
            }
            const int activity = Activity(lib, channel);
            if (!restart && activity == Activity_Playing)
                return Succeed();
            // A channel that played out starts again from the beginning; a paused one resumes.
            if (restart || !voice.started || activity == Activity_Stopped)
            {
                if (stream != nullptr)
                    RestartStream(*stream);
                else
                    alSourceRewind(voice.source);
            }
            voice.started = true;
            voice.paused = false;
            voice.stopped = false;
            alSourcePlay(voice.source);
            if (stream != nullptr)
                ListPlaying(lib, *stream);
            return Succeed();
        });
}

bool ChannelPause(Handle channel)
{
    return WithVoice(
        channel, false,
        [&](Library& lib, Voice& voice, Stream* stream)
        {
            if (Activity(lib, channel) == Activity_Stopped)
                return Fail(Error_NoPlay);
            alSourcePause(voice.source);
            voice.paused = true;
            if (stream != nullptr)
                Unlist(lib, *stream);
            return Succeed();
        });
}

bool ChannelStop(Handle channel)
{
    return WithVoice(
        channel, false,
        [&](Library& lib, Voice& voice, Stream* stream)
        {
            if (stream != nullptr)
            {
                // A stopped stream gives its source back: a game may hold many streams, few of them
                // playing.
                Unlist(lib, *stream);
                DeleteSource(voice.source);
                stream->queuedFrames.clear();
            }
            else
            {
                alSourceStop(voice.source);
            }
            voice.stopped = true;
            voice.paused = false;
            voice.started = false;
            return Succeed();
        });
}

int ChannelIsActive(Handle channel)
{
    Library& lib = Lib();
    std::lock_guard lock(lib.mutex);
    if (lib.context == nullptr)
        return Fail(Error_Init), Activity_Stopped;
    Succeed();
    return Activity(lib, channel);
}

bool ChannelGetOriginalRate(Handle channel, unsigned* frequency)
{
    return WithVoice(
        channel, false,
        [&](Library&, const Voice& voice, Stream*)
        {
            if (frequency != nullptr)
                *frequency = voice.rate;
            return Succeed();
        });
}

bool ChannelSetAttributes(Handle channel, int frequency, int volume, int pan)
{
    return WithVoice(
        channel, false,
        [&](Library& lib, Voice& voice, Stream* stream)
        {
            if (voice.source == 0)
            {
                voice.source = NewSource();
                if (voice.source == 0)
                    return Fail(Error_NoChan);
            }
            // A new pitch changes when the queue runs out.
            if (stream != nullptr && stream->listed)
                lib.feederWake.notify_one();
            const float hz = static_cast<float>(std::clamp(frequency, 100, 200000));
            const float gain = static_cast<float>(std::clamp(volume, 0, 100)) / 100.0f;
            const float angle =
                static_cast<float>(std::clamp(pan, -100, 100)) / 100.0f * std::numbers::pi_v<float> / 2.0f;
            alSourcef(voice.source, AL_PITCH, voice.rate > 0 ? hz / static_cast<float>(voice.rate) : 1.0f);
            alSourcef(voice.source, AL_GAIN, gain);
            alSource3f(voice.source, AL_POSITION, std::sin(angle), 0.0f, -std::cos(angle));
            return Succeed();
        });
}

bool ClipGetLength(const void* bytes, size_t length, bool module, unsigned* rate, long long* frames)
{
    if (bytes == nullptr || length == 0)
        return Fail(Error_FileForm);
    sClipLength clip;
    if (module)
    {
        openmpt_module* music = OpenModule(bytes, length);
        if (music == nullptr)
            return Fail(Error_FileForm);
        clip = MeasureModule(music);
        openmpt_module_destroy(music);
    }
    else
    {
        SoundFileDecoder decoder(bytes, length);
        if (const int error = decoder.Open(); error != Error_OK)
            return Fail(error);
        clip = MeasureDecoder(decoder);
    }
    if (rate != nullptr)
        *rate = clip.rate;
    if (frames != nullptr)
        *frames = clip.frames;
    return Succeed();
}

bool ChannelDecodeFailed(Handle channel)
{
    return WithVoice(
        channel, false,
        [&](Library&, const Voice&, const Stream* stream)
        {
            Succeed();
            return stream != nullptr && stream->decodeFailed;
        });
}

long long ChannelGetPosition(Handle channel)
{
    return WithVoice(
        channel, -1LL,
        [&](Library&, const Voice& voice, Stream* stream)
        {
            ALint offset = 0;
            if (voice.source != 0)
                alGetSourcei(voice.source, AL_SAMPLE_OFFSET, &offset);
            Succeed();
            return (stream != nullptr ? stream->framesDone : 0) + offset;
        });
}

void Pump()
{
    Library& lib = Lib();
    std::lock_guard lock(lib.mutex);
    PumpLocked(lib);
    Succeed();
}

unsigned GetStreamUnderruns()
{
    Library& lib = Lib();
    std::lock_guard lock(lib.mutex);
    Succeed();
    return lib.underruns;
}

bool RenderLoopback(float* out, size_t frames)
{
    Library& lib = Lib();
    std::lock_guard lock(lib.mutex);
    if (lib.context == nullptr || !lib.loopback || out == nullptr)
        return Fail(Error_Init);
    if (lib.outputPaused)
    {
        std::fill(out, out + 2 * frames, 0.0f);
        return Succeed();
    }
    for (size_t done = 0; done < frames;)
    {
        PumpLocked(lib);
        const size_t slice = std::min(kRenderSliceFrames, frames - done);
        alcRenderSamplesSOFT(lib.device, out + 2 * done, static_cast<ALCsizei>(slice));
        done += slice;
    }
    PumpLocked(lib);
    return Succeed();
}

} // namespace Strata::AudioLibrary
