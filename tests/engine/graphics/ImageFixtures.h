#pragma once

// The committed test images (tests/engine/graphics/fixtures, made by tools/make_image_fixtures) and
// small streams for feeding them to the decoders.

#include "core/Stream.h"
#include "support/CapturedLog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace ImageFixtures
{

// The fixtures folder: found above the test program (build folders live inside the source tree), or
// through the source folder recorded in a CMakeCache.txt above it.
inline std::filesystem::path Folder()
{
    static const std::filesystem::path folder = []
    {
        const std::filesystem::path relative = "tests/engine/graphics/fixtures";
        std::error_code error;
        std::filesystem::path here = std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
        if (error)
            here = std::filesystem::current_path();
        for (std::filesystem::path dir = here; !dir.empty(); dir = dir.parent_path())
        {
            if (std::filesystem::is_directory(dir / relative))
                return dir / relative;
            std::ifstream cache(dir / "CMakeCache.txt");
            for (std::string line; std::getline(cache, line);)
            {
                const std::string key = "CMAKE_HOME_DIRECTORY:INTERNAL=";
                if (line.rfind(key, 0) == 0 && std::filesystem::is_directory(line.substr(key.size()) / relative))
                    return line.substr(key.size()) / relative;
            }
            if (dir == dir.parent_path())
                break;
        }
        return std::filesystem::path();
    }();
    return folder;
}

// The bytes of one fixture; a test failure (and empty bytes) when it is missing.
inline std::string Read(const std::string& name)
{
    std::ifstream file(Folder() / name, std::ios::binary);
    if (!file)
    {
        ADD_FAILURE() << "missing fixture " << name << " (folder '" << Folder().string() << "')";
        return {};
    }
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// A read-only stream over bytes it owns, whose reads return at most `chunk` bytes; with `stallAt` set,
// reads return nothing once that many bytes are read (a stream that stops making progress).
class ChunkedStream : public Strata::IStream
{
public:
    explicit ChunkedStream(std::string bytes, size_t chunk = 1u << 20, size_t stallAt = std::string::npos)
        : mBytes(std::move(bytes)), mChunk(chunk), mStallAt(stallAt)
    {
    }

    std::wstring GetName() override { return L"chunked"; }
    unsigned long GetCapabilities() override { return Strata::StreamCaps_Read; }
    uint32_t GetLength() override { return static_cast<uint32_t>(mBytes.size()); }
    bool IsEOF() override { return mPosition >= mBytes.size(); }
    size_t Read(void* buffer, size_t count) override
    {
        const size_t limit = std::min(mBytes.size(), mStallAt);
        const size_t n = std::min({count, mChunk, limit - std::min(limit, mPosition)});
        std::memcpy(buffer, mBytes.data() + mPosition, n);
        mPosition += n;
        ++mReads;
        return n;
    }
    size_t ReadOptimized(void*&, size_t) override { return 0; }
    size_t Write(const void*, size_t) override { return 0; }
    void Seek(Strata::SeekOrigin, long long) override {}
    uint32_t Tell() override { return static_cast<uint32_t>(mPosition); }

    int GetReadCount() const { return mReads; }

private:
    std::string mBytes;
    size_t mChunk;
    size_t mStallAt;
    size_t mPosition = 0;
    int mReads = 0;
};

using Strata::Testing::LogLines;

} // namespace ImageFixtures
