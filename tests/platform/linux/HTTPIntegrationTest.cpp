// The download path end to end: libcurl against real HTTP servers on 127.0.0.1 (Python's file server, and
// a small scripted server of our own for faulty answers), into a real per-user cache folder.
#include "platform/linux/CurlNetworkPlatform.h"
#include "platform/linux/FileSystemPartition.h"
#include "platform/linux/HTTPStream.h"

#include "TempFolder.h"
#include "core/CaselessStringHasher.h"
#include "core/Checksum.h"
#include "core/FileSystem.h"
#include "core/Singleton.h"
#include "core/Stream.h"
#include "framework/DownloadManager.h"
#include "framework/FileSource.h"
#include "framework/FileTransfer.h"
#include "framework/NetworkPlatform.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

using namespace Strata;
using Strata::Testing::WaitUntil;
using Transfer = boost::intrusive_ptr<IFileTransfer>;

namespace
{
// The system's own Python, whatever else the environment puts first on the path.
constexpr const char* kPython = "/usr/bin/python3";

// ----- the table of contents, as the build tools write it -------------------------------------------

void AppendWord(std::string& bytes, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

struct Listed
{
    std::string path;    // the name in the table, e.g. "Data/Images/title.png"
    std::string content; // the listed bytes
};

std::string BuildTOC(const std::vector<Listed>& files)
{
    std::string bytes;
    AppendWord(bytes, static_cast<uint32_t>(files.size()));
    std::string names;
    const size_t namesStart = 4 + 20 * files.size();
    for (const Listed& file : files)
    {
        const auto* data = reinterpret_cast<const unsigned char*>(file.content.data());
        const auto length = static_cast<unsigned long>(file.content.size());
        const std::wstring widePath(file.path.begin(), file.path.end());
        const std::string leaf = file.path.substr(file.path.rfind('/') + 1);
        AppendWord(bytes, cCaselessStringHasher::ComputeHash(leaf.c_str()));
        AppendWord(bytes,
                   static_cast<uint32_t>(IsTextFile(widePath) ? AppendToChecksum_IgnoreWhitespace(0, data, length)
                                                              : ComputeChecksum(data, length)));
        AppendWord(bytes, static_cast<uint32_t>(length));
        AppendWord(bytes, static_cast<uint32_t>(namesStart + names.size()));
        AppendWord(bytes, 0);
        names += file.path;
        names += '\0';
    }
    bytes += names;
    AppendWord(bytes, static_cast<uint32_t>(ComputeChecksum(reinterpret_cast<const unsigned char*>(bytes.data()),
                                                            static_cast<unsigned long>(bytes.size()))));
    return bytes;
}

std::string RandomBytes(size_t count, unsigned seed)
{
    std::mt19937 generator(seed);
    std::string bytes(count, '\0');
    for (char& c : bytes)
        c = static_cast<char>(generator() & 0xFF);
    return bytes;
}

bool IsDone(const Transfer& transfer)
{
    return transfer->GetDataTransferPctComplete() >= 1.0f || transfer->HasErrorOccurred();
}

std::string ReadAll(IStream* stream)
{
    std::string text;
    char buffer[4096];
    for (;;)
    {
        const size_t n = stream->Read(buffer, sizeof(buffer));
        if (n == 0)
            break;
        text.append(buffer, n);
    }
    return text;
}

// ----- servers ------------------------------------------------------------------------------------------

int ListenOnLoopback(int* port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return -1;
    const int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof(address);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 || ::listen(fd, 16) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    {
        ::close(fd);
        return -1;
    }
    *port = ntohs(address.sin_port);
    return fd;
}

// Python's standard file server as this test's own child process, serving a folder on a loopback port.
// The test binds the port and hands the listening socket over, so no other program can take the port in
// between and no start-up message need be read; the server ends with the test, however the test ends.
class FileServer
{
public:
    ~FileServer() { Stop(); }

    // Empty on success, else why it did not start.
    std::string Start(const std::string& folder, const std::string& root)
    {
        const int listening = ListenOnLoopback(&mPort);
        if (listening < 0)
            return "no free port";
        // HTTP/1.1, so that curl keeps its connection between files as it does with a production server.
        const char* script = "import functools, http.server, socket, sys\n"
                             "class Files(http.server.SimpleHTTPRequestHandler):\n"
                             "    protocol_version = 'HTTP/1.1'\n"
                             "server = http.server.ThreadingHTTPServer(('127.0.0.1', 0),\n"
                             "    functools.partial(Files, directory=sys.argv[1]), bind_and_activate=False)\n"
                             "server.socket.close()\n"
                             "server.socket = socket.socket(fileno=3)\n"
                             "server.serve_forever()\n";
        const std::string log = folder + "/server.log";
        const pid_t parent = ::getpid();
        mPid = ::fork();
        if (mPid == 0)
        {
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (::getppid() != parent)
                ::_exit(127);
            const int output = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (output < 0 || ::dup2(output, 1) < 0 || ::dup2(output, 2) < 0 || ::dup2(listening, 3) < 0)
                ::_exit(127);
            ::execl(kPython, "python3", "-I", "-c", script, root.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(listening);
        if (mPid < 0)
            return "fork failed";
        if (!Answers())
        {
            Stop();
            std::ifstream in(log);
            return "the file server did not answer: " + std::string(std::istreambuf_iterator<char>(in), {});
        }
        return std::string();
    }

    void Stop()
    {
        if (mPid > 0)
        {
            ::kill(mPid, SIGTERM);
            int status = 0;
            ::waitpid(mPid, &status, 0);
            mPid = -1;
        }
    }

    int Port() const { return mPort; }

private:
    // Whether the server answers a request while it runs; the kernel takes connections before it does.
    bool Answers()
    {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<uint16_t>(mPort));
        const std::string request = "HEAD / HTTP/1.0\r\n\r\n";
        bool answered =
            ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
            ::send(fd, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size()) &&
            WaitUntil(
                [&]
                {
                    int status = 0;
                    if (::waitpid(mPid, &status, WNOHANG) == mPid)
                    {
                        mPid = -1;
                        return true;
                    }
                    pollfd ready{fd, POLLIN, 0};
                    return ::poll(&ready, 1, 0) > 0;
                },
                std::chrono::seconds(20));
        if (answered && mPid > 0)
        {
            char head[5] = {};
            answered = ::recv(fd, head, 5, MSG_WAITALL) == 5 && std::string(head, 5) == "HTTP/";
        }
        ::close(fd);
        return answered && mPid > 0;
    }

    pid_t mPid = -1;
    int mPort = 0;
};

// A one-thread HTTP server with scripted, mostly faulty, answers.
class ScriptedServer
{
public:
    enum class Kind
    {
        Body,        // 200 with Content-Length
        NotFound,    // 404 with an error page
        ServerError, // 500 with an error page
        ShortBody,   // announces more than it sends, then closes
        NoLength,    // no Content-Length: the body ends when the connection closes
        StallInBody, // headers and half the body, then silence
        StallSilent, // accepts and never answers
        Redirect,    // 302 to `location`
        LyingLength, // announces one byte less than the body it sends whole
        Endless,     // announces `length` (none when empty), then sends the body over and over
        Trickle,     // no length, then one byte every 0.6 s
        Raw          // `body` is the whole answer, status line and headers included
    };
    struct Answer
    {
        Kind kind = Kind::Body;
        std::string body;
        std::string location;
        std::string length;
    };
    // An endless or trickling answer stops when the client hangs up, or at this many bytes (or the
    // server's end), so every test stays bounded whatever the client does.
    static constexpr size_t kEndlessCap = size_t{64} << 20;

    ScriptedServer()
    {
        mListen = ListenOnLoopback(&mPort);
        mThread = std::thread([this] { Run(); });
    }
    ~ScriptedServer()
    {
        mStop = true;
        mThread.join();
        for (int fd : mHeld)
            ::close(fd);
        if (mListen >= 0)
            ::close(mListen);
    }

    void Set(const std::string& path, Answer answer)
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mAnswers[path] = std::move(answer);
    }
    int Requests(const std::string& path)
    {
        std::lock_guard<std::mutex> lock(mMutex);
        return mCounts[path];
    }
    // Endless or trickling answers to `path` that the client hung up on.
    int HungUp(const std::string& path)
    {
        std::lock_guard<std::mutex> lock(mMutex);
        return mHungUp[path];
    }
    int Port() const { return mPort; }
    std::string Base() const { return "http://127.0.0.1:" + std::to_string(mPort); }

private:
    void Run()
    {
        while (!mStop)
        {
            pollfd ready{mListen, POLLIN, 0};
            if (::poll(&ready, 1, 20) <= 0)
                continue;
            const int client = ::accept(mListen, nullptr, nullptr);
            if (client >= 0)
                Serve(client);
        }
    }

    void Serve(int client)
    {
        std::string request;
        char buffer[1024];
        while (request.find("\r\n\r\n") == std::string::npos)
        {
            pollfd ready{client, POLLIN, 0};
            if (::poll(&ready, 1, 2000) <= 0)
                break;
            const ssize_t n = ::recv(client, buffer, sizeof(buffer), 0);
            if (n <= 0)
                break;
            request.append(buffer, static_cast<size_t>(n));
        }
        const size_t start = request.find(' ') + 1;
        const std::string path = request.substr(start, request.find(' ', start) - start);
        Answer answer;
        bool known = false;
        {
            std::lock_guard<std::mutex> lock(mMutex);
            ++mCounts[path];
            const auto found = mAnswers.find(path);
            if (found != mAnswers.end())
            {
                answer = found->second;
                known = true;
            }
        }
        if (!known)
            answer.kind = Kind::NotFound;
        const std::string page = "<html>no file for you</html>";
        auto headed = [](const char* status, size_t length)
        {
            return std::string("HTTP/1.1 ") + status + "\r\nContent-Length: " + std::to_string(length) +
                   "\r\nConnection: close\r\n\r\n";
        };
        switch (answer.kind)
        {
        case Kind::Body:
            Send(client, headed("200 OK", answer.body.size()) + answer.body);
            break;
        case Kind::NotFound:
            Send(client, headed("404 Not Found", page.size()) + page);
            break;
        case Kind::ServerError:
            Send(client, headed("500 Internal Server Error", page.size()) + page);
            break;
        case Kind::ShortBody:
            Send(client, headed("200 OK", answer.body.size() + 60) + answer.body);
            break;
        case Kind::NoLength:
            Send(client, "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + answer.body);
            break;
        case Kind::StallInBody:
            Send(client, headed("200 OK", answer.body.size()) + answer.body.substr(0, answer.body.size() / 2));
            mHeld.push_back(client);
            return;
        case Kind::StallSilent:
            mHeld.push_back(client);
            return;
        case Kind::Redirect:
            Send(client, "HTTP/1.1 302 Found\r\nLocation: " + answer.location +
                             "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            break;
        case Kind::Raw:
            Send(client, answer.body);
            break;
        case Kind::LyingLength:
            Send(client, headed("200 OK", answer.body.size() - 1) + answer.body);
            break;
        case Kind::Endless:
        case Kind::Trickle:
            if (Flood(client, answer))
            {
                std::lock_guard<std::mutex> lock(mMutex);
                ++mHungUp[path];
            }
            break;
        }
        ::shutdown(client, SHUT_WR);
        ::close(client);
    }

    // False when the client hung up.
    static bool Send(int client, const std::string& bytes)
    {
        size_t sent = 0;
        while (sent < bytes.size())
        {
            const ssize_t n = ::send(client, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            sent += static_cast<size_t>(n);
        }
        return true;
    }

    // Sends an endless or trickling answer; true when the client hung up before the cap.
    bool Flood(int client, const Answer& answer)
    {
        std::string head = "HTTP/1.1 200 OK\r\nConnection: close\r\n";
        if (!answer.length.empty())
            head += "Content-Length: " + answer.length + "\r\n";
        if (!Send(client, head + "\r\n"))
            return true;
        const bool trickle = answer.kind == Kind::Trickle;
        const std::string chunk = trickle ? std::string(1, 'x') : answer.body;
        for (size_t sent = 0; sent < kEndlessCap && !mStop; sent += chunk.size())
        {
            if (trickle)
            {
                // Sleeps in short steps, so the server's end is seen soon; a hang-up shows as readable.
                for (int step = 0; step < 30 && !mStop; ++step)
                {
                    pollfd hangUp{client, POLLIN | POLLRDHUP, 0};
                    if (::poll(&hangUp, 1, 20) > 0)
                        return true;
                }
            }
            if (!Send(client, chunk))
                return true;
        }
        return false;
    }

    int mListen = -1;
    int mPort = 0;
    std::atomic<bool> mStop{false};
    std::thread mThread;
    std::mutex mMutex;
    std::map<std::string, Answer> mAnswers;
    std::map<std::string, int> mCounts;
    std::map<std::string, int> mHungUp;
    std::vector<int> mHeld; // touched by the server thread only, then by the destructor after the join
};

// ----- the fixture --------------------------------------------------------------------------------------

Linux::sHTTPSettings ShortLimits()
{
    Linux::sHTTPSettings settings;
    settings.connectTimeoutMilliseconds = 2000;
    // libcurl measures speed over the last few seconds: a limit well above what a stalled server
    // trickles makes the stall count from its first second.
    settings.lowSpeedLimit = 1000;
    settings.lowSpeedSeconds = 1;
    settings.maxRedirects = 5;
    return settings;
}

class HTTPIntegrationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Requests to our own servers never go through a proxy the environment may name.
        ::setenv("no_proxy", "127.0.0.1,localhost", 1);
        ::setenv("NO_PROXY", "127.0.0.1,localhost", 1);
        auto* fileSystem = new FileSystem();
        fileSystem->AddFileSystemPartition(FileSystemPartition_Resources, new Linux::FileSystemPartition(Bundle()));
        // The per-user folder does not exist yet: the first download makes it.
        fileSystem->AddFileSystemPartition(FileSystemPartition_User, new Linux::FileSystemPartition(Cache()));
        RegisterSingleton(network.get());
    }

    void TearDown() override
    {
        if (IsDownloadManagerRegistered())
            GetDownloadManager()->Cleanup();
        Internal::DeleteAllSingletons();
        network.reset();
        EXPECT_EQ(GetNetworkPlatform(), nullptr);
    }

    std::string Bundle() const { return temp.Path("bundle"); }
    std::string Cache() const { return temp.Path("home/.local/share/Company/Product"); }
    std::string WWW() const { return temp.Path("www"); }

    void Serve(const std::string& relative, const std::string& bytes) const { temp.Put("www/" + relative, bytes); }

    void StartStreaming(const std::vector<Listed>& files, const std::string& base)
    {
        temp.Put("bundle/Data/resources.toc", BuildTOC(files));
        source.InitializeStreaming(std::wstring(base.begin(), base.end()));
        manager()->SetRetryPolicy({2, 10});
    }

    static DownloadManager* manager() { return static_cast<DownloadManager*>(GetDownloadManager()); }

    Transfer Acquire(const wchar_t* name, const wchar_t* extension)
    {
        return source.Acquire(FileAddress(name, extension), 100);
    }

    std::string Open(const wchar_t* name, const wchar_t* extension)
    {
        IStream* stream = source.OpenFileStream(FileAddress(name, extension));
        if (stream == nullptr)
            return "<null>";
        std::string text = ReadAll(stream);
        GetFileSystem()->CloseStream(stream);
        return text;
    }

    // Every file under the cache folder, relative to it.
    std::vector<std::string> CacheContents() const
    {
        std::vector<std::string> files;
        std::error_code ignored;
        if (!std::filesystem::exists(Cache(), ignored))
            return files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(Cache()))
            if (entry.is_regular_file())
                files.push_back(std::filesystem::relative(entry.path(), Cache()).string());
        std::sort(files.begin(), files.end());
        return files;
    }

    TempFolder temp;
    std::unique_ptr<Linux::NetworkPlatform> network = std::make_unique<Linux::NetworkPlatform>(ShortLimits());
    FileSource source;
};

std::string TextWithCRLF(const std::string& text)
{
    std::string out;
    for (char c : text)
        if (c == '\n')
            out += "\r\n  ";
        else
            out += c;
    return out;
}

// The lines, padded with spaces to `size` bytes in all, the last one a newline.
std::string TextOfSize(const std::string& lines, size_t size)
{
    std::string text = lines.substr(0, size - 1);
    text.resize(size - 1, ' ');
    return text + "\n";
}

TEST_F(HTTPIntegrationTest, AFileServerStreamsAManifestAndItsFilesIntoAFreshCache)
{
    if (!std::filesystem::exists(kPython))
        GTEST_SKIP() << kPython << " is not installed";
    const std::string manifest = "<resources>\n<image name=\"Title\" src=\"title\"/>\n<intarray name=\"Scores\">\n"
                                 "<int value=\"1\"/>\n</intarray>\n</resources>\n";
    const std::string values = "speed 3\nlives 5\n";
    const std::vector<Listed> listed = {{"Data/Layouts/game.xml", manifest},
                                        {"Data/Images/title.png", RandomBytes(5000, 1)},
                                        {"Data/Images/Buttons/play.png", RandomBytes(70000, 2)},
                                        {"Data/Values/tuning.txt", values}};
    Serve("res/Layouts/game.xml", manifest);
    Serve("res/Images/title.png", listed[1].content);
    Serve("res/Images/Buttons/play.png", listed[2].content);
    Serve("res/Values/tuning.txt", values);
    FileServer server;
    ASSERT_EQ(server.Start(temp.Path(""), WWW()), "");
    StartStreaming(listed, "http://127.0.0.1:" + std::to_string(server.Port()) + "/res/");

    const std::vector<std::pair<const wchar_t*, const wchar_t*>> files = {
        {L"game", L".xml"}, {L"title", L".png"}, {L"play", L".png"}, {L"tuning", L".txt"}};
    std::vector<Transfer> transfers;
    for (const auto& [name, extension] : files)
    {
        EXPECT_EQ(source.GetFileStatus(FileAddress(name, extension)), 1);
        transfers.push_back(Acquire(name, extension));
        ASSERT_NE(transfers.back(), nullptr);
    }
    for (const Transfer& transfer : transfers)
    {
        ASSERT_TRUE(WaitUntil([&] { return IsDone(transfer); }));
        EXPECT_FALSE(transfer->HasErrorOccurred()) << transfer->GetLastError();
        EXPECT_EQ(transfer->GetDataTransferPctComplete(), 1.0f);
    }
    for (const auto& [name, extension] : files)
        EXPECT_EQ(source.GetFileStatus(FileAddress(name, extension)), 0);
    EXPECT_EQ(Open(L"title", L".png"), listed[1].content);
    EXPECT_EQ(Open(L"play", L".png"), listed[2].content);
    EXPECT_EQ(Open(L"game", L".xml"), manifest);
    EXPECT_EQ(CacheContents(), (std::vector<std::string>{"Data/Images/Buttons/play.png", "Data/Images/title.png",
                                                         "Data/Layouts/game.xml", "Data/Values/tuning.txt"}));
}

TEST_F(HTTPIntegrationTest, AFileServerReplacesADamagedCopyAndReportsAMissingFile)
{
    if (!std::filesystem::exists(kPython))
        GTEST_SKIP() << kPython << " is not installed";
    const std::string image = RandomBytes(3000, 3);
    temp.Put("home/.local/share/Company/Product/Data/Images/title.png", image.substr(0, 1000));
    Serve("res/Images/title.png", image);
    FileServer server;
    ASSERT_EQ(server.Start(temp.Path(""), WWW()), "");
    StartStreaming({{"Data/Images/title.png", image}, {"Data/Images/absent.png", "never served"}},
                   "http://127.0.0.1:" + std::to_string(server.Port()) + "/res");

    EXPECT_EQ(Open(L"title", L".png"), "<null>") << "a damaged copy is not opened";
    const Transfer title = Acquire(L"title", L".png");
    const Transfer absent = Acquire(L"absent", L".png");
    ASSERT_NE(title, nullptr);
    ASSERT_NE(absent, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return IsDone(title) && IsDone(absent); }));
    EXPECT_FALSE(title->HasErrorOccurred());
    EXPECT_EQ(Open(L"title", L".png"), image);
    EXPECT_EQ(absent->GetLastError(), DownloadError_NoHTTPStream);
    EXPECT_EQ(source.GetFileStatus(FileAddress(L"absent", L".png")), 1);
    EXPECT_EQ(CacheContents(), std::vector<std::string>{"Data/Images/title.png"})
        << "the server's 404 page is not kept";

