#include "graphics/FrameRecorder.h"

#include "graphics/Canvas.h"
#include "graphics/Context.h"
#include "graphics/DrawState.h"
#include "graphics/GraphicsPlatform.h"
#include "graphics/Image.h"
#include "graphics/PixelMath.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace Strata::Graphics
{

using namespace FrameRecording;

namespace
{

enum eCommand : int
{
    Command_Line,
    Command_LineCircle,
    Command_FilledCircle,
    Command_LineEllipse,
    Command_FilledEllipse,
    Command_FilledRectInt,
    Command_FilledRectFloat,
    Command_Image,
    Command_StretchedImage,
    Command_RotatedImage,
    Command_StretchedRotatedImage,
    Command_Primitive,
    Command_Pixel
};

// One drawing call with everything it reads, so that two equal records draw the same pixels. Images
// are compared by their content stamp, which no other content of any image ever had.
struct sCommand
{
    eCommand kind = Command_Line;
    IImage* image = nullptr;
    uint64_t stamp = 0;
    // The image's size when recorded: a frame kept to compare with may outlive its images.
    int imageWidth = 0;
    int imageHeight = 0;
    // How far from its middle a turned picture shows anything; negative when not known.
    float contentRadius = -1.0f;
    float values[5] = {};
    Rect<int> rect;
    int primitive = 0;
    size_t firstVertex = 0;
    size_t vertexCount = 0;
    Color32 color;
    sDrawState state;

    bool operator==(const sCommand&) const = default;
};

struct sFrame
{
    IGraphicsPlatform* platform = nullptr;
    ICanvas* canvas = nullptr;
    std::vector<sCommand> commands;
    std::vector<sPrimitiveVertex> vertices;

    bool operator==(const sFrame&) const = default;
    void Clear()
    {
        platform = nullptr;
        canvas = nullptr;
        commands.clear();
        vertices.clear();
    }
};

// The pixels from (left, top) to (right, bottom) with a margin for rounding, kept well inside int.
Rect<int> Box(double left, double top, double right, double bottom)
{
    static constexpr double kFar = 1 << 28;
    if (!(left <= right) || !(top <= bottom))
        return Rect<int>();
    const auto at = [](double value) { return static_cast<int>(std::clamp(value, -kFar, kFar)); };
    const int x = at(std::floor(left) - 2);
    const int y = at(std::floor(top) - 2);
    return Rect<int>(x, y, at(std::ceil(right) + 2) - x, at(std::ceil(bottom) + 2) - y);
}

// The size of the image, or of its source rectangle, that a call draws.
std::pair<double, double> DrawnSize(const sCommand& c)
{
    if (c.state.flags & DrawFlag_SourceRect)
        return {c.state.sourceRect.width, c.state.sourceRect.height};
    return {c.imageWidth, c.imageHeight};
}

// Lines and primitives may be drawn by rules the recorder does not follow.
bool KnowsReach(const sCommand& c)
{
    return c.kind != Command_Line && c.kind != Command_Primitive;
}

// The screen pixels a call may write (a call with unknown reach: all of them). A turned picture, and the
// software canvas's turned copy of it, is no wider or taller than its diagonal and a pixel.
Rect<int> Reach(const sCommand& c, const Rect<int>& screen)
{
    const float* v = c.values;
    Rect<int> reach = screen;
    switch (c.kind)
    {
    case Command_Pixel:
        return Rect<int>(TruncateToInt(v[0]), TruncateToInt(v[1]), 1, 1);
    case Command_LineCircle:
    case Command_FilledCircle:
        reach = Box(v[0] - v[2], v[1] - v[2], v[0] + v[2], v[1] + v[2]);
        break;
    case Command_LineEllipse:
    case Command_FilledEllipse:
    case Command_FilledRectFloat:
        reach = Box(v[0], v[1], double(v[0]) + v[2], double(v[1]) + v[3]);
        break;
    case Command_FilledRectInt:
    case Command_StretchedImage:
        reach = c.rect;
        break;
    case Command_Image:
    {
        const auto [width, height] = DrawnSize(c);
        reach = Box(v[0], v[1], v[0] + width, v[1] + height);
        break;
    }
    case Command_RotatedImage:
    {
        const auto [width, height] = DrawnSize(c);
        // Blended, a turned copy leaves its transparent pixels unwritten: only its content reaches out, a
        // few pixels more for the copy's placing and sampling.
        const double half = c.contentRadius >= 0 ? c.contentRadius + 4.0 : std::hypot(width, height) / 2 + 2;
        reach = Box(v[0] - half, v[1] - half, v[0] + half, v[1] + half);
        break;
    }
    case Command_StretchedRotatedImage:
    {
        const auto [width, height] = DrawnSize(c);
        if (width <= 0 || height <= 0)
            return Rect<int>();
        const double turned = std::hypot(width, height) + 4;
        const double halfWidth = turned * c.rect.width / width / 2 + 2;
        const double halfHeight = turned * c.rect.height / height / 2 + 2;
        reach = Box(c.rect.x - halfWidth, c.rect.y - halfHeight, c.rect.x + halfWidth, c.rect.y + halfHeight);
        break;
    }
    default:
        break;
    }
    return reach.getIntersection(c.state.clipRect);
}

long long Area(const Rect<int>& rect)
{
    return rect.isEmpty() ? 0 : static_cast<long long>(rect.width) * rect.height;
}

// Pixels that two rectangles may leave between them and still be drawn as one: drawing a rectangle has
// a cost of its own (the calls walked again, one more piece sent to the screen).
constexpr long long kJoinWaste = 4096;

// Adds the rectangle to the scene's, joined with one it overlaps (so that none overlap and each pixel
// is drawn once), with the nearest when the two cost less as one, or when the list is full.
void AddChange(sSceneArea& scene, Rect<int> rect)
{
    while (!rect.isEmpty())
    {
        int join = -1;
        long long best = 0;
        bool overlaps = false;
        for (int i = 0; i < scene.rectCount && !overlaps; ++i)
        {
            const Rect<int>& other = scene.rects[i];
            overlaps = !other.getIntersection(rect).isEmpty();
            const long long waste = Area(other.getUnion(rect)) - Area(other) - Area(rect);
            if (overlaps || join < 0 || waste < best)
                join = i, best = waste;
        }
        if (join < 0 || (!overlaps && best > kJoinWaste && scene.rectCount < sSceneArea::kMaxRects))
        {
            scene.rects[scene.rectCount++] = rect;
            return;
        }
        // The joined rectangle may now overlap others: it is added again.
        rect = rect.getUnion(scene.rects[join]);
        scene.rects[join] = scene.rects[--scene.rectCount];
    }
}

// How far ahead a call inserted or removed is looked for.
constexpr size_t kLookAhead = 8;

// Calls `unpaired` for every call of either recording left out when the calls that are the same are
// paired in order. A call inserted or removed shifts those after it, which are paired with their like
// again. Any pairing in order is sound: outside the reach of the unpaired calls, both recordings draw the
// same calls in the same order.
template <class F>
void ForEachUnpaired(const std::vector<sCommand>& before, const std::vector<sCommand>& after, F&& unpaired)
{
    size_t i = 0, j = 0;
    while (i < before.size() && j < after.size())
    {
        if (before[i] == after[j])
        {
            ++i, ++j;
            continue;
        }
        size_t removed = 0, inserted = 0;
        for (size_t k = 1; k <= kLookAhead && removed + inserted == 0; ++k)
            if (i + k < before.size() && before[i + k] == after[j])
                removed = k;
            else if (j + k < after.size() && before[i] == after[j + k])
                inserted = k;
        // A call changed in place is unpaired on both sides.
        if (removed + inserted == 0)
            removed = inserted = 1;
        for (; removed > 0; --removed)
            unpaired(before[i++]);
        for (; inserted > 0; --inserted)
            unpaired(after[j++]);
    }
    for (; i < before.size(); ++i)
        unpaired(before[i]);
    for (; j < after.size(); ++j)
        unpaired(after[j]);
}

// Where two recordings may differ on screen: the reach of every call of either that the other does not
// draw at the same place in its order, as a few rectangles. The images of the frame shown may be gone:
// only what was recorded of them is read.
sSceneArea ChangedArea(const sFrame& shown, const sFrame& frame, const Rect<int>& screen)
{
    if (!std::all_of(frame.commands.begin(), frame.commands.end(), KnowsReach))
        return sSceneArea(screen);
    sSceneArea scene;
    ForEachUnpaired(shown.commands, frame.commands,
                    [&](const sCommand& command) { AddChange(scene, Reach(command, screen).getIntersection(screen)); });
    return scene;
}

// True when the call writes every pixel of the area opaquely, whatever was there: an opaque fill, or
// an untinted picture at full opacity drawn without its alpha or with none to draw.
bool Covers(const sCommand& c, const Rect<int>& area)
{
    if (area.isEmpty() || !c.state.clipRect.contains(area))
        return false;
    const float* v = c.values;
    const bool blend = (c.state.flags & DrawFlag_Blend) != 0;
    switch (c.kind)
    {
    case Command_FilledRectInt:
    case Command_FilledRectFloat:
    {
        const Rect<int> rect = c.kind == Command_FilledRectInt ? c.rect
                                                               : Rect<int>(TruncateToInt(v[0]), TruncateToInt(v[1]),
                                                                           TruncateToInt(v[2]), TruncateToInt(v[3]));
        return (!blend || ToColor32(c.state.color).a == 255) && rect.contains(area);
    }
    case Command_Image:
    {
        const auto* image = dynamic_cast<const Image*>(c.image);
        const ColorF& tint = c.state.imageColor;
        return image && !image->IsEmpty() && (c.state.flags & DrawFlag_SourceRect) == 0 &&
               (!blend || !image->HasAlpha() || image->IsOpaque()) && ChannelToByte(tint.r) == 255 &&
               ChannelToByte(tint.g) == 255 && ChannelToByte(tint.b) == 255 && ChannelToByte(tint.a) == 255 &&
               Rect<int>(TruncateToInt(v[0]), TruncateToInt(v[1]), image->GetWidth(), image->GetHeight())
                   .contains(area);
    }
    default:
        return false;
    }
}

class FrameRecorder final : public IQuadDrawingCanvas,
                            public ILineDrawingCanvas,
                            public IEllipseDrawingCanvas,
                            public IPixelSettingCanvas
{
public:
    ePresentResult DrawFrame(const std::function<void()>& draw, bool force);
    void Invalidate() { mShownValid = false; }
    bool IsRecording() const { return mState == State_Recording; }
    bool QueryInterface(ICanvas* screen, Label name, void** out);
    void ForgetImage(const IImage* image);

    // --- ILineDrawingCanvas ---
    int DrawLine(float x1, float y1, float x2, float y2, const sDrawState& state) override
    {
        return Add(Command_Line, nullptr, {x1, y1, x2, y2}, state);
    }

    // --- IEllipseDrawingCanvas ---
    int DrawLineCircle(float centerX, float centerY, float radius, const sDrawState& state) override
    {
        return Add(Command_LineCircle, nullptr, {centerX, centerY, radius}, state);
    }
    int DrawFilledCircle(float centerX, float centerY, float radius, const sDrawState& state) override
    {
        return Add(Command_FilledCircle, nullptr, {centerX, centerY, radius}, state);
    }
    int DrawLineEllipse(const Rect<float>& bounds, const sDrawState& state) override
    {
        return Add(Command_LineEllipse, nullptr, {bounds.x, bounds.y, bounds.width, bounds.height}, state);
    }
    int DrawFilledEllipse(const Rect<float>& bounds, const sDrawState& state) override
    {
        return Add(Command_FilledEllipse, nullptr, {bounds.x, bounds.y, bounds.width, bounds.height}, state);
    }

    // --- IQuadDrawingCanvas ---
    int DrawFilledRect(const Rect<int>& rect, const sDrawState& state) override
    {
        return Add(Command_FilledRectInt, nullptr, {}, state, rect);
    }
    int DrawFilledRect(const Rect<float>& rect, const sDrawState& state) override
    {
        return Add(Command_FilledRectFloat, nullptr, {rect.x, rect.y, rect.width, rect.height}, state);
    }
    int DrawImage(IImage* image, float x, float y, const sDrawState& state) override
    {
        return Add(Command_Image, image, {x, y}, state);
    }
    int DrawStretchedImage(IImage* image, const Rect<int>& destination, const sDrawState& state) override
    {
        return Add(Command_StretchedImage, image, {}, state, destination);
    }
    int DrawRotatedImage(IImage* image, float x, float y, Angle angle, const sDrawState& state) override
    {
        return Add(Command_RotatedImage, image, {x, y, angle.GetValue()}, state);
    }
    int DrawStretchedRotatedImage(IImage* image, const Rect<int>& destination, Angle angle,
                                  const sDrawState& state) override
    {
        return Add(Command_StretchedRotatedImage, image, {angle.GetValue()}, state, destination);
    }
    int DrawPrimitive(PrimitiveKind kind, IImage* image, int vertexCount, const sPrimitiveVertex* vertices,
                      const sDrawState& state) override;

    // --- IPixelSettingCanvas ---
    int SetPixel(float x, float y, Color32 color) override;
    // The screen's pixel as drawn so far: the frame is drawn from here on.
    Color32 GetPixel(float x, float y) override;

private:
    enum eState
    {
        State_Idle,      // no frame in progress: the proxy is the screen canvas
        State_Recording, // calls are recorded
        State_Direct     // the scene has begun and calls go to the screen canvas
    };

    int Add(eCommand kind, IImage* image, std::initializer_list<float> values, const sDrawState& state,
            const Rect<int>& rect = Rect<int>());
    // Keeps the call for the end of the frame, or draws it now once the frame has gone direct.
    int Record(sCommand&& command);
    static void Execute(const sCommand& command, ICanvas* canvas, const sPrimitiveVertex* vertices);
    // Begins the scene and draws what was recorded; later calls go to the screen. False when the scene
    // could not be begun (the calls are then dropped, as a frame on no screen is).
    bool GoDirect();
    void Replay(ICanvas* canvas) const;
    // Draws the calls that reach into each of the scene's rectangles, clipped to it.
    void ReplayIn(ICanvas* canvas, const sSceneArea& scene);
    // Begins the scene of a recorded frame, on as little of the screen as changed when the renderer can;
    // false when it would not begin.
    bool BeginRecordedScene(IGraphicsPlatform* platform, bool force);

    eState mState = State_Idle;
    bool mBegun = false;
    // The window lost what it showed: this frame is shown whole.
    bool mForce = false;
    sFrame mFrame;
    sFrame mShown;
    bool mShownValid = false;
    // The reach of each call of the frame, kept to save allocating it every frame.
    std::vector<Rect<int>> mReaches;
};

FrameRecorder& GetRecorder()
{
    static FrameRecorder recorder;
    return recorder;
}

// Which thread records: images dropped by other threads are never in the frame.
thread_local bool tRecordingHere = false;

int FrameRecorder::Add(eCommand kind, IImage* image, std::initializer_list<float> values, const sDrawState& state,
                       const Rect<int>& rect)
{
    sCommand command;
    command.kind = kind;
    command.image = image;
    std::copy(values.begin(), values.end(), command.values);
    command.rect = rect;
    command.state = state;
    return Record(std::move(command));
}

int FrameRecorder::Record(sCommand&& command)
{
    command.stamp = command.image ? command.image->GetContentStamp() : 0;
    command.imageWidth = command.image ? command.image->GetWidth() : 0;
    command.imageHeight = command.image ? command.image->GetHeight() : 0;
    if (command.kind == Command_RotatedImage && (command.state.flags & DrawFlag_Blend) &&
        !(command.state.flags & DrawFlag_SourceRect))
        if (const auto* image = dynamic_cast<const Image*>(command.image); image && image->HasAlpha())
            command.contentRadius = image->GetContentRadius();
    // A caller may keep an ability it asked for before the frame went direct.
    if (mState != State_Recording)
    {
        if (mState == State_Direct && mBegun)
            Execute(command, mFrame.canvas, mFrame.vertices.data());
        return DrawResult_Drawn;
    }
    mFrame.commands.push_back(std::move(command));
    // An image of unknown content may have changed unseen, and may not live until the frame ends.
    if (mFrame.commands.back().image && mFrame.commands.back().stamp == 0)
        GoDirect();
    return DrawResult_Drawn;
}

int FrameRecorder::DrawPrimitive(PrimitiveKind kind, IImage* image, int vertexCount, const sPrimitiveVertex* vertices,
                                 const sDrawState& state)
{
    sCommand command;
    command.kind = Command_Primitive;
    command.image = image;
    command.state = state;
    command.primitive = kind;
    if (mState == State_Direct)
        mFrame.vertices.clear();
    command.firstVertex = mFrame.vertices.size();
    if (vertexCount > 0 && vertices)
        mFrame.vertices.insert(mFrame.vertices.end(), vertices, vertices + vertexCount);
    command.vertexCount = mFrame.vertices.size() - command.firstVertex;
    return Record(std::move(command));
}

int FrameRecorder::SetPixel(float x, float y, Color32 color)
{
    sCommand command;
    command.kind = Command_Pixel;
    command.values[0] = x;
    command.values[1] = y;
    command.color = color;
    return Record(std::move(command));
}

Color32 FrameRecorder::GetPixel(float x, float y)
{
    if (!GoDirect())
        return Color32();
    IPixelSettingCanvas* pixels = QueryCanvas<IPixelSettingCanvas>(mFrame.canvas);
    return pixels ? pixels->GetPixel(x, y) : Color32();
}

void FrameRecorder::Execute(const sCommand& c, ICanvas* canvas, const sPrimitiveVertex* vertices)
{
    const float* v = c.values;
    const Rect<float> box(v[0], v[1], v[2], v[3]);
    // Every call was recorded through an ability the canvas answered; a missing one is of a canvas that
    // answers differently now.
    switch (c.kind)
    {
    case Command_Line:
        if (auto* lines = QueryCanvas<ILineDrawingCanvas>(canvas))
            lines->DrawLine(v[0], v[1], v[2], v[3], c.state);
        break;
    case Command_LineCircle:
        if (auto* ellipses = QueryCanvas<IEllipseDrawingCanvas>(canvas))
            ellipses->DrawLineCircle(v[0], v[1], v[2], c.state);
        break;
    case Command_FilledCircle:
        if (auto* ellipses = QueryCanvas<IEllipseDrawingCanvas>(canvas))
            ellipses->DrawFilledCircle(v[0], v[1], v[2], c.state);
        break;
    case Command_LineEllipse:
        if (auto* ellipses = QueryCanvas<IEllipseDrawingCanvas>(canvas))
            ellipses->DrawLineEllipse(box, c.state);
        break;
    case Command_FilledEllipse:
        if (auto* ellipses = QueryCanvas<IEllipseDrawingCanvas>(canvas))
            ellipses->DrawFilledEllipse(box, c.state);
        break;
    case Command_Pixel:
        if (auto* pixels = QueryCanvas<IPixelSettingCanvas>(canvas))
            pixels->SetPixel(v[0], v[1], c.color);
        break;
    default:
        break;
    }
    IQuadDrawingCanvas* quads = QueryCanvas<IQuadDrawingCanvas>(canvas);
    if (!quads)
        return;
    switch (c.kind)
    {
    case Command_FilledRectInt:
        quads->DrawFilledRect(c.rect, c.state);
        break;
    case Command_FilledRectFloat:
        quads->DrawFilledRect(box, c.state);
        break;
    case Command_Image:
        quads->DrawImage(c.image, v[0], v[1], c.state);
        break;
    case Command_StretchedImage:
        quads->DrawStretchedImage(c.image, c.rect, c.state);
        break;
    case Command_RotatedImage:
        quads->DrawRotatedImage(c.image, v[0], v[1], Angle(v[2]), c.state);
        break;
    case Command_StretchedRotatedImage:
        quads->DrawStretchedRotatedImage(c.image, c.rect, Angle(v[0]), c.state);
        break;
    case Command_Primitive:
        quads->DrawPrimitive(static_cast<PrimitiveKind>(c.primitive), c.image, static_cast<int>(c.vertexCount),
                             c.vertexCount > 0 ? vertices + c.firstVertex : nullptr, c.state);
        break;
    default:
        break;
    }
}

void FrameRecorder::Replay(ICanvas* canvas) const
{
    for (const sCommand& command : mFrame.commands)
        Execute(command, canvas, mFrame.vertices.data());
}

void FrameRecorder::ReplayIn(ICanvas* canvas, const sSceneArea& scene)
{
    const Rect<int> screen = canvas->GetBounds();
    mReaches.clear();
    for (const sCommand& command : mFrame.commands)
        mReaches.push_back(Reach(command, screen));
    for (int r = 0; r < scene.rectCount; ++r)
    {
        const Rect<int>& area = scene.rects[r];
        for (size_t i = 0; i < mFrame.commands.size(); ++i)
        {
            const sCommand& command = mFrame.commands[i];
            if (mReaches[i].getIntersection(area).isEmpty())
                continue;
            if (command.kind == Command_Pixel)
            {
                Execute(command, canvas, mFrame.vertices.data());
                continue;
            }
            sCommand clipped = command;
            clipped.state.clipRect = command.state.clipRect.getIntersection(area);
            Execute(clipped, canvas, mFrame.vertices.data());
        }
    }
}

bool FrameRecorder::BeginRecordedScene(IGraphicsPlatform* platform, bool force)
{
    const Rect<int> screen = mFrame.canvas->GetBounds();
    const bool kept = !force && mShownValid && mShown.platform == mFrame.platform && mShown.canvas == mFrame.canvas;
    sSceneArea scene = kept ? ChangedArea(mShown, mFrame, screen) : sSceneArea(screen);
    scene.covered = !mFrame.commands.empty() && scene.rectCount > 0 &&
                    std::all_of(scene.rects, scene.rects + scene.rectCount,
                                [this](const Rect<int>& rect) { return Covers(mFrame.commands.front(), rect); });
    // An exposed or resized window lost all it showed.
    scene.wholeWindow = force;
    if (platform->BeginSceneArea(scene) == 0)
    {
        if (scene.rectCount == 1 && scene.rects[0] == screen)
            Replay(mFrame.canvas);
        else
            ReplayIn(mFrame.canvas, scene);
        return true;
    }
    if (platform->BeginScene() != 0)
        return false;
    Replay(mFrame.canvas);
    return true;
}

bool FrameRecorder::GoDirect()
{
    if (mState != State_Recording)
        return mState == State_Direct;
    // Whatever happens now, this frame is no record of the screen.
    mShownValid = false;
    mState = State_Direct;
    IGraphicsPlatform* platform = GetGraphicsPlatform();
    const auto begin = [this, platform]
    {
        sSceneArea scene(mFrame.canvas->GetBounds());
        scene.wholeWindow = mForce;
        return platform->BeginSceneArea(scene) == 0 || platform->BeginScene() == 0;
    };
    if (!platform || platform != mFrame.platform || platform->GetScreenCanvas() != mFrame.canvas || !begin())
    {
        mFrame.Clear();
        return false;
    }
    mBegun = true;
    Replay(mFrame.canvas);
    mFrame.commands.clear();
    mFrame.vertices.clear();
    return true;
}

bool FrameRecorder::QueryInterface(ICanvas* screen, Label name, void** out)
{
    if (!screen->QueryInterface(name, nullptr))
        return false;
    if (mState == State_Recording)
    {
        if (AnswerInterface<IQuadDrawingCanvas>(this, name, out) ||
            AnswerInterface<ILineDrawingCanvas>(this, name, out) ||
            AnswerInterface<IEllipseDrawingCanvas>(this, name, out) ||
            AnswerInterface<IPixelSettingCanvas>(this, name, out))
            return true;
        // An ability the recording cannot stand for: the frame is drawn as it goes from here.
        GoDirect();
    }
    return screen->QueryInterface(name, out);
}

void FrameRecorder::ForgetImage(const IImage* image)
{
    if (mState != State_Recording)
        return;
    if (std::any_of(mFrame.commands.begin(), mFrame.commands.end(),
                    [image](const sCommand& command) { return command.image == image; }))
        GoDirect();
}

ePresentResult FrameRecorder::DrawFrame(const std::function<void()>& draw, bool force)
{
    IGraphicsPlatform* platform = GetGraphicsPlatform();
    if (!platform)
        return Present_NoScreen;
    mFrame.Clear();
    mFrame.platform = platform;
    mFrame.canvas = platform->GetScreenCanvas();
    mBegun = false;
    mForce = force;
    mState = State_Recording;
    tRecordingHere = true;
    struct sEnd
    {
        FrameRecorder& recorder;
        ~sEnd()
        {
            recorder.mState = State_Idle;
            tRecordingHere = false;
        }
    } end{*this};
    try
    {
        draw();
    }
    catch (...)
    {
        mShownValid = false;
        // A scene begun is ended, so the renderer is not left inside one.
        if (mBegun && GetGraphicsPlatform() == mFrame.platform)
            platform->EndScene();
        mFrame.Clear();
        throw;
    }

    // A renderer replaced during the frame (a window-mode change) never began this scene.
    if (GetGraphicsPlatform() != platform || platform->GetScreenCanvas() != mFrame.canvas)
    {
        mShownValid = false;
        mFrame.Clear();
        return Present_Replaced;
    }
    if (mState == State_Recording)
    {
        if (!force && mShownValid && mFrame == mShown)
            return Present_Unchanged;
        mState = State_Idle;
        if (!BeginRecordedScene(platform, force))
        {
            mShownValid = false;
            return Present_NoScreen;
        }
        platform->EndScene();
        std::swap(mShown, mFrame);
        mShownValid = true;
        return Present_Shown;
    }
    if (!mBegun)
        return Present_NoScreen;
    platform->EndScene();
    return Present_Shown;
}

} // namespace

namespace FrameRecording
{

ePresentResult DrawFrame(const std::function<void()>& draw, bool force)
{
    return GetRecorder().DrawFrame(draw, force);
}

void Invalidate()
{
    GetRecorder().Invalidate();
}

bool IsRecording()
{
    return tRecordingHere && GetRecorder().IsRecording();
}

} // namespace FrameRecording

} // namespace Strata::Graphics

namespace Strata::Internal
{

bool QueryRecordingInterface(ICanvas* screen, Label name, void** out)
{
    return Graphics::GetRecorder().QueryInterface(screen, name, out);
}

void ForgetRecordedImage(const IImage* image)
{
    if (Graphics::tRecordingHere)
        Graphics::GetRecorder().ForgetImage(image);
}

} // namespace Strata::Internal
