#include "graphics/ImageFont.h"

#include "core/FileAddress.h"
#include "core/FileSystem.h"
#include "core/Log.h"
#include "core/Stream.h"
#include "framework/FileSource.h"
#include "graphics/Context.h"
#include "graphics/Drawing.h"
#include "graphics/Image.h"
#include "graphics/ImageManager.h"
#include "graphics/SoftwareCanvas.h"

#include <algorithm>
#include <charconv>
#include <exception>
#include <utility>

namespace Strata
{

namespace
{

constexpr int kGutter = 2;
constexpr int kFirstAtlasSide = 64;

bool IsSpace(uint16_t c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The characters of a metrics file, read item by item.
class MetricsReader
{
public:
    MetricsReader(const uint8_t* data, size_t size)
    {
        mChars.reserve(size);
        for (size_t i = 0; i < size; ++i)
        {
            const uint8_t byte = data[i];
            if ((byte == 0xC2 || byte == 0xC3) && i + 1 < size)
            {
                mChars.push_back(static_cast<uint16_t>(data[i + 1] + (byte == 0xC3 ? 0x40 : 0)));
                ++i;
            }
            else
            {
                mChars.push_back(byte);
            }
        }
    }

    // The next character that is not white space; false at the end.
    bool ReadChar(uint16_t* out)
    {
        SkipSpace();
        if (mPosition >= mChars.size())
            return false;
        *out = mChars[mPosition++];
        return true;
    }

    // The next item as a whole number; false, with the reason, at the end or for anything else.
    bool ReadInt(int32_t* out, const char** reason)
    {
        SkipSpace();
        if (mPosition >= mChars.size())
        {
            *reason = "it ends early";
            return false;
        }
        // An item longer than any int is not one.
        char text[16];
        size_t length = 0;
        while (mPosition < mChars.size() && !IsSpace(mChars[mPosition]))
        {
            if (length == sizeof(text))
            {
                *reason = "a number is out of range";
                return false;
            }
            const uint16_t c = mChars[mPosition++];
            text[length++] = c < 0x80 ? static_cast<char>(c) : '?';
        }
        const char* first = text;
        if (length > 1 && text[0] == '+' && text[1] != '-')
            ++first;
        int32_t value = 0;
        const auto [end, error] = std::from_chars(first, text + length, value);
        if (error == std::errc::result_out_of_range)
        {
            *reason = "a number is out of range";
            return false;
        }
        if (error != std::errc() || end != text + length)
        {
            *reason = "it holds an item that is not a number";
            return false;
        }
        *out = value;
        return true;
    }

private:
    void SkipSpace()
    {
        while (mPosition < mChars.size() && IsSpace(mChars[mPosition]))
            ++mPosition;
    }

    std::vector<uint16_t> mChars;
    size_t mPosition = 0;
};

// Cuts [start, start + length) to [0, limit).
void ClampSpan(int32_t* start, int32_t* length, int limit)
{
    const long long low = std::clamp<long long>(*start, 0, limit);
    const long long high = std::clamp<long long>(static_cast<long long>(*start) + *length, low, limit);
    *start = static_cast<int32_t>(low);
    *length = static_cast<int32_t>(high - low);
}

// Glyph positions in an atlas of the given size, in record order; false when they do not all fit.
bool LayOutAtlas(const sFontMetrics& metrics, const std::vector<uint8_t>& characters, int width, int height,
                 std::array<sFontGlyphRect, 256>* placed)
{
    const long long rowPitch = static_cast<long long>(metrics.glyphHeight) + kGutter;
    long long cursor = 0;
    long long rowTop = 0;
    for (uint8_t c : characters)
    {
        const sFontGlyphRect& glyph = metrics.glyphs[c];
        if (glyph.width >= width)
            return false;
        if (cursor + glyph.width >= width)
        {
            cursor = 0;
            rowTop += rowPitch;
        }
        (*placed)[c] =
            sFontGlyphRect{static_cast<int32_t>(cursor), static_cast<int32_t>(rowTop), glyph.width, glyph.height};
        cursor += glyph.width + kGutter;
    }
    return rowTop + rowPitch <= height;
}

// The stream's bytes up to kMaxFontMetricsSize; false when it holds more.
bool ReadWholeStream(IStream* stream, std::vector<uint8_t>* out)
{
    uint8_t buffer[8192];
    for (;;)
    {
        const size_t count = stream->Read(buffer, sizeof(buffer));
        if (count == 0)
            return true;
        if (out->size() + count > kMaxFontMetricsSize)
            return false;
        out->insert(out->end(), buffer, buffer + count);
    }
}

} // namespace

bool ReadFontMetrics(const uint8_t* data, size_t size, sFontMetrics* out, const char** reason)
{
    *out = sFontMetrics();
    if (data == nullptr && size != 0)
    {
        *reason = "it ends early";
        return false;
    }
    MetricsReader reader(data, size);
    int32_t count = 0;
    int32_t* const header[] = {&out->stripY,  &out->glyphHeight,  &out->spacing,
                               &out->version, &out->spaceAdvance, &count};
    for (int32_t* value : header)
        if (!reader.ReadInt(value, reason))
            return false;
    if (out->glyphHeight < 1 || out->glyphHeight > kMaxFontGlyphHeight)
    {
        *reason = "its glyph height is out of range";
        return false;
    }
    if (count < 0 || count > kMaxFontGlyphs)
    {
        *reason = "its glyph count is out of range";
        return false;
    }
    const auto outOfRange = [](int32_t value) { return value < -kMaxFontAdvance || value > kMaxFontAdvance; };
    if (outOfRange(out->spacing) || outOfRange(out->spaceAdvance))
    {
        *reason = "its spacing is out of range";
        return false;
    }

    out->order.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i)
    {
        uint16_t character = 0;
        if (!reader.ReadChar(&character))
        {
            *reason = "it ends early";
            return false;
        }
        const uint8_t c = static_cast<uint8_t>(character & 0xFF);
        sFontGlyphRect glyph;
        if (!reader.ReadInt(&glyph.x, reason) || !reader.ReadInt(&glyph.width, reason))
            return false;
        if (out->version >= 3)
        {
            if (!reader.ReadInt(&glyph.y, reason) || !reader.ReadInt(&glyph.height, reason))
                return false;
        }
        else
        {
            glyph.y = out->stripY;
            glyph.height = out->glyphHeight;
        }
        out->glyphs[c] = glyph;
        out->order.push_back(c);
    }

