#include "graphics/ImageList.h"

#include "core/AttributeContainer.h"
#include "core/FileAddress.h"
#include "core/FileSystem.h"
#include "core/MemoryStream.h"
#include "core/Singleton.h"
#include "core/XMLReader.h"
#include "framework/FileSource.h"
#include "framework/ResourceDescriptor.h"
#include "graphics/Drawing.h"
#include "graphics/ImageListResourceFactory.h"
#include "graphics/ImageManager.h"
#include "graphics/ImageResourceFactory.h"

#include "support/MemoryFileSystemPartition.h"

#include "DrawRecorder.h"
#include "ImageFixtures.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <list>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace Strata;
using namespace Strata::Graphics;
using DrawRecorder::RecordingCanvas;
using DrawRecorder::Solid;
using Strata::Testing::MemoryFileSystemPartition;

namespace
{

// An image that counts its deletion.
class CountedImage final : public Image
{
public:
    CountedImage(int width, int height, int* deletions) : Image(width, height), mDeletions(deletions) {}
    ~CountedImage() override { ++*mDeletions; }

private:
    int* mDeletions;
};

// A list of `count` images, image i being i + 1 pixels wide, kept by the test.
struct Frames
{
    explicit Frames(int count)
    {
        for (int i = 0; i < count; ++i)
        {
            images.push_back(Solid(i + 1, 2));
            list.AddImage(images.back().get());
        }
    }
    std::vector<std::unique_ptr<Image>> images;
    ImageList list;
};

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInfinity = std::numeric_limits<float>::infinity();

} // namespace

TEST(ImageListTest, OwnershipAndIndicesThatNameNoImage)
{
    int deletions = 0;
    CountedImage kept(3, 2, &deletions);
    kept.SetPixel(2, 1, Color32(1, 2, 3, 200));
    RecordingCanvas canvas;
    const sDrawState& state = sDrawState::GetDefaults();
    {
        ImageList list;
        list.AddImage(&kept);
        list.AddOwnedImage(nullptr);
        list.AddOwnedImage(new CountedImage(2, 2, &deletions));
        EXPECT_EQ(list.GetNumImages(), 3);
        for (int i : {-1, 1, 3, INT_MIN, INT_MAX})
        {
            EXPECT_FALSE(list.IsValidImage(i)) << i;
            EXPECT_EQ(list.GetImage(i), nullptr) << i;
            EXPECT_EQ(list.GetImageWidth(i) + list.GetImageHeight(i) + list.GetImagePixelAlpha(i, 0, 0), 0) << i;
            EXPECT_EQ(list.DrawImage(i, 0, 0, state, &canvas), 1) << i;
            EXPECT_EQ(list.DrawStretchedImage(i, Rect<float>(0, 0, 5, 5), state, &canvas), 1) << i;
        }
        EXPECT_TRUE(canvas.draws.empty());
        EXPECT_EQ(list.GetImageWidth(0), 3);
        EXPECT_EQ(list.GetImagePixelAlpha(0, 2, 1), 200);
        EXPECT_EQ(list.GetImagePixelAlpha(0, 3, 1), 0) << "outside the image";

        // The free functions hand on to the list; the stretched rectangle is floored value by value.
        EXPECT_EQ(DrawImageList(&list, 0, 4.5f, 6.0f, state, &canvas), 0);
        EXPECT_EQ(DrawStretchedImageList(&list, 2, Rect<float>(-0.5f, 2.7f, 10.9f, 4.2f), state, &canvas), 0);
        ASSERT_EQ(canvas.draws.size(), 2u);
        EXPECT_EQ(canvas.draws[0].image, &kept);
        EXPECT_EQ(canvas.draws[0].x, 4.5f);
        EXPECT_EQ(canvas.draws[1].destination, Rect<int>(-1, 2, 10, 4));
        EXPECT_EQ(DrawImageList(nullptr, 0, 1, 2, state, &canvas), 1);
        EXPECT_EQ(DrawImageList(&list, 0, 1, 2, state, nullptr), 1);
        EXPECT_EQ(DrawStretchedImageList(nullptr, 0, Rect<float>(0, 0, 4, 4), state, &canvas), 1);
        EXPECT_EQ(deletions, 0);
    }
    EXPECT_EQ(deletions, 1) << "only the owned image";
}

