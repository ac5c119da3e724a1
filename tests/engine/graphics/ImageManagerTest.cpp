#include "graphics/ImageManager.h"

#include "core/FileAddress.h"
#include "core/FileSystem.h"
#include "core/Singleton.h"
#include "core/Stream.h"
#include "framework/FileSource.h"
#include "framework/ResourceManager.h"
#include "graphics/Image.h"

#include "support/MemoryDataTest.h"
#include "support/MemoryFileSystemPartition.h"

#include "ImageFixtures.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <vector>

using namespace Strata;
using Strata::Testing::MemoryFileSystemPartition;

namespace
{

// The game's data partition in memory, read through the engine's default file source.
class ImageManagerTest : public Strata::Testing::MemoryDataTest
{
protected:
    // Stores a fixture in the "art" folder, under its own name or under `as`.
    void Add(const std::string& fixture, const std::string& as = "")
    {
        const std::string name = as.empty() ? fixture : as;
        data->AddFile(L"art/" + std::wstring(name.begin(), name.end()), ImageFixtures::Read(fixture));
    }

    // Loads into a fresh image; the log lines written meanwhile go to `lines`.
    std::unique_ptr<Image> Load(const wchar_t* name, std::vector<std::string>* lines = nullptr)
    {
        std::unique_ptr<Image> image;
        const auto written = ImageFixtures::LogLines([&] { image = ImageManager::LoadImage(name); });
        if (lines != nullptr)
            *lines = written;
        else
            EXPECT_TRUE(written.empty()) << written.front();
        return image;
    }
};

std::vector<uint8_t> Alphas(const Image& image)
{
    std::vector<uint8_t> out;
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            out.push_back(image.GetPixel(x, y).a);
    return out;
}

} // namespace

TEST_F(ImageManagerTest, EachFormatGivesItsPixelsAndFlags)
{
    Add("gif_basic.gif", "basic.gif");
    Add("gif_transparent.gif", "transparent.gif");
    Add("png_rgba.png", "rgba.png");
    Add("jpg_basic.jpg", "photo.jpg");

    const auto basic = Load(L"basic");
    ASSERT_NE(basic, nullptr);
    EXPECT_EQ(basic->GetWidth(), 4);
    EXPECT_EQ(basic->GetHeight(), 3);
    EXPECT_EQ(basic->GetPixel(1, 0), Color32(255, 0, 0, 255));
    EXPECT_FALSE(basic->HasAlpha());
    EXPECT_FALSE(basic->HasColorKey());

    const auto transparent = Load(L"transparent");
    ASSERT_NE(transparent, nullptr);
    EXPECT_TRUE(transparent->HasAlpha());
    EXPECT_TRUE(transparent->HasColorKey());
    EXPECT_EQ(transparent->GetPixel(3, 0), Color32(0, 0, 255, 0));

    const auto rgba = Load(L"rgba");
    ASSERT_NE(rgba, nullptr);
    EXPECT_TRUE(rgba->HasAlpha());
    EXPECT_FALSE(rgba->HasColorKey());
    EXPECT_EQ(rgba->GetPixel(1, 0), Color32(0, 255, 0, 128));

    // The form that fills an image in place.
    Image photo;
    EXPECT_EQ(ImageManager::LoadImage(L"photo", &photo), &photo);
    EXPECT_EQ(photo.GetWidth(), 8);
    EXPECT_FALSE(photo.HasAlpha());
    EXPECT_FALSE(photo.HasColorKey());
    EXPECT_EQ(photo.GetPixel(7, 7).a, 255);
}