    // The stream itself, straight from the platform.
    std::unique_ptr<IStream> stream(network->OpenHTTPStream(
        ("http://127.0.0.1:" + std::to_string(server.Port()) + "/res/Images/title.png").c_str()));
    ASSERT_NE(stream, nullptr);
    auto* status = dynamic_cast<IErrorStatus*>(stream.get());
    ASSERT_NE(status, nullptr);
    EXPECT_FALSE(status->HasErrorOccurred());
    EXPECT_EQ(stream->GetLength(), image.size());
    EXPECT_EQ(stream->GetCapabilities(), static_cast<unsigned long>(StreamCaps_Read));
    EXPECT_EQ(stream->Write("x", 1), 0u);
    EXPECT_FALSE(stream->IsEOF());
    EXPECT_EQ(ReadAll(stream.get()), image);
    EXPECT_TRUE(stream->IsEOF());
    EXPECT_EQ(stream->Tell(), image.size());
}

TEST_F(HTTPIntegrationTest, FaultyAnswersNeverLeaveAFileInTheCache)
{
    ScriptedServer server;
    using Kind = ScriptedServer::Kind;
    server.Set("/files/notfound.png", {Kind::NotFound, "", "", ""});
    server.Set("/files/broken.png", {Kind::ServerError, "", "", ""});
    server.Set("/files/short.png", {Kind::ShortBody, RandomBytes(40, 4), "", ""});
    server.Set("/files/unannounced.png", {Kind::NoLength, "exactly listed", "", ""});
    server.Set("/files/cut.png", {Kind::NoLength, "cut", "", ""});
    server.Set("/files/cut.xml", {Kind::NoLength, "<a>\r\n<b/>", "", ""});
    server.Set("/files/moved.png", {Kind::Redirect, "", "/elsewhere/target.png", ""});
    server.Set("/elsewhere/target.png", {Kind::Body, "the real thing", "", ""});
    StartStreaming({{"Data/notfound.png", "x"},
                    {"Data/broken.png", "x"},
                    {"Data/short.png", RandomBytes(100, 4)},
                    {"Data/unannounced.png", "exactly listed"},
                    {"Data/cut.png", "cut, but listed longer"},
                    {"Data/cut.xml", "<a>\n<b/>\n</a>\n"},
                    {"Data/moved.png", "the real thing"}},
                   server.Base() + "/files");

    const Transfer notFound = Acquire(L"notfound", L".png");
    const Transfer broken = Acquire(L"broken", L".png");
    const Transfer shortBody = Acquire(L"short", L".png");
    const Transfer unannounced = Acquire(L"unannounced", L".png");
    const Transfer cut = Acquire(L"cut", L".png");
    const Transfer cutText = Acquire(L"cut", L".xml");
    const Transfer moved = Acquire(L"moved", L".png");
    for (const Transfer& transfer : {notFound, broken, shortBody, unannounced, cut, cutText, moved})
        ASSERT_TRUE(WaitUntil([&] { return IsDone(transfer); }));

    EXPECT_EQ(notFound->GetLastError(), DownloadError_NoHTTPStream);
    EXPECT_EQ(server.Requests("/files/notfound.png"), 1) << "a 404 is not asked again";
    EXPECT_EQ(broken->GetLastError(), DownloadError_NoHTTPStream);
    EXPECT_EQ(server.Requests("/files/broken.png"), 2) << "a 500 is retried";
    // Whether the cut is seen while the answer is checked or while the body is copied depends on timing.
    EXPECT_TRUE(shortBody->GetLastError() == HTTPError_Truncated ||
                shortBody->GetLastError() == DownloadError_NoHTTPStream)
        << shortBody->GetLastError();
    EXPECT_FALSE(unannounced->HasErrorOccurred());
    EXPECT_EQ(cut->GetLastError(), DownloadError_SizeMismatch);
    // A text file served with no length is held to its listed size, so a cut shows even where only white
    // space went missing.
    EXPECT_EQ(cutText->GetLastError(), DownloadError_SizeMismatch);
    EXPECT_FALSE(moved->HasErrorOccurred());

    EXPECT_EQ(Open(L"unannounced", L".png"), "exactly listed");
    EXPECT_EQ(Open(L"moved", L".png"), "the real thing");
    EXPECT_EQ(CacheContents(), (std::vector<std::string>{"Data/moved.png", "Data/unannounced.png"}));
}

