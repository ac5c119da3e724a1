// Draws the plain images the engine's generic controls use (the check box, the text field and its caret,
// and the list frame) and writes them as PNG files with the manifest that names them.
//
//   make_ui_images <data folder>
//
// Writes <data folder>/ui/*.png and <data folder>/ui/Generic.xml. Every look is drawn here from a few
// flat colours, so the files can be remade at any time.

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{

struct Rgba
{
    uint8_t r, g, b, a;
};

class Picture
{
public:
    Picture(int width, int height, Rgba fill) : mWidth(width), mHeight(height), mPixels(size_t(width) * height, fill) {}
    void Set(int x, int y, Rgba c)
    {
        if (x >= 0 && y >= 0 && x < mWidth && y < mHeight)
            mPixels[size_t(y) * mWidth + x] = c;
    }
    void Fill(int x0, int y0, int x1, int y1, Rgba c)
    {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                Set(x, y, c);
    }
    void Frame(int x0, int y0, int x1, int y1, Rgba c)
    {
        Fill(x0, y0, x1, y0 + 1, c);
        Fill(x0, y1 - 1, x1, y1, c);
        Fill(x0, y0, x0 + 1, y1, c);
        Fill(x1 - 1, y0, x1, y1, c);
    }
    void Save(const std::string& path) const
    {
        if (!stbi_write_png(path.c_str(), mWidth, mHeight, 4, mPixels.data(), mWidth * 4))
            throw std::runtime_error("cannot write " + path);
        std::printf("%s\n", path.c_str());
    }

private:
    int mWidth, mHeight;
    std::vector<Rgba> mPixels;
};

constexpr Rgba kClear{0, 0, 0, 0};
constexpr Rgba kBorder{40, 40, 48, 255};
constexpr Rgba kField{250, 250, 250, 255};
constexpr Rgba kBoxNormal{235, 235, 240, 255};
constexpr Rgba kBoxHot{255, 255, 210, 255};
constexpr Rgba kBoxPressed{190, 190, 200, 255};
constexpr Rgba kBoxDisabled{150, 150, 150, 255};
constexpr Rgba kFocus{60, 120, 230, 255};
constexpr Rgba kTick{20, 110, 30, 255};
constexpr Rgba kListBack{30, 30, 40, 220};
constexpr Rgba kListEdge{150, 150, 170, 255};

// Ten 16 x 16 boxes: normal, hot, pressed, disabled and focused, unchecked then checked.
void MakeCheckBox(const std::string& ui)
{
    const Rgba faces[5] = {kBoxNormal, kBoxHot, kBoxPressed, kBoxDisabled, kBoxNormal};
    for (int checked = 0; checked < 2; ++checked)
    {
        for (int state = 0; state < 5; ++state)
        {
            Picture box(16, 16, kClear);
            box.Fill(1, 1, 15, 15, faces[state]);
            box.Frame(1, 1, 15, 15, state == 4 ? kFocus : kBorder);
            if (state == 4)
                box.Frame(0, 0, 16, 16, kFocus);
            if (checked)
            {
                const Rgba tick = state == 3 ? kBorder : kTick;
                for (int i = 0; i < 3; ++i)
                    box.Fill(4 + i, 8 + i, 5 + i, 10 + i, tick);
                for (int i = 0; i < 6; ++i)
                    box.Fill(7 + i, 9 - i, 8 + i, 11 - i, tick);
            }
            box.Save(ui + "/GenericCheckbox_" + std::to_string(checked * 5 + state) + ".png");
        }
    }
}

// A nine-slice frame in the usual order: top-left, top, top-right, left, centre, right, bottom-left,
// bottom, bottom-right. Corners are edge x edge, the top and bottom 1 wide, the sides 1 high.
void MakeNineSlice(const std::string& path, int edge, Rgba border, Rgba inside)
{
    for (int row = 0; row < 3; ++row)
    {
        for (int col = 0; col < 3; ++col)
        {
            const int width = col == 1 ? 1 : edge;
            const int height = row == 1 ? 1 : edge;
            Picture slice(width, height, inside);
            // The outermost line of the frame is the border.
            if (row == 0)
                slice.Fill(0, 0, width, 1, border);
            if (row == 2)
                slice.Fill(0, height - 1, width, height, border);
            if (col == 0)
                slice.Fill(0, 0, 1, height, border);
            if (col == 2)
                slice.Fill(width - 1, 0, width, height, border);
            slice.Save(path + "_" + std::to_string(row * 3 + col) + ".png");
        }
    }
}

void MakeCursor(const std::string& ui)
{
    Picture caret(2, 14, kBorder);
    caret.Save(ui + "/GenericTextEditCursor.png");
}

void MakeManifest(const std::string& ui)
{
    std::ofstream xml(ui + "/Generic.xml", std::ios::trunc);
    xml << "<?xml version=\"1.0\"?>\n"
           "<!-- The looks of the engine's generic controls, drawn by tools/make_ui_images. -->\n"
           "<manifest>\n"
           "  <imagelist name=\"GenericCheckbox\" pattern=\"GenericCheckbox_%1%\" first=\"0\" last=\"9\"/>\n"
           "  <imagelist name=\"GenericTextEditField\" pattern=\"GenericTextEditField_%1%\" first=\"0\" "
           "last=\"8\"/>\n"
           "  <image name=\"GenericTextEditCursor\" src=\"GenericTextEditCursor\"/>\n"
           "  <imagelist name=\"GenericList\" pattern=\"GenericList_%1%\" first=\"0\" last=\"8\"/>\n"
           "</manifest>\n";
    if (!xml)
        throw std::runtime_error("cannot write " + ui + "/Generic.xml");
    std::printf("%s/Generic.xml\n", ui.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: make_ui_images <data folder>\n");
        return 2;
    }
    try
    {
        const std::string ui = std::string(argv[1]) + "/ui";
        MakeCheckBox(ui);
        MakeNineSlice(ui + "/GenericTextEditField", 3, kBorder, kField);
        MakeCursor(ui);
        MakeNineSlice(ui + "/GenericList", 4, kListEdge, kListBack);
        MakeManifest(ui);
    }
    catch (const std::exception& error)
    {
        std::fprintf(stderr, "make_ui_images: %s\n", error.what());
        return 1;
    }
    return 0;
}
