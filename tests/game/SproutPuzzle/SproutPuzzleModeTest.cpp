#include "game/SproutPuzzle/SproutPuzzleMode.h"

#include "game/DragAndDrop.h"
#include "game/SproutPuzzle/SproutPuzzleGame.h"
#include "game/SproutPuzzle/SproutPuzzleLevel.h"
#include "game/SproutPuzzle/SproutPuzzlePiece.h"
#include "game/SproutPuzzle/SproutPuzzlePieceSlot.h"
#include "scene/NodePath.h"

#include "../MiniGameTestSupport.h"
#include "engine/scene/NodeTestSupport.h"

#include <algorithm>
#include <filesystem>

using namespace GameTesting;

namespace
{

const char* const kSounds[] = {
    "SproutPuzzle_GameComplete", "SproutPuzzle_WrongPlace", "SFX_Whoosh", "SFX_ObjectStick", "SFX_Pop", "SFX_Correct"};

// Small opaque pictures (the cursors) stand for the pieces, so their alpha hit test finds them at their
// centres; the tray's places lie apart.
std::string Fixture()
{
    std::string trays;
    for (int pieces : {4, 6, 9})
    {
        trays += "<scenenode nodeName=\"PieceTray_" + std::to_string(pieces) + "\">";
        for (int k = 0; k < pieces; ++k)
            trays += "<scenenode nodeName=\"Spot_" + std::to_string(k + 1) + "\" x=\"" +
                     std::to_string(420 + k % 3 * 120) + "\" y=\"" + std::to_string(80 + k / 3 * 150) + "\"/>";
        trays += "</scenenode>";
    }
    std::string frames;
    for (int frame = 0; frame < kSproutPuzzleMaxPieces; ++frame)
        frames += "<image src=\"cursor_default\"/>";
    std::string pictures;
    for (const char* picture : {"Giraffes", "Pond"})
    {
        pictures += std::string("<image name=\"SproutPuzzle_Picture_") + picture + "\" src=\"cursor_hand\"/>";
        for (const char* cut : {"2x2", "3x2", "3x3"})
            pictures += std::string("<imagelist name=\"SproutPuzzle_Pieces_") + picture + "_" + cut + "\">" + frames +
                        "</imagelist>";
    }
    for (const char* cut : {"2x2", "3x2", "3x3"})
        pictures += std::string("<image name=\"SproutPuzzle_CutLines_") + cut + "\" src=\"cursor_hand\"/>";
    return pictures + R"(
  <image name="cursor_default" src="cursor_default"/>
  <image name="cursor_hand" src="cursor_hand"/>
  <vector2i name="HandCursorRegPt" x="4" y="3"/>
  <scenelayout name="SproutPuzzleModeLayout">
    <scenenode nodeName="GameScreenRoot" width="800" height="600">
      <scenenode nodeName="Playfield" width="800" height="600">
        <scenenode nodeName="Board" x="20" y="80" width="360" height="270">
          <staticspritenode nodeName="Guide" alpha="0.3"/><staticspritenode nodeName="CutLines"/>
          <scenenode nodeName="Slots"/>
        </scenenode>)" +
           trays + R"(
        <scenenode nodeName="Cheer" visible="false"><scenenode nodeName="Star_1" x="5" y="6"/></scenenode>
        <scenenode nodeName="ClickMask" width="800" height="600"/>
      </scenenode>
      <scenenode nodeName="FX_Layer" width="800" height="600"/>
    </scenenode>
  </scenelayout>
  <scenelayout name="SproutPuzzlePieceLayout">
    <scenenode nodeName="Piece"><staticspritenode nodeName="imageNode" x="10" y="10"/></scenenode>
  </scenelayout>
  <scenelayout name="SproutPuzzlePieceSlotLayout">
    <scenenode nodeName="Slot"><scenenode nodeName="dropArea"/></scenenode>
  </scenelayout>
)";
}

class SproutPuzzleModeTest : public MiniGameTest
{
protected:
    void SetUp() override { SetUpGame(SproutPuzzleDescription(), kSounds, "", L"jigsaw"); }

    static SproutPuzzlePiece* Held() { return HeldItem<SproutPuzzlePiece>(); }
    // Whether the piece lies still in its place in the tray.
    static bool InTray(SproutPuzzlePiece& piece)
    {
        SceneNode* root = piece.LayoutRoot();
        return root != nullptr && root->GetParent() != nullptr &&
               std::string(root->GetParent()->GetNodeName().c_str()).rfind("Spot_", 0) == 0 &&
               root->LocalGetLocation() == Vector2<float>() && !piece.isHeld();
    }
};

