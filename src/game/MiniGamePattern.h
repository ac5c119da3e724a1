#pragma once

// Helpers of the mini-game base (game/MiniGameMode.h): counting rounds, the missing-level notice,
// depth-sorting the playfield, the cursor and tuning constants.

#include "core/Vector2.h"
#include "framework/ObjectDatabase.h"
#include "framework/ObjectID.h"
#include "framework/ValueResources.h"
#include "game/GameModeTypes.h"
#include "scene/NodePath.h"

#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace Strata
{
class SceneNode;
}

namespace Yardcrew
{

// The rounds still to play after this one. A run starts with -1, which becomes the entry of
// `loopsByDifficulty` for the difficulty (0 when the table has none); a later round's count is the
// previous one minus 1, never below -1.
int MiniGameRoundsLeft(int roundsLeft, GameModeDifficulty difficulty, std::span<const int> loopsByDifficulty);
// The same with the "RepeatedGameNumLoops" constant and the level manager's difficulty.
int MiniGameRoundsLeft(int roundsLeft);

// "Difficulty Level Not Found for <mode>. Fix the problem and press F5 to reload".
std::string MissingLevelNoticeText(std::string_view modeName);
// Reports the missing level in the log and through the notifier, when one is set; the mode stays up
// with an empty playfield and its back button, and F5 reads the levels again (MiniGameMode).
void ShowMissingLevelNotice(std::string_view modeName);
// The program sets the platform's modal notification here (message, then header); tests leave it unset.
void SetMissingLevelNotifier(void (*notify)(const std::wstring& message, const std::wstring& header));

// The node `path` reaches from the game screen's playfield ("GameScreenRoot", "Playfield" of the current
// scene); null when the playfield or a step is missing. An empty path gives the playfield.
Strata::SceneNode* PlayfieldDescendent(Strata::NodePath path);

// The playfield node below the steps (names or child indices), as T; null when it is missing or of
// another type. For example PlayfieldNode<Strata::AnimatedSpriteNode>("TruckNode").
template <class T = Strata::SceneNode, class... Steps>
T* PlayfieldNode(const Steps&... steps)
{
    const Strata::NodePathStep path[] = {Strata::NodePathStep(steps)..., Strata::NodePathTerminator()};
    if constexpr (std::is_same_v<T, Strata::SceneNode>)
        return PlayfieldDescendent(path);
    else
        return dynamic_cast<T*>(PlayfieldDescendent(path));
}

// Where a playfield entity stands: the top of its child "PlayfieldEntityBottomLoc" when it has one,
// else the bottom of the composite bounds of the whole node.
float PlayfieldEntityBottom(Strata::SceneNode& node);
// Draws entities lower on the screen later (on top); equal bottoms keep their order. A null layer is
// left alone.
void SortPlayfieldEntities(Strata::SceneNode* layer);

// Sets the custom cursor to the image with the hot spot of the two-integer constant. Either one
// missing leaves the cursor as it is and logs once per call.
void SetGameCursor(const char* image, const char* hotSpotConstant);

// Logs once per name that a tuning constant is missing or of another type.
void ReportMissingGameConstant(const char* name);

// A tuning constant of the game's manifests, read when used. A missing one reads as T() and is logged
// once, so damaged data leaves a vehicle standing instead of ending the game.
template <class T>
T GameConstant(const char* name)
{
    const Strata::Constant<T> constant(name);
    if (!constant.IsValid())
    {
        ReportMissingGameConstant(name);
        return T();
    }
    return constant.GetValue();
}

// The objects of those identifiers still alive in the database and of type T, in the given order.
template <class T>
std::vector<T*> LiveObjects(const Strata::ObjectDatabase& database, const std::vector<Strata::ObjectID>& ids)
{
    std::vector<T*> live;
    for (Strata::ObjectID id : ids)
        if (auto* object = dynamic_cast<T*>(database.GetObject(id)))
            live.push_back(object);
    return live;
}

// An index drawn uniformly from 0 to count - 1 other than `except` (which may be out of range, leaving
// every index); -1 when there is none other. One draw among the others, so it always ends.
int DrawIndexOtherThan(int count, int except);

// How long a move of that distance takes at that speed; at once for a speed that is not positive.
float TravelSeconds(const Strata::Vector2<float>& from, const Strata::Vector2<float>& to, float speed);

} // namespace Yardcrew
