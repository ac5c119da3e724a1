#include "graphics/ImageManager.h"

#include "core/FileAddress.h"
#include "core/FileSystem.h"
#include "core/Log.h"
#include "core/MemoryStream.h"
#include "core/Stream.h"
#include "core/StreamCopy.h"
#include "core/WideString.h"
#include "framework/FileSource.h"
#include "framework/ResourceManager.h"
#include "graphics/GifDecoder.h"
#include "graphics/Image.h"
#include "graphics/ImageFiles.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace Strata
{

namespace
{

const wchar_t* const kImageSearchOrder[] = {L".gif", L".jpg", L".png"};
const wchar_t* const kMaskSearchOrder[] = {L".gif", L".png", L".jpg"};

// Closes a stream the file source opened, through the file system that made it.
class StreamHolder
{
public:
    explicit StreamHolder(IStream* stream) : mStream(stream) {}
    ~StreamHolder()
    {
        if (mStream == nullptr)
            return;
        if (FileSystem* fileSystem = GetFileSystem())
            fileSystem->CloseStream(mStream);
        else
            delete mStream;
    }
    StreamHolder(const StreamHolder&) = delete;
    StreamHolder& operator=(const StreamHolder&) = delete;

    IStream* Get() const { return mStream; }

private:
    IStream* mStream;
};

IStream* OpenFirst(const wchar_t* name, const wchar_t* suffix, const wchar_t* const (&extensions)[3],
                   FileAddress* found)
{
    IFileSource* source = GetFileSource();
    if (name == nullptr || source == nullptr)
        return nullptr;
    const std::wstring base = std::wstring(name) + suffix;
    for (const wchar_t* extension : extensions)
    {
        try
        {
            const FileAddress address(base.c_str(), extension);
            if (IStream* stream = source->OpenFileStream(address))
            {
                if (found != nullptr)
                    *found = address;
                return stream;
            }
        }
        catch (const std::exception&)
        {
            // A name too long for an address, or a file source that failed: this form is not there.
        }
    }
    return nullptr;
}

bool HasExtension(const FileAddress& address, const wchar_t* extension)
{
    return address.GetExtension() != nullptr && wcsicmp(address.GetExtension(), extension) == 0;
}

struct Decoded
{
    std::vector<Color32> pixels;
    int width = 0;
    int height = 0;
    bool hasAlpha = false;
    bool hasColorKey = false;
};

// Empty pixels on failure, with the reason.
Decoded DecodeImageFile(IStream* stream, const FileAddress& address, const char** reason)
{
    Decoded result;
    if (HasExtension(address, L".jpg"))
    {
        result.pixels = JPGLoadImage(stream, &result.width, &result.height, reason);
    }
    else if (HasExtension(address, L".gif"))
    {
        C_ImageSet set;
        bool hasTransparency = false;
        int imageCount = 0;
        result.pixels = set.LoadOpenFileGIF(stream, result.width, result.height, hasTransparency, imageCount, reason);
        result.hasAlpha = hasTransparency;
        result.hasColorKey = hasTransparency;
    }
    else if (HasExtension(address, L".png"))
    {
        result.pixels = PNGLoadImage(stream, &result.width, &result.height, nullptr, reason);
        result.hasAlpha = true;
    }
    else
    {
        *reason = "the file type is unknown";
    }
    return result;
}

std::wstring FileName(const FileAddress& address)
{
    std::wstring text = address.GetName() != nullptr ? address.GetName() : L"";
    if (address.GetExtension() != nullptr)
        text += address.GetExtension();
    return text;
}

// A file's bytes read into memory as its stream gave them, read back as the stream would give them: its
// length is the one the file reported, even when fewer bytes could be read, so a decoder meets a short
// file just as it would have met it on the file's own stream.
class FileCopyStream final : public ReadOnlyMemoryStream
{
public:
    FileCopyStream(const std::wstring& name, const std::vector<uint8_t>& bytes, uint32_t length)
        : ReadOnlyMemoryStream(name, bytes.data(), bytes.size()), mLength(length)
    {
    }

    uint32_t GetLength() override { return mLength; }

private:
    uint32_t mLength;
};

// The stream's bytes up to its length or its end, whichever comes first; `length` is the length it gave.
std::vector<uint8_t> ReadAll(IStream& stream, uint32_t& length)
{
    length = stream.GetLength();
    std::vector<uint8_t> bytes(length);
    bytes.resize(StreamReadFully(stream, bytes.data(), bytes.size()));
    return bytes;
}

} // namespace

IStream* ImageManager::OpenImageFile(const wchar_t* name, FileAddress* found)
{
    IStream* stream = OpenFirst(name, L"", kImageSearchOrder, found);
    if (stream == nullptr && name != nullptr)
        Internal::LogWrite("Image %ls was not found.\n", name);
    return stream;
}

IStream* ImageManager::OpenImageMaskFile(const wchar_t* name, FileAddress* found)
{
    return OpenFirst(name, L"_mask", kMaskSearchOrder, found);
}

Image* ImageManager::LoadImage(const wchar_t* name, Image* out)
{
    if (name == nullptr || out == nullptr)
        return nullptr;
    PendingImage image(name);
    image.Read();
    image.Decode();
    return image.Finish(out);
}

std::unique_ptr<Image> ImageManager::LoadImage(const wchar_t* name)
{
    try
    {
        auto image = std::make_unique<Image>();
        if (LoadImage(name, image.get()) == nullptr)
            return nullptr;
        return image;
    }
    catch (const std::exception& error)
    {
        Internal::LogWrite("Image %ls could not be loaded. (%s)\n", name != nullptr ? name : L"", error.what());
        return nullptr;
    }
}

PendingImage::PendingImage(std::wstring name) : mName(std::move(name)), mFileName(mName)
{
}

bool PendingImage::Read()
{
    try
    {
        {
            StreamHolder stream(OpenFirst(mName.c_str(), L"", kImageSearchOrder, &mAddress));
            if (stream.Get() == nullptr)
                return false;
            mFound = true;
            mFileName = FileName(mAddress);
            mBytes = ReadAll(*stream.Get(), mLength);
        }
        StreamHolder mask(ImageManager::OpenImageMaskFile(mName.c_str(), &mMaskAddress));
        if (mask.Get() != nullptr)
        {
            mHasMask = true;
            mMaskBytes = ReadAll(*mask.Get(), mMaskLength);
        }
        return true;
    }
    catch (const std::exception& error)
    {
        mError = error.what();
        return false;
    }
}

void PendingImage::Decode()
{
    if (!mFound || !mError.empty())
        return;
    // Whatever the decoders and the mask's compositor log is written by Finish, in its place.
    Internal::ScopedLogCapture capture(mLog);
    try
    {
        const char* reason = "it could not be decoded";
        Decoded image;
        {
            FileCopyStream stream(mFileName, mBytes, mLength);
            image = DecodeImageFile(&stream, mAddress, &reason);
        }
        std::vector<uint8_t>().swap(mBytes);
        if (image.pixels.empty())
        {
            mReason = reason;
            return;
        }
        mDecoded = true;
        mWidth = image.width;
        mHeight = image.height;
        mHasAlpha = image.hasAlpha;
        mHasColorKey = image.hasColorKey;
        mPixels = std::move(image.pixels);
        if (!mHasMask)
            return;
        FileCopyStream mask(FileName(mMaskAddress), mMaskBytes, mMaskLength);
        bool applied = false;
        if (HasExtension(mMaskAddress, L".gif"))
            applied = LoadAndCompositeGIFMaskFile(&mask, mWidth, mHeight, mPixels.data(), mName);
        else if (HasExtension(mMaskAddress, L".png"))
            applied = LoadAndCompositePNGMaskFile(&mask, mWidth, mHeight, mPixels.data(), mName);
        else if (HasExtension(mMaskAddress, L".jpg"))
            applied = LoadAndCompositeJPGMaskFile(&mask, mWidth, mHeight, mPixels.data(), mName);
        std::vector<uint8_t>().swap(mMaskBytes);
        if (applied)
        {
            mHasAlpha = true;
            mHasColorKey = false;
        }
    }
    catch (const std::exception& error)
    {
        mError = error.what();
    }
    catch (...)
    {
        // It may run as a helper thread's body, which no exception may leave.
        mError = "unknown error";
    }
}

Image* PendingImage::Finish(Image* out)
{
    if (!mFound)
    {
        if (mError.empty())
            Internal::LogWrite("Image %ls was not found.\n", mName.c_str());
        else
            Internal::LogWrite("Image %ls could not be loaded. (%s)\n", mFileName.c_str(), mError.c_str());
        return nullptr;
    }
    Log(mLog.c_str());
    mLog.clear();
    if (mReason != nullptr)
    {
        Internal::LogWrite("Image %ls could not be loaded. (%s)\n", mFileName.c_str(), mReason);
        return nullptr;
    }
    if (!mError.empty())
    {
        Internal::LogWrite("Image %ls could not be loaded. (%s)\n", mFileName.c_str(), mError.c_str());
        return nullptr;
    }
    if (out == nullptr || !mDecoded)
        return nullptr;
    if (!out->Init(std::move(mPixels), mWidth, mHeight, mHasAlpha, mHasColorKey))
    {
        Internal::LogWrite("Image %ls could not be loaded. (%s)\n", mFileName.c_str(), "the image was refused");
        return nullptr;
    }
    return out;
}

namespace
{

// Helper threads that decode beside the thread asking: made on first use and kept, asleep, until the
// process ends. The asking thread decodes too and waits only for images a helper has taken, so a helper
// that is slow to be scheduled never holds it up, and two askers at once each finish their own batch.
class DecodePool
{
public:
    static DecodePool& Get()
    {
        static DecodePool pool;
        return pool;
    }

    ~DecodePool()
    {
        {
            std::lock_guard<std::mutex> lock(mMutex);
            mQuit = true;
        }
        mWake.notify_all();
        for (std::thread& thread : mThreads)
            thread.join();
    }

    void Run(const std::vector<PendingImage*>& images, size_t helpers)
    {
        auto batch = std::make_shared<Batch>(images);
        if (helpers > 0)
        {
            {
                std::lock_guard<std::mutex> lock(mMutex);
                AddThreads(helpers);
                mBatch = batch;
                ++mGeneration;
            }
            mWake.notify_all();
        }
        Work(*batch);
        std::unique_lock<std::mutex> lock(batch->mutex);
        batch->finished.wait(lock, [&] { return batch->done == batch->count; });
    }

private:
    struct Batch
    {
        explicit Batch(const std::vector<PendingImage*>& list) : images(list.data()), count(list.size()) {}
        // Read only for an image taken: its asker waits until every image is done, and a helper that
        // comes late finds none left to take.
        PendingImage* const* images;
        const size_t count;
        std::atomic<size_t> next{0};
        std::mutex mutex;
        std::condition_variable finished;
        size_t done = 0;
    };

    DecodePool() = default;

    static void Work(Batch& batch)
    {
        for (size_t i = batch.next.fetch_add(1); i < batch.count; i = batch.next.fetch_add(1))
        {
            batch.images[i]->Decode();
            std::lock_guard<std::mutex> lock(batch.mutex);
            if (++batch.done == batch.count)
                batch.finished.notify_all();
        }
    }

    // Under mMutex.
    void AddThreads(size_t wanted)
    {
        try
        {
            while (mThreads.size() < wanted)
                mThreads.emplace_back([this] { Loop(); });
        }
        catch (const std::system_error&)
        {
            // No more threads to be had: those there are (the asker at least) do the work.
        }
    }

    void Loop()
    {
        uint64_t seen = 0;
        while (true)
        {
            std::shared_ptr<Batch> batch;
            {
                std::unique_lock<std::mutex> lock(mMutex);
                mWake.wait(lock, [&] { return mQuit || mGeneration != seen; });
                if (mQuit)
                    return;
                seen = mGeneration;
                batch = mBatch;
            }
            Work(*batch);
        }
    }

    std::mutex mMutex;
    std::condition_variable mWake;
    std::vector<std::thread> mThreads;
    // The latest batch asked for, and how many have been.
    std::shared_ptr<Batch> mBatch;
    uint64_t mGeneration = 0;
    bool mQuit = false;
};

} // namespace

void PendingImage::DecodeAll(const std::vector<PendingImage*>& images, unsigned threads)
{
    if (images.empty())
        return;
    const size_t helpers = std::min<size_t>(threads > 0 ? threads - 1 : 0, images.size() - 1);
    DecodePool::Get().Run(images, helpers);
}

unsigned PendingImage::GetDecodeThreads()
{
    return std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
}

FileVariant ImageManager::GetImageFileVariant(const std::wstring& name)
{
    return FileVariant{name, {L".jpg", L".gif", L".png"}};
}

FileVariant ImageManager::GetImageMaskFileVariant(const std::wstring& name)
{
    return FileVariant{name + L"_mask", {L".gif", L".png", L".jpg"}};
}

} // namespace Strata