TEST_F(SproutPuzzleModeTest, EveryDifficultyIsWonThroughWrongDropsToTheStickerReward)
{
    const char* const cuts[] = {R"(columns="2" rows="2")", R"(columns="3" rows="2")", R"(columns="3" rows="3")"};
    LoadManifest(Fixture(), L"fixture");
    for (int d = 0; d < GameModeDifficulty_Count; ++d)
    {
        SCOPED_TRACE(d);
        LoadLevel(static_cast<GameModeDifficulty>(d),
                  std::string("picture=\"") + (d == 1 ? "Pond" : "Giraffes") + "\" " + cuts[d]);
        auto game = StartNew<SproutPuzzleMode>();
        const std::vector<SproutPuzzlePiece*> pieces = game->getPieces();
        const std::vector<SproutPuzzlePieceSlot*> slots = game->getSlots();
        const size_t count = d == 0 ? 4u : d == 1 ? 6u : 9u;
        ASSERT_EQ(pieces.size(), count);
        ASSERT_EQ(slots.size(), count);
        // The picture first shows whole, every piece in its slot, each slot a cell of the board.
        const float cellWidth = 360.0f / (d == 0 ? 2 : 3);
        for (size_t i = 0; i < count; ++i)
        {
            EXPECT_EQ(pieces[i]->LayoutRoot()->GetParent(), slots[i]->LayoutRoot());
            EXPECT_EQ(slots[i]->getDropNode()->GetWidth(), cellWidth);
            EXPECT_EQ(slots[i]->LayoutRoot()->LocalGetLocation().x,
                      static_cast<float>(i % (d == 0 ? 2 : 3)) * cellWidth);
        }
        // A click while the picture falls apart picks nothing up.
        Click(*game, *pieces[0]->getImageNode());
        EXPECT_EQ(Held(), nullptr);
        ASSERT_TRUE(StepUntil(*game, [&] { return game->isScattered(); }));
        EXPECT_TRUE(Heard("SFX_Whoosh"));
        EXPECT_EQ(screens, std::vector<std::string>{"push instructions"});
        std::set<SceneNode*> spots;
        for (SproutPuzzlePiece* piece : pieces)
        {
            EXPECT_TRUE(InTray(*piece));
            spots.insert(piece->LayoutRoot()->GetParent());
        }
        EXPECT_EQ(spots.size(), count);

        // On another piece's slot it goes back, with a word; dropped off the board it goes back too.
        Click(*game, *pieces[0]->getImageNode());
        ASSERT_EQ(Held(), pieces[0]);
        EXPECT_EQ(game->getHintNumber(), 2);
        Click(*game, *slots[1]->getDropNode());
        EXPECT_EQ(Held(), nullptr);
        EXPECT_FALSE(pieces[0]->isPlaced());
        ASSERT_TRUE(StepUntil(*game, [&] { return Heard("SproutPuzzle_WrongPlace") && InTray(*pieces[0]); }));
        Click(*game, *pieces[1]->getImageNode());
        ASSERT_EQ(Held(), pieces[1]);
        ClickAt(*game, 200, 560);
        ASSERT_TRUE(StepUntil(*game, [&] { return InTray(*pieces[1]); }));
        EXPECT_EQ(game->getPiecesPlaced(), 0);
        EXPECT_EQ(game->getHintNumber(), 1);

        // Each on its own slot, last first: it stays there for good, and the last finishes the picture.
        for (size_t i = count; i-- > 0;)
        {
            Click(*game, *pieces[i]->getImageNode());
            ASSERT_EQ(Held(), pieces[i]);
            Click(*game, *slots[i]->getDropNode());
            EXPECT_TRUE(pieces[i]->isPlaced());
            EXPECT_EQ(pieces[i]->LayoutRoot()->GetParent(), slots[i]->LayoutRoot());
            EXPECT_EQ(pieces[i]->LayoutRoot()->LocalGetLocation(), Vector2<float>());
            if (i == 1)
                EXPECT_TRUE(StepUntil(*game, [&] { return Heard("General_CorrectAnswer"); }));
        }
        EXPECT_EQ(game->getPiecesPlaced(), static_cast<int>(count));
        // A placed piece takes no more clicks.
        Click(*game, *pieces[0]->getImageNode());
        EXPECT_EQ(Held(), nullptr);
        ASSERT_TRUE(StepUntil(*game, [&] { return Ended(); }));
        EXPECT_TRUE(Heard("SproutPuzzle_GameComplete"));
        // The stars round the picture have hopped and landed where they stood.
        EXPECT_TRUE(PlayfieldNode("Cheer")->LocalIsVisible());
        EXPECT_EQ(PlayfieldNode("Cheer")->GetChildren().front()->LocalGetLocation(), Vector2<float>(5, 6));
        EXPECT_TRUE(Heard("SFX_Pop"));
        EXPECT_EQ(screens, std::vector<std::string>{"push reward"});
        game.reset();
        context.reset();
    }
}