TEST_F(HTTPIntegrationTest, OnlyAFinalSuccessIsABodyAndItIsHeldToItsLength)
{
    // Every answer but two announces 5 bytes and sends more.
    const std::string overLong = "Content-Length: 5\r\n\r\nhello world and more";
    const std::string ok = "HTTP/1.1 200 OK\r\n" + overLong;
    const std::string continued = "HTTP/1.1 100 Continue\r\n\r\n";
    struct Case
    {
        const char* path;
        std::string answer;
        int error;
    };
    const std::vector<Case> cases = {
        {"/ok", ok, 0},
        {"/continued", continued + ok, 0},
        {"/moved", "HTTP/1.1 301 Moved\r\nLocation: /ok\r\n" + overLong, 0},
        {"/switching", "HTTP/1.1 101 x\r\n" + overLong, HTTPError_ServerStatus},
        {"/switching-unannounced", "HTTP/1.1 101 Switching\r\nUpgrade: x\r\n\r\nhello", HTTPError_ServerStatus},
        {"/continued-switching", continued + "HTTP/1.1 101 x\r\n" + overLong, HTTPError_ServerStatus},
        // Interim answers with no final one: the exchange breaks off.
        {"/processing", "HTTP/1.1 102 Processing\r\n" + overLong, HTTPError_Connection},
        {"/continued-only", continued, HTTPError_Connection},
        {"/gone", "HTTP/1.1 404 Not Found\r\n" + overLong, HTTPError_ClientStatus},
        {"/busy", continued + "HTTP/1.1 503 Busy\r\n" + overLong, HTTPError_ServerStatus},
        // libcurl decodes the chunks; the length still counts here.
        {"/rechunked",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nTransfer-Encoding: identity\r\n"
         "Content-Length: 5\r\n\r\n14\r\nhello world and more\r\n0\r\n\r\n",
         HTTPError_Connection},
    };
    ScriptedServer server;
    for (const Case& c : cases)
        server.Set(c.path, {ScriptedServer::Kind::Raw, c.answer, "", ""});
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.path);
        std::unique_ptr<IStream> stream(network->OpenHTTPStream((server.Base() + c.path).c_str()));
        ASSERT_NE(stream, nullptr);
        auto* status = dynamic_cast<IErrorStatus*>(stream.get());
        const std::string body = ReadAll(stream.get());
        EXPECT_EQ(status->GetLastError(), c.error);
        EXPECT_TRUE(stream->IsEOF());
        // A refused answer may have passed on the first bytes of its body, never more than it announced.
        EXPECT_LE(body.size(), 5u);
        if (c.error == 0)
        {
            EXPECT_EQ(body, "hello");
            EXPECT_EQ(stream->GetLength(), 5u);
        }
    }
}

