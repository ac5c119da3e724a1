// Draws the shared art of data/ (stickers, skip buttons, cursors) with the engine: its manifests are
// loaded by the resource manager and the engine's image factories, and drawn on the software canvas,
// so the sheet shows what the game will show. With a layout, also draws that scene layout instantiated
// at the game's screen size over a plain backdrop, as the scene graph will draw it. With --pictures,
// draws instead one game's named images and image lists at their size in the game, each with its name
// and size, beside a 48-pixel square: the smallest target a small hand hits ("list#k" draws frame k
// alone; "-" starts a new row).
//
//   contact_sheet <data folder> <output.png> [<manifest> <layout>[+<layout>...] <layout.png>]
//   contact_sheet <data folder> <output.png> --pictures <title> <manifest>[+<manifest>...] <name>...

#include "core/FileSystem.h"
#include "core/MemoryStream.h"
#include "core/Singleton.h"
#include "framework/ApplicationMode.h"
#include "framework/FileSource.h"
#include "framework/MainLoop.h"
#include "framework/ResourceLoading.h"
#include "framework/ResourceManager.h"
#include "framework/ValueResources.h"
#include "graphics/Context.h"
#include "graphics/Drawing.h"
#include "graphics/FontResourceFactory.h"
#include "graphics/Image.h"
#include "graphics/ImageFiles.h"
#include "graphics/ImageFont.h"
#include "graphics/ImageList.h"
#include "graphics/ImageListResourceFactory.h"
#include "graphics/ImageResourceFactory.h"
#include "graphics/SoftwareCanvas.h"
#include "platform/linux/FileSystemPartition.h"
#include "scene/SceneLayout.h"
#include "scene/SceneNode.h"
#include "scene/StrataExtensions.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

using namespace Strata;

namespace
{

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::unique_ptr<ImageFont> LoadFont(const std::filesystem::path& fonts, const std::wstring& name)
{
    const std::string narrow(name.begin(), name.end());
    const std::string png = ReadFile(fonts / (narrow + ".png"));
    const std::string metrics = ReadFile(fonts / (narrow + ".txt"));
    ReadOnlyMemoryStream stream(name + L".png", png.data(), png.size());
    int width = 0;
    int height = 0;
    std::vector<Color32> pixels = PNGLoadImage(&stream, &width, &height);
    if (pixels.empty())
        return nullptr;
    auto font = std::make_unique<ImageFont>();
    if (!font->Build(reinterpret_cast<const uint8_t*>(metrics.data()), metrics.size(),
                     std::make_unique<Image>(std::move(pixels), width, height, true, false), name.c_str()))
        return nullptr;
    return font;
}

IImageList* GetList(const char* name)
{
    return dynamic_cast<IImageList*>(GetResourceManager()->GetResource(Label(name)).get());
}

IImage* GetImage(const char* name)
{
    return dynamic_cast<IImage*>(GetResourceManager()->GetResource(Label(name)).get());
}

bool WritePNG(const Image& image, const char* path)
{
    const int width = image.GetWidth();
    const int height = image.GetHeight();
    std::vector<unsigned char> rgba;
    rgba.reserve(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            const Color32 pixel = image.GetPixel(x, y);
            rgba.insert(rgba.end(), {pixel.r, pixel.g, pixel.b, pixel.a});
        }
    }
    stbi_write_png_compression_level = 9;
    return stbi_write_png(path, width, height, 4, rgba.data(), width * 4) != 0;
}