TEST(FilmStripTest, PanesNumberedRowByRow)
{
    FilmStrip strip;
    strip.Init(Solid(256, 64), 4, 0);
    EXPECT_EQ(strip.GetNumImages(), 4);
    EXPECT_EQ(strip.GetImageHeight(3), 64);

    strip.Init(Solid(256, 100), 4, 2);
    EXPECT_EQ(strip.GetNumImages(), 8);
    EXPECT_EQ(strip.GetPaneRect(5), Rect<int>(64, 50, 64, 50));
    RecordingCanvas canvas;
    const sDrawState& state = sDrawState::GetDefaults();
    EXPECT_EQ(strip.DrawImage(5, 10.0f, 20.0f, state, &canvas), 0);
    EXPECT_EQ(strip.DrawStretchedImage(6, Rect<float>(1.5f, 2.5f, 99.9f, 10.0f), state, &canvas), 0);
    ASSERT_EQ(canvas.draws.size(), 2u);
    EXPECT_EQ(canvas.draws[0].image, strip.GetImage());
    EXPECT_EQ(canvas.draws[0].source, Rect<int>(64, 50, 64, 50));
    EXPECT_EQ(canvas.draws[1].destination, Rect<int>(1, 2, 99, 10));
    EXPECT_EQ(canvas.draws[1].source, Rect<int>(128, 50, 64, 50));

    // An index outside the panes draws nothing, not some other part of the strip.
    for (int i : {-1, 8, INT_MAX, INT_MIN})
    {
        EXPECT_EQ(strip.GetPaneRect(i), Rect<int>()) << i;
        EXPECT_EQ(strip.DrawImage(i, 0, 0, state, &canvas), 1) << i;
        EXPECT_EQ(strip.DrawStretchedImage(i, Rect<float>(0, 0, 8, 8), state, &canvas), 1) << i;
    }
    EXPECT_EQ(canvas.draws.size(), 2u);

    // Counts below 1 become 1; absurd ones neither overflow the pane count nor draw.
    strip.Init(Solid(10, 6), -3, 0);
    EXPECT_EQ(strip.GetPaneRect(0), Rect<int>(0, 0, 10, 6));
    strip.Init(Solid(10, 6), INT_MAX, INT_MAX);
    EXPECT_EQ(strip.GetNumImages(), kMaxImageSide * kMaxImageSide);
    EXPECT_EQ(strip.DrawImage(7, 0, 0, state, &canvas), 1);
    EXPECT_EQ(canvas.draws.size(), 2u);
}