    if (out->version >= 2)
    {
        out->kerning.assign(256 * 256, 0);
        for (uint8_t first : out->order)
        {
            for (uint8_t second : out->order)
            {
                int32_t adjustment = 0;
                if (!reader.ReadInt(&adjustment, reason))
                    return false;
                // Clamped into the signed byte the table holds: wrapping would turn a wide gap into an
                // overlap.
                out->kerning[first * 256 + second] = static_cast<int8_t>(std::clamp(adjustment, -128, 127));
            }
        }
    }
    return true;
}

void ClampFontGlyphs(sFontMetrics* metrics, int imageWidth, int imageHeight)
{
    for (sFontGlyphRect& glyph : metrics->glyphs)
    {
        ClampSpan(&glyph.x, &glyph.width, std::max(imageWidth, 0));
        ClampSpan(&glyph.y, &glyph.height, std::max(imageHeight, 0));
    }
}

std::unique_ptr<Image> RepackFontGlyphs(const Image& image, sFontMetrics* metrics, const std::wstring& name)
{
    // Each character once, in record order; a character given twice keeps its last rectangle.
    std::vector<uint8_t> characters;
    std::array<bool, 256> seen{};
    for (uint8_t c : metrics->order)
    {
        if (!seen[c])
        {
            seen[c] = true;
            characters.push_back(c);
        }
    }

    std::array<sFontGlyphRect, 256> placed{};
    int width = kFirstAtlasSide;
    int height = kFirstAtlasSide;
    for (;;)
    {
        // A strip this long cannot fold into rows that fit: skip the size without trying it.
        if (static_cast<long long>(image.GetWidth() / width) * metrics->glyphHeight <= height)
        {
            placed = {};
            if (LayOutAtlas(*metrics, characters, width, height, &placed))
                break;
            Internal::LogWrite("Font: %ls did not fit into a %dx%d\n", name.c_str(), width, height);
        }
        if (width < height)
            width *= 2;
        else
            height *= 2;
        if (width > kMaxFontAtlasSide || height > kMaxFontAtlasSide)
            return nullptr;
    }

    auto atlas = std::make_unique<Image>(width, height);
    if (atlas->IsEmpty())
        return nullptr;
    ICanvas* canvas = Graphics::CreateImageCanvas(atlas.get());
    Graphics::Context context{canvas, Graphics::sDrawState::GetDefaults()};
    context.state.flags &= ~Graphics::DrawFlag_Blend;
    Graphics::PushContext(context);
    for (uint8_t c : characters)
    {
        const sFontGlyphRect& from = metrics->glyphs[c];
        const sFontGlyphRect& to = placed[c];
        const Graphics::DrawStateNPI state =
            Graphics::DrawStateNPI(Graphics::GetDrawState()).SourceRect(from.x, from.y, from.width, from.height);
        Graphics::DrawImage(const_cast<Image*>(&image), static_cast<float>(to.x), static_cast<float>(to.y), state,
                            Graphics::GetCanvas());
    }
    Graphics::PopContext();
    Graphics::DestroyImageCanvas(canvas);

    Internal::LogWrite("Font: %ls was %dx%d now %dx%d\n", name.c_str(), image.GetWidth(), image.GetHeight(), width,
                       height);
    metrics->glyphs = placed;
    return atlas;
}

ImageFont::ImageFont() = default;

ImageFont::~ImageFont() = default;

bool ImageFont::Load(const std::wstring& source)
{
    try
    {
        std::unique_ptr<Image> image = ImageManager::LoadImage(source.c_str());
        if (!image)
            return false;
        const std::wstring fileName = source + L".txt";
        std::vector<uint8_t> bytes;
        const char* reason = nullptr;
        IFileSource* fileSource = GetFileSource();
        IStream* stream = fileSource ? fileSource->OpenFileStream(FileAddress(source.c_str(), L".txt")) : nullptr;
        if (stream == nullptr)
        {
            reason = "it was not found";
        }
        else
        {
            bool whole = false;
            try
            {
                whole = ReadWholeStream(stream, &bytes);
            }
            catch (...)
            {
                if (FileSystem* fileSystem = GetFileSystem())
                    fileSystem->CloseStream(stream);
                else
                    delete stream;
                throw;
            }
            if (FileSystem* fileSystem = GetFileSystem())
                fileSystem->CloseStream(stream);
            else
                delete stream;
            if (!whole)
                reason = "it is too large";
        }
        if (reason != nullptr)
        {
            Internal::LogWrite("Font %ls could not be loaded. (%s)\n", fileName.c_str(), reason);
            return false;
        }
        return Build(bytes.data(), bytes.size(), std::move(image), fileName);
    }
    catch (const std::exception& error)
    {
        Internal::LogWrite("Font %ls.txt could not be loaded. (%s)\n", source.c_str(), error.what());
        return false;
    }
}

bool ImageFont::Build(const uint8_t* metricsData, size_t size, std::unique_ptr<Image> image, const std::wstring& name)
{
    if (!image || image->IsEmpty())
    {
        Internal::LogWrite("Font %ls could not be loaded. (%s)\n", name.c_str(), "it has no image");
        return false;
    }
    sFontMetrics metrics;
    const char* reason = "it is damaged";
    if (!ReadFontMetrics(metricsData, size, &metrics, &reason))
    {
        Internal::LogWrite("Font %ls could not be loaded. (%s)\n", name.c_str(), reason);
        return false;
    }
    ClampFontGlyphs(&metrics, image->GetWidth(), image->GetHeight());
    if (metrics.version < 3)
    {
        std::unique_ptr<Image> atlas = RepackFontGlyphs(*image, &metrics, name);
        if (!atlas)
        {
            Internal::LogWrite("Font %ls could not be loaded. (%s)\n", name.c_str(),
                               "its glyphs do not fit into an atlas");
            return false;
        }
        image = std::move(atlas);
    }

    std::unique_ptr<int8_t[]> kerning;
    if (!metrics.kerning.empty())
    {
        kerning = std::make_unique<int8_t[]>(metrics.kerning.size());
        std::copy(metrics.kerning.begin(), metrics.kerning.end(), kerning.get());
    }
    mStripY = metrics.stripY;
    mGlyphHeight = metrics.glyphHeight;
    mSpacing = metrics.spacing;
    mProportional = metrics.version > 0;
    mSpaceAdvance = metrics.spaceAdvance;
    mKerning = std::move(kerning);
    mGlyphs = metrics.glyphs;
    mImage = std::move(image);
    return true;
}

void ImageFont::GetGlyph(wchar_t c, sGlyph* out) const
{
    if (out == nullptr)
        return;
    const uint32_t code = static_cast<uint32_t>(c);
    if (code > 255)
    {
        *out = sGlyph();
        return;
    }
    const sFontGlyphRect& glyph = mGlyphs[code];
    out->image = mImage.get();
    out->x = glyph.x;
    out->y = glyph.y;
    out->width = glyph.width;
    out->height = glyph.height;
}

int ImageFont::GetKernedLetterWidth(wchar_t c, wchar_t next) const
{
    const uint32_t code = static_cast<uint32_t>(c);
    const uint32_t nextCode = static_cast<uint32_t>(next);
    if (code > 255)
        return 0;
    if (!mProportional)
        return mSpacing;
    int advance = (c == L' ' ? mSpaceAdvance : mGlyphs[code].width) + mSpacing;
    // Kerning pairs exist only between characters the font can hold; a letter before any other
    // character keeps its own advance.
    if (mKerning && nextCode <= 255)
        advance += mKerning[code * 256 + nextCode];
    return advance;
}

} // namespace Strata
