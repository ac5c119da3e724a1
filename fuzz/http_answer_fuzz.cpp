// Serves arbitrary bytes from 127.0.0.1 as the whole answer to every request (the proxy for any host a
// redirect names, so nothing leaves the machine) and reads it through the platform's HTTP stream: the
// status line, "Location", "Transfer-Encoding" and "Content-Length" decide what is body and what is an
// error. A body read without error never exceeds what was sent and holds its announced length; it then
// passes the download check when it is the file listed, and only with the listed size.

#include "FuzzSupport.h"

#include "core/Checksum.h"
#include "core/MemoryStream.h"
#include "framework/FileSource.h"
#include "platform/linux/CurlNetworkPlatform.h"
#include "platform/linux/HTTPStream.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

using Strata::Fuzzing::Check;

namespace
{

const std::string kListed = "listed body";

// Answers every connection with the current answer, then closes it.
class Server
{
public:
    Server()
    {
        mListener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        Check(bind(mListener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0);
        socklen_t length = sizeof(address);
        getsockname(mListener, reinterpret_cast<sockaddr*>(&address), &length);
        mPort = ntohs(address.sin_port);
        Check(listen(mListener, 16) == 0);
        std::thread([this] { Serve(); }).detach();
    }

    int Port() const { return mPort; }
    void SetAnswer(std::string answer)
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mAnswer = std::move(answer);
    }

private:
    void Serve()
    {
        for (;;)
        {
            const int client = accept(mListener, nullptr, nullptr);
            if (client < 0)
                continue;
            // The request, up to its blank line, then the answer, then the end of the connection.
            std::string request;
            char buffer[4096];
            pollfd wait{client, POLLIN, 0};
            while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536 && poll(&wait, 1, 1000) > 0)
            {
                const ssize_t got = recv(client, buffer, sizeof(buffer), 0);
                if (got <= 0)
                    break;
                request.append(buffer, static_cast<size_t>(got));
            }
            std::string answer;
            {
                std::lock_guard<std::mutex> lock(mMutex);
                answer = mAnswer;
            }
            size_t sent = 0;
            while (sent < answer.size())
            {
                const ssize_t put = send(client, answer.data() + sent, answer.size() - sent, MSG_NOSIGNAL);
                if (put <= 0)
                    break;
                sent += static_cast<size_t>(put);
            }
            shutdown(client, SHUT_WR);
            while (poll(&wait, 1, 200) > 0 && recv(client, buffer, sizeof(buffer), 0) > 0)
            {
            }
            close(client);
        }
    }

    int mListener = -1;
    int mPort = 0;
    std::mutex mMutex;
    std::string mAnswer;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Server* const server = []
    {
        auto* made = new Server();
        const std::string proxy = "http://127.0.0.1:" + std::to_string(made->Port());
        for (const char* name : {"http_proxy", "HTTPS_PROXY", "ALL_PROXY"})
            setenv(name, proxy.c_str(), 1);
        unsetenv("NO_PROXY");
        unsetenv("no_proxy");
        return made;
    }();
    const std::string answer(reinterpret_cast<const char*>(data), size);
    server->SetAnswer(answer);

    Linux::sHTTPSettings settings;
    settings.connectTimeoutMilliseconds = 2000;
    settings.lowSpeedSeconds = 2;
    settings.maxRedirects = 2;
    std::unique_ptr<Linux::HTTPStream> stream(Linux::HTTPStream::Open(L"http://fuzz.invalid/file.png", settings));
    if (!stream)
        return 0;
    const uint32_t announced = stream->GetLength();
    std::string body;
    char buffer[4096];
    for (size_t got = stream->Read(buffer, sizeof(buffer)); got != 0; got = stream->Read(buffer, sizeof(buffer)))
    {
        Check(got <= sizeof(buffer));
        body.append(buffer, got);
        Check(body.size() <= size);
    }
    if (stream->HasErrorOccurred())
        return 0;
    Check(stream->IsEOF());
    Check(announced == 0 || body.size() == announced);
    Strata::ReadOnlyMemoryStream received(L"file.png", body.data(), body.size());
    const auto* bytes = reinterpret_cast<const unsigned char*>(kListed.data());
    const auto checksum =
        static_cast<uint32_t>(Strata::ComputeChecksum(bytes, static_cast<unsigned long>(kListed.size())));
    const bool listed = Strata::MatchesListing(&received, L"file.png", static_cast<uint32_t>(kListed.size()), checksum);
    if (body == kListed)
        Check(listed);
    if (listed)
        Check(body.size() == kListed.size());
    return 0;
}