// Loads the layout's manifest after the art it draws from, instantiates the layout and draws it at
// 800 x 600. False, with a message, when the manifest or the layout is missing.
bool DrawLayout(const std::wstring& manifest, const char* name, const char* path)
{
    ResourceManager* manager = GetResourceManager();
    for (const std::wstring& more : {std::wstring(L"GlobalConstants"), std::wstring(L"Generic"), manifest})
    {
        if (manager->Load(more.c_str())->GetStatus() != eLoadingJobStatus::Complete)
        {
            std::fprintf(stderr, "contact_sheet: manifest %ls did not load\n", more.c_str());
            return false;
        }
    }
    // "A+B" draws layout B over layout A, as a screen that stacks two layouts shows them.
    std::vector<const SceneLayout*> layouts;
    for (std::string_view rest(name); !rest.empty();)
    {
        const std::string one(rest.substr(0, rest.find('+')));
        rest.remove_prefix(std::min(rest.size(), one.size() + 1));
        layouts.push_back(AutoResource<SceneLayout>(one.c_str()).Get());
        if (layouts.back() == nullptr)
        {
            std::fprintf(stderr, "contact_sheet: no scene layout %s\n", one.c_str());
            return false;
        }
    }
    ApplicationMode mode;
    MainLoop::AutoContext context;
    MainLoop::WithinContext(&mode, context);
    std::vector<SceneNode*> roots;
    for (const SceneLayout* layout : layouts)
    {
        roots.push_back(layout->InstantiateLayout(&mode, nullptr));
        if (roots.back() == nullptr)
            return false;
    }
    Image target(800, 600);
    ICanvas* canvas = Graphics::CreateImageCanvas(&target);
    // A plain backdrop with a grid every 100 pixels, so that positions can be read off the picture.
    Graphics::sDrawState state = Graphics::sDrawState::GetDefaults();
    state.color = ColorF(0.86f, 0.92f, 0.97f, 1.0f);
    Graphics::DrawFilledRect(Rect<int>(0, 0, 800, 600), state, canvas);
    state.color = ColorF(0.7f, 0.78f, 0.86f, 1.0f);
    for (int at = 100; at < 800; at += 100)
    {
        Graphics::DrawFilledRect(Rect<int>(at, 0, 1, 600), state, canvas);
        if (at < 600)
            Graphics::DrawFilledRect(Rect<int>(0, at, 800, 1), state, canvas);
    }
    Graphics::PushContext(Graphics::Context{canvas, Graphics::sDrawState::GetDefaults()});
    for (SceneNode* root : roots)
    {
        root->UpdateScene();
        root->DrawScene();
    }
    Graphics::PopContext();
    Graphics::DestroyImageCanvas(canvas);
    return WritePNG(target, path);
}

