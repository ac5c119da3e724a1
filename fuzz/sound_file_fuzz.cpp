// Feeds arbitrary bytes to the audio library as the contents of a sound file (WAV, Ogg and whatever else
// libsndfile opens) or, when the first byte is odd, of a music module (libopenmpt), with OpenAL Soft's
// loopback device standing in for a sound card. The bytes are measured, loaded as a sample, opened as a
// stream or a module, played and rendered for a while. Every way of opening agrees on whether the bytes
// can be decoded and on their rate and length; a channel plays at the rate its file gives, a stream never
// past the length its decoder reported (unless the file's data ran out), and renders finite samples.

#include "FuzzSupport.h"

#include "audio/AudioLibrary.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace Lib = Strata::AudioLibrary;
using Strata::Fuzzing::Check;

namespace
{

constexpr size_t kSliceFrames = 1024;
constexpr int kSlices = 4;

// Plays the channel from its start, renders a few slices and checks what came out. `bounded`: a sound file's
// stream, which never plays past the length its decoder gave (a module's length is only libopenmpt's
// estimate, which may leave out the rows it plays before it stops).
void PlayAndRender(Lib::Handle channel, unsigned rate, long long frames, bool bounded)
{
    unsigned original = 0;
    Check(Lib::ChannelGetOriginalRate(channel, &original));
    Check(original == rate);
    Check(Lib::ChannelSetAttributes(channel, 44100, 100, 0));
    Check(Lib::ChannelPlay(channel, true));
    std::vector<float> out(2 * kSliceFrames);
    for (int slice = 0; slice < kSlices; ++slice)
    {
        Check(Lib::RenderLoopback(out.data(), kSliceFrames));
        for (const float value : out)
            Check(std::isfinite(value));
        const long long position = Lib::ChannelGetPosition(channel);
        Check(position >= 0);
        if (bounded && frames >= 0 && !Lib::ChannelDecodeFailed(channel))
            Check(position <= frames);
    }
    Check(Lib::ChannelStop(channel));
    Check(Lib::ChannelIsActive(channel) == Lib::Activity_Stopped);
}

// A stream or a module, its own channel: opened exactly when the bytes could be measured, with the same
// rate and length, played, and freed once.
void PlayOwnChannel(Lib::Handle (*open)(const void*, size_t, Lib::sClipLength*), bool (*free)(Lib::Handle),
                    const uint8_t* bytes, size_t length, bool measured, unsigned rate, long long frames, bool bounded)
{
    Lib::sClipLength clip;
    const Lib::Handle channel = open(bytes, length, &clip);
    Check((channel != 0) == measured && clip.measured == measured);
    if (channel == 0)
        return;
    Check(clip.rate == rate && clip.frames == frames);
    PlayAndRender(channel, rate, frames, bounded);
    Check(free(channel));
    Check(!free(channel));
}

} // namespace

// libsndfile loses libvorbis's header tables when an Ogg file ends inside its headers, whoever opens it;
// the leak checker must not stop at that.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:vorbis_info_init\n";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = []
    {
        // No sound card: OpenAL Soft's loopback device renders into memory.
        setenv("ALSOFT_DRIVERS", "null", 0);
        static const Lib::sDeviceOverride loopback;
        Lib::SetDeviceOverride(&loopback);
        return Lib::Init(Lib::kDefaultDevice, Lib::kOutputRate);
    }();
    Check(ready);
    if (size < 2)
        return 0;
    const bool module = (data[0] & 1) != 0;
    const uint8_t* bytes = data + 1;
    const size_t length = size - 1;

    unsigned rate = 0;
    long long frames = -2;
    const bool measured = Lib::ClipGetLength(bytes, length, module, &rate, &frames);
    if (measured)
        Check(rate > 0 && frames >= -1);
    else
        Check(Lib::ErrorGetCode() != Lib::Error_OK);

    if (module)
    {
        PlayOwnChannel(Lib::MusicLoad, Lib::MusicFree, bytes, length, measured, rate, frames, false);
        return 0;
    }

    Lib::sClipLength sampleClip;
    const Lib::Handle sample = Lib::SampleLoad(bytes, length, 2, &sampleClip);
    Check(sampleClip.measured == measured);
    if (measured)
        Check(sampleClip.rate == rate && sampleClip.frames == frames);
    if (sample != 0)
    {
        const Lib::Handle channel = Lib::SampleGetChannel(sample);
        Check(channel != 0);
        PlayAndRender(channel, rate, frames, false);
        Check(Lib::SampleFree(sample));
        Check(Lib::ChannelGetPosition(channel) == -1);
    }
    else
    {
        // Once its bytes were opened, a sample fails only when they hold no sound or too much of it.
        Check(!measured || Lib::ErrorGetCode() == Lib::Error_FileForm || Lib::ErrorGetCode() == Lib::Error_Mem);
    }

    PlayOwnChannel(Lib::StreamCreate, Lib::StreamFree, bytes, length, measured, rate, frames, true);
    return 0;
}