TEST_F(HTTPIntegrationTest, TextFilesAreHeldToTheirListedSizeWhateverLengthIsAnnounced)
{
    using Kind = ScriptedServer::Kind;
    std::string lines;
    for (int i = 0; lines.size() < 400; ++i)
        lines += "speed " + std::to_string(i) + "\n";
    const std::string values = TextOfSize(lines, 320);
    const std::string layout = TextOfSize("<resources>\n<int name=\"Lives\" value=\"5\"/>\n</resources>", 320);
    struct Case
    {
        const wchar_t* name;
        const wchar_t* extension;
        std::string listed;
        ScriptedServer::Answer answer;
        int error;
    };
    // A length one byte short cuts the closing newline, which the text checksum does not see.
    const std::vector<Case> cases = {
        {L"tuning", L".txt", values, {Kind::LyingLength, values, "", ""}, DownloadError_SizeMismatch},
        {L"game", L".xml", layout, {Kind::LyingLength, layout, "", ""}, DownloadError_SizeMismatch},
        {L"spaced", L".xml", layout, {Kind::Body, TextWithCRLF(layout), "", ""}, DownloadError_SizeMismatch},
        {L"whole", L".txt", values, {Kind::Body, values, "", ""}, 0},
    };
    ScriptedServer server;
    std::vector<Listed> listed;
    for (const Case& c : cases)
    {
        const std::string file = std::string(c.name, c.name + std::wcslen(c.name)) +
                                 std::string(c.extension, c.extension + std::wcslen(c.extension));
        server.Set("/files/Text/" + file, c.answer);
        listed.push_back({"Data/Text/" + file, c.listed});
    }
    StartStreaming(listed, server.Base() + "/files");

    std::vector<Transfer> transfers;
    for (const Case& c : cases)
        transfers.push_back(Acquire(c.name, c.extension));
    for (size_t i = 0; i < cases.size(); ++i)
    {
        const Case& c = cases[i];
        SCOPED_TRACE(listed[i].path);
        ASSERT_NE(transfers[i], nullptr);
        ASSERT_TRUE(WaitUntil([&] { return IsDone(transfers[i]); }));
        EXPECT_EQ(transfers[i]->GetLastError(), c.error);
        // Every try is refused alike.
        EXPECT_EQ(server.Requests("/files/Text/" + listed[i].path.substr(10)), c.error == 0 ? 1 : 2);
        EXPECT_EQ(Open(c.name, c.extension), c.error == 0 ? c.listed : "<null>");
    }
    EXPECT_EQ(CacheContents(), std::vector<std::string>{"Data/Text/whole.txt"});
}

