#pragma once

#include "audio/AudioLibrary.h"
#include "support/CapturedLog.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

namespace Strata::Testing
{

// A sound file made through libsndfile: `frames` frames of a sine of `hz` in every channel. Written to
// an unnamed temporary file, which gives the encoders the seekable output some of them need.
inline std::vector<uint8_t> MakeSoundFile(int format, int rate, int channels, size_t frames, float hz,
                                          float amplitude = 0.5f)
{
    const std::unique_ptr<FILE, int (*)(FILE*)> temp(std::tmpfile(), &std::fclose);
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = temp ? sf_open_fd(fileno(temp.get()), SFM_WRITE, &info, SF_FALSE) : nullptr;
    EXPECT_NE(file, nullptr) << sf_strerror(nullptr);
    if (file == nullptr)
        return {};
    std::vector<float> values(frames * static_cast<size_t>(channels));
    for (size_t i = 0; i < values.size(); ++i)
        values[i] =
            amplitude * std::sin(2.0f * std::numbers::pi_v<float> * hz *
                                 static_cast<float>(i / static_cast<size_t>(channels)) / static_cast<float>(rate));
    sf_writef_float(file, values.data(), static_cast<sf_count_t>(frames));
    sf_close(file);
    std::fseek(temp.get(), 0, SEEK_END); // the encoder may have gone back to finish its header
    std::vector<uint8_t> bytes(static_cast<size_t>(std::ftell(temp.get())));
    std::rewind(temp.get());
    EXPECT_EQ(std::fread(bytes.data(), 1, bytes.size(), temp.get()), bytes.size());
    return bytes;
}

inline std::vector<uint8_t> MakeWav(size_t frames, float hz = 1000.0f, int channels = 1, int rate = 44100)
{
    return MakeSoundFile(SF_FORMAT_WAV | SF_FORMAT_PCM_16, rate, channels, frames, hz);
}

inline std::vector<uint8_t> MakeOgg(size_t frames, float hz = 1000.0f, int channels = 1, int rate = 44100)
{
    return MakeSoundFile(SF_FORMAT_OGG | SF_FORMAT_VORBIS, rate, channels, frames, hz);
}

// The offsets of the Ogg pages of a file made by libsndfile (its bytes hold no other "OggS").
inline std::vector<size_t> OggPages(const std::vector<uint8_t>& bytes)
{
    std::vector<size_t> pages;
    for (size_t i = 0; i + 4 <= bytes.size(); ++i)
        if (std::memcmp(&bytes[i], "OggS", 4) == 0)
            pages.push_back(i);
    return pages;
}

// An Ogg file whose last page fails its checksum, so its decoder cannot tell its length.
inline std::vector<uint8_t> MakeOggWithoutLength(size_t frames)
{
    std::vector<uint8_t> bytes = MakeOgg(frames);
    const size_t last = OggPages(bytes).back();
    for (size_t i = last + 30; i < bytes.size(); ++i)
        bytes[i] ^= 0x5a;
    return bytes;
}

// A four-channel ProTracker module: one square-wave sample played on the first row, and a pattern break
// on that row, so the song ends after one row (0.12 s at the default speed and tempo).
inline std::vector<uint8_t> MakeModule()
{
    constexpr size_t kSampleWords = 1000;
    std::vector<uint8_t> bytes(1084 + 1024 + kSampleWords * 2, 0);
    uint8_t* sample = bytes.data() + 20; // the first of 31 sample headers, after the title
    sample[22] = kSampleWords >> 8;
    sample[23] = kSampleWords & 0xff;
    sample[25] = 64; // volume
    sample[29] = 1;  // loop length 1 word: no loop
    bytes[950] = 1;  // song length
    bytes[951] = 127;
    std::memcpy(bytes.data() + 1080, "M.K.", 4);
    uint8_t* row = bytes.data() + 1084;
    row[0] = 428 >> 8; // sample 1 at period 428
    row[1] = 428 & 0xff;
    row[2] = 0x10;
    row[6] = 0x0d; // channel 2: pattern break
    for (size_t i = 0; i < kSampleWords * 2; ++i)
        bytes[1084 + 1024 + i] = (i / 16) % 2 ? 0x60 : 0xa0;
    return bytes;
}

// Opens the loopback device in place of the default one for the test's length.
class LoopbackDevice
{
public:
    LoopbackDevice()
    {
        AudioLibrary::sDeviceOverride devices;
        AudioLibrary::SetDeviceOverride(&devices);
    }
    ~LoopbackDevice()
    {
        if (AudioLibrary::IsInitialized())
            AudioLibrary::Free();
        AudioLibrary::SetDeviceOverride(nullptr);
    }
};

// Interleaved stereo output of the loopback device.
inline std::vector<float> Render(size_t frames)
{
    std::vector<float> out(frames * 2);
    EXPECT_TRUE(AudioLibrary::RenderLoopback(out.data(), frames));
    return out;
}

// Root mean square of one side (0 left, 1 right).
inline double Rms(const std::vector<float>& stereo, int side)
{
    double sum = 0.0;
    for (size_t i = static_cast<size_t>(side); i < stereo.size(); i += 2)
        sum += static_cast<double>(stereo[i]) * stereo[i];
    return std::sqrt(sum / static_cast<double>(stereo.size() / 2));
}

// Rising zero crossings of the left side: the sine's frequency times the seconds rendered.
inline int RisingCrossings(const std::vector<float>& stereo)
{
    int count = 0;
    for (size_t i = 2; i < stereo.size(); i += 2)
        if (stereo[i - 2] < 0.0f && stereo[i] >= 0.0f)
            ++count;
    return count;
}

} // namespace Strata::Testing
