// Every picture a game turns, loaded from its shipped manifest and pictures, turned the way the game
// turns it and drawn on the software canvas, which draws a turned picture only from the picture's
// pre-turned copies: all through the turn the picture stays on screen, and where the copies are fine
// enough for the turn, the drawn picture is seen to turn.

#include "engine/scene/NodeTestSupport.h"

#include "framework/TimedTask.h"
#include "framework/ValueResources.h"
#include "game/HammerTheNail/HammerTheNailContent.h"
#include "game/MiniGamePattern.h"
#include "graphics/ImageListResourceFactory.h"
#include "graphics/ImageResourceFactory.h"
#include "scene/NodeEffects.h"
#include "scene/NodePropertyTasks.h"
#include "scene/SpriteNodes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace
{

using namespace Strata;
using namespace Strata::Testing;

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The hammering game's wrench: it swings about its jaw from -45 to +45 degrees, then stands upright.
std::unique_ptr<Task> WrenchSwing(SceneNode& node)
{
    node.SetRotateAlignment(HAlignment_Left, VAlignment_Middle);
    node.LocalSetOrientation(Angle::FromDegrees(-45.0f));
    auto swing = std::make_unique<SerialTask>();
    swing->AddTask(new NodeOrientationTask(
        Angle::FromDegrees(45.0f), Yardcrew::GameConstant<float>(Yardcrew::HammerTheNailContent::kSpinTime.name)));
    swing->AddTask(new NodeOrientationTask(Angle()));
    return swing;
}

// A found tool of the leaf-pile game: quarter turns while it flies, upright when it lands.
std::unique_ptr<Task> FlightSpin()
{
    auto angles =
        std::make_shared<IncrementNumberGenerator<Angle>>(Angle::FromDegrees(90.0f), Angle::FromDegrees(90.0f));
    auto spin = new RepeatingTask(new NodeOrientationTask(angles, std::make_shared<ConstNumberGenerator<float>>(0.1f)));
    auto flight = std::make_unique<SerialTask>();
    flight->AddTask(new ParallelTask(ParallelTaskCompletion_Any, new TimedTask(0.5f), spin));
    flight->AddTask(new NodeOrientationTask(Angle()));
    return flight;
}

enum eTurn
{
    Turn_Shake,
    Turn_WrenchSwing,
    Turn_FlightSpin,
};

std::unique_ptr<Task> MakeTurn(eTurn turn, SceneNode& node)
{
    switch (turn)
    {
    case Turn_WrenchSwing:
        return WrenchSwing(node);
    case Turn_FlightSpin:
        return FlightSpin();
    default:
        return getNodeErrorShakeTask();
    }
}

struct sTurnedPicture
{
    const char* what;
    const wchar_t* manifest;
    const char* folder;
    const char* layout;
    // Children of the layout's root ("" for the root): the node the game turns, the node that shows it.
    const char* turned;
    const char* picture;
    // The image lists the picture comes from: names that start with one of the "|"-separated prefixes
    // and hold `part`; and how many there are.
    const char* prefixes;
    const char* part;
    size_t listCount;
    eTurn turn;
    // The copies are fine enough that the turn shows, not only upright stand-ins.
    bool turnShows;
};

const sTurnedPicture kTurnedPictures[] = {
    {"job card shaken", L"PlanAJobMode", "planajob", "JobSequenceItemLayout", "", "imageNode", "PlanAJob_", "_Objects_",
     9, Turn_Shake, false},
    {"jigsaw piece shaken", L"SproutPuzzleMode", "puzzle", "SproutPuzzlePieceLayout", "imageNode", "imageNode",
     "SproutPuzzle_Pieces_", "", 12, Turn_Shake, false},
    {"stacked object shaken", L"HoistStackerMode", "stacking", "StackableObjectLayout", "", "imageNode",
     "RedGirders|RedLogs|BlueGirders|BlueLogs", "", 4, Turn_Shake, true},
    {"wrench swung", L"HammerTheNailMode", "hammer", "FloatingToolLayout", "WrenchAnimNode", "WrenchAnimNode",
     "FixIt_Tool_InHand_Wrench", "", 1, Turn_WrenchSwing, true},
    {"leaf-covered tool shaken", L"PileOfLeavesMode", "leaves", "LeafCoveredToolLayout", "", "imageNode",
     "GeneralTool_", "", 8, Turn_Shake, false},
    {"found tool spun", L"PileOfLeavesMode", "leaves", "LeafCoveredToolLayout", "", "imageNode", "GeneralTool_", "", 8,
     Turn_FlightSpin, true},
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

    // The image lists of the shipped manifest whose names match.
    std::vector<std::string> LoadShipped(const sTurnedPicture& row)
    {
        const std::filesystem::path data(MENAGERIE_DATA_DIR);
        for (const auto& entry : std::filesystem::directory_iterator(data / row.folder))
            files.AddFile(entry.path().filename().wstring(), ReadFile(entry.path()));
        const std::string text = ReadFile(data / (std::wstring(row.manifest) + L".xml"));
        files.AddFile(std::wstring(row.manifest) + L".xml", text);
        EXPECT_TRUE(manager->Load(row.manifest)->IsComplete());
        std::vector<std::string> lists;
        const std::string tag = "<imagelist name=\"";
        for (size_t at = text.find(tag); at != std::string::npos; at = text.find(tag, at + 1))
        {
            const size_t start = at + tag.size();
            const std::string name = text.substr(start, text.find('"', start) - start);
            std::istringstream prefixes(row.prefixes);
            bool starts = false;
            for (std::string prefix; std::getline(prefixes, prefix, '|');)
                starts = starts || name.starts_with(prefix);
            if (starts && name.find(row.part) != std::string::npos)
                lists.push_back(name);
        }
        return lists;
    }
};

SceneNode* Child(SceneNode* root, const char* name)
{
    return *name == 0 ? root : root->GetChildByNodeName(Label(name));
}

// The picture drawn: how many pixels show, and where.
struct sDrawn
{
    int pixels = 0;
    Rect<int> box;
};

sDrawn Draw(SceneNode& root)
{
    Target target(640, 640);
    root.UpdateScene();
    root.DrawScene();
    sDrawn drawn{0, target.Drawn()};
    for (int y = drawn.box.y; y < drawn.box.y + drawn.box.height; ++y)
        for (int x = drawn.box.x; x < drawn.box.x + drawn.box.width; ++x)
            drawn.pixels += target.At(x, y).a != 0 ? 1 : 0;
    return drawn;
}

TEST_P(TurnedPicturesTest, StaysOnTheSoftwareCanvasAllThroughTheTurn)
{
    const sTurnedPicture& row = GetParam();
    const std::vector<std::string> lists = LoadShipped(row);
    ASSERT_EQ(lists.size(), row.listCount);
    const SceneLayout* layout = Layout(row.layout);
    ASSERT_NE(layout, nullptr);
    for (const std::string& name : lists)
    {
        const AutoResource<ImageList> list(name.c_str());
        ASSERT_NE(list.Get(), nullptr) << name;
        for (int index = 0; index < list->GetNumImages(); ++index)
        {
            SCOPED_TRACE(name + " " + std::to_string(index));
            SceneTreePtr root = layout->InstantiateLayout(nullptr);
            root->LocalSetLocation(Vector2<float>(240.0f, 240.0f));
            auto* picture = dynamic_cast<StaticSpriteNode*>(Child(root.get(), row.picture));
            SceneNode* turned = Child(root.get(), row.turned);
            ASSERT_NE(picture, nullptr);
            ASSERT_NE(turned, nullptr);
            picture->setImage(Label::FromString(name), index);
            picture->LocalSetVisible(true);
            const sDrawn upright = Draw(*root);
            ASSERT_GT(upright.pixels, 0);

            turned->AddTask(MakeTurn(row.turn, *turned));
            bool seenTurning = false, seenTurned = false;
            for (int step = 0; step < 500 && turned->GetTaskQueue().GetTask(0) != nullptr; ++step)
            {
                turned->UpdateInternal(0.02f);
                const float wrapped = turned->GlobalGetOrientation().Wrap().GetValue() * 180.0f / Angle::pi();
                const float degrees = std::min(wrapped, 360.0f - wrapped);
                if (degrees < 5.0f)
                    continue;
                seenTurning = true;
                const sDrawn now = Draw(*root);
                ASSERT_GT(now.pixels, upright.pixels * 4 / 5) << "at " << degrees << " degrees";
                // A turned copy is wider or taller than the upright picture.
                seenTurned = seenTurned || now.box.width != upright.box.width || now.box.height != upright.box.height;
            }
            EXPECT_TRUE(seenTurning);
            EXPECT_EQ(seenTurned, row.turnShows);
            EXPECT_EQ(turned->GetTaskQueue().GetTask(0), nullptr);
            EXPECT_EQ(Draw(*root).box, upright.box);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryGame, TurnedPicturesTest, testing::ValuesIn(kTurnedPictures),
                         [](const testing::TestParamInfo<sTurnedPicture>& info)
                         {
                             std::string name = info.param.what;
                             std::replace_if(
                                 name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
                             return name;
                         });

} // namespace