TEST_F(HTTPIntegrationTest, BodiesThatNeverEndAreCutOffJustPastTheListedSize)
{
    using Kind = ScriptedServer::Kind;
    const std::string block = RandomBytes(65536, 7);
    ScriptedServer server;
    // No length, a length that fits 32 bits and one that does not; each sent until the client hangs up.
    const std::vector<std::pair<std::string, std::string>> answers = {
        {"unannounced.png", ""}, {"huge.png", "3000000000"}, {"vast.png", "10000000000"}, {"vast.xml", ""}};
    std::vector<Listed> listed;
    for (const auto& [file, length] : answers)
    {
        server.Set("/files/" + file, {Kind::Endless, block, "", length});
        listed.push_back({"Data/" + file, RandomBytes(20000, 8)});
    }
    StartStreaming(listed, server.Base() + "/files");

    const std::vector<Transfer> transfers = {Acquire(L"unannounced", L".png"), Acquire(L"huge", L".png"),
                                             Acquire(L"vast", L".png"), Acquire(L"vast", L".xml")};
    for (size_t i = 0; i < transfers.size(); ++i)
    {
        const std::string& file = answers[i].first;
        SCOPED_TRACE(file);
        ASSERT_NE(transfers[i], nullptr);
        ASSERT_TRUE(WaitUntil([&] { return IsDone(transfers[i]); }, std::chrono::seconds(60)));
        EXPECT_EQ(transfers[i]->GetLastError(), DownloadError_SizeMismatch);
        EXPECT_EQ(server.Requests("/files/" + file), 2) << "the failed transfer is tried again";
        ASSERT_TRUE(WaitUntil([&] { return server.HungUp("/files/" + file) == 2; }))
            << "the client hangs up long before the server's cap";
    }
    EXPECT_TRUE(CacheContents().empty());
}