TEST_F(ImageManagerTest, FilesAreLookedForAsGifThenJpegThenPngAndMasksAsGifThenPngThenJpeg)
{
    Add("both.gif");
    Add("both.png");
    Add("both_mask.png");
    Add("both_mask.gif");
    const auto both = Load(L"both");
    ASSERT_NE(both, nullptr);
    EXPECT_EQ(both->GetPixel(0, 0), Color32(255, 0, 0, 85)); // the GIF, with the GIF mask's grey
    EXPECT_EQ(both->GetPixel(1, 0), Color32(0, 0, 255, 255));
    EXPECT_TRUE(both->HasAlpha());
    EXPECT_FALSE(both->HasColorKey());

    Add("png_rgb.png", "pick.png");
    Add("jpg_basic.jpg", "pick.jpg");
    Add("png_grey.png", "pick_mask.png");
    Add("jpg_basic.jpg", "pick_mask.jpg");
    FileAddress found;
    IStream* stream = ImageManager::OpenImageFile(L"pick", &found);
    ASSERT_NE(stream, nullptr);
    fileSystem->CloseStream(stream);
    EXPECT_STREQ(found.GetName(), L"pick");
    EXPECT_STREQ(found.GetExtension(), L".jpg");
    stream = ImageManager::OpenImageMaskFile(L"pick", &found);
    ASSERT_NE(stream, nullptr);
    fileSystem->CloseStream(stream);
    EXPECT_STREQ(found.GetName(), L"pick_mask");
    EXPECT_STREQ(found.GetExtension(), L".png");

    // A missing mask is normal and says nothing.
    const auto lines =
        ImageFixtures::LogLines([] { EXPECT_EQ(ImageManager::OpenImageMaskFile(L"both2", nullptr), nullptr); });
    EXPECT_TRUE(lines.empty());

    const FileVariant image = ImageManager::GetImageFileVariant(L"art");
    EXPECT_EQ(image.name, L"art");
    EXPECT_EQ(image.extensions, (std::list<std::wstring>{L".jpg", L".gif", L".png"}));
    const FileVariant mask = ImageManager::GetImageMaskFileVariant(L"art");
    EXPECT_EQ(mask.name, L"art_mask");
    EXPECT_EQ(mask.extensions, (std::list<std::wstring>{L".gif", L".png", L".jpg"}));
}

TEST_F(ImageManagerTest, AnAppliedMaskMakesTheImageAlphaBlendedInsteadOfColourKeyed)
{
    Add("tmask.gif");
    Add("tmask_mask.png"); // grey 77, no alpha channel
    const auto image = Load(L"tmask");
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(image->HasAlpha());
    EXPECT_FALSE(image->HasColorKey());
    EXPECT_EQ(Alphas(*image), std::vector<uint8_t>(16, 77));
    EXPECT_EQ(image->GetPixel(3, 0), Color32(0, 0, 255, 77)); // the colour under the key is kept
}

TEST_F(ImageManagerTest, AnUnusableMaskIsLoggedOnceAndTheImageStaysAsDecoded)
{
    Add("wrongsize.gif");
    Add("wrongsize_mask.gif");
    Add("badmask.gif");
    Add("badmask_mask.png");

    std::vector<std::string> lines;
    const auto narrow = Load(L"wrongsize", &lines);
    ASSERT_NE(narrow, nullptr);
    EXPECT_EQ(lines, (std::vector<std::string>{"Image wrongsize had an alpha mask that was the wrong size."}));
    EXPECT_EQ(Alphas(*narrow), std::vector<uint8_t>(8, 255));
    EXPECT_FALSE(narrow->HasAlpha());

    const auto damaged = Load(L"badmask", &lines);
    ASSERT_NE(damaged, nullptr);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("Image Mask badmask could not be loaded. (", 0), 0u) << lines[0];
    EXPECT_FALSE(damaged->HasAlpha());
}

