#include "graphics/OpenGLCanvas.h"

#include "graphics/Drawing.h"
#include "graphics/GraphicsPlatform.h"
#include "graphics/PixelMath.h"
#include "graphics/SoftwareCanvas.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <thread>
#include <utility>
#include <vector>

namespace Strata
{

using namespace Graphics;

namespace
{

// Opacities at or below this draw nothing.
constexpr float kInvisible = 0.001f;

// Never destroyed: images held in static storage may release their textures after the end of main.
std::mutex& gAllTexturesMutex = *new std::mutex();
std::vector<uint32_t>& gPendingNames = *new std::vector<uint32_t>();
std::atomic<std::thread::id> gDrawingThread{};
// Frames begun on the drawing thread; textures note the one they were last drawn in.
uint32_t gFrame = 0;

bool OnDrawingThread()
{
    return gDrawingThread.load() == std::this_thread::get_id();
}

int TextureSide(int imageSide)
{
    if (imageSide <= 1)
        return 1;
    return static_cast<int>(std::bit_ceil(static_cast<unsigned>(imageSide)));
}

bool IsVisible(float alpha)
{
    return alpha > kInvisible; // NaN is invisible too
}

// OpenGL colours are clamped like bytes are: NaN as 0.
float ClampChannel(float channel)
{
    if (!(channel > 0.0f))
        return 0.0f;
    return channel < 1.0f ? channel : 1.0f;
}

void SetColor(float r, float g, float b, float a)
{
    glColor4f(ClampChannel(r), ClampChannel(g), ClampChannel(b), ClampChannel(a));
}

void SetColor(const ColorF& color)
{
    SetColor(color.r, color.g, color.b, color.a);
}

// The texture to draw the image with. An image without one gets one from the graphics platform, held
// by the image's link from then on. Null when none can be had: no image, no platform, a platform that
// makes no OpenGL textures, or an image kind other than Image.
OpenGLTexture* LookUpTexture(IImage* image)
{
    if (!image)
        return nullptr;
    ITexture* texture = image->GetTexture();
    if (!texture)
    {
        Image* plain = dynamic_cast<Image*>(image);
        IGraphicsPlatform* platform = GetGraphicsPlatform();
        if (!plain || !platform)
            return nullptr;
        ITexture* made = platform->CreateTexture(plain, nullptr);
        if (!made)
            return nullptr;
        plain->SetTexture(made);
        made->Release();
        // Consumes the image's "changed" mark; the new texture uploads on first use anyway.
        texture = image->GetTexture();
    }
    return dynamic_cast<OpenGLTexture*>(texture);
}

Rect<float> GetSource(const IImage* image, const sDrawState& state)
{
    if (state.flags & DrawFlag_SourceRect)
    {
        const Rect<int>& s = state.sourceRect;
        return Rect<float>(static_cast<float>(s.x), static_cast<float>(s.y), static_cast<float>(s.width),
                           static_cast<float>(s.height));
    }
    return Rect<float>(0.0f, 0.0f, static_cast<float>(image->GetWidth()), static_cast<float>(image->GetHeight()));
}

Rect<float> ToFloat(const Rect<int>& r)
{
    return Rect<float>(static_cast<float>(r.x), static_cast<float>(r.y), static_cast<float>(r.width),
                       static_cast<float>(r.height));
}

// Corners in the order top-left, bottom-left, top-right, bottom-right; the source in image pixels.
int DrawTexturedQuad(OpenGLTexture* texture, const Vector2<float> (&corners)[4], const Rect<float>& source,
                     const sDrawState& state)
{
    if (!IsVisible(state.imageColor.a))
        return DrawResult_Nothing;
    GLuint name = 0;
    float ua = 0.0f;
    float ub = 0.0f;
    float va = 0.0f;
    float vb = 0.0f;
    if (texture)
    {
        name = texture->GetTextureID();
        if (name == 0)
            return DrawResult_Nothing;
        const sTextureDescriptor& descriptor = texture->GetDescriptor();
        const float fu = 1.0f / static_cast<float>(descriptor.textureSize.x);
        const float fv = 1.0f / static_cast<float>(descriptor.textureSize.y);
        ua = fu * source.x;
        ub = ua + fu * source.width;
        va = fv * source.y;
        vb = va + fv * source.height;
        if (state.flags & DrawFlag_FlipH)
            std::swap(ua, ub);
        if (state.flags & DrawFlag_FlipV)
            std::swap(va, vb);
    }
    glBindTexture(GL_TEXTURE_2D, name);
    SetColor(state.imageColor);
    const float u[4] = {ua, ua, ub, ub};
    const float v[4] = {va, vb, va, vb};
    glBegin(GL_TRIANGLE_STRIP);
    for (int i = 0; i < 4; ++i)
    {
        if (texture)
            glTexCoord2f(u[i], v[i]);
        glVertex2f(corners[i].x, corners[i].y);
    }
    glEnd();
    return DrawResult_Drawn;
}

int DrawTexturedRect(OpenGLTexture* texture, const Rect<float>& destination, const Rect<float>& source,
                     const sDrawState& state)
{
    const float left = destination.x;
    const float top = destination.y;
    const float right = destination.x + destination.width;
    const float bottom = destination.y + destination.height;
    const Vector2<float> corners[4] = {{left, top}, {left, bottom}, {right, top}, {right, bottom}};
    return DrawTexturedQuad(texture, corners, source, state);
}

// The centre is (cx, cy); a positive angle turns clockwise on the downward-y screen.
int DrawTexturedRotatedRect(OpenGLTexture* texture, float cx, float cy, float width, float height, Angle angle,
                            const Rect<float>& source, const sDrawState& state)
{
    const float c = cos(angle);
    const float s = sin(angle);
    const float hw = width * 0.5f;
    const float hh = height * 0.5f;
    const float offsets[4][2] = {{-hw, -hh}, {-hw, hh}, {hw, -hh}, {hw, hh}};
    Vector2<float> corners[4];
    for (int i = 0; i < 4; ++i)
    {
        const float ox = offsets[i][0];
        const float oy = offsets[i][1];
        corners[i] = Vector2<float>(cx + ox * c - oy * s, cy + ox * s + oy * c);
    }
    return DrawTexturedQuad(texture, corners, source, state);
}

// The quarter arc of the radius mirrored four times: once round clockwise from (r, 0), scaled by
// (sx, sy). Non-finite centres and radii that have no arc draw nothing.
int DrawArcs(float cx, float cy, float radius, float sx, float sy, GLenum mode, const sDrawState& state)
{
    if (!IsVisible(state.color.a) || !std::isfinite(cx) || !std::isfinite(cy))
        return DrawResult_Nothing;
    const std::vector<Vector2<float>>& arc = Internal::GetCircleVerticesF().GetCachedVertices(radius);
    if (arc.empty())
        return DrawResult_Nothing;
    glBindTexture(GL_TEXTURE_2D, 0);
    glBegin(mode);
    SetColor(state.color);
    for (const Vector2<float>& p : arc)
        glVertex2f(cx + sx * p.x, cy + sy * p.y);
    for (const Vector2<float>& p : arc)
        glVertex2f(cx - sx * p.y, cy + sy * p.x);
    for (const Vector2<float>& p : arc)
        glVertex2f(cx - sx * p.x, cy - sy * p.y);
    for (const Vector2<float>& p : arc)
        glVertex2f(cx + sx * p.y, cy - sy * p.x);
    glEnd();
    return DrawResult_Drawn;
}

int DrawEllipseShape(const Rect<float>& bounds, GLenum mode, const sDrawState& state)
{
    const float w = bounds.width;
    const float h = bounds.height;
    if (!std::isfinite(bounds.x) || !std::isfinite(bounds.y) || !(w > 0.0f) || !(h > 0.0f) || !std::isfinite(w) ||
        !std::isfinite(h))
        return DrawResult_Nothing;
    if (TruncateToInt(w - h) == 0)
        return DrawArcs(bounds.x + w * 0.5f, bounds.y + w * 0.5f, w * 0.5f, 1.0f, 1.0f, mode, state);
    const bool tall = w <= h;
    const float radius = tall ? h * 0.5f : w * 0.5f;
    const float sx = tall ? w / h : 1.0f;
    const float sy = tall ? 1.0f : h / w;
    return DrawArcs(bounds.x + w * 0.5f, bounds.y + h * 0.5f, radius, sx, sy, mode, state);
}

int ClampToInt(long long value)
{
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

} // namespace

// --- OpenGLTexture ---

std::set<OpenGLTexture*>& OpenGLTexture::gmAllTextures = *new std::set<OpenGLTexture*>();

std::mutex& OpenGLTexture::GetAllTexturesMutex()
{
    return gAllTexturesMutex;
}

void OpenGLTexture::SetDrawingThread(bool current)
{
    gDrawingThread.store(current ? std::this_thread::get_id() : std::thread::id());
}

OpenGLTexture::OpenGLTexture(const Image* image) : mImage(image)
{
    const int width = image ? image->GetWidth() : 0;
    const int height = image ? image->GetHeight() : 0;
    mDescriptor.imageRect = Rect<int>(0, 0, width, height);
    mDescriptor.texturePosition = Vector2<int>(0, 0);
    mDescriptor.textureSize = Vector2<int>(TextureSide(width), TextureSide(height));
    mDescriptor.uvScale = Vector2<float>(static_cast<float>(width) / static_cast<float>(mDescriptor.textureSize.x),
                                         static_cast<float>(height) / static_cast<float>(mDescriptor.textureSize.y));
    std::lock_guard<std::mutex> lock(gAllTexturesMutex);
    gmAllTextures.insert(this);
}

OpenGLTexture::~OpenGLTexture()
{
    GLuint name = 0;
    {
        std::lock_guard<std::mutex> lock(gAllTexturesMutex);
        gmAllTextures.erase(this);
        name = mName;
        mName = 0;
        if (name != 0 && !OnDrawingThread())
        {
            gPendingNames.push_back(name);
            name = 0;
        }
    }
    if (name != 0)
        glDeleteTextures(1, &name);
}

void OpenGLTexture::AddRef()
{
    mRefCount.fetch_add(1, std::memory_order_relaxed);
}

void OpenGLTexture::Release()
{
    if (mRefCount.fetch_sub(1, std::memory_order_acq_rel) == 1)
        delete this;
}

void OpenGLTexture::Refresh()
{
    mDirty = 1;
}

void OpenGLTexture::Delete()
{
    if (mName != 0)
    {
        const GLuint name = mName;
        glDeleteTextures(1, &name);
        mName = 0;
        mDirty = 1;
    }
}

unsigned int OpenGLTexture::GetTextureID()
{
    const int width = mDescriptor.imageRect.width;
    const int height = mDescriptor.imageRect.height;
    // The image may only change size by dropping its texture, but a stale texture must never read
    // past the pixels.
    if (!mImage || width <= 0 || height <= 0 || mImage->GetWidth() != width || mImage->GetHeight() != height ||
        !mImage->GetPixels())
        return 0;
    const int textureWidth = mDescriptor.textureSize.x;
    const int textureHeight = mDescriptor.textureSize.y;
    if (mName == 0)
    {
        GLint maxSide = 0;
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
        if (textureWidth > maxSide || textureHeight > maxSide)
            return 0;
        GLuint name = 0;
        glGenTextures(1, &name);
        if (name == 0)
            return 0;
        glBindTexture(GL_TEXTURE_2D, name);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, textureWidth, textureHeight, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
        // The padding beside and below the image is transparent black, so that filtering at the
        // image's edges and source rectangles reaching past it never show stale memory. The image's
        // own area is filled by the upload below.
        const size_t right = static_cast<size_t>(textureWidth - width) * static_cast<size_t>(height);
        const size_t below = static_cast<size_t>(textureWidth) * static_cast<size_t>(textureHeight - height);
        const std::vector<Color32> zeros(std::max(right, below));
        if (right > 0)
        {
            glTexSubImage2D(GL_TEXTURE_2D, 0, width, 0, textureWidth - width, height, GL_BGRA, GL_UNSIGNED_BYTE,
                            zeros.data());
        }
        if (below > 0)
        {
            glTexSubImage2D(GL_TEXTURE_2D, 0, 0, height, textureWidth, textureHeight - height, GL_BGRA,
                            GL_UNSIGNED_BYTE, zeros.data());
        }
        mName = name;
        mDirty = 1;
    }
    if (mDirty)
    {
        glBindTexture(GL_TEXTURE_2D, mName);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_BGRA, GL_UNSIGNED_BYTE, mImage->GetPixels());
        mDirty = 0;
    }
    mLastUsedFrame = gFrame;
    return mName;
}

void OpenGLTexture::DeleteAll()
{
    {
        std::lock_guard<std::mutex> lock(gAllTexturesMutex);
        for (OpenGLTexture* texture : gmAllTextures)
            texture->Delete();
    }
    DeletePendingNames();
}

void OpenGLTexture::DeleteUnusedNames()
{
    ++gFrame;
    std::lock_guard<std::mutex> lock(gAllTexturesMutex);
    for (OpenGLTexture* texture : gmAllTextures)
        if (texture->mName != 0 && gFrame - texture->mLastUsedFrame > kUnusedFrames)
            texture->Delete();
}

void OpenGLTexture::DeletePendingNames()
{
    std::vector<uint32_t> names;
    {
        std::lock_guard<std::mutex> lock(gAllTexturesMutex);
        names.swap(gPendingNames);
    }
    if (!names.empty())
        glDeleteTextures(static_cast<GLsizei>(names.size()), names.data());
}

// --- OpenGLScreenCanvas ---

OpenGLScreenCanvas::OpenGLScreenCanvas(const Rect<int>& bounds) : mBounds(bounds)
{
    OpenGLTexture::SetDrawingThread(true);
}

OpenGLScreenCanvas::~OpenGLScreenCanvas()
{
    std::lock_guard<std::mutex> lock(gAllTexturesMutex);
    gPendingNames.clear();
    gDrawingThread.store(std::thread::id());
}

int OpenGLScreenCanvas::BeginFrame()
{
    OpenGLTexture::DeletePendingNames();
    OpenGLTexture::DeleteUnusedNames();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double left = mBounds.x;
    const double top = mBounds.y;
    gluOrtho2D(left, left + mBounds.width, top + mBounds.height, top);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    return DrawResult_Drawn;
}

int OpenGLScreenCanvas::EndFrame()
{
    return DrawResult_Drawn;
}

Label OpenGLScreenCanvas::GetKind() const
{
    static const Label kind("OpenGLScreenCanvas");
    return kind;
}

bool OpenGLScreenCanvas::QueryInterface(Label name, void** out)
{
    return AnswerInterface<IQuadDrawingCanvas>(this, name, out) ||
           AnswerInterface<IEllipseDrawingCanvas>(this, name, out) ||
           AnswerInterface<ILineDrawingCanvas>(this, name, out) || AnswerInterface<ICanvas>(this, name, out) ||
           AnswerInterface<IScreen>(this, name, out);
}

int OpenGLScreenCanvas::DrawLine(float x1, float y1, float x2, float y2, const sDrawState& state)
{
    if (!IsVisible(state.color.a))
        return DrawResult_Nothing;
    glBindTexture(GL_TEXTURE_2D, 0);
    SetColor(state.color);
    glBegin(GL_LINES);
    glVertex2f(x1, y1);
    glVertex2f(x2, y2);
    glEnd();
    return DrawResult_Drawn;
}

int OpenGLScreenCanvas::DrawLineCircle(float centerX, float centerY, float radius, const sDrawState& state)
{
    return DrawArcs(centerX, centerY, radius, 1.0f, 1.0f, GL_LINE_STRIP, state);
}

int OpenGLScreenCanvas::DrawFilledCircle(float centerX, float centerY, float radius, const sDrawState& state)
{
    return DrawArcs(centerX, centerY, radius, 1.0f, 1.0f, GL_POLYGON, state);
}

int OpenGLScreenCanvas::DrawLineEllipse(const Rect<float>& bounds, const sDrawState& state)
{
    return DrawEllipseShape(bounds, GL_LINE_STRIP, state);
}

int OpenGLScreenCanvas::DrawFilledEllipse(const Rect<float>& bounds, const sDrawState& state)
{
    return DrawEllipseShape(bounds, GL_POLYGON, state);
}

int OpenGLScreenCanvas::DrawFilledRect(const Rect<int>& rect, const sDrawState& state)
{
    return DrawFilledRect(ToFloat(rect), state);
}

int OpenGLScreenCanvas::DrawFilledRect(const Rect<float>& rect, const sDrawState& state)
{
    sDrawState plain = state;
    plain.imageColor = state.color;
    return DrawTexturedRect(nullptr, rect, Rect<float>(), plain);
}

int OpenGLScreenCanvas::DrawImage(IImage* image, float x, float y, const sDrawState& state)
{
    if (!image || !IsVisible(state.imageColor.a))
        return DrawResult_Nothing;
    // The visible part of the destination and the part of the source that lands there, mirrored
    // draws included, so that clipping never stretches or shows the wrong end of the image.
    Rect<float> destination;
    Rect<float> shown;
    if (!ClipImageDraw(x, y, GetSource(image, state), state.clipRect, state.flags, &destination, &shown))
        return DrawResult_Nothing;
    OpenGLTexture* texture = LookUpTexture(image);
    if (!texture)
        return DrawResult_Nothing;
    return DrawTexturedRect(texture, destination, shown, state);
}

int OpenGLScreenCanvas::DrawStretchedImage(IImage* image, const Rect<int>& destination, const sDrawState& state)
{
    if (!image || !IsVisible(state.imageColor.a))
        return DrawResult_Nothing;
    const Rect<float> source = GetSource(image, state);
    if (source.width <= 0.0f && source.height <= 0.0f)
        return DrawResult_Nothing;
    OpenGLTexture* texture = LookUpTexture(image);
    if (!texture)
        return DrawResult_Nothing;
    return DrawTexturedRect(texture, ToFloat(destination), source, state);
}

int OpenGLScreenCanvas::DrawRotatedImage(IImage* image, float x, float y, Angle angle, const sDrawState& state)
{
    if (!image || !IsVisible(state.imageColor.a))
        return DrawResult_Nothing;
    const Rect<float> source = GetSource(image, state);
    if (source.width <= 0.0f && source.height <= 0.0f)
        return DrawResult_Nothing;
    if (angle.IsEquivalent(Angle(0.0f)))
        return DrawImage(image, x - source.width * 0.5f, y - source.height * 0.5f, state);
    OpenGLTexture* texture = LookUpTexture(image);
    if (!texture)
        return DrawResult_Nothing;
    return DrawTexturedRotatedRect(texture, x, y, source.width, source.height, angle, source, state);
}

int OpenGLScreenCanvas::DrawStretchedRotatedImage(IImage* image, const Rect<int>& destination, Angle angle,
                                                  const sDrawState& state)
{
    if (!image || !IsVisible(state.imageColor.a))
        return DrawResult_Nothing;
    if (angle.IsEquivalent(Angle(0.0f)))
    {
        const Rect<int> placed(ClampToInt(static_cast<long long>(destination.x) - destination.width / 2),
                               ClampToInt(static_cast<long long>(destination.y) - destination.height / 2),
                               destination.width, destination.height);
        return DrawStretchedImage(image, placed, state);
    }
    const Rect<float> source = GetSource(image, state);
    if (source.width <= 0.0f && source.height <= 0.0f)
        return DrawResult_Nothing;
    OpenGLTexture* texture = LookUpTexture(image);
    if (!texture)
        return DrawResult_Nothing;
    return DrawTexturedRotatedRect(texture, static_cast<float>(destination.x), static_cast<float>(destination.y),
                                   static_cast<float>(destination.width), static_cast<float>(destination.height), angle,
                                   source, state);
}

int OpenGLScreenCanvas::DrawPrimitive(PrimitiveKind kind, IImage* image, int vertexCount,
                                      const sPrimitiveVertex* vertices, const sDrawState&)
{
    GLenum mode;
    switch (kind)
    {
    case PrimitiveKind_TriangleStrip:
        mode = GL_TRIANGLE_STRIP;
        break;
    case PrimitiveKind_TriangleFan:
        mode = GL_TRIANGLE_FAN;
        break;
    case PrimitiveKind_Triangles:
        mode = GL_TRIANGLES;
        break;
    default:
        return DrawResult_Nothing;
    }
    if (vertexCount <= 0 || !vertices)
        return DrawResult_Nothing;
    GLuint name = 0;
    float su = 1.0f;
    float sv = 1.0f;
    if (image)
    {
        OpenGLTexture* texture = LookUpTexture(image);
        name = texture ? texture->GetTextureID() : 0;
        if (name == 0)
            return DrawResult_Nothing;
        su = texture->GetDescriptor().uvScale.x;
        sv = texture->GetDescriptor().uvScale.y;
    }
    glBindTexture(GL_TEXTURE_2D, name);
    glBegin(mode);
    for (int i = 0; i < vertexCount; ++i)
    {
        const sPrimitiveVertex& vertex = vertices[i];
        SetColor(vertex.r, vertex.g, vertex.b, vertex.a);
        glTexCoord2f(vertex.u * su, vertex.v * sv);
        glVertex2f(vertex.x, vertex.y);
    }
    glEnd();
    return DrawResult_Drawn;
}

} // namespace Strata