TEST(AnimationTest, FramesForEachMode)
{
    Frames frames(4);
    const Animation once(&frames.list, AnimationMode_Once, 10.0f);
    EXPECT_EQ(once.GetFrameNumberAt(0.35f), 3);
    EXPECT_EQ(once.GetFrameNumberAt(0.5f), 3);
    EXPECT_EQ(once.GetFrameNumberAt(100.0f), 3);
    // The remainder is made positive before the cycle is judged.
    EXPECT_EQ(once.GetFrameNumberAt(-0.1f), 3);
    EXPECT_EQ(once.GetFrameNumberAt(-0.5f), 0);

    const Animation bounce(&frames.list, AnimationMode_Bounce, 10.0f);
    EXPECT_EQ(bounce.GetFrameNumberAt(0.1f), 1);
    EXPECT_EQ(bounce.GetFrameNumberAt(0.5f), 2);
    EXPECT_EQ(bounce.GetFrameNumberAt(0.85f), 0);
    EXPECT_EQ(bounce.GetFrameNumberAt(5.0f), 0);

    const Animation loop(&frames.list, AnimationMode_Loop, 10.0f);
    EXPECT_EQ(loop.GetFrameNumberAt(0.5f), 1);
    EXPECT_EQ(loop.GetFrameNumberAt(-0.1f), 3);

    const Animation pingPong(&frames.list, AnimationMode_PingPong, 10.0f);
    const int expected[] = {0, 1, 2, 3, 3, 2, 1, 0, 0, 1};
    for (int f = 0; f < 10; ++f)
        EXPECT_EQ(pingPong.GetFrameNumberAt((static_cast<float>(f) + 0.5f) / 10.0f), expected[f]) << f;

    // Drawing picks the frame for the time.
    RecordingCanvas canvas;
    EXPECT_EQ(DrawAnimation(&loop, 0.65f, 3.0f, 4.0f, sDrawState::GetDefaults(), &canvas), 0);
    EXPECT_EQ(DrawStretchedAnimation(&loop, 0.1f, Rect<float>(0.5f, 1.5f, 8, 9), sDrawState::GetDefaults(), &canvas),
              0);
    ASSERT_EQ(canvas.draws.size(), 2u);
    EXPECT_EQ(canvas.draws[0].image, frames.images[2].get());
    EXPECT_EQ(canvas.draws[1].image, frames.images[1].get());
    EXPECT_EQ(canvas.draws[1].destination, Rect<int>(0, 1, 8, 9));
}

TEST(AnimationTest, EmptyListsAndValuesThatAreNotFinite)
{
    const Animation none;
    EXPECT_EQ(none.GetImageList(), nullptr);
    EXPECT_EQ(none.GetMode(), AnimationMode_Once);
    EXPECT_EQ(none.GetFPS(), 1.0f);
    EXPECT_EQ(none.GetFrameNumberAt(3.0f), 0);

    ImageList empty;
    const Animation emptyAnimation(&empty, AnimationMode_Loop, 10.0f);
    EXPECT_EQ(emptyAnimation.GetFrameNumberAt(1.0f), 0);
    RecordingCanvas canvas;
    const sDrawState& state = sDrawState::GetDefaults();
    EXPECT_EQ(DrawAnimation(&emptyAnimation, 1.0f, 0, 0, state, &canvas), 1);
    EXPECT_EQ(DrawStretchedAnimation(&emptyAnimation, 1.0f, Rect<float>(0, 0, 5, 5), state, &canvas), 1);
    EXPECT_EQ(DrawAnimation(&none, 1.0f, 0, 0, state, &canvas), 1);
    EXPECT_EQ(DrawAnimation(nullptr, 1.0f, 0, 0, state, &canvas), 1);
    EXPECT_TRUE(canvas.draws.empty());

    Frames frames(4);
    for (AnimationMode mode : {AnimationMode_Once, AnimationMode_Bounce, AnimationMode_Loop, AnimationMode_PingPong})
    {
        for (float fps : {10.0f, kNaN, kInfinity, -kInfinity, 1.0e30f})
        {
            for (float t : {kNaN, kInfinity, -kInfinity, 0.0f, 1.0e30f, -1.0e30f})
            {
                const int frame = Animation(&frames.list, mode, fps).GetFrameNumberAt(t);
                EXPECT_TRUE(frame >= 0 && frame < 4) << mode << " " << fps << " " << t << ": " << frame;
            }
        }
    }
    EXPECT_EQ(Animation(&frames.list, AnimationMode_Once, kNaN).GetFrameNumberAt(2.0f), 0);
    EXPECT_EQ(Animation(&frames.list, AnimationMode_Once, 10.0f).GetFrameNumberAt(kInfinity), 3);
}

namespace
{

// A factory whose resources are no images; it throws for an element with "throw".
class PlainFactory final : public IResourceFactory
{
public:
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader&) const override
    {
        if (attributes.HasAttribute(L"throw"))
            throw std::runtime_error("refused");
        return new ResourceDescriptor(manifest, name, attributes);
    }
};

