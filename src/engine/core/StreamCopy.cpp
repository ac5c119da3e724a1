#include "core/StreamCopy.h"

#include "core/ErrorStatus.h"
#include "core/Stream.h"

#include <algorithm>

namespace Strata
{

namespace
{
IErrorStatus* ErrorStatusOf(IStream* stream)
{
    return dynamic_cast<IErrorStatus*>(stream);
}

bool HasFailed(IStream* stream)
{
    IErrorStatus* status = ErrorStatusOf(stream);
    return status != nullptr && status->HasErrorOccurred();
}

int LastErrorOf(IStream* stream)
{
    IErrorStatus* status = ErrorStatusOf(stream);
    return status != nullptr ? status->GetLastError() : 0;
}
} // namespace

float IDataTransferProgressQuery::GetDataTransferPctComplete()
{
    const uint32_t total = GetDataTransferSize();
    if (total == 0)
        return 0.0f;
    return static_cast<float>(GetDataTransferNumBytesCopied()) / static_cast<float>(total);
}

size_t StreamReadFully(IStream& stream, void* buffer, size_t count)
{
    auto* bytes = static_cast<uint8_t*>(buffer);
    size_t done = 0;
    while (done < count)
    {
        const size_t got = stream.Read(bytes + done, count - done);
        if (got == 0 || got > count - done)
            break;
        done += got;
    }
    return done;
}

unsigned long StreamCopy(IStream* source, IStream* target, unsigned long count, IDataTransferProgress* progress)
{
    if (source == nullptr || target == nullptr)
        return 0;
    unsigned char buffer[1024];
    unsigned long copied = 0;
    while (copied < count && !source->IsEOF() && (progress == nullptr || !progress->ShouldAbort()))
    {
        const size_t wanted = static_cast<size_t>(std::min<unsigned long>(count - copied, sizeof(buffer)));
        const size_t read = std::min(source->Read(buffer, wanted), wanted);

        size_t written = 0;
        bool stalled = (read == 0);
        while (written < read)
        {
            const size_t n = target->Write(buffer + written, read - written);
            if (n == 0 || n > read - written || HasFailed(target))
            {
                written += std::min(n, read - written);
                stalled = (n == 0);
                break;
            }
            written += n;
        }

        copied += static_cast<unsigned long>(written);
        if (progress != nullptr && written > 0)
        {
            progress->OnDataTransferProgress(static_cast<float>(copied) / static_cast<float>(count),
                                             static_cast<uint32_t>(written));
        }

        const bool sourceFailed = HasFailed(source);
        if (sourceFailed || HasFailed(target))
        {
            if (progress != nullptr)
                progress->OnDataTransferError(sourceFailed ? LastErrorOf(source) : LastErrorOf(target));
            break;
        }
        if (stalled)
        {
            // A source that ran dry exactly at its end is a normal finish, not a failure.
            if (read == 0 && source->IsEOF())
                break;
            if (progress != nullptr)
                progress->OnDataTransferError(kStreamCopyNoProgress);
            break;
        }
    }
    return copied;
}

unsigned long StreamCopy(IStream* source, IStream* target, IDataTransferProgress* progress)
{
    if (source == nullptr)
        return 0;
    return StreamCopy(source, target, source->GetLength(), progress);
}

} // namespace Strata