TEST_F(HTTPIntegrationTest, ATrickleFailsAndIsFetchedAgainLater)
{
    // The limits the game runs with, not the short ones of the other tests.
    network = std::make_unique<Linux::NetworkPlatform>();
    RegisterSingleton(network.get());
    ScriptedServer server;
    server.Set("/files/slow.png", {ScriptedServer::Kind::Trickle, "", "", ""});
    StartStreaming({{"Data/slow.png", RandomBytes(20000, 9)}}, server.Base() + "/files");
    manager()->SetRetryPolicy({1, 0});

    const Transfer first = Acquire(L"slow", L".png");
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return IsDone(first); }, std::chrono::seconds(25)))
        << "a byte every 0.6 s is no download";
    EXPECT_EQ(first->GetLastError(), HTTPError_TimedOut);
    EXPECT_TRUE(WaitUntil([&] { return server.HungUp("/files/slow.png") == 1; }));
    EXPECT_TRUE(CacheContents().empty());

    EXPECT_EQ(source.GetFileStatus(FileAddress(L"slow", L".png")), 1);
    const Transfer again = Acquire(L"slow", L".png");
    ASSERT_NE(again, nullptr);
    EXPECT_NE(again, first);
    EXPECT_TRUE(WaitUntil([&] { return server.Requests("/files/slow.png") == 2; }));
}