// A file source that cannot stream: existence is learnt by opening.
class PlainFileSource final : public IFileSource
{
public:
    explicit PlainFileSource(IFileSource* inner) : mInner(inner) {}
    IStream* OpenFileStream(const FileAddress& address) const override
    {
        ++opens;
        return mInner->OpenFileStream(address);
    }
    mutable int opens = 0;

private:
    IFileSource* mInner;
};

std::unique_ptr<IXMLReader> ReaderOver(const std::string& xml)
{
    MemoryStream stream(L"element");
    stream.Write(xml.data(), xml.size());
    stream.Seek(SeekOrigin_Begin, 0);
    return CreateXMLReader(&stream);
}

// The game's data in memory behind the default file source, and a resource manager with the image,
// image-list and film-strip factories.
class ImageListResourceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Internal::DeleteAllSingletons();
        fileSystem = new FileSystem();
        data = new MemoryFileSystemPartition(L"data");
        fileSystem->AddFileSystemPartition(FileSystemPartition_Resources, data);
        source.reset(CreateDefaultFileSource());
        RegisterSingleton(source.get());
        manager = GetResourceManager();
        manager->AddResourceFactory(L"image", new ImageResourceFactory());
        manager->AddResourceFactory(L"plain", new PlainFactory());
        RegisterImageListResourceFactories();
    }

    void TearDown() override
    {
        manager->Cleanup();
        source.reset();
        Internal::DeleteAllSingletons();
    }

    void AddFrame(const std::wstring& name, int fixture)
    {
        data->AddFile(L"frames/" + name + L".png",
                      ImageFixtures::Read("list_frame" + std::to_string(fixture) + ".png"));
    }

    // Loads `body` as a manifest of its own; the log lines written meanwhile go to `lines` when given.
    void LoadManifest(const std::string& body, std::vector<std::string>* lines = nullptr)
    {
        const std::string text = "<?xml version=\"1.0\"?>\n<manifest>\n" + body + "</manifest>\n";
        MemoryStream stream(L"manifest");
        stream.Write(text.data(), text.size());
        stream.Seek(SeekOrigin_Begin, 0);
        const std::wstring name = L"Lists" + std::to_wstring(++mManifests);
        const auto logged = ImageFixtures::LogLines([&] { manager->LoadFromStream(&stream, name.c_str()); });
        if (lines)
            *lines = logged;
    }

    // The image list made by the factory from these attributes, or null.
    std::unique_ptr<IResourceDescriptor> CreateList(const AttributeContainer::AttributeMap& map,
                                                    std::vector<std::string>* lines = nullptr)
    {
        const AttributeContainer attributes(map);
        auto element = ReaderOver("<imagelist/>");
        IResourceDescriptor* made = nullptr;
        const auto logged = ImageFixtures::LogLines(
            [&]
            { made = ImageListResourceFactory().CreateResource(L"manifest", Label("list"), attributes, *element); });
        if (lines)
            *lines = logged;
        return std::unique_ptr<IResourceDescriptor>(made);
    }

    static std::vector<int> Widths(const IResourceDescriptor* resource)
    {
        std::vector<int> widths;
        const auto* list = dynamic_cast<const ImageList*>(resource);
        if (!list)
            return {-1};
        for (int i = 0; i < list->GetNumImages(); ++i)
            widths.push_back(list->GetImageWidth(i));
        return widths;
    }

    std::list<FileVariant> FileList(const AttributeContainer::AttributeMap& map, const std::string& element)
    {
        std::list<FileVariant> files;
        auto reader = ReaderOver(element);
        ImageListResourceFactory().GetFileListForResource(&files, L"manifest", Label("list"), AttributeContainer(map),
                                                          *reader);
        return files;
    }

    static std::vector<std::wstring> Names(const std::list<FileVariant>& files)
    {
        std::vector<std::wstring> names;
        for (const auto& file : files)
            names.push_back(file.name);
        return names;
    }

    FileSystem* fileSystem = nullptr;
    MemoryFileSystemPartition* data = nullptr;
    std::unique_ptr<IFileSource> source;
    ResourceManager* manager = nullptr;