// One named picture of a sheet: a run of an image list's frames side by side, or one image.
struct sSheetCell
{
    std::string name;
    IImageList* list = nullptr;
    IImage* image = nullptr;
    int first = 0;
    int count = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

constexpr int kSheetWidth = 1200;
constexpr int kCaption = 20;
constexpr int kGap = 24;
constexpr int kFrameGap = 8;

// The cells of one name: an image, or a list's frames in runs no wider than the sheet ("list#k": its
// frame k alone). Empty when the name is neither, or the frame is not in the list.
std::vector<sSheetCell> CellsOf(const std::string& entry)
{
    std::vector<sSheetCell> cells;
    const size_t hash = entry.find('#');
    const std::string name = entry.substr(0, hash);
    if (IImageList* list = GetList(name.c_str()))
    {
        int first = 0;
        int end = list->GetNumImages();
        if (hash != std::string::npos)
        {
            first = std::atoi(entry.c_str() + hash + 1);
            if (first < 0 || first >= end)
                return cells;
            end = first + 1;
        }
        for (int i = first; i < end; ++i)
        {
            const int wide = list->GetImageWidth(i);
            if (cells.empty() || cells.back().width + kFrameGap + wide > kSheetWidth - 2 * kGap)
                cells.push_back(sSheetCell{name, list, nullptr, i});
            sSheetCell& cell = cells.back();
            cell.width += (cell.count > 0 ? kFrameGap : 0) + wide;
            cell.height = std::max(cell.height, list->GetImageHeight(i));
            ++cell.count;
        }
    }
    else if (IImage* image = GetImage(name.c_str()); image && hash == std::string::npos)
        cells.push_back(sSheetCell{name, nullptr, image, 0, 1, 0, 0, image->GetWidth(), image->GetHeight()});
    return cells;
}

// Draws the pictures named in `names` from the manifests `manifests` ("A+B") on one sheet. False, with a
// message, when a manifest or a name is missing or the sheet cannot be written.
bool DrawPictures(const ImageFont* title, const ImageFont* small, const char* heading, std::string_view manifests,
                  const std::vector<std::string>& names, const char* path)
{
    ResourceManager* manager = GetResourceManager();
    for (std::string_view rest(manifests); !rest.empty();)
    {
        const std::string one(rest.substr(0, rest.find('+')));
        rest.remove_prefix(std::min(rest.size(), one.size() + 1));
        if (manager->Load(std::wstring(one.begin(), one.end()).c_str())->GetStatus() != eLoadingJobStatus::Complete)
        {
            std::fprintf(stderr, "contact_sheet: manifest %s did not load\n", one.c_str());
            return false;
        }
    }
    std::vector<sSheetCell> cells;
    int x = kGap;
    int y = 90;
    int rowHeight = 0;
    for (const std::string& name : names)
    {
        if (name == "-")
        {
            // A new row, so that each row can show one thing as every game draws it.
            if (x > kGap)
            {
                x = kGap;
                y += rowHeight + kCaption + kGap;
                rowHeight = 0;
            }
            continue;
        }
        std::vector<sSheetCell> more = CellsOf(name);
        if (more.empty())
        {
            std::fprintf(stderr, "contact_sheet: no image or image list %s\n", name.c_str());
            return false;
        }
        for (sSheetCell& cell : more)
        {
            const int wide = std::max(cell.width, 8 * static_cast<int>(name.size()) + 70);
            if (x + wide > kSheetWidth - kGap && x > kGap)
            {
                x = kGap;
                y += rowHeight + kCaption + kGap;
                rowHeight = 0;
            }
            cell.x = x;
            cell.y = y;
            x += wide + kGap;
            rowHeight = std::max(rowHeight, cell.height);
            cells.push_back(cell);
        }
    }
    const int height = y + rowHeight + kCaption + kGap;
    Image target(kSheetWidth, height);
    ICanvas* canvas = Graphics::CreateImageCanvas(&target);
    Graphics::sDrawState state = Graphics::sDrawState::GetDefaults();
    state.color = ColorF(0.86f, 0.92f, 0.97f, 1.0f);
    Graphics::DrawFilledRect(Rect<int>(0, 0, kSheetWidth, height), state, canvas);
    state.color = ColorF(0.95f, 0.45f, 0.2f, 1.0f);
    Graphics::DrawFilledRect(Rect<int>(kSheetWidth - 48 - kGap, 20, 48, 48), state, canvas);
    Graphics::sDrawState text = Graphics::sDrawState::GetDefaults();
    text.color = ColorF(0.12f, 0.2f, 0.42f, 1.0f);
    text.font = title;
    const std::string narrow(heading);
    Graphics::DrawText(std::wstring(narrow.begin(), narrow.end()).c_str(), 20.0f, 12.0f, text, canvas);
    text.font = small;
    Graphics::DrawText(L"48 px", kSheetWidth - 120.0f, 40.0f, text, canvas);
    const Graphics::sDrawState plain = Graphics::sDrawState::GetDefaults();
    for (const sSheetCell& cell : cells)
    {
        std::string caption = cell.name + "  ";
        if (cell.list != nullptr)
        {
            int at = cell.x;
            for (int i = cell.first; i < cell.first + cell.count; ++i)
            {
                cell.list->DrawImage(i, static_cast<float>(at), static_cast<float>(cell.y), plain, canvas);
                at += cell.list->GetImageWidth(i) + kFrameGap;
            }
            caption += (cell.count > 1 ? std::to_string(cell.first) + "-" + std::to_string(cell.first + cell.count - 1)
                                       : std::to_string(cell.first)) +
                       ": " + std::to_string(cell.list->GetImageWidth(cell.first)) + "x" +
                       std::to_string(cell.list->GetImageHeight(cell.first));
        }
        else
        {
            Graphics::DrawImage(cell.image, static_cast<float>(cell.x), static_cast<float>(cell.y), plain, canvas);
            caption += std::to_string(cell.width) + "x" + std::to_string(cell.height);
        }
        Graphics::DrawText(std::wstring(caption.begin(), caption.end()).c_str(), static_cast<float>(cell.x),
                           static_cast<float>(cell.y + cell.height + 4), text, canvas);
    }
    Graphics::DestroyImageCanvas(canvas);
    return WritePNG(target, path);
}

} // namespace

