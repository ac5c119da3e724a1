// Draws the font test's reference text with the engine's software canvas and writes it as a PNG.
//
//   make_text_reference <fonts folder> <output.png>
//
// The font test draws the same text the same way and compares every pixel with the committed file, so
// run this only when a change of the drawn result is intended, and look at the picture before
// committing it.

#include "core/MemoryStream.h"
#include "graphics/Drawing.h"
#include "graphics/Image.h"
#include "graphics/ImageFiles.h"
#include "graphics/ImageFont.h"
#include "graphics/SoftwareCanvas.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

using namespace Strata;

namespace
{

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: make_text_reference <fonts folder> <output.png>\n");
        return 2;
    }
    const std::string folder = argv[1];
    const std::string png = ReadFile(folder + "/Body24.png");
    const std::string metrics = ReadFile(folder + "/Body24.txt");
    ReadOnlyMemoryStream stream(L"Body24.png", png.data(), png.size());
    int width = 0;
    int height = 0;
    std::vector<Color32> pixels = PNGLoadImage(&stream, &width, &height);
    auto image = std::make_unique<Image>(std::move(pixels), width, height, true, false);
    ImageFont font;
    if (!font.Build(reinterpret_cast<const uint8_t*>(metrics.data()), metrics.size(), std::move(image), L"Body24"))
        return 1;

    // Keep in step with the font test's reference drawing.
    Image target(160, 36);
    ICanvas* canvas = Graphics::CreateImageCanvas(&target);
    Graphics::sDrawState state = Graphics::sDrawState::GetDefaults();
    state.color = ColorF(0.08f, 0.12f, 0.35f, 1.0f);
    Graphics::DrawFilledRect(Rect<int>(0, 0, 160, 36), state, canvas);
    state.font = &font;
    state.color = ColorF(1.0f, 0.85f, 0.2f, 1.0f);
    state.textMode = TextMode_DropShadow;
    Graphics::DrawText(L"\u00A1AVE Ni\u00F1o!", 4.0f, 3.0f, state, canvas);
    Graphics::DestroyImageCanvas(canvas);

    std::vector<unsigned char> rgba;
    for (int y = 0; y < target.GetHeight(); ++y)
    {
        for (int x = 0; x < target.GetWidth(); ++x)
        {
            const Color32 pixel = target.GetPixel(x, y);
            rgba.insert(rgba.end(), {pixel.r, pixel.g, pixel.b, pixel.a});
        }
    }
    stbi_write_png_compression_level = 9;
    if (!stbi_write_png(argv[2], target.GetWidth(), target.GetHeight(), 4, rgba.data(), target.GetWidth() * 4))
        return 1;
    return 0;
}