TEST_F(HTTPIntegrationTest, CacheIsReadAtListedPathsOnlyAndOpeningItClearsPartFiles)
{
    ScriptedServer server;
    server.Set("/files/Images/title.png", {ScriptedServer::Kind::Body, "title image", "", ""});
    const std::string cache = "home/.local/share/Company/Product/";
    // Copies of the same name elsewhere: at the root, and in a folder that sorts before the listed one.
    temp.Put(cache + "title.png", "stale");
    temp.Put(cache + "Aaa/title.png", "stale");
    temp.Put(cache + "Data/Images/title.png.part", "half of a killed run");
    temp.Put(cache + "Data/notes.txt.part", "half of a killed run");
    StartStreaming({{"Data/Images/title.png", "title image"}, {"Data/notes.txt", "notes"}}, server.Base() + "/files");
    EXPECT_EQ(CacheContents(), (std::vector<std::string>{"Aaa/title.png", "title.png"}));

    const Transfer transfer = Acquire(L"title", L".png");
    ASSERT_NE(transfer, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return IsDone(transfer); }));
    EXPECT_FALSE(transfer->HasErrorOccurred()) << transfer->GetLastError();
    EXPECT_EQ(Acquire(L"title", L".png"), nullptr) << "the download is found where it was put";
    EXPECT_EQ(Open(L"title", L".png"), "title image");
    EXPECT_EQ(server.Requests("/files/Images/title.png"), 1);
}

