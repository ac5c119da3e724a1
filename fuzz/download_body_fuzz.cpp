// Feeds arbitrary bytes to the download manager as the body of an HTTP answer for a listed text file
// (tuning.txt) or a listed binary file (title.png), with or without an announced length that may be
// wrong. The body goes through the real path: part file, size and checksum checks, rename over the cached
// copy. Whatever the body, the cache holds either the old copy or exactly the body; the body is taken
// exactly when it has the listed size and checksum, which is all the listing promises (a binary file's
// Adler-32 is met by other bytes of the same size too); no part file is left behind.
//
// The first byte chooses: bit 0 the text file, bit 1 an announced length, bit 2 a wrong one (off by the
// second byte, taken as signed). The rest is the body.

#include "FuzzSupport.h"

#include "core/Checksum.h"
#include "core/ErrorStatus.h"
#include "core/FileSystem.h"
#include "core/Stream.h"
#include "framework/DownloadManager.h"
#include "framework/FileTransfer.h"
#include "framework/NetworkPlatform.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <thread>

using namespace Strata;
using Strata::Fuzzing::Check;

namespace
{

const std::string kListedText = "speed 3\nlives 5\n";
const std::string kListedBinary("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
const std::string kOldCopy = "old copy";

// The answer the next request gets.
std::string gBody;
long long gAnnounced = -1; // none when negative

// A body as an HTTP stream gives it: no more than the announced length, and cut short (with the error the
// platform reports) when the announced length is longer than the body.
class BodyStream final : public IStream, public IErrorStatus
{
public:
    BodyStream(std::string body, long long announced) : mBody(std::move(body)), mAnnounced(announced)
    {
        mLimit = mAnnounced >= 0 ? std::min<size_t>(mBody.size(), static_cast<size_t>(mAnnounced)) : mBody.size();
    }
    std::wstring GetName() override { return L"http://fuzz/body"; }
    unsigned long GetCapabilities() override { return StreamCaps_Read; }
    uint32_t GetLength() override
    {
        return mAnnounced >= 0 && mAnnounced <= 0xFFFFFFFFll ? static_cast<uint32_t>(mAnnounced) : 0;
    }
    bool IsEOF() override { return mPosition >= mLimit; }
    size_t Read(void* buffer, size_t count) override
    {
        const size_t n = std::min(count, mLimit - mPosition);
        std::memcpy(buffer, mBody.data() + mPosition, n);
        mPosition += n;
        if (mPosition >= mLimit && mAnnounced > static_cast<long long>(mBody.size()))
            SetLastError(HTTPError_Truncated);
        return n;
    }
    size_t ReadOptimized(void*&, size_t) override { return 0; }
    size_t Write(const void*, size_t) override { return 0; }
    void Seek(SeekOrigin, long long) override {}
    uint32_t Tell() override { return static_cast<uint32_t>(mPosition); }

private:
    std::string mBody;
    long long mAnnounced;
    size_t mLimit = 0;
    size_t mPosition = 0;
};

class BodyNetwork final : public INetworkPlatform
{
public:
    using INetworkPlatform::OpenHTTPStream;
    IStream* OpenHTTPStream(const wchar_t*) override
    {
        ++requests;
        return new BodyStream(gBody, gAnnounced);
    }
    std::atomic<int> requests{0};
};

uint32_t ListedChecksum(const std::string& bytes, bool text)
{
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto length = static_cast<unsigned long>(bytes.size());
    return static_cast<uint32_t>(text ? AppendToChecksum_IgnoreWhitespace(0, data, length)
                                      : ComputeChecksum(data, length));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static BodyNetwork network;
    static Fuzzing::WritableMemoryPartition* const disk = []
    {
        auto* made = new Fuzzing::WritableMemoryPartition();
        (new FileSystem())->AddFileSystemPartition(FileSystemPartition_User, made);
        RegisterSingleton(&network);
        return made;
    }();
    static DownloadManager* const manager = []
    {
        auto* made = static_cast<DownloadManager*>(GetDownloadManager());
        made->SetBaseURL(L"http://fuzz/");
        made->SetRetryPolicy({1, 0});
        return made;
    }();

    if (size < 2)
        return 0;
    const bool text = (data[0] & 1) != 0;
    const bool announce = (data[0] & 2) != 0;
    const bool wrong = (data[0] & 4) != 0;
    gBody.assign(reinterpret_cast<const char*>(data + 2), size - 2);
    gAnnounced = -1;
    if (announce)
        gAnnounced =
            std::max<long long>(0, static_cast<long long>(gBody.size()) + (wrong ? static_cast<int8_t>(data[1]) : 0));

    const std::string& listed = text ? kListedText : kListedBinary;
    const wchar_t* name = text ? L"tuning" : L"title";
    const wchar_t* extension = text ? L".txt" : L".png";
    const std::wstring file = std::wstring(name) + extension;
    disk->files[file] = kOldCopy;
    const int before = network.requests.load();

    const boost::intrusive_ptr<IFileTransfer> transfer =
        manager->Download(L"Values/" + file, FileAddress(FileSystemPartition_User, L"Cache", name, extension), 1,
                          static_cast<int>(listed.size()), ListedChecksum(listed, text));
    while (transfer->GetDataTransferPctComplete() < 1.0f && !transfer->HasErrorOccurred())
        std::this_thread::yield();

    Check(network.requests.load() == before + 1);
    Check(disk->files.count(file + L".part") == 0);
    const std::string& cached = disk->files[file];
    // What the body must be to be taken: the listed size, and the listed checksum (text without its
    // white space), after the cut an announced length makes.
    const std::string delivered = gAnnounced >= 0 ? gBody.substr(0, static_cast<size_t>(gAnnounced)) : gBody;
    const bool cut = gAnnounced > static_cast<long long>(gBody.size());
    const bool isListed =
        !cut && delivered.size() == listed.size() && ListedChecksum(delivered, text) == ListedChecksum(listed, text);
    if (transfer->HasErrorOccurred())
    {
        Check(!isListed);
        Check(cached == kOldCopy);
        const int error = transfer->GetLastError();
        Check(error == DownloadError_SizeMismatch || error == DownloadError_ChecksumMismatch ||
              error == HTTPError_Truncated);
    }
    else
    {
        Check(isListed);
        Check(cached == delivered);
        Check(transfer->GetDataTransferNumBytesCopied() == listed.size());
    }
    return 0;
}