private:
    int mManifests = 0;
};

} // namespace

TEST_F(ImageListResourceTest, PatternsSkipAMissingStartAndStopAtTheFirstGap)
{
    for (int i = 1; i <= 5; ++i)
        AddFrame(L"walk" + std::to_wstring(i), i);
    AddFrame(L"jump0", 1);
    AddFrame(L"jump1", 2);
    AddFrame(L"jump3", 4);
    EXPECT_EQ(Widths(CreateList({{L"pattern", L"walk%1%"}}).get()), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(Widths(CreateList({{L"pattern", L"jump%1%"}, {L"first", L"-3"}}).get()), (std::vector<int>{1, 2}));
    EXPECT_EQ(Widths(CreateList({{L"pattern", L"walk%1%"}, {L"first", L"2"}, {L"last", L"3"}}).get()),
              (std::vector<int>{2, 3}));
    EXPECT_EQ(Widths(CreateList({}).get()), (std::vector<int>{}));
    // Turned copies for the software canvas, for every image of the pattern.
    const auto turned = CreateList({{L"pattern", L"walk%1%"}, {L"last", L"2"}, {L"rotations", L"4"}});
    ASSERT_EQ(Widths(turned.get()), (std::vector<int>{1, 2}));
    for (int i = 0; i < 2; ++i)
    {
        const auto* image = dynamic_cast<const Image*>(dynamic_cast<const ImageList&>(*turned).GetImage(i));
        ASSERT_NE(image, nullptr);
        EXPECT_NE(image->GetRotationCache(), nullptr);
    }

    // The index never wraps past the largest int.
    AddFrame(L"big2147483646", 1);
    AddFrame(L"big2147483647", 2);
    EXPECT_EQ(Widths(CreateList({{L"pattern", L"big%1:d%"}, {L"first", L"2147483646"}}).get()),
              (std::vector<int>{1, 2}));

    // An absurd range is cut short and logged instead of trying four billion names.
    const AttributeContainer::AttributeMap absurd{{L"pattern", L"none%1%"}, {L"first", L"-2147483648"}};
    std::vector<std::string> lines;
    EXPECT_EQ(Widths(CreateList(absurd, &lines).get()), (std::vector<int>{}));
    ASSERT_EQ(lines.size(), static_cast<size_t>(kMaxImageListPatternImages) + 1);
    EXPECT_NE(lines.back().find("stops after"), std::string::npos) << lines.back();
    std::list<FileVariant> files;
    lines = ImageFixtures::LogLines([&] { files = FileList(absurd, "<imagelist/>"); });
    EXPECT_EQ(files.size(), 2u * kMaxImageListPatternImages);
    EXPECT_EQ(lines.size(), 1u);
}

TEST_F(ImageListResourceTest, PatternFramesDecodedTogetherLogInTheirOrderAndStopAtTheFirstFailure)
{
    // Frames 2 and 5 have masks of the wrong size, frame 3 is damaged: the list stops at frame 3, and
    // frame 5's mask, decoded beside the others, is never heard of.
    for (int i = 1; i <= 5; ++i)
        AddFrame(L"step" + std::to_wstring(i), i);
    data->AddFile(L"frames/step2_mask.png", ImageFixtures::Read("list_frame1.png"));
    data->AddFile(L"frames/step3.png", ImageFixtures::Read("bad_truncated.png"));
    data->AddFile(L"frames/step5_mask.png", ImageFixtures::Read("list_frame1.png"));
    // What loading frame 3 alone logs.
    const auto alone = ImageFixtures::LogLines([] { ImageManager::LoadImage(L"step3"); });
    ASSERT_EQ(alone.size(), 1u);
    std::vector<std::string> lines;
    const auto list = CreateList({{L"pattern", L"step%1%"}, {L"first", L"1"}, {L"rotations", L"400"}}, &lines);
    EXPECT_EQ(Widths(list.get()), (std::vector<int>{1, 2}));
    const std::string rotations = "Image list asks for 400 rotations; 360 are made.";
    EXPECT_EQ(lines, (std::vector<std::string>{rotations, "Image step2 had an alpha mask that was the wrong size.",
                                               rotations, alone.front()}));

    // A frame missing after the first ends the list where it is missing, logged in its place.
    data->AddFile(L"frames/gap1.png", ImageFixtures::Read("list_frame1.png"));
    data->AddFile(L"frames/gap2_mask.png", ImageFixtures::Read("list_frame2.png"));
    data->AddFile(L"frames/gap4.png", ImageFixtures::Read("list_frame4.png"));
    EXPECT_EQ(Widths(CreateList({{L"pattern", L"gap%1%"}}, &lines).get()), (std::vector<int>{1}));
    EXPECT_EQ(lines, (std::vector<std::string>{"Image gap0 was not found.", "Image gap2 was not found."}));
}

TEST_F(ImageListResourceTest, ChildElementsAreImagesOrTheListFails)
{
    AddFrame(L"a", 3);
    AddFrame(L"b", 4);
    AddFrame(L"walk1", 1);
    std::vector<std::string> lines;
    LoadManifest(R"(<imagelist name="kids">
  <image src="a"/>
  <image src="b"><image name="grandchild" src="a"/></image>
</imagelist>
<imagelist name="both" pattern="walk%1%" first="1"><image src="b"/></imagelist>
<imagelist name="odd"><image src="a"/><plain value="1"/><image src="a"/></imagelist>
<imagelist name="missing"><image src="nowhere"/></imagelist>
<imagelist name="thrown"><plain throw="1"/></imagelist>
<image name="after" src="a"/>
)",
                 &lines);
    EXPECT_EQ(Widths(manager->GetResource(Label("kids")).get()), (std::vector<int>{3, 4}));
    EXPECT_EQ(manager->GetResource(Label("grandchild")), nullptr) << "read as part of its parent";
    EXPECT_EQ(Widths(manager->GetResource(Label("both")).get()), (std::vector<int>{1, 4}));
    EXPECT_EQ(manager->GetResource(Label("odd")), nullptr);
    EXPECT_EQ(manager->GetResource(Label("missing")), nullptr);
    EXPECT_EQ(manager->GetResource(Label("thrown")), nullptr);
    EXPECT_NE(manager->GetResource(Label("after")), nullptr) << "the manifest goes on after the lists";
    EXPECT_EQ(AutoResource<IImageList>("kids")->GetNumImages(), 2);

    // One line per failed list, besides the image loader's (the manager logs its own progress too).
    std::erase_if(lines, [](const std::string& line) { return line.rfind("Image list", 0) != 0; });
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[0].find("odd"), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("missing"), std::string::npos) << lines[1];
    EXPECT_NE(lines[2].find("refused"), std::string::npos) << lines[2];
}