TEST_F(SproutPuzzleModeTest, NoLevelOrADamagedOneShowsTheMissingLevelNoticeAndABlockedField)
{
    LoadManifest(Fixture(), L"fixture");
    // No level, one that fails its checks, and one whose pieces were never drawn.
    for (const char* levels :
         {"", R"(<SproutPuzzleLevel name="JigTurned" difficulty="Easy" picture="Pond" columns="2" rows="3"/>)",
          R"(<SproutPuzzleLevel name="JigUndrawn" difficulty="Easy" picture="Trees" columns="2" rows="2"/>)"})
    {
        LoadLevels(levels);
        GetLevelManager().difficulty = GameModeDifficulty_Easy;
        TakeLog();
        SproutPuzzleMode game;
        Start(game);
        const std::string log = TakeLog();
        EXPECT_NE(log.find("Difficulty Level Not Found for SproutPuzzleMode. Fix the problem and press F5 to reload"),
                  std::string::npos);
        EXPECT_EQ(log.find("needs the pieces \"SproutPuzzle_Pieces_Trees_2x2\", 4 of them") != std::string::npos,
                  std::string(levels).find("JigUndrawn") != std::string::npos)
            << log;
        EXPECT_TRUE(game.getPieces().empty());
        EXPECT_TRUE(game.getInputMask()->LocalIsVisible());
        context.reset();
    }
}

