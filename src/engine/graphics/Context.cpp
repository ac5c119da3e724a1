#include "graphics/Context.h"

#include "core/Log.h"
#include "graphics/FrameRecorder.h"
#include "graphics/GraphicsPlatform.h"

#include <array>
#include <atomic>

namespace Strata::Graphics
{

namespace
{

ICanvas* GetPlatformScreenCanvas()
{
    IGraphicsPlatform* platform = GetGraphicsPlatform();
    return platform ? platform->GetScreenCanvas() : nullptr;
}

// Resolves the platform's screen canvas on every call: contexts keep pointing here while the window
// and its canvas are re-created.
class cScreenCanvasProxy final : public ICanvas
{
public:
    Label GetKind() const override
    {
        ICanvas* screen = GetPlatformScreenCanvas();
        return screen ? screen->GetKind() : Label();
    }

    const Rect<int>& GetBounds() const override
    {
        static const Rect<int> none;
        ICanvas* screen = GetPlatformScreenCanvas();
        return screen ? screen->GetBounds() : none;
    }

    bool QueryInterface(Label name, void** out) override
    {
        ICanvas* screen = GetPlatformScreenCanvas();
        if (!screen)
            return false;
        // A recorded frame draws at its end, and only when it differs from the frame on screen.
        if (FrameRecording::IsRecording())
            return Strata::Internal::QueryRecordingInterface(screen, name, out);
        return screen->QueryInterface(name, out);
    }
};

struct ThreadContexts
{
    Context current{GetScreenCanvas(), sDrawState::GetDefaults()};
    std::array<Context, kContextStackSize> stack{};
    int depth = 0;
    // Pushes refused on a full stack, whose pops must be refused too.
    int refused = 0;
};

ThreadContexts& Contexts()
{
    thread_local ThreadContexts contexts;
    return contexts;
}

std::atomic<bool> gOverflowLogged{false};
std::atomic<bool> gUnderflowLogged{false};

} // namespace

ICanvas* GetScreenCanvas()
{
    static cScreenCanvasProxy proxy;
    return &proxy;
}

Context& GetContext()
{
    return Contexts().current;
}

void PushContext(const Context& context)
{
    ThreadContexts& contexts = Contexts();
    if (contexts.depth >= kContextStackSize)
    {
        ++contexts.refused;
        if (!gOverflowLogged.exchange(true))
        {
            Internal::LogWrite("Graphics::PushContext: more than %d contexts pushed; the push is ignored.\n",
                               kContextStackSize);
        }
        return;
    }
    // Copied first: `context` may be the current context itself.
    const Context next = context;
    contexts.stack[static_cast<size_t>(contexts.depth)] = contexts.current;
    ++contexts.depth;
    contexts.current = next;
}

void PopContext()
{
    ThreadContexts& contexts = Contexts();
    if (contexts.refused > 0)
    {
        --contexts.refused;
        return;
    }
    if (contexts.depth == 0)
    {
        if (!gUnderflowLogged.exchange(true))
            Internal::LogWrite("Graphics::PopContext: no context to pop; the pop is ignored.\n");
        return;
    }
    --contexts.depth;
    contexts.current = contexts.stack[static_cast<size_t>(contexts.depth)];
}

int GetContextDepth()
{
    return Contexts().depth;
}

ICanvas* GetCanvas()
{
    ICanvas* canvas = Contexts().current.canvas;
    return canvas ? canvas : GetScreenCanvas();
}

const sDrawState& GetDrawState()
{
    return Contexts().current.state;
}

void SetDrawState(const sDrawState& state)
{
    Contexts().current.state = state;
}

} // namespace Strata::Graphics