TEST_F(ImageManagerTest, EveryDamagedFileGivesNoImageAndOneLineNamingItAndWhy)
{
    const char* files[] = {"bad_truncated.gif",   "bad_signature.gif",   "bad_zero_width.gif",
                           "bad_huge_screen.gif", "bad_code_size_0.gif", "bad_code_size_12.gif",
                           "bad_code_beyond.gif", "bad_no_image.gif",    "bad_palette_short.gif",
                           "bad_truncated.png",   "bad_truncated.jpg",   "bad_not_png.png"};
    for (const char* file : files)
    {
        SCOPED_TRACE(file);
        // Stems differ per format, so that no other form of the name is found first.
        const std::string fixture = file;
        const std::string extension = fixture.substr(fixture.find('.') + 1);
        const std::string stem = fixture.substr(0, fixture.find('.')) + "_" + extension;
        const std::string fileName = stem + "." + extension;
        Add(fixture, fileName);
        const std::wstring name(stem.begin(), stem.end());

        Image out(2, 2);
        std::vector<std::string> lines =
            ImageFixtures::LogLines([&] { EXPECT_EQ(ImageManager::LoadImage(name.c_str(), &out), nullptr); });
        ASSERT_EQ(lines.size(), 1u);
        const std::string prefix = "Image " + fileName + " could not be loaded. (";
        EXPECT_EQ(lines[0].rfind(prefix, 0), 0u) << lines[0];
        EXPECT_GT(lines[0].size(), prefix.size() + 5);
        EXPECT_EQ(out.GetWidth(), 2); // the target is left as it was
        EXPECT_TRUE(out.HasAlpha());

        std::unique_ptr<Image> fresh;
        lines = ImageFixtures::LogLines([&] { fresh = ImageManager::LoadImage(name.c_str()); });
        EXPECT_EQ(fresh, nullptr);
        EXPECT_EQ(lines.size(), 1u);
    }
}

TEST_F(ImageManagerTest, MissingFilesAndMissingFileSourceAreReportedOnce)
{
    std::vector<std::string> lines;
    EXPECT_EQ(Load(L"nothere", &lines), nullptr);
    EXPECT_EQ(lines, (std::vector<std::string>{"Image nothere was not found."}));

    // A name too long for a file address is simply not found.
    const std::wstring longName(2000, L'a');
    EXPECT_EQ(Load(longName.c_str(), &lines), nullptr);
    EXPECT_EQ(lines.size(), 1u);

    // Null arguments are refused quietly.
    lines = ImageFixtures::LogLines(
        []
        {
            EXPECT_EQ(ImageManager::LoadImage(nullptr), nullptr);
            EXPECT_EQ(ImageManager::LoadImage(L"x", nullptr), nullptr);
        });
    EXPECT_TRUE(lines.empty());

    Add("gif_basic.gif", "basic.gif");
    data->SetFailOpen(true);
    EXPECT_EQ(Load(L"basic", &lines), nullptr);
    EXPECT_EQ(lines, (std::vector<std::string>{"Image basic was not found."}));
    data->SetFailOpen(false);

    source.reset(); // clears the registry slot
    EXPECT_EQ(Load(L"basic", &lines), nullptr);
    EXPECT_EQ(lines, (std::vector<std::string>{"Image basic was not found."}));
}

TEST_F(ImageManagerTest, ShortReadsStillLoadAndAFileThatShrinksWhileReadIsRefused)
{
    Add("gif_interlaced.gif", "interlaced.gif");
    Add("png_rgba.png", "rgba.png");
    const auto before = Load(L"interlaced");
    ASSERT_NE(before, nullptr);

    data->SetMaxReadSize(3);
    const auto interlaced = Load(L"interlaced");
    ASSERT_NE(interlaced, nullptr);
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(interlaced->GetPixel(x, y), before->GetPixel(x, y));
    EXPECT_NE(Load(L"rgba"), nullptr);

    std::vector<std::string> lines;
    data->ShrinkWhileReading(L"art/rgba.png", 4, 20);
    EXPECT_EQ(Load(L"rgba", &lines), nullptr);
    EXPECT_EQ(lines.size(), 1u);
    data->ShrinkWhileReading(L"art/interlaced.gif", 4, 20);
    EXPECT_EQ(Load(L"interlaced", &lines), nullptr);
    EXPECT_EQ(lines.size(), 1u);
}