int main(int argc, char** argv)
{
    const bool pictures = argc >= 6 && std::string_view(argv[3]) == "--pictures";
    if (argc != 3 && argc != 6 && !pictures)
    {
        std::fprintf(stderr,
                     "usage: contact_sheet <data folder> <output.png> [<manifest> <layout> <layout.png>]\n"
                     "       contact_sheet <data folder> <output.png> --pictures <title> <manifests> <name>...\n");
        return 2;
    }
    const std::filesystem::path data = argv[1];
    // The data partition of the Linux platform under the engine's default file source, as in the game:
    // files are found by name in any folder. The file system is deleted with the engine's singletons.
    auto* fileSystem = new FileSystem();
    fileSystem->AddFileSystemPartition(FileSystemPartition_Resources, new Linux::FileSystemPartition(data.string()));
    std::unique_ptr<IFileSource> files(CreateDefaultFileSource());
    RegisterSingleton(files.get());
    ResourceManager* manager = GetResourceManager();
    manager->AddResourceFactory(L"image", new ImageResourceFactory());
    RegisterImageListResourceFactories();
    RegisterFontResourceFactory();
    CreateConstantResourceFactories();
    SetupStrataExtensions();
    for (const wchar_t* manifest :
         {L"resources", L"StickerBook", L"LocalizedImageResources", L"LocalizedImageResources_SP"})
    {
        if (manager->Load(manifest)->GetStatus() != eLoadingJobStatus::Complete)
        {
            std::fprintf(stderr, "contact_sheet: manifest %ls did not load\n", manifest);
            return 1;
        }
    }
    const std::unique_ptr<ImageFont> title = LoadFont(data / "fonts", L"Title40");
    const std::unique_ptr<ImageFont> body = LoadFont(data / "fonts", L"Body24");
    if (pictures)
    {
        const std::unique_ptr<ImageFont> small = LoadFont(data / "fonts", L"Verdana12");
        const bool written = title && small &&
                             DrawPictures(title.get(), small.get(), argv[4], argv[5],
                                          std::vector<std::string>(argv + 6, argv + argc), argv[2]);
        manager->Cleanup();
        files.reset();
        Internal::DeleteAllSingletons();
        return written ? 0 : 1;
    }
    IImageList* stickers = GetList("AllStickersList");
    IImageList* english = GetList("Button_SkipCutscene_EN");
    IImageList* spanish = GetList("Button_SkipCutscene_SP");
    if (!title || !body || !stickers || !english || !spanish)
    {
        std::fprintf(stderr, "contact_sheet: fonts, stickers or buttons are missing\n");
        return 1;
    }

    const int width = 1000;
    const int perRow = 10;
    const int rows = (stickers->GetNumImages() + perRow - 1) / perRow;
    const int stickersTop = 70;
    const int buttonsTop = stickersTop + rows * 100 + 40;
    const int cursorsTop = buttonsTop + 2 * 72 + 40;
    const int height = cursorsTop + 70;
    Image target(width, height);
    ICanvas* canvas = Graphics::CreateImageCanvas(&target);
    Graphics::sDrawState state = Graphics::sDrawState::GetDefaults();
    state.color = ColorF(0.86f, 0.92f, 0.97f, 1.0f);
    Graphics::DrawFilledRect(Rect<int>(0, 0, width, height), state, canvas);

    Graphics::sDrawState text = Graphics::sDrawState::GetDefaults();
    text.color = ColorF(0.12f, 0.2f, 0.42f, 1.0f);
    text.font = title.get();
    Graphics::DrawText(L"Shared art", 20.0f, 12.0f, text, canvas);
    text.font = body.get();
    const std::wstring count = std::to_wstring(stickers->GetNumImages()) + L" stickers";
    Graphics::DrawText(count.c_str(), 300.0f, 26.0f, text, canvas);
    Graphics::DrawText(L"Skip buttons: normal, hot, pressed, disabled, focused", 20.0f, buttonsTop - 34.0f, text,
                       canvas);
    Graphics::DrawText(L"Cursors", 20.0f, cursorsTop - 34.0f, text, canvas);

    const Graphics::sDrawState plain = Graphics::sDrawState::GetDefaults();
    for (int i = 0; i < stickers->GetNumImages(); ++i)
        Graphics::DrawImageList(stickers, i, 2.0f + (i % perRow) * 100.0f, stickersTop + (i / perRow) * 100.0f, plain,
                                canvas);
    for (int i = 0; i < english->GetNumImages(); ++i)
    {
        Graphics::DrawImageList(english, i, 20.0f + i * 190.0f, static_cast<float>(buttonsTop), plain, canvas);
        Graphics::DrawImageList(spanish, i, 20.0f + i * 190.0f, buttonsTop + 72.0f, plain, canvas);
    }
    int x = 20;
    for (const char* cursor : {"cursor_default", "cursor_hand", "cursor_brush_clean", "cursor_brush_red",
                               "cursor_brush_green", "cursor_brush_blue", "cursor_brush_yellow"})
    {
        if (IImage* image = GetImage(cursor))
        {
            Graphics::DrawImage(image, static_cast<float>(x), static_cast<float>(cursorsTop), plain, canvas);
            x += image->GetWidth() + 24;
        }
    }
    Graphics::DestroyImageCanvas(canvas);

    bool written = WritePNG(target, argv[2]);
    if (written && argc == 6)
    {
        const std::string manifest = argv[3];
        written = DrawLayout(std::wstring(manifest.begin(), manifest.end()), argv[4], argv[5]);
    }
    manager->Cleanup();
    files.reset();
    Internal::DeleteAllSingletons();
    return written ? 0 : 1;
}