TEST_F(ImageListResourceTest, FilmStripResources)
{
    data->AddFile(L"art/strip.png", ImageFixtures::Read("list_strip.png"));
    LoadManifest(R"(<filmstrip name="grid" src="strip" cols="4" rows="2"/>
<filmstrip name="whole" src="strip"/>
<filmstrip name="lost" src="nothing" cols="4"/>
)");
    const AutoResource<IImageList> grid("grid");
    ASSERT_NE(grid.Get(), nullptr);
    EXPECT_EQ(AutoResource<ImageList>("grid").Get(), nullptr);
    ASSERT_EQ(grid->GetNumImages(), 8);
    EXPECT_EQ(grid->GetImageWidth(0), 2);
    for (int pane = 0; pane < 8; ++pane)
    {
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x)
                EXPECT_EQ(grid->GetImagePixel(pane, x, y),
                          Color32(uint8_t(16 * pane + x), uint8_t(50 * y), 200, uint8_t(255 - 10 * pane)))
                    << pane << " " << x << " " << y;
        // Pixels outside the pane are not the neighbour's.
        EXPECT_EQ(grid->GetImagePixel(pane, 2, 0), Color32());
        EXPECT_EQ(grid->GetImagePixelAlpha(pane, 0, 2), 0);
    }
    EXPECT_EQ(grid->GetImagePixel(8, 0, 0), Color32());
    EXPECT_EQ(AutoResource<IImageList>("whole")->GetNumImages(), 1);
    EXPECT_EQ(manager->GetResource(Label("lost")), nullptr);

    std::list<FileVariant> files;
    auto element = ReaderOver("<filmstrip/>");
    FilmStripResourceFactory().GetFileListForResource(
        &files, L"manifest", Label("grid"), AttributeContainer(AttributeContainer::AttributeMap{{L"src", L"strip"}}),
        *element);
    EXPECT_EQ(Names(files), (std::vector<std::wstring>{L"strip", L"strip_mask"}));
}

