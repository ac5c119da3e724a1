#include "platform/linux/GraphicsPlatforms.h"

#include "core/Log.h"
#include "core/Time.h"
#include "framework/Application.h"
#include "platform/linux/OpenGLGraphicsPlatform.h"
#include "platform/linux/SoftwareGraphicsPlatform.h"

#include <SDL.h>

#include <GL/gl.h>

#include <algorithm>
#include <cctype>

namespace Linux
{

namespace
{

std::string gRenderer;
bool gChoiceLogged = false;

bool ContainsNoCase(std::string_view text, std::string_view word)
{
    const auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
    return std::search(text.begin(), text.end(), word.begin(), word.end(),
                       [&](char a, char b) { return lower(a) == lower(b); }) != text.end();
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

std::string QueryOpenGLRenderer()
{
    if (!gRenderer.empty() || SDL_WasInit(SDL_INIT_VIDEO) == 0)
        return gRenderer;
    SDL_Window* window = SDL_CreateWindow("", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 1, 1,
                                          SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (window == nullptr)
        return gRenderer;
    // The attributes of the renderer's own context, so that the same driver answers.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    if (SDL_GLContext context = SDL_GL_CreateContext(window))
    {
        if (SDL_GL_MakeCurrent(window, context) == 0)
        {
            if (const GLubyte* name = glGetString(GL_RENDERER))
                gRenderer = reinterpret_cast<const char*>(name);
            SDL_GL_MakeCurrent(window, nullptr);
        }
        SDL_GL_DeleteContext(context);
    }
    SDL_DestroyWindow(window);
    return gRenderer;
}

} // namespace Linux