TEST_F(SproutPuzzleModeTest, EveryShippedLevelShowsItsPictureWholeThenScattersItOnScreenOffTheBoard)
{
    const std::filesystem::path data(MENAGERIE_DATA_DIR);
    for (const auto& entry : std::filesystem::directory_iterator(data / "puzzle"))
        files.AddFile(entry.path().filename().wstring(), ReadDataFile(entry.path()));
    const std::string text = ReadDataFile(data / "SproutPuzzleMode.xml");
    const size_t begin = text.find("<manifest>") + 10;
    // The help and quit buttons' pictures belong to another manifest.
    std::string body = text.substr(begin, text.rfind("</manifest>") - begin);
    const size_t buttons = body.find("<scenenode nodeName=\"UI_attach\"");
    body.erase(buttons, body.find("</scenenode>", buttons) + 12 - buttons);
    LoadManifest(body, L"shipped");
    EXPECT_EQ(TakeLog().find("Level \""), std::string::npos);

    const auto overlap = [](const Rect<float>& a, const Rect<float>& b)
    { return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height; };
    const Rect<float> screen(0, 0, 800, 600);
    // Three pictures at least a difficulty, each once, cut finer the harder it is.
    std::vector<std::pair<GameModeDifficulty, std::string>> levels;
    int fewest = 0;
    for (int d = 0; d < GameModeDifficulty_Count; ++d)
    {
        const std::set<std::string> names = DrawnLevels(GameModeType_SproutPuzzle, static_cast<GameModeDifficulty>(d));
        std::set<std::string> pictures;
        EXPECT_GE(names.size(), 3u) << kGameModeDifficultyNames[d];
        int least = kSproutPuzzleMaxPieces, most = 0;
        for (const std::string& name : names)
        {
            const AutoResource<SproutPuzzleLevel> record(Label(name.c_str()));
            ASSERT_NE(record.Get(), nullptr) << name;
            pictures.insert(record->PictureName());
            least = std::min(least, record->Pieces());
            most = std::max(most, record->Pieces());
            levels.emplace_back(GetLevelManager().difficulty, name);
        }
        EXPECT_EQ(pictures.size(), names.size()) << kGameModeDifficultyNames[d] << ": a picture twice";
        EXPECT_GT(least, fewest) << kGameModeDifficultyNames[d];
        fewest = most;
    }
    for (const auto& [difficulty, level] : levels)
    {
        SCOPED_TRACE(level);
        GetLevelManager().clearLevels();
        GetLevelManager().difficulty = difficulty;
        GetLevelManager().addLevelForGameModeType(GameModeType_SproutPuzzle, Label(level.c_str()), difficulty);
        auto game = std::make_unique<SproutPuzzleMode>();
        Start(*game);
        SceneNode* boardNode = PlayfieldNode("Board");
        ASSERT_NE(boardNode, nullptr);
        const Rect<float> board = boardNode->GlobalGetBounds();
        // Whole, each piece stands on its cell, and the cells tile the board.
        float area = 0.0f;
        for (SproutPuzzlePiece* piece : game->getPieces())
        {
            const Rect<float> cell =
                game->getSlots()[static_cast<size_t>(piece->getIndex())]->getDropNode()->GlobalGetBounds();
            SceneNode* root = piece->LayoutRoot();
            EXPECT_EQ(root->LocalToGlobalPoint(root->LocalGetLocation()), Vector2<float>(cell.x, cell.y));
            EXPECT_TRUE(cell.x >= board.x && cell.y >= board.y && cell.x + cell.width <= board.x + board.width &&
                        cell.y + cell.height <= board.y + board.height);
            area += cell.width * cell.height;
        }
        EXPECT_FLOAT_EQ(area, board.width * board.height);
        ASSERT_TRUE(StepUntil(*game, [&] { return game->isScattered(); }));
        const std::vector<SproutPuzzlePieceSlot*> slots = game->getSlots();
        std::vector<Rect<float>> cells;
        for (SproutPuzzlePiece* piece : game->getPieces())
        {
            const Rect<float> image = piece->getImageNode()->GlobalGetBounds();
            EXPECT_GT(image.width, 0.0f);
            EXPECT_TRUE(image.x >= screen.x && image.y >= screen.y && image.x + image.width <= screen.width &&
                        image.y + image.height <= screen.height)
                << "piece " << piece->getIndex() << " leaves the screen: " << image.x << "," << image.y << " "
                << image.width << "x" << image.height;
            // The board's frame is 12 wide.
            EXPECT_FALSE(overlap(image, Rect<float>(board.x - 12, board.y - 12, board.width + 24, board.height + 24)))
                << "piece " << piece->getIndex() << " lies on the board";
            const Rect<float> cell = slots[static_cast<size_t>(piece->getIndex())]->getDropNode()->GlobalGetBounds();
            const Vector2<float> corner =
                piece->LayoutRoot()->LocalToGlobalPoint(piece->LayoutRoot()->LocalGetLocation());
            cells.emplace_back(corner.x, corner.y, cell.width, cell.height);
        }
        // How far any piece's drawn tabs reach past its cell, each drawn alone on the software canvas. Two
        // cells of the tray a reach apart each way keep every two pieces apart, whichever lands where.
        int reach = 0;
        const std::vector<SproutPuzzlePiece*> pieces = game->getPieces();
        for (size_t i = 0; i < pieces.size(); ++i)
        {
            Strata::Testing::Target target(800, 600);
            pieces[i]->LayoutRoot()->UpdateScene();
            pieces[i]->LayoutRoot()->DrawScene();
            const Rect<int> drawn = target.Drawn();
            ASSERT_GT(drawn.width, 0) << "piece " << i;
            const Rect<float>& cell = cells[i];
            reach = std::max({reach, static_cast<int>(cell.x) - drawn.x, static_cast<int>(cell.y) - drawn.y,
                              drawn.x + drawn.width - static_cast<int>(cell.x + cell.width),
                              drawn.y + drawn.height - static_cast<int>(cell.y + cell.height)});
        }
        EXPECT_GT(reach, 0) << "no tabs drawn";
        const auto grown = [&](const Rect<float>& r)
        { return Rect<float>(r.x - reach, r.y - reach, r.width + 2 * reach, r.height + 2 * reach); };
        for (size_t i = 0; i < cells.size(); ++i)
            for (size_t j = i + 1; j < cells.size(); ++j)
                EXPECT_FALSE(overlap(grown(cells[i]), grown(cells[j])))
                    << "tray places of pieces " << i << " and " << j << " are closer than two tabs";
        game.reset();
        context.reset();
    }
}

} // namespace
