#include "HTTPStream.h"

#include "core/Log.h"
#include "core/RuntimeError.h"
#include "core/WideString.h"

#include <curl/curl.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>

namespace Linux
{

namespace
{
static_assert(CURL_ERROR_SIZE <= 256, "the error text buffer must hold CURL_ERROR_SIZE bytes");

// Longest single wait for the socket; an abort wakes the wait at once.
constexpr long kLongestPollMilliseconds = 100;

CURLM* AsMulti(void* handle)
{
    return static_cast<CURLM*>(handle);
}

CURL* AsEasy(void* handle)
{
    return static_cast<CURL*>(handle);
}

// libcurl wants bytes: UTF-8, with spaces, controls, non-ASCII and the characters URLs never carry
// as such percent-encoded.
std::string EncodeURL(const std::wstring& url)
{
    static const char kHex[] = "0123456789ABCDEF";
    const auto utf8 = Strata::ConvertStringWideToUTF8(url.c_str());
    std::string encoded;
    for (const unsigned char* p = utf8.get(); p != nullptr && *p != 0; ++p)
    {
        const unsigned char c = *p;
        if (c <= 0x20 || c >= 0x7F || std::strchr("\"<>\\^`{|}", c) != nullptr)
        {
            encoded += '%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 0x0F];
        }
        else
        {
            encoded += static_cast<char>(c);
        }
    }
    return encoded;
}

bool StartsWithCaseless(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (Strata::AsciiToLower(static_cast<unsigned char>(text[i])) != Strata::AsciiToLower(prefix[i]))
            return false;
    return true;
}

bool ContainsCaseless(std::string_view text, std::string_view word)
{
    for (size_t i = 0; i + word.size() <= text.size(); ++i)
        if (StartsWithCaseless(text.substr(i), word))
            return true;
    return false;
}

std::string_view TrimmedValue(std::string_view line, size_t nameLength)
{
    std::string_view value = line.substr(nameLength);
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
        value.remove_prefix(1);
    while (!value.empty() && (value.back() == '\r' || value.back() == '\n' || value.back() == ' '))
        value.remove_suffix(1);
    return value;
}
} // namespace

bool InitialiseCurl()
{
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return initialised;
}

HTTPStream* HTTPStream::Open(const std::wstring& url, const sHTTPSettings& settings)
{
    if (url.empty() || !InitialiseCurl())
        return nullptr;
    HTTPStream* stream = new HTTPStream(url);
    if (!stream->SetUp(EncodeURL(url), settings))
    {
        delete stream;
        return nullptr;
    }
    return stream;
}

HTTPStream::HTTPStream(const std::wstring& url) : mName(url)
{
}

bool HTTPStream::SetUp(const std::string& url, const sHTTPSettings& settings)
{
    mEasy = curl_easy_init();
    mMulti = curl_multi_init();
    if (mEasy == nullptr || mMulti == nullptr)
        return false;
    CURL* easy = AsEasy(mEasy);
    bool ok = true;
    auto set = [&](CURLoption option, auto value) { ok = ok && curl_easy_setopt(easy, option, value) == CURLE_OK; };
    set(CURLOPT_URL, url.c_str());
    set(CURLOPT_NOSIGNAL, 1L);
    set(CURLOPT_FOLLOWLOCATION, 1L);
    set(CURLOPT_MAXREDIRS, settings.maxRedirects);
    set(CURLOPT_PROTOCOLS_STR, "http,https");
    set(CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    set(CURLOPT_CONNECTTIMEOUT_MS, settings.connectTimeoutMilliseconds);
    set(CURLOPT_LOW_SPEED_LIMIT, settings.lowSpeedLimit);
    set(CURLOPT_LOW_SPEED_TIME, settings.lowSpeedSeconds);
    set(CURLOPT_ERRORBUFFER, mErrorText);
    set(CURLOPT_HEADERFUNCTION, &HTTPStream::OnHeader);
    set(CURLOPT_HEADERDATA, static_cast<void*>(this));
    set(CURLOPT_WRITEFUNCTION, &HTTPStream::OnBody);
    set(CURLOPT_WRITEDATA, static_cast<void*>(this));
    if (!ok)
        return false;
    mAdded = curl_multi_add_handle(AsMulti(mMulti), easy) == CURLM_OK;
    return mAdded;
}

HTTPStream::~HTTPStream()
{
    if (mAdded)
        curl_multi_remove_handle(AsMulti(mMulti), AsEasy(mEasy));
    if (mEasy != nullptr)
        curl_easy_cleanup(AsEasy(mEasy));
    if (mMulti != nullptr)
        curl_multi_cleanup(AsMulti(mMulti));
}

std::wstring HTTPStream::GetName()
{
    return mName;
}

unsigned long HTTPStream::GetCapabilities()
{
    return Strata::StreamCaps_Read;
}

uint32_t HTTPStream::GetLength()
{
    WaitForHeaders();
    if (mContentLength < 0 || mContentLength > 0xFFFFFFFFll)
        return 0;
    return static_cast<uint32_t>(mContentLength);
}

bool HTTPStream::IsEOF()
{
    WaitForHeaders();
    if (mAborted.load())
        return true;
    if (mBufferRead < mBuffer.size())
        return false;
    if (mContentLength >= 0 && mBytesRead >= static_cast<uint64_t>(mContentLength))
        return true;
    return mFinished;
}

size_t HTTPStream::Read(void* buffer, size_t count)
{
    if (buffer == nullptr || count == 0)
        return 0;
    while (mBufferRead >= mBuffer.size() && !mFinished)
        Pump();
    if (mAborted.load() || mBufferRead >= mBuffer.size())
        return 0;
    const size_t n = std::min(count, mBuffer.size() - mBufferRead);
    std::memcpy(buffer, mBuffer.data() + mBufferRead, n);
    mBufferRead += n;
    mBytesRead += n;
    if (mBufferRead == mBuffer.size())
    {
        mBuffer.clear();
        mBufferRead = 0;
    }
    return n;
}

size_t HTTPStream::ReadOptimized(void*&, size_t)
{
    STRATA_THROW(Strata::RuntimeError, std::string("Linux::HTTPStream does not implement ReadOptimized."));
}

size_t HTTPStream::Write(const void*, size_t)
{
    return 0;
}

void HTTPStream::Seek(Strata::SeekOrigin, long long)
{
}

uint32_t HTTPStream::Tell()
{
    return mBytesRead > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<uint32_t>(mBytesRead);
}

bool HTTPStream::HasErrorOccurred()
{
    WaitForHeaders();
    return Strata::IErrorStatus::HasErrorOccurred();
}

int HTTPStream::GetLastError()
{
    WaitForHeaders();
    return Strata::IErrorStatus::GetLastError();
}

void HTTPStream::AbortTransfer()
{
    mAborted.store(true);
    // Safe from any thread while the multi handle exists; ends a wait for the socket at once.
    curl_multi_wakeup(AsMulti(mMulti));
}

void HTTPStream::WaitForHeaders()
{
    while (!mHeadersDone && !mFinished)
        Pump();
}

void HTTPStream::Pump()
{
    if (mFinished)
        return;
    if (mAborted.load())
    {
        Finish(Strata::HTTPError_Aborted);
        return;
    }
    CURLM* multi = AsMulti(mMulti);
    const size_t buffered = mBuffer.size();
    const bool headersDone = mHeadersDone;
    int running = 0;
    if (curl_multi_perform(multi, &running) != CURLM_OK)
    {
        Finish(Strata::HTTPError_Connection);
        return;
    }
    CollectResult();
    if (mFinished || mBuffer.size() != buffered || mHeadersDone != headersDone)
        return;
    // Nothing new: wait for the socket, for libcurl's next timer, or for an abort.
    long timeout = -1;
    curl_multi_timeout(multi, &timeout);
    if (timeout < 0 || timeout > kLongestPollMilliseconds)
        timeout = kLongestPollMilliseconds;
    if (timeout > 0)
        curl_multi_poll(multi, nullptr, 0, static_cast<int>(timeout), nullptr);
}

void HTTPStream::CollectResult()
{
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(AsMulti(mMulti), &left))
    {
        if (message->msg != CURLMSG_DONE)
            continue;
        const CURLcode result = message->data.result;
        if (result == CURLE_OK)
        {
            const bool shortBody = mContentLength >= 0 && mBytesReceived < static_cast<uint64_t>(mContentLength);
            Finish(shortBody ? Strata::HTTPError_Truncated : 0);
            continue;
        }
        if (mAborted.load())
        {
            Finish(Strata::HTTPError_Aborted);
            continue;
        }
        if (Strata::IErrorStatus::GetLastError() == 0)
        {
            Strata::Internal::LogWrite("HTTPStream: %s: %s\n", Strata::TruncateStringWideToASCII(mName.c_str()).c_str(),
                                       mErrorText[0] != 0 ? mErrorText : curl_easy_strerror(result));
        }
        switch (result)
        {
        case CURLE_OPERATION_TIMEDOUT:
            Finish(Strata::HTTPError_TimedOut);
            break;
        case CURLE_PARTIAL_FILE:
            Finish(Strata::HTTPError_Truncated);
            break;
        case CURLE_ABORTED_BY_CALLBACK:
            Finish(Strata::HTTPError_Aborted);
            break;
        default:
            Finish(Strata::HTTPError_Connection);
            break;
        }
    }
}

void HTTPStream::Fail(int code)
{
    // The first failure is the one that counts.
    if (Strata::IErrorStatus::GetLastError() == 0)
        SetLastError(code);
}

void HTTPStream::Finish(int code)
{
    if (code != 0)
        Fail(code);
    mFinished = true;
    mHeadersDone = true;
}

size_t HTTPStream::OnHeader(char* data, size_t size, size_t count, void* self)
{
    return static_cast<HTTPStream*>(self)->HandleHeader(data, size * count);
}

size_t HTTPStream::OnBody(char* data, size_t size, size_t count, void* self)
{
    return static_cast<HTTPStream*>(self)->HandleBody(data, size * count);
}

size_t HTTPStream::HandleHeader(const char* data, size_t length)
{
    if (mAborted.load())
        return 0;
    const std::string_view line(data, length);
    if (StartsWithCaseless(line, "HTTP/"))
    {
        // A new answer (after an interim answer or a redirect): forget what the last one said.
        mSawLocation = false;
        mChunked = false;
        mContentLength = -1;
        return length;
    }
    if (line == "\r\n" || line == "\n")
    {
        long status = 0;
        curl_easy_getinfo(AsEasy(mEasy), CURLINFO_RESPONSE_CODE, &status);
        // libcurl waits for the final answer after any 1xx but 101, which switches protocols (never asked
        // for here) and passes all that follows as a body; it falls to the failure below.
        const bool interim = status >= 100 && status < 200 && status != 101;
        if (interim || (status >= 300 && status < 400 && mSawLocation))
        {
            // Interim, or a redirect that libcurl follows by itself.
            return length;
        }
        mHeadersDone = true;
        if (status < 200 || status >= 300)
        {
            // An error page is no body of ours: stop here.
            Fail(status >= 400 && status < 500 ? Strata::HTTPError_ClientStatus : Strata::HTTPError_ServerStatus);
            return 0;
        }
        if (mChunked)
            mContentLength = -1;
        return length;
    }
    if (StartsWithCaseless(line, "location:"))
    {
        mSawLocation = true;
    }
    else if (StartsWithCaseless(line, "transfer-encoding:"))
    {
        mChunked = ContainsCaseless(line, "chunked");
    }
    else if (StartsWithCaseless(line, "content-length:"))
    {
        const std::string_view value = TrimmedValue(line, std::strlen("content-length:"));
        long long parsed = -1;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), parsed);
        mContentLength = (error == std::errc() && end == value.data() + value.size() && parsed >= 0) ? parsed : -1;
    }
    return length;
}

size_t HTTPStream::HandleBody(const char* data, size_t length)
{
    if (mAborted.load())
        return 0;
    mHeadersDone = true;
    // libcurl holds a body to its length, but it may read the framing headers otherwise than we do (a
    // Transfer-Encoding line that a later one overrides here): never pass on more than was announced.
    if (mContentLength >= 0 && mBytesReceived + length > static_cast<uint64_t>(mContentLength))
    {
        Fail(Strata::HTTPError_Connection);
        return 0;
    }
    mBuffer.insert(mBuffer.end(), data, data + length);
    mBytesReceived += length;
    return length;
}

} // namespace Linux
