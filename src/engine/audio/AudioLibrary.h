#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The audio library calls the engine makes, as thin functions over OpenAL Soft (mixing, resampling,
// gain, pitch, panning, device pause), libsndfile (WAV, Ogg Vorbis, FLAC, MP3) and libopenmpt (music
// modules). Every function is safe from any thread; each sets the calling thread's last error code
// (ErrorGetCode), 0 on success. Handles are never reused, so a call on an old handle, or on any handle
// after Free, fails with Error_Handle or Error_Init and changes nothing.
namespace Strata::AudioLibrary
{

using Handle = uint32_t;

// Error codes: positions in the list of names of GetErrorName.
enum eError : int
{
    Error_OK = 0,
    Error_Mem = 1,
    Error_Driver = 3,
    Error_Handle = 5,
    Error_Format = 6,
    Error_Init = 8,
    Error_Start = 9,
    Error_Already = 10,
    Error_NoChan = 12,
    Error_IllParam = 14,
    Error_NoPlay = 18,
    Error_Device = 17,
    Error_NotAvail = 27,
    Error_FileForm = 31,
    Error_Unknown = -1
};

// The name logged for a code: the code's position in the library's list of 35 names, "unknown error"
// for any other code.
const char* GetErrorName(int code);

// channel activity, as ChannelIsActive answers it
enum eActivity : int
{
    Activity_Stopped = 0,
    Activity_Playing = 1,
    Activity_Paused = 3
};

constexpr int kDefaultDevice = -1;
constexpr int kOutputRate = 44100;

// Opens device `device` (kDefaultDevice, or 1, 2, ... in the order of GetDeviceDescription) with one
// output context. False (Error_Driver, Error_Device or Error_Already) when it cannot be opened or a
// device is already open.
bool Init(int device, int frequency);
// The description of device n (1, 2, ...), null past the last (and for n < 1). The pointer stays
// valid until the next call of this function.
const char* GetDeviceDescription(int device);
bool IsInitialized();
// Start resumes the output, Pause pauses it (positions freeze). Error_Init without a device.
bool Start();
bool Pause();
// Closes the device; every handle becomes invalid.
bool Free();
// The calling thread's last error.
int ErrorGetCode();

// What a decoder learned of a clip when it opened its bytes: the rate and frames ClipGetLength gives.
// `measured` is false when no decoder opened them.
struct sClipLength
{
    bool measured = false;
    unsigned rate = 0;
    long long frames = -1;
};

// SampleLoad, StreamCreate and MusicLoad fill a given `clip` as soon as their decoder has opened the bytes
// (even when no handle is made after that), so that a clip opened to be played need not be opened again
// to be measured. When the decoder cannot open them the error is the one ClipGetLength gives.

// Decodes the bytes (copied) once into a buffer. A sample plays at most `maxPlaybacks` times at once
// (1 .. 32); a playback beyond that takes over the one started longest ago. 0 on failure.
Handle SampleLoad(const void* bytes, size_t length, int maxPlaybacks, sClipLength* clip = nullptr);
// A new playback of the sample (stopped, at the start); 0 when none can be had.
Handle SampleGetChannel(Handle sample);
// Stops and frees the sample's playbacks too.
bool SampleFree(Handle sample);
// A stream decoded on demand from the bytes, which the caller keeps alive until StreamFree. The
// stream is its own channel: every play of it shares the one position. 0 on failure.
Handle StreamCreate(const void* bytes, size_t length, sClipLength* clip = nullptr);
bool StreamFree(Handle stream);
// A music module rendered on demand from the bytes (copied); its own channel like a stream.
Handle MusicLoad(const void* bytes, size_t length, sClipLength* clip = nullptr);
bool MusicFree(Handle music);

// Starts the channel, from the beginning when `restart` or when it never played, else resumes it.
bool ChannelPlay(Handle channel, bool restart);
bool ChannelPause(Handle channel);
bool ChannelStop(Handle channel);
// Activity_Stopped once the channel played out or was stopped (and for invalid handles).
int ChannelIsActive(Handle channel);
// The channel's original sample rate in Hz, whatever rate it plays at now.
bool ChannelGetOriginalRate(Handle channel, unsigned* frequency);
// Frequency in Hz (clamped to 100 .. 200,000), volume 0 .. 100, pan -100 (left) .. 100 (right),
// each clamped; applied at once.
bool ChannelSetAttributes(Handle channel, int frequency, int volume, int pan);
// The channel's position in frames of its source; -1 for an invalid handle.
long long ChannelGetPosition(Handle channel);

// The length of a clip of these bytes as its decoder gives it, without a device: libsndfile's frame
// count at the file's own rate, or a module's (`module`) duration at the output rate. `frames` is -1
// when the decoder cannot tell. False (Error_FileForm or Error_Format) when the bytes cannot be decoded.
bool ClipGetLength(const void* bytes, size_t length, bool module, unsigned* rate, long long* frames);
// True when the channel's stream ran out of decodable data before the length its header gave; that
// play goes on as silence for the missing length. False for any other channel.
bool ChannelDecodeFailed(Handle channel);

// How often, since Init, a playing stream's source ran dry before its data had ended (an underrun: a gap
// in what is heard); the feeder then starts it again with what it just queued.
unsigned GetStreamUnderruns();

// Refills the queues of the streams and music that play. A real device's feeder thread does this when a
// buffer is due, and RenderLoopback between slices; nobody else needs to call it.
void Pump();

// Which devices exist and which open, for tests: device n is `devices[n - 1]`; a device listed in
// `working` (kDefaultDevice for the default) opens OpenAL Soft's loopback device in its place, whose
// output RenderLoopback renders; there at most `sources` sources exist at once (-1: as many as OpenAL
// gives). Applies to later Init calls; null goes back to the real devices.
struct sDeviceOverride
{
    std::vector<std::string> devices;
    std::vector<int> working = {kDefaultDevice};
    int sources = -1;
};
void SetDeviceOverride(const sDeviceOverride* devices);
// Renders `frames` stereo float frames of the loopback device into `out` (2 * frames floats), filling
// streams as it goes; silence while the output is paused. False without a loopback device.
bool RenderLoopback(float* out, size_t frames);

} // namespace Strata::AudioLibrary
