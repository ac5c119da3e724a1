#pragma once

// A small valid sound file for the targets whose input names sounds rather than holding them.

#include <cstdint>
#include <string>

namespace Strata::Fuzzing
{

// 8 kHz mono 16-bit, 64 frames of a square wave.
inline std::string Beep()
{
    const uint32_t frames = 64;
    const uint32_t data = frames * 2;
    std::string wav = "RIFF";
    const auto put32 = [&wav](uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            wav.push_back(static_cast<char>(v >> (8 * i)));
    };
    const auto put16 = [&wav](uint16_t v)
    {
        wav.push_back(static_cast<char>(v));
        wav.push_back(static_cast<char>(v >> 8));
    };
    put32(36 + data);
    wav += "WAVEfmt ";
    put32(16);
    put16(1);
    put16(1);
    put32(8000);
    put32(16000);
    put16(2);
    put16(16);
    wav += "data";
    put32(data);
    for (uint32_t i = 0; i < frames; ++i)
        put16((i / 8) % 2 != 0 ? 8000 : static_cast<uint16_t>(-8000));
    return wav;
}

} // namespace Strata::Fuzzing
