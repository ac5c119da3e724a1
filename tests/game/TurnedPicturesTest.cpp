// Every picture a game turns, from its shipped manifest and pictures, turned as the game turns it and
// drawn on the software canvas, which draws a turned picture only from its pre-turned copies: it stays
// on screen all through the turn, and is seen to turn.

#include "engine/scene/NodeTestSupport.h"
#include "game/HammerTheNail/HammerTheNailContent.h"
#include "game/MiniGamePattern.h"
#include "game/MiniGameTestSupport.h"
#include "scene/NodeEffects.h"
#include "scene/NodePropertyTasks.h"
#include "scene/SpriteNodes.h"

namespace
{

using namespace Strata;
using namespace Strata::Testing;

std::unique_ptr<Task> Shake(SceneNode&)
{
    return getNodeErrorShakeTask();
}

// The hammering game's wrench swings about its jaw from -45 to +45 degrees, then stands upright.
std::unique_ptr<Task> WrenchSwing(SceneNode& node)
{
    node.SetRotateAlignment(HAlignment_Left, VAlignment_Middle);
    node.LocalSetOrientation(Angle::FromDegrees(-45.0f));
    const float seconds = Yardcrew::GameConstant<float>(Yardcrew::HammerTheNailContent::kSpinTime.name);
    return std::make_unique<SerialTask>(new NodeOrientationTask(Angle::FromDegrees(45.0f), seconds),
                                        new NodeOrientationTask(Angle()));
}

struct sTurnedPicture
{
    const char* what;
    const char* manifest;
    const char* folder;
    // The layout, its child the game turns and its child that shows the picture ("" for the root).
    const char* layout;
    const char* turned;
    const char* picture;
    // The image lists shown there: names starting with `prefix` and holding `part`; how many there are.
    const char* prefix;
    const char* part;
    size_t lists;
    std::unique_ptr<Task> (*turn)(SceneNode&);
};

void PrintTo(const sTurnedPicture& row, std::ostream* out)
{
    *out << row.what;
}

const sTurnedPicture kTurnedPictures[] = {
    {"JobCard", "PlanAJobMode", "planajob", "JobSequenceItemLayout", "", "imageNode", "PlanAJob_", "_Objects_", 9,
     Shake},
    {"JigsawPiece", "SproutPuzzleMode", "puzzle", "SproutPuzzlePieceLayout", "imageNode", "imageNode",
     "SproutPuzzle_Pieces_", "", 12, Shake},
    {"RedStackedObject", "HoistStackerMode", "stacking", "StackableObjectLayout", "", "imageNode", "Red", "", 2, Shake},
    {"BlueStackedObject", "HoistStackerMode", "stacking", "StackableObjectLayout", "", "imageNode", "Blue", "", 2,
     Shake},
    {"Wrench", "HammerTheNailMode", "hammer", "FloatingToolLayout", "WrenchAnimNode", "WrenchAnimNode",
     "FixIt_Tool_InHand_Wrench", "", 1, WrenchSwing},
    {"LeafCoveredTool", "PileOfLeavesMode", "leaves", "LeafCoveredToolLayout", "", "imageNode", "GeneralTool_", "", 8,
     Shake},
};

class TurnedPicturesTest : public NodeTest, public testing::WithParamInterface<sTurnedPicture>
{
protected:
    void SetUp() override
    {
        NodeTest::SetUp();
        manager->AddResourceFactory(L"image", new ImageResourceFactory());
        RegisterImageListResourceFactories();
        CreateConstantResourceFactories();
    }

    // Loads the shipped manifest with its pictures; the names of the row's image lists in it.
    std::vector<std::string> LoadShipped(const sTurnedPicture& row)
    {
        const std::filesystem::path data(MENAGERIE_DATA_DIR);
        for (const auto& entry : std::filesystem::directory_iterator(data / row.folder))
            files.AddFile(entry.path().filename().wstring(), GameTesting::ReadDataFile(entry.path()));
        const std::string text = GameTesting::ReadDataFile(data / (std::string(row.manifest) + ".xml"));
        const std::wstring manifest(row.manifest, row.manifest + std::strlen(row.manifest));
        files.AddFile(manifest + L".xml", text);
        EXPECT_TRUE(manager->Load(manifest.c_str())->IsComplete());
        std::vector<std::string> lists;
        const std::string tag = "<imagelist name=\"";
        for (size_t at = text.find(tag); at != std::string::npos; at = text.find(tag, at + 1))
        {
            const std::string name = text.substr(at + tag.size(), text.find('"', at + tag.size()) - at - tag.size());
            if (name.starts_with(row.prefix) && name.find(row.part) != std::string::npos)
                lists.push_back(name);
        }
        return lists;
    }
};

SceneNode* Child(SceneNode& root, const char* name)
{
    return *name == 0 ? &root : root.GetChildByNodeName(Label(name));
}

// How many pixels show, and their bounding box.
std::pair<int, Rect<int>> Draw(SceneNode& root)
{
    Target target(640, 640);
    root.UpdateScene();
    root.DrawScene();
    const Rect<int> box = target.Drawn();
    int pixels = 0;
    for (int y = box.y; y < box.y + box.height; ++y)
        for (int x = box.x; x < box.x + box.width; ++x)
            pixels += target.At(x, y).a != 0 ? 1 : 0;
    return {pixels, box};
}

TEST_P(TurnedPicturesTest, StaysOnTheSoftwareCanvasAllThroughTheTurn)
{
    const sTurnedPicture& row = GetParam();
    const std::vector<std::string> lists = LoadShipped(row);
    ASSERT_EQ(lists.size(), row.lists);
    ASSERT_NE(Layout(row.layout), nullptr);
    for (const std::string& name : lists)
    {
        for (int index = 0; index < AutoResource<ImageList>(name.c_str())->GetNumImages(); ++index)
        {
            SCOPED_TRACE(name + " " + std::to_string(index));
            SceneTreePtr root = Layout(row.layout)->InstantiateLayout(nullptr);
            root->LocalSetLocation(Vector2<float>(240.0f, 240.0f));
            auto* picture = dynamic_cast<StaticSpriteNode*>(Child(*root, row.picture));
            SceneNode* turned = Child(*root, row.turned);
            ASSERT_TRUE(picture != nullptr && turned != nullptr);
            picture->setImage(Label::FromString(name), index);
            picture->LocalSetVisible(true);
            const auto [pixels, box] = Draw(*root);
            ASSERT_GT(pixels, 0);

            turned->AddTask(row.turn(*turned));
            bool seenTurning = false, seenTurned = false;
            while (turned->GetTaskQueue().GetTask(0) != nullptr)
            {
                turned->UpdateInternal(0.02f);
                const float degrees = turned->GlobalGetOrientation().Wrap().GetValue() * 180.0f / Angle::pi();
                if (std::min(degrees, 360.0f - degrees) < 5.0f)
                    continue;
                seenTurning = true;
                const auto [turnedPixels, turnedBox] = Draw(*root);
                ASSERT_GT(turnedPixels, pixels * 4 / 5) << "at " << degrees << " degrees";
                // A turned copy is wider or taller than the upright picture.
                seenTurned = seenTurned || turnedBox.width != box.width || turnedBox.height != box.height;
            }
            EXPECT_TRUE(seenTurning);
            EXPECT_TRUE(seenTurned);
            EXPECT_EQ(Draw(*root).second, box);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryGame, TurnedPicturesTest, testing::ValuesIn(kTurnedPictures),
                         [](const testing::TestParamInfo<sTurnedPicture>& info) { return info.param.what; });

} // namespace
