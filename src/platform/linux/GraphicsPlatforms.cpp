#include "platform/linux/GraphicsPlatforms.h"

#include "core/Log.h"
#include "core/Time.h"
#include "framework/Application.h"
#include "platform/linux/OpenGLGraphicsPlatform.h"
#include "platform/linux/SoftwareGraphicsPlatform.h"

#include <SDL.h>

#include <GL/gl.h>
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>

namespace Linux
{

namespace
{

std::string gRenderer;
bool gChoiceLogged = false;

// A probe running in a child process: its id and the read end of the pipe it answers on.
pid_t gProbeChild = -1;
int gProbeAnswer = -1;
// A driver that hangs in the child must not hold the game up.
constexpr int kProbeTimeoutMS = 5000;
constexpr size_t kMaxRendererLength = 256;

bool ContainsNoCase(std::string_view text, std::string_view word)
{
    const auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
    return std::search(text.begin(), text.end(), word.begin(), word.end(),
                       [&](char a, char b) { return lower(a) == lower(b); }) != text.end();
}

// In the child: a context of its own on its own connection to the display, the renderer's name written
// to `answer`. Ends with _exit, so nothing of the parent's (atexit handlers, buffered output) runs twice.
[[noreturn]] void ProbeInChild(int answer)
{
    // The threads and the shader cache of a software rasterizer are of no use for one question.
    setenv("LP_NUM_THREADS", "0", 1);
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 1);
    const char* renderer = "";
    if (Display* display = XOpenDisplay(nullptr))
    {
        int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 1, GLX_GREEN_SIZE, 1, GLX_BLUE_SIZE, 1, None};
        if (XVisualInfo* visual = glXChooseVisual(display, DefaultScreen(display), attributes))
        {
            const ::Window root = RootWindow(display, visual->screen);
            XSetWindowAttributes windowAttributes{};
            windowAttributes.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
            const ::Window window = XCreateWindow(display, root, 0, 0, 1, 1, 0, visual->depth, InputOutput,
                                                  visual->visual, CWColormap, &windowAttributes);
            if (GLXContext context = glXCreateContext(display, visual, nullptr, True))
                if (glXMakeCurrent(display, window, context))
                    if (const GLubyte* name = glGetString(GL_RENDERER))
                        renderer = reinterpret_cast<const char*>(name);
        }
    }
    const size_t length = std::min(std::char_traits<char>::length(renderer), kMaxRendererLength);
    const bool written = write(answer, renderer, length) == static_cast<ssize_t>(length);
    _exit(written ? 0 : 1);
}

// Reads the child's answer until it closes the pipe or the wait is over, then reaps the child (killing
// it when it is late). Empty when the child found no context, failed or was late.
std::string CollectProbe()
{
    std::string answer;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kProbeTimeoutMS);
    bool late = false;
    for (;;)
    {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd wait{gProbeAnswer, POLLIN, 0};
        const int ready = left.count() > 0 ? poll(&wait, 1, static_cast<int>(left.count())) : 0;
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
        {
            late = true;
            break;
        }
        char buffer[kMaxRendererLength];
        const ssize_t got = read(gProbeAnswer, buffer, sizeof(buffer));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        answer.append(buffer, static_cast<size_t>(got));
    }
    close(gProbeAnswer);
    gProbeAnswer = -1;
    if (late)
        kill(gProbeChild, SIGKILL);
    int status = 0;
    while (waitpid(gProbeChild, &status, 0) < 0 && errno == EINTR)
    {
    }
    gProbeChild = -1;
    if (late || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    {
        Strata::Internal::LogWrite("The OpenGL probe %s: keeping OpenGL.\n", late ? "did not answer" : "failed");
        return {};
    }
    return answer.substr(0, kMaxRendererLength);
}

bool IsVideoOnX11()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr && std::string_view(driver) == "x11";
}

// The question asked in this process, on a hidden window of the running SDL video: for a display that is
// not X's.
std::string QueryInProcess()
{
    std::string renderer;
    SDL_Window* window = SDL_CreateWindow("", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 1, 1,
                                          SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (window == nullptr)
        return renderer;
    // The attributes of the renderer's own context, so that the same driver answers.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    if (SDL_GLContext context = SDL_GL_CreateContext(window))
    {
        if (SDL_GL_MakeCurrent(window, context) == 0)
        {
            if (const GLubyte* name = glGetString(GL_RENDERER))
                renderer = reinterpret_cast<const char*>(name);
            SDL_GL_MakeCurrent(window, nullptr);
        }
        SDL_GL_DeleteContext(context);
    }
    SDL_DestroyWindow(window);
    return renderer;
}

} // namespace

Strata::IGraphicsPlatform* CreateGraphicsPlatform(unsigned long caps)
{
    if (caps & Strata::GraphicsPlatformCaps_Software)
        return new SoftwareGraphicsPlatform(caps);
    return new OpenGLGraphicsPlatform(caps);
}

Strata::IGraphicsPlatform* ChooseGraphicsPlatform(unsigned long caps)
{
    if ((caps & Strata::GraphicsPlatformCaps_Software) != 0 ||
        Strata::GetCommandLine().find(L"-opengl") != std::wstring::npos)
        return CreateGraphicsPlatform(caps);
    const std::string renderer = QueryOpenGLRenderer();
    if (!IsSoftwareRasterizer(renderer))
        return CreateGraphicsPlatform(caps);
    if (!gChoiceLogged)
    {
        Strata::Internal::LogWrite("OpenGL draws in software here (%s): using the software renderer "
                                   "(-opengl keeps OpenGL).\n",
                                   renderer.c_str());
        gChoiceLogged = true;
    }
    return CreateGraphicsPlatform(caps | Strata::GraphicsPlatformCaps_Software);
}

bool IsSoftwareRasterizer(std::string_view renderer)
{
    for (const std::string_view name : {"llvmpipe", "softpipe", "swrast"})
        if (ContainsNoCase(renderer, name))
            return true;
    return false;
}

namespace
{

// Forks the child that asks; nothing when it cannot be made.
void StartProbe()
{
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0)
        return;
    const pid_t child = fork();
    if (child == 0)
    {
        close(pipeEnds[0]);
        ProbeInChild(pipeEnds[1]);
    }
    close(pipeEnds[1]);
    if (child < 0)
    {
        close(pipeEnds[0]);
        return;
    }
    gProbeChild = child;
    gProbeAnswer = pipeEnds[0];
}

} // namespace

void StartOpenGLRendererProbe()
{
    if (gRenderer.empty() && gProbeChild < 0 && SDL_WasInit(SDL_INIT_VIDEO) != 0 && IsVideoOnX11())
        StartProbe();
}

void EndOpenGLRendererProbe()
{
    if (gProbeChild < 0)
        return;
    kill(gProbeChild, SIGKILL);
    close(gProbeAnswer);
    gProbeAnswer = -1;
    while (waitpid(gProbeChild, nullptr, 0) < 0 && errno == EINTR)
    {
    }
    gProbeChild = -1;
}

std::string QueryOpenGLRenderer()
{
    if (!gRenderer.empty() || SDL_WasInit(SDL_INIT_VIDEO) == 0)
        return gRenderer;
    if (!IsVideoOnX11())
        return gRenderer = QueryInProcess();
    StartOpenGLRendererProbe();
    if (gProbeChild >= 0)
        gRenderer = CollectProbe();
    return gRenderer;
}

} // namespace Linux