TEST_F(HTTPIntegrationTest, StalledServersTimeOut)
{
    ScriptedServer server;
    server.Set("/files/body.png", {ScriptedServer::Kind::StallInBody, RandomBytes(64, 5), "", ""});
    server.Set("/files/silent.png", {ScriptedServer::Kind::StallSilent, "", "", ""});
    StartStreaming({{"Data/body.png", RandomBytes(64, 5)}, {"Data/silent.png", "x"}}, server.Base() + "/files");
    manager()->SetRetryPolicy({1, 0});

    const auto start = std::chrono::steady_clock::now();
    const Transfer body = Acquire(L"body", L".png");
    const Transfer silent = Acquire(L"silent", L".png");
    ASSERT_TRUE(WaitUntil([&] { return IsDone(body) && IsDone(silent); }));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(body->GetLastError(), HTTPError_TimedOut);
    EXPECT_EQ(silent->GetLastError(), DownloadError_NoHTTPStream) << "no answer at all";
    EXPECT_TRUE(CacheContents().empty());
}

TEST_F(HTTPIntegrationTest, CleanupDoesNotWaitForStalledServers)
{
    Linux::sHTTPSettings patient = ShortLimits();
    patient.lowSpeedSeconds = 60;
    network = std::make_unique<Linux::NetworkPlatform>(patient);
    RegisterSingleton(network.get());
    ScriptedServer server;
    server.Set("/files/body.png", {ScriptedServer::Kind::StallInBody, RandomBytes(64, 6), "", ""});
    server.Set("/files/silent.png", {ScriptedServer::Kind::StallSilent, "", "", ""});
    StartStreaming({{"Data/body.png", RandomBytes(64, 6)}, {"Data/silent.png", "x"}}, server.Base() + "/files");

    const Transfer body = Acquire(L"body", L".png");
    const Transfer silent = Acquire(L"silent", L".png");
    ASSERT_TRUE(WaitUntil(
        [&] { return server.Requests("/files/body.png") == 1 && server.Requests("/files/silent.png") == 1; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));

    const auto start = std::chrono::steady_clock::now();
    GetDownloadManager()->Cleanup();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(body->GetLastError(), DownloadError_Aborted);
    EXPECT_EQ(silent->GetLastError(), DownloadError_Aborted);
    EXPECT_TRUE(CacheContents().empty()) << "no part file is left";
}

TEST_F(HTTPIntegrationTest, StreamFailsCleanlyAndCanBeCutShortFromAnotherThread)
{
    ScriptedServer server;
    server.Set("/stall", {ScriptedServer::Kind::StallInBody, "0123456789", "", ""});
    char buffer[64];

    // Nothing listens on a port we just gave back.
    int port = 0;
    ::close(ListenOnLoopback(&port));
    std::unique_ptr<IStream> refused(
        network->OpenHTTPStream(("http://127.0.0.1:" + std::to_string(port) + "/").c_str()));
    ASSERT_NE(refused, nullptr);
    EXPECT_EQ(dynamic_cast<IErrorStatus*>(refused.get())->GetLastError(), HTTPError_Connection);
    EXPECT_EQ(network->OpenHTTPStream(static_cast<const char*>(nullptr)), nullptr);
    EXPECT_EQ(network->OpenHTTPStream(L""), nullptr);

    // An abort from another thread ends a read that waits on a stalled server.
    std::unique_ptr<IStream> stall(network->OpenHTTPStream((server.Base() + "/stall").c_str()));
    ASSERT_NE(stall, nullptr);
    EXPECT_EQ(stall->GetLength(), 10u);
    EXPECT_EQ(stall->Read(buffer, sizeof(buffer)), 5u);
    std::thread aborter(
        [&]
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            dynamic_cast<IAbortableStream*>(stall.get())->AbortTransfer();
        });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(stall->Read(buffer, sizeof(buffer)), 0u);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
    aborter.join();
    EXPECT_EQ(dynamic_cast<IErrorStatus*>(stall.get())->GetLastError(), HTTPError_Aborted);
    EXPECT_TRUE(stall->IsEOF());
}

} // namespace
