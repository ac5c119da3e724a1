#include "game/SproutPuzzle/SproutPuzzleMode.h"

#include "core/Log.h"
#include "framework/TimedTask.h"
#include "game/AudioManager.h"
#include "game/EnumTypeDeck.h"
#include "game/MiniGamePattern.h"
#include "game/MiniGameSequence.h"
#include "game/SproutPuzzle/SproutPuzzleContent.h"
#include "game/SproutPuzzle/SproutPuzzleGame.h"
#include "game/SproutPuzzle/SproutPuzzleLevel.h"
#include "game/SproutPuzzle/SproutPuzzlePiece.h"
#include "game/SproutPuzzle/SproutPuzzlePieceSlot.h"
#include "scene/NodeMotionTasks.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"

#include <memory>
#include <string>

namespace Yardcrew
{

namespace
{

namespace Names = SproutPuzzleContent;

// The whole picture shows this long before it falls apart.
constexpr float kWholePictureSeconds = 1.5f;
// Each piece's flight to the tray, one a little after the other.
constexpr float kScatterSeconds = 0.8f;
constexpr float kScatterStagger = 0.1f;
// The outro's pauses around the praise.
constexpr float kPauseBeforeWin = 0.5f;
constexpr float kPauseAfterWin = 3.0f;
// The stars round the finished picture hop in turn.
constexpr float kHopHeight = 18.0f;
constexpr float kHopSeconds = 0.2f;
constexpr float kHopStagger = 0.08f;
constexpr int kHops = 3;

// Shows the stars round the board, each hopping a little after the one before.
void Cheer()
{
    Strata::SceneNode* cheer = PlayfieldNode("Cheer");
    if (cheer == nullptr)
        return;
    cheer->LocalSetVisible(true);
    float delay = 0.0f;
    for (Strata::SceneNode* star : cheer->GetChildren())
    {
        const Strata::Vector2<float> at = star->LocalGetLocation();
        star->AddTask(std::make_unique<Strata::TimedTask>(delay));
        for (int hop = 0; hop < kHops; ++hop)
        {
            star->AddTask(
                std::make_unique<Strata::NodeLocationTask>(at - Strata::Vector2<float>(0, kHopHeight), kHopSeconds));
            star->AddTask(std::make_unique<Strata::NodeLocationTask>(at, kHopSeconds));
        }
        delay += kHopStagger;
    }
}

// The tray of the level's number of pieces, which holds one place for each.
Strata::SceneNode* TraySpot(int pieces, int spot)
{
    const std::string tray = "PieceTray_" + std::to_string(pieces);
    const std::string name = "Spot_" + std::to_string(spot + 1);
    return PlayfieldNode(tray, name);
}

// Shows the image on the board's picture of that name.
void ShowImage(const char* boardPicture, const std::string& image)
{
    if (auto* sprite = PlayfieldNode<Strata::StaticSpriteNode>("Board", boardPicture))
        sprite->setImage(Strata::Label::FromString(image));
}

} // namespace

SproutPuzzleMode::SproutPuzzleMode() : MiniGameModeOf(SproutPuzzleDescription())
{
}

void SproutPuzzleMode::Setup()
{
    MiniGameMode::Setup();
    maskMouseInput(true);
    startIntroAnimation();
}

std::vector<SproutPuzzlePiece*> SproutPuzzleMode::getPieces() const
{
    return LiveObjects<SproutPuzzlePiece>(*this, mPieces);
}

std::vector<SproutPuzzlePieceSlot*> SproutPuzzleMode::getSlots() const
{
    return LiveObjects<SproutPuzzlePieceSlot>(*this, mSlots);
}

void SproutPuzzleMode::initializeLevel(const SproutPuzzleLevel& level)
{
    Strata::SceneNode* slots = PlayfieldNode("Board", "Slots");
    if (slots == nullptr || slots->GetParent() == nullptr)
    {
        Strata::Internal::LogWrite("The jigsaw's layout has no board for its slots\n");
        return;
    }
    ShowImage("Guide", Names::PictureImage(level));
    ShowImage("CutLines", Names::CutLinesImage(level));
    const Strata::Label pieces = Strata::Label::FromString(Names::PiecesImageList(level));
    const float width = slots->GetParent()->GetWidth() / static_cast<float>(level.columns);
    const float height = slots->GetParent()->GetHeight() / static_cast<float>(level.rows);
    // Each piece starts in its own slot, so the picture shows whole.
    for (int index = 0; index < level.Pieces(); ++index)
    {
        auto* slot = addPlayfieldObject<SproutPuzzlePieceSlot>(slots, "Slots", index, width, height);
        if (slot == nullptr)
            continue;
        mSlots.push_back(slot->GetID());
        if (Strata::SceneNode* root = slot->LayoutRoot())
            root->LocalSetLocation(static_cast<float>(index % level.columns) * width,
                                   static_cast<float>(index / level.columns) * height);
        slot->dropSignal.connect([this, slot](SproutPuzzlePiece* piece) { pieceDropped(*slot, *piece); });
        auto* piece = addPlayfieldObject<SproutPuzzlePiece>(slot->LayoutRoot(), "a slot", index, pieces);
        if (piece == nullptr)
            continue;
        mPieces.push_back(piece->GetID());
        piece->pressedSignal.connect([this] { resetHintTimer(2); });
        piece->arrivedSignal.connect([this](PlayfieldObject*) { resetHintTimer(1); });
    }
}

void SproutPuzzleMode::startIntroAnimation()
{
    Strata::Object* sequence = GetObject(getSequenceObjectID());
    // Without pieces (no level, or a damaged one) the playfield stays blocked.
    if (mIntroStarted || sequence == nullptr || mPieces.empty())
        return;
    mIntroStarted = true;
    sequence->AddTask(std::make_unique<Strata::TimedTask>(kWholePictureSeconds));
    QueueCall(*sequence, [this] { playIntroAnimation(); });
}

void SproutPuzzleMode::playIntroAnimation()
{
    Strata::Object* sequence = GetObject(getSequenceObjectID());
    if (sequence == nullptr)
        return;
    GetAudioManager()->playSFX(Strata::Label(Names::kScatter.name));
    const std::vector<SproutPuzzlePiece*> pieces = getPieces();
    // Which piece lies where in the tray differs from game to game.
    EnumTypeDeck<int> deck(static_cast<int>(pieces.size()));
    std::vector<Strata::Object*> flights = {sequence};
    float delay = 0.0f;
    for (SproutPuzzlePiece* piece : pieces)
    {
        Strata::SceneNode* spot = TraySpot(static_cast<int>(pieces.size()), deck.DrawCard());
        if (spot == nullptr)
        {
            Strata::Internal::LogWrite("The jigsaw's tray has no place for piece %d of %d\n", piece->getIndex() + 1,
                                       static_cast<int>(pieces.size()));
            continue;
        }
        flights.push_back(piece->scatterTo(*spot, delay, kScatterSeconds));
        delay += kScatterStagger;
    }
    Meet(flights);
    QueueCall(*sequence,
              [this]
              {
                  mScattered = true;
                  for (SproutPuzzlePiece* piece : getPieces())
                      piece->acceptMouseInput(true);
                  maskMouseInput(false);
                  showInstructions();
                  resetHintTimer(1);
              });
}

void SproutPuzzleMode::pieceDropped(SproutPuzzlePieceSlot& slot, SproutPuzzlePiece& piece)
{
    if (mOutroStarted || piece.isPlaced())
        return;
    if (!slot.fits(piece))
    {
        // The piece goes back to the tray as the drop ends. A drop cuts short what was being said, so
        // quick tries never pile up words.
        GetAudioManager()->clearVocalAudioQueues();
        GetAudioManager()->playSpecificSoundVocal(Strata::Label(Names::kWrongPlace.name));
        return;
    }
    piece.snapInto(slot);
    if (++mPlaced < static_cast<int>(mPieces.size()))
    {
        GetAudioManager()->playInGameFeedbackVocal(true);
        return;
    }
    playOutroAnimation();
}

void SproutPuzzleMode::playOutroAnimation()
{
    if (mOutroStarted)
        return;
    mOutroStarted = true;
    maskMouseInput(true);
    // The finished picture shows without the cut.
    if (Strata::SceneNode* lines = PlayfieldNode("Board", "CutLines"))
        lines->LocalSetVisible(false);
    Strata::Object* sequence = GetObject(getSequenceObjectID());
    if (sequence == nullptr)
        return;
    sequence->AddTask(std::make_unique<Strata::TimedTask>(kPauseBeforeWin));
    QueueCall(*sequence,
              []
              {
                  Cheer();
                  GetAudioManager()->playSFX(Strata::Label(Names::kFinished.name));
                  GetAudioManager()->clearVocalAudioQueues();
                  GetAudioManager()->playSpecificSoundVocal(Strata::Label(Names::kGameComplete.name));
              });
    sequence->AddTask(std::make_unique<Strata::TimedTask>(kPauseAfterWin));
    queueEndOfRound(*sequence);
}

} // namespace Yardcrew