TEST_F(ImageListResourceTest, AnimationsReadTheirResourcesAttributes)
{
    for (int i = 1; i <= 4; ++i)
        AddFrame(L"run" + std::to_wstring(i), i);
    LoadManifest(R"(<imagelist name="run" pattern="run%1%" fps="12.5" mode="Loop"/>
<imagelist name="stroll" pattern="run%1%" mode="sideways"/>
<plain name="notes" fps="7" mode="bounce"/>
)");
    const Animation run = CreateAnimation(Label("run"), AnimationMode_Once, 5.0f);
    EXPECT_EQ(run.GetImageList(), AutoResource<IImageList>("run").Get());
    EXPECT_EQ(run.GetMode(), AnimationMode_Loop);
    EXPECT_EQ(run.GetFPS(), 12.5f);
    EXPECT_EQ(run.GetWidth(), 1);

    EXPECT_EQ(CreateAnimation(Label("stroll"), AnimationMode_PingPong, 5.0f).GetMode(), AnimationMode_PingPong)
        << "an unknown mode keeps the given one";

    const Animation notes = CreateAnimation(Label("notes"), AnimationMode_Once, 5.0f);
    EXPECT_EQ(notes.GetImageList(), nullptr);
    EXPECT_EQ(notes.GetMode(), AnimationMode_Bounce);
    EXPECT_EQ(notes.GetFPS(), 7.0f);

    const Animation unknown = CreateAnimation(Label("nowhere"), AnimationMode_Loop, 5.0f);
    EXPECT_EQ(unknown.GetMode(), AnimationMode_Once);
    EXPECT_EQ(unknown.GetFPS(), 1.0f);
}

TEST_F(ImageListResourceTest, FileListsOfPatternsAndChildren)
{
    for (int i = 1; i <= 3; ++i)
        AddFrame(L"swim" + std::to_wstring(i), i);
    const std::string children = R"(<imagelist><image src="a"/><image src="b"><image src="c"/></image></imagelist>)";

    // Index 0 is listed although it has no file; 4 ends the scan; the children are not looked at.
    auto files = FileList({{L"pattern", L"swim%1%"}}, children);
    EXPECT_EQ(Names(files), (std::vector<std::wstring>{L"swim0", L"swim0_mask", L"swim1", L"swim1_mask", L"swim2",
                                                       L"swim2_mask", L"swim3", L"swim3_mask"}));

    // A pattern that lists nothing leaves the direct children to name the files.
    files = FileList({{L"pattern", L"none%1%"}, {L"first", L"1"}}, children);
    EXPECT_EQ(Names(files), (std::vector<std::wstring>{L"a", L"a_mask", L"b", L"b_mask"}));

    // A file source that cannot stream is asked by opening; every stream it opens is closed.
    PlainFileSource plain(source.get());
    RegisterSingleton(static_cast<IFileSource*>(&plain));
    files = FileList({{L"pattern", L"swim%1%"}, {L"first", L"1"}}, "<imagelist/>");
    RegisterSingleton(source.get());
    EXPECT_EQ(files.size(), 6u);
    EXPECT_GT(plain.opens, 0);
    EXPECT_EQ(data->GetOpenStreamCount(), 0);
}
