#include "game/MiniGamePattern.h"

#include "core/Log.h"
#include "core/Random.h"
#include "framework/ResourceDescriptor.h"
#include "framework/ValueResources.h"
#include "game/LevelManager.h"
#include "game/MiniGameContent.h"
#include "graphics/Image.h"
#include "graphics/Window.h"
#include "scene/SceneNode.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <set>
#include <unordered_map>
#include <vector>

namespace Yardcrew
{

int DrawIndexOtherThan(int count, int except)
{
    const bool excluded = except >= 0 && except < count;
    const int others = count - (excluded ? 1 : 0);
    if (others <= 0)
        return -1;
    const int drawn = std::clamp(Strata::Random::GetIntRange(others - 1), 0, others - 1);
    // The indexes past the excluded one move down one place.
    return excluded && drawn >= except ? drawn + 1 : drawn;
}

int MiniGameRoundsLeft(int roundsLeft, GameModeDifficulty difficulty, std::span<const int> loopsByDifficulty)
{
    if (roundsLeft == -1)
    {
        if (difficulty < 0 || static_cast<size_t>(difficulty) >= loopsByDifficulty.size())
            return 0;
        // A negative table entry would make the run endless in the other direction; one round it is.
        return std::max(0, loopsByDifficulty[static_cast<size_t>(difficulty)]);
    }
    return std::max(-1, roundsLeft - 1);
}

int MiniGameRoundsLeft(int roundsLeft)
{
    const Strata::Constant<std::vector<int>> loops(MiniGameContent::kRepeatedGameNumLoops.name);
    const std::vector<int> table = loops.IsValid() ? loops.GetValue() : std::vector<int>();
    return MiniGameRoundsLeft(roundsLeft, GetLevelManager().difficulty, table);
}

std::string MissingLevelNoticeText(std::string_view modeName)
{
    return "Difficulty Level Not Found for " + std::string(modeName) + ". Fix the problem and press F5 to reload";
}

namespace
{

void (*gMissingLevelNotifier)(const std::wstring&, const std::wstring&) = nullptr;

} // namespace

void SetMissingLevelNotifier(void (*notify)(const std::wstring& message, const std::wstring& header))
{
    gMissingLevelNotifier = notify;
}

void ShowMissingLevelNotice(std::string_view modeName)
{
    const std::string text = MissingLevelNoticeText(modeName);
    Strata::Log((text + "\n").c_str());
    if (gMissingLevelNotifier != nullptr)
        gMissingLevelNotifier(std::wstring(text.begin(), text.end()), std::wstring());
}

Strata::SceneNode* PlayfieldDescendent(Strata::NodePath path)
{
    static const Strata::NodePathStep kPlayfieldPath[] = {"GameScreenRoot", "Playfield", Strata::NodePathTerminator()};
    Strata::SceneNode* playfield = Strata::RootDescendent(kPlayfieldPath);
    return playfield != nullptr ? playfield->GetDescendent(path) : nullptr;
}

float PlayfieldEntityBottom(Strata::SceneNode& node)
{
    if (Strata::SceneNode* marker = node.GetChildByNodeName(Strata::Label("PlayfieldEntityBottomLoc")))
        return marker->GlobalGetBounds().y;
    const Strata::Rect<float> bounds = node.GetCompositeBounds();
    return bounds.y + bounds.height;
}

void SortPlayfieldEntities(Strata::SceneNode* layer)
{
    if (layer == nullptr)
        return;
    // Each bottom once per sort (it runs before every draw), not once per comparison.
    std::unordered_map<const Strata::SceneNode*, float> bottoms;
    bottoms.reserve(layer->GetChildCount());
    for (Strata::SceneNode* child : layer->GetChildren())
        bottoms.emplace(child, PlayfieldEntityBottom(*child));
    layer->SortChildren([&bottoms](const Strata::SceneNode* a, const Strata::SceneNode* b)
                        { return bottoms.at(a) < bottoms.at(b); });
}

void SetGameCursor(const char* image, const char* hotSpotConstant)
{
    const Strata::AutoResource<Strata::IImage> cursor(image);
    const Strata::Constant<Strata::Vector2<int>> hotSpot(hotSpotConstant);
    if (cursor.Get() == nullptr || !hotSpot.IsValid())
    {
        Strata::Internal::LogWrite("The cursor \"%s\" or its hot spot \"%s\" is missing\n", image, hotSpotConstant);
        return;
    }
    Strata::Window::SetCustomCursor(cursor.Get(), hotSpot.GetValue());
}

void ReportMissingGameConstant(const char* name)
{
    static std::mutex mutex;
    static std::set<std::string> reported;
    const std::lock_guard<std::mutex> lock(mutex);
    if (reported.insert(name != nullptr ? name : "").second)
        Strata::Internal::LogWrite("The constant \"%s\" is missing\n", name != nullptr ? name : "");
}

float TravelSeconds(const Strata::Vector2<float>& from, const Strata::Vector2<float>& to, float speed)
{
    const float distance = std::hypot(to.x - from.x, to.y - from.y);
    const float seconds = distance / speed;
    return speed > 0.0f && std::isfinite(seconds) ? seconds : 0.0f;
}

} // namespace Yardcrew
