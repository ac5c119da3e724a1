// What a frame costs on the software canvas as a player's machine shows it: the real game in a 16:10
// window (1280 x 800) on an X server of its own (Xvfb), the software renderer and OpenAL Soft's null
// device. Without Xvfb it falls back to SDL's dummy 1024 x 768 surface (no letterbox, no copy to a
// server) and says so. For each scenario (a still title drawn anew every step, the game's pointer moving
// over the still title, and each game's busiest moment), stepped by a fake clock, the work of every 20 ms
// step, update, draw and present, is read on the wall clock and on the main thread's CPU clock, and the
// mean and 99th percentile printed as shares of the step (goal: the 99th percentile at most 25%), with
// the frames really shown and the change of screen into the game timed. On the real clock: the leaf sweep and the
// jigsaw drag, and a still title on each renderer, as CPU time per wall second, each thread's beside the process's and
// the X server's. A new game adds its busiest moment as one more entry of kScenarios.

#include "core/Time.h"
#include "framework/InputEvent.h"
#include "framework/MainLoop.h"
#include "framework/RenderPlatform.h"
#include "game/CountTheMaterials/CountTheMaterialsMode.h"
#include "game/CountTheMaterials/DraggableMaterial.h"
#include "game/CountTheMaterials/MaterialTarget.h"
#include "game/ForemanInstructionMode.h"
#include "game/HammerTheNail/DraggableTool.h"
#include "game/HammerTheNail/HammerTheNailMode.h"
#include "game/HammerTheNail/TargetNail.h"
#include "game/HaulersDelivery/DeliveryCart.h"
#include "game/HaulersDelivery/DeliveryObject.h"
#include "game/HaulersDelivery/HaulersDeliveryMode.h"
#include "game/HereToThere/HereToThereCart.h"
#include "game/HereToThere/HereToThereMode.h"
#include "game/HereToThere/HereToThereObject.h"
#include "game/HereToThere/HereToThereTarget.h"
#include "game/HideAndSeek/HideAndSeekCharacter.h"
#include "game/HideAndSeek/HideAndSeekMode.h"
#include "game/HideAndSeek/HideAndSeekObstacle.h"
#include "game/HoistStacker/HoistStackerMode.h"
#include "game/HoistStacker/StackableObject.h"
#include "game/LevelManager.h"
#include "game/PaintIt/HousePaintBucket.h"
#include "game/PaintIt/HousePaintStripe.h"
#include "game/PaintIt/PaintTheHouseMode.h"
#include "game/PileOfLeaves/PileOfLeavesMode.h"
#include "game/PlanAJob/JobSequenceItem.h"
#include "game/PlanAJob/JobSequenceSlot.h"
#include "game/PlanAJob/PlanAJobMode.h"
#include "game/SproutPuzzle/SproutPuzzleMode.h"
#include "game/SproutPuzzle/SproutPuzzlePiece.h"
#include "game/SproutPuzzle/SproutPuzzlePieceSlot.h"
#include "game/StreetSigns/StreetSign.h"
#include "game/StreetSigns/StreetSignsMode.h"
#include "game/ToolShed/ToolShedItem.h"
#include "game/ToolShed/ToolShedLevel.h"
#include "game/ToolShed/ToolShedMode.h"
#include "game/ToolShed/ToolShedToolBox.h"
#include "game/screens/TitleMode.h"
#include "graphics/FrameRecorder.h"
#include "scene/NodePath.h"
#include "scene/SceneNode.h"

#include "platform/linux/FrameViewport.h"

#include "../tests/game/LiveGameSupport.h"
#include "../tests/platform/linux/ChildXServer.h"
#include "BenchReporter.h"
#include "GameBenchSupport.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using namespace Yardcrew;

namespace
{

constexpr double kStepMS = 20.0;

// One stretch of play to time. `start` runs once the title shows and may change the mode; `step` runs
// before every step from then on and answers whether the stretch is being timed, is over, or neither.
enum eStretch
{
    Stretch_Waiting,
    Stretch_Timing,
    // Timed, in the stretch's second part: on the real clock the two parts are also measured apart.
    Stretch_TimingSecondPart,
    Stretch_Over
};

struct sScenario
{
    const char* name;
    std::function<void()> start;
    std::function<eStretch()> step;
};

// The still title, 250 steps, every frame drawn and shown anew as after a change the recorder cannot
// see past: what showing a still screen costs.
sScenario StillTitle()
{
    auto steps = std::make_shared<int>(0);
    return {"still title, drawn anew every step", [] {},
            [steps]
            {
                Strata::Graphics::FrameRecording::Invalidate();
                return ++*steps <= 250 ? Stretch_Timing : Stretch_Over;
            }};
}

// Presses and releases the left button at a point of the frame, through the top mode.
void ClickAt(int x, int y)
{
    Strata::ApplicationMode* top = Strata::MainLoop::GetTopMostMode(0);
    top->OnMouseMove(x, y);
    top->OnMouseDown(Strata::MouseButton_Left, x, y);
    top->OnMouseUp(Strata::MouseButton_Left, x, y);
}

// The same at the centre of the node.
void Click(Strata::SceneNode& node)
{
    const Strata::Rect<float> bounds = node.GlobalGetBounds();
    ClickAt(static_cast<int>(bounds.x + bounds.width / 2), static_cast<int>(bounds.y + bounds.height / 2));
}

// The counting game's delivery trip: from the click on the pile asked for, the digger lifts it, turns,
// drops it into the tipper, and the tipper drives off, until the round ends.
sScenario DeliveryTrip()
{
    struct sState
    {
        bool clicked = false;
        int steps = 0;
    };
    auto state = std::make_shared<sState>();
    return {"counting game's delivery trip", [] { Strata::MainLoop::ChangeMode(new CountTheMaterialsMode(true, -1)); },
            [state]
            {
                auto* game = dynamic_cast<CountTheMaterialsMode*>(Strata::MainLoop::GetTopMostMode(0));
                if (!game)
                    return state->clicked ? Stretch_Over : Stretch_Waiting;
                if (++state->steps > 6000)
                    return Stretch_Over;
                MaterialTarget* tipper = game->getTipper();
                if (!tipper)
                    return Stretch_Waiting;
                // The request shows once the tipper stands: the right pile is pressed until it takes.
                if (tipper->getRequestBox()->LocalIsVisible())
                {
                    for (size_t place = 0; DraggableMaterial* pile = game->getPile(place); ++place)
                        if (pile->getMaterial() == tipper->getRequestedMaterial() &&
                            pile->getNumber() == tipper->getRequestedNumber())
                        {
                            // A pile takes presses only where it is drawn: its bottom row.
                            const Strata::Rect<float> bounds = pile->getImageNode()->GlobalGetBounds();
                            ClickAt(static_cast<int>(bounds.x + bounds.width / 2),
                                    static_cast<int>(bounds.y + bounds.height - 14));
                        }
                    state->clicked = true;
                    return Stretch_Waiting;
                }
                return state->clicked ? Stretch_Timing : Stretch_Waiting;
            }};
}

// The delivery game's trip round the street at Hard, its fullest street: from the click on the last
// animal's house, the truck leaves the loading row, comes back in along the house's road, hands the
// animal over and drives home, until input opens again.
sScenario StreetTrip()
{
    struct sState
    {
        Strata::ObjectID animal;
        bool sent = false;
        int steps = 0;
    };
    auto state = std::make_shared<sState>();
    return {"delivery game's trip round the street",
            []
            {
                GetLevelManager().difficulty = GameModeDifficulty_Hard;
                Strata::MainLoop::ChangeMode(new HereToThereMode());
            },
            [state]
            {
                auto* game = dynamic_cast<HereToThereMode*>(Strata::MainLoop::GetTopMostMode(0));
                if (!game)
                    return state->sent ? Stretch_Over : Stretch_Waiting;
                if (++state->steps > 6000)
                    return Stretch_Over;
                HereToThereCart* cart = game->getCart();
                Strata::SceneNode* mask = game->getInputMask();
                if (cart == nullptr || mask == nullptr || mask->LocalIsVisible())
                    return state->sent ? Stretch_Timing : Stretch_Waiting;
                auto* animal = dynamic_cast<HereToThereObject*>(game->GetObject(state->animal));
                if (state->sent)
                    return animal == nullptr ? Stretch_Over : Stretch_Timing;
                if (animal == nullptr)
                {
                    if (game->getAnimals().empty())
                        return Stretch_Over;
                    animal = game->getAnimals().back();
                    state->animal = animal->GetID();
                    Click(*animal->getClickNode());
                    return Stretch_Waiting;
                }
                if (cart->getLoadedObject() != animal)
                    return Stretch_Waiting;
                for (HereToThereTarget* house : game->getHouses())
                    if (house->getMark() == animal->getMark())
                    {
                        Click(*house->getImageNode());
                        state->sent = true;
                        return Stretch_Timing;
                    }
                return Stretch_Over;
            }};
}

// The hammering game at Hard, played through: each tool taken in hand in turn and every nail driven
// home, a copy following the pointer and turning on the nails, until the round ends.
sScenario HammerStrokes()
{
    struct sState
    {
        bool started = false;
        int steps = 0;
        int waitSteps = 0;
    };
    auto state = std::make_shared<sState>();
    return {"hammering game's strokes",
            []
            {
                GetLevelManager().difficulty = GameModeDifficulty_Hard;
                Strata::MainLoop::ChangeMode(new HammerTheNailMode(false, 1));
            },
            [state]
            {
                auto* game = dynamic_cast<HammerTheNailMode*>(Strata::MainLoop::GetTopMostMode(0));
                if (!game || ++state->steps > 6000)
                    return state->started ? Stretch_Over : Stretch_Waiting;
                const Strata::NodePathStep maskPath[] = {"GameScreenRoot", "Playfield", "MaskInput_ClickMask",
                                                         Strata::NodePathTerminator()};
                Strata::SceneNode* mask = Strata::RootDescendent(maskPath);
                // A move every few steps while the playfield takes presses, as a quick child would.
                if (mask == nullptr || mask->LocalIsVisible() || ++state->waitSteps < 5)
                    return state->started ? Stretch_Timing : Stretch_Waiting;
                state->waitSteps = 0;
                for (TargetNail* nail : game->getNails())
                {
                    if (nail->isDriven())
                        continue;
                    for (DraggableTool* tool : game->getTools())
                        if (nail->fits(*tool))
                        {
                            Click(tool->isHeld() ? *nail->getShapeNode() : *tool->getShapeNode());
                            break;
                        }
                    state->started = true;
                    break;
                }
                return state->started ? Stretch_Timing : Stretch_Waiting;
            }};
}

// The cargo-pattern game at Hard: from the click on the load that continues the pattern, once the train
// stands, the hook comes down onto it, lifts it off the screen and lowers it into the empty cart, until
// the cart shows it.
sScenario HookLowering()
{
    struct sState
    {
        bool clicked = false;
        int steps = 0;
    };
    auto state = std::make_shared<sState>();
    return {"cargo-pattern game's hook lowering a load",
            []
            {
                GetLevelManager().difficulty = GameModeDifficulty_Hard;
                Strata::MainLoop::ChangeMode(new HaulersDeliveryMode(false, 0));
            },
            [state]
            {
                auto* game = dynamic_cast<HaulersDeliveryMode*>(Strata::MainLoop::GetTopMostMode(0));
                if (!game)
                    return state->clicked ? Stretch_Over : Stretch_Waiting;
                if (++state->steps > 6000)
                    return Stretch_Over;
                const std::vector<DeliveryCart*> carts = game->getCarts();
                if (carts.empty())
                    return Stretch_Waiting;
                if (state->clicked)
                    return carts.back()->isCartEmpty() ? Stretch_Timing : Stretch_Over;
                const Strata::NodePathStep trainPath[] = {"GameScreenRoot", "Playfield", "CargoRoot",
                                                          Strata::NodePathTerminator()};
                const Strata::SceneNode* train = Strata::RootDescendent(trainPath);
                if (game->isDelivering() || train == nullptr || train->LocalGetLocation().x != 0.0f)
                    return Stretch_Waiting;
                for (DeliveryObject* cargo : game->getChoices())
                    if (cargo->getCargoType() == carts.back()->getCargoType())
                    {
                        Click(*cargo->getImageNode());
                        state->clicked = true;
                        return Stretch_Timing;
                    }
                return Stretch_Over;
            }};
}

// The hide-and-seek game at Hard, its most obstacles: the cat's first hiding sequence among them, the
// look behind the obstacle it hides behind, and its next sequence, until input opens again.
sScenario CatHunt()
{
    struct sState
    {
        bool found = false;
        int steps = 0;
    };
    auto state = std::make_shared<sState>();
    return {"hide-and-seek game's hiding and finding",
            []
            {
                GetLevelManager().difficulty = GameModeDifficulty_Hard;
                Strata::MainLoop::ChangeMode(new HideAndSeekMode());
            },
            [state]
            {
                auto* game = dynamic_cast<HideAndSeekMode*>(Strata::MainLoop::GetTopMostMode(0));
                if (!game)
                    return state->found ? Stretch_Over : Stretch_Waiting;
                if (++state->steps > 6000)
                    return Stretch_Over;
                HideAndSeekCharacter* cat = game->getCharacter();
                Strata::SceneNode* mask = game->getInputMask();
                if (cat == nullptr || mask == nullptr)
                    return Stretch_Waiting;
                if (mask->LocalIsVisible())
                    return Stretch_Timing;
                if (state->found)
                    return Stretch_Over;
                auto* hiding = dynamic_cast<HideAndSeekObstacle*>(game->GetObject(cat->getCurrentObstacle()));
                if (hiding == nullptr)
                    return Stretch_Over;
                Click(*hiding->getImageNode());
                state->found = true;
                return Stretch_Timing;
            }};
}

// The tool-shed game at Hard, its most tools: ten thrown up at once and landing, then each carried into
// its box, a move every few steps, until the floor is clear.
sScenario ToolShedSorting()
{
    struct sState
    {
        int steps = 0;
        int waitSteps = 0;
    };
    auto state = std::make_shared<sState>();
    return {"tool-shed game's throw and sorting",
            []
            {
                GetLevelManager().difficulty = GameModeDifficulty_Hard;
                Strata::MainLoop::ChangeMode(new ToolShedMode());
            },
            [state]
            {
                auto* game = dynamic_cast<ToolShedMode*>(Strata::MainLoop::GetTopMostMode(0));
                if (++state->steps > 6000)
                    return Stretch_Over;
                // The instruction pop-up over the landed tools is skipped, as a child who knows the game
                // would, and not timed.
                if (auto* popUp = dynamic_cast<ForemanInstructionMode*>(Strata::MainLoop::GetTopMostMode(0)))
                    popUp->closeMode();
                if (!game)
                    return Stretch_Waiting;
                const std::vector<ToolShedItem*> tools = game->getTools();
                if (!tools.empty() &&
                    std::all_of(tools.begin(), tools.end(), [](const ToolShedItem* tool) { return tool->isInBox(); }))
                    return Stretch_Over;
                Strata::SceneNode* mask = game->getInputMask();
                if (mask == nullptr || mask->LocalIsVisible() || ++state->waitSteps < 5)
                    return Stretch_Timing;
                state->waitSteps = 0;
                const Strata::AutoResource<ToolShedLevel> level(game->getLevel());
                for (ToolShedItem* tool : tools)
                    if (tool->isHeld())
                    {
                        for (ToolShedToolBox* box : game->getBoxes())
                            if (level.Get() != nullptr && level->Fits(box->getTakes(), tool->getTool()))
                                Click(*box->getDropArea());
                        return Stretch_Timing;
                    }
                for (ToolShedItem* tool : tools)
                    if (!tool->isInBox() && tool->getImageNode()->hitTest)
                    {
                        Click(*tool->getImageNode());
                        break;
                    }
                return Stretch_Timing;
            }};
}

// The street-signs game at Hard, its most signs: a wrong sign wobbling while the right one hops and flies
// on its arc into the truck, until it has landed.
sScenario SignLift()
{
    struct sState
    {
        bool clicked = false;
        int steps = 0;
    };
    auto state = std::make_shared<sState>();
    return {"street-signs game's sign flying into the truck",
            []
            {
                GetLevelManager().difficulty = GameModeDifficulty_Hard;
                Strata::MainLoop::ChangeMode(new StreetSignsMode(false, 1));
            },
            [state]
            {
                auto* game = dynamic_cast<StreetSignsMode*>(Strata::MainLoop::GetTopMostMode(0));
                if (!game)
                    return state->clicked ? Stretch_Over : Stretch_Waiting;
                if (++state->steps > 6000)
                    return Stretch_Over;
                if (state->clicked)
                    return game->getAskIndex() == 0 ? Stretch_Timing : Stretch_Over;
                Strata::SceneNode* mask = game->getInputMask();
                if (mask == nullptr || mask->LocalIsVisible())
                    return Stretch_Waiting;
                StreetSign* right = nullptr;
                StreetSign* wrong = nullptr;
                for (StreetSign* sign : game->getSigns())
                    (game->getCurrentAsk().Matches(sign->getSign()) ? right : wrong) = sign;
                if (right == nullptr || wrong == nullptr)
                    return Stretch_Over;
                Click(*wrong->getImageNode());
                Click(*right->getImageNode());
                state->clicked = true;
                return Stretch_Timing;
            }};
}

// The job-order game at Hard, all five steps offered: each picture picked up and carried to its place
// at a child's pace, then the blueprint leaving and the job built, until the game ends.
sScenario JobPlanning()
{
    struct sState
    {
        bool started = false;
        int steps = 0;
    };
    auto state = std::make_shared<sState>();
    return {"job-order game's placing and building",
            []
            {
                GetLevelManager().difficulty = GameModeDifficulty_Hard;
                Strata::MainLoop::ChangeMode(new PlanAJobMode());
            },
            [state]
            {
                auto* game = dynamic_cast<PlanAJobMode*>(Strata::MainLoop::GetTopMostMode(0));
                // The reward screen that follows is not the game's.
                if (!game || game->hasLevelEnded())
                    return state->started ? Stretch_Over : Stretch_Waiting;
                Strata::SceneNode* mask = game->getInputMask();
                if (!state->started && (mask == nullptr || mask->LocalIsVisible()))
                    return Stretch_Waiting;
                state->started = true;
                const std::vector<JobSequenceItem*> items = game->getItems();
                // A move every 15 steps, as a child's hand goes.
                if (items.empty() || ++state->steps % 15 != 0)
                    return state->steps > 6000 ? Stretch_Over : Stretch_Timing;
                const auto held =
                    std::find_if(items.begin(), items.end(), [](JobSequenceItem* item) { return item->isHeld(); });
                if (held == items.end())
                {
                    Click(*items.front()->getImageNode());
                    return Stretch_Timing;
                }
                for (JobSequenceSlot* slot : game->getSlots())
                    if (!slot->isFilled() && slot->getStep() == (*held)->getStep())
                        Click(*slot->getImageNode());
                return Stretch_Timing;
            }};
}

// Real pointer events at a place of the logical frame, as the window would deliver them, so the game's
// pointer replay sees them too.
void PushPointer(int frameX, int frameY, bool press)
{
    const Strata::Vector2<int> at = LiveGame::WindowPoint(frameX, frameY);
    LiveGame::PushPointer(at.x, at.y, press);
}

// The pointer moving at 60 Hz in circles over the still title for 250 steps: the game's own pointer
// drawn where it is and the title drawn again only where it was.
sScenario PointerOverStillTitle()
{
    auto steps = std::make_shared<int>(0);
    auto moves = std::make_shared<int>(0);
    return {"pointer moving at 60 Hz over the still title", [] {},
            [steps, moves]
            {
                if (++*steps > 250)
                    return Stretch_Over;
                // The moves a 60 Hz mouse makes by the end of this 20 ms step, one circle each two seconds.
                for (const int due = *steps * 6 / 5; *moves < due; ++*moves)
                {
                    const double angle = 2.0 * 3.14159265358979 * *moves / 120.0;
                    PushPointer(400 + static_cast<int>(std::lround(220.0 * std::cos(angle))),
                                300 + static_cast<int>(std::lround(160.0 * std::sin(angle))), false);
                }
                return Stretch_Timing;
            }};
}

Strata::Vector2<float> Centre(Strata::SceneNode& node)
{
    const Strata::Rect<float> bounds = node.GlobalGetBounds();
    return Strata::Vector2<float>(bounds.x + bounds.width / 2, bounds.y + bounds.height / 2);
}

// The jigsaw game at Hard, its most pieces: the whole picture falling apart into the tray, then each
// piece carried across to its slot, the pointer gliding a little every step as a hand would, and the
// stars round the finished picture, until the level ends.
sScenario JigsawPieces()
{
    struct sState
    {
        bool started = false;
        bool closed = false;
        int steps = 0;
        int settle = 0; // steps left before the last press has been delivered
        Strata::Vector2<float> pointer;
    };
    auto state = std::make_shared<sState>();
    return {"jigsaw game's pieces scattered and carried into place",
            []
            {
                GetLevelManager().difficulty = GameModeDifficulty_Hard;
                Strata::MainLoop::ChangeMode(new SproutPuzzleMode());
            },
            [state]
            {
                Strata::ApplicationMode* top = Strata::MainLoop::GetTopMostMode(0);
                if (++state->steps > 6000)
                    return Stretch_Over;
                // The instruction pop-up after the pieces fly apart is closed at once, as a child who knows
                // the game would.
                if (auto* popUp = dynamic_cast<ForemanInstructionMode*>(top))
                {
                    if (!state->closed)
                        popUp->closeMode();
                    state->closed = true;
                    return Stretch_Waiting;
                }
                auto* game = dynamic_cast<SproutPuzzleMode*>(top);
                if (!game)
                    return state->started ? Stretch_Over : Stretch_Waiting;
                state->started = true;
                if (!game->isScattered() || state->settle-- > 0)
                    return Stretch_Timing;
                const std::vector<SproutPuzzlePieceSlot*> slots = game->getSlots();
                for (SproutPuzzlePiece* piece : game->getPieces())
                {
                    const auto index = static_cast<size_t>(piece->getIndex());
                    if (piece->isPlaced() || index >= slots.size())
                        continue;
                    if (!piece->isHeld())
                    {
                        state->pointer = Centre(*piece->getImageNode());
                        PushPointer(static_cast<int>(state->pointer.x), static_cast<int>(state->pointer.y), true);
                        state->settle = 2;
                        return Stretch_Timing;
                    }
                    const Strata::Vector2<float> to = Centre(*slots[index]->getDropNode()) - state->pointer;
                    const float distance = std::sqrt(to.x * to.x + to.y * to.y);
                    const bool there = distance <= 12.0f;
                    state->pointer = there ? state->pointer + to : state->pointer + to * (12.0f / distance);
                    PushPointer(static_cast<int>(state->pointer.x), static_cast<int>(state->pointer.y), there);
                    state->settle = there ? 2 : 0;
                    return Stretch_Timing;
                }
                return Stretch_Timing;
            }};
}

// The stacking game at Hard, its most objects: the intro's two full stacks standing, wobbling and flying
// back to the ground, until every object lies there.
sScenario StacksFalling()
{
    auto fell = std::make_shared<bool>(false);
    return {"stacking game's stacks falling",
            []
            {
                GetLevelManager().difficulty = GameModeDifficulty_Hard;
                Strata::MainLoop::ChangeMode(new HoistStackerMode(false, 0));
            },
            [fell]
            {
                auto* game = dynamic_cast<HoistStackerMode*>(Strata::MainLoop::GetTopMostMode(0));
                if (!game)
                    return *fell ? Stretch_Over : Stretch_Waiting;
                const std::vector<StackableObject*> objects = game->getObjects();
                if (objects.empty())
                    return Stretch_Over;
                const bool down = std::all_of(objects.begin(), objects.end(),
                                              [](const StackableObject* o)
                                              { return o->getPlace() == StackableObject::Place::Ground; });
                *fell = *fell || !down;
                return *fell && down ? Stretch_Over : Stretch_Timing;
            }};
}

// The leaf-pile game at Hard, its deepest pile: the pile blowing in, then, the instructions closed, the
// pointer sweeping across the settled pile as the leaves round it slide away (the second part).
sScenario LeafSweep()
{
    struct sState
    {
        int sweep = 0;
        int steps = 0;
    };
    auto state = std::make_shared<sState>();
    return {"leaf-pile game's pile blowing in and sliding under the pointer",
            []
            {
                GetLevelManager().difficulty = GameModeDifficulty_Hard;
                Strata::MainLoop::ChangeMode(new PileOfLeavesMode());
            },
            [state]
            {
                Strata::ApplicationMode* top = Strata::MainLoop::GetTopMostMode(0);
                if (dynamic_cast<ForemanInstructionMode*>(top) != nullptr)
                {
                    Strata::MainLoop::PopMode();
                    return Stretch_Waiting;
                }
                auto* game = dynamic_cast<PileOfLeavesMode*>(top);
                if (!game)
                    return state->sweep > 0 ? Stretch_Over : Stretch_Waiting;
                if (++state->steps > 6000)
                    return Stretch_Over;
                if (game->getToolToFind() == YardcrewTool_None)
                    return Stretch_Timing;
                const int x = 10 + 6 * state->sweep++;
                if (x > 790)
                    return Stretch_Over;
                Strata::MainLoop::MoveMouseForTesting(Strata::Vector2<int>(x, 420 + (x / 60 % 2) * 60));
                return Stretch_TimingSecondPart;
            }};
}

// The fence-painting game at Hard: the right bucket and the fence clicked, the lift raising the foreman,
// the board painted, the lift lowered and the truck driving on to the next bare board, until clicks
// reach the fence again.
sScenario FencePainting()
{
    struct sState
    {
        bool clicked = false;
        int steps = 0;
    };
    auto state = std::make_shared<sState>();
    return {"fence-painting game's painting a board",
            []
            {
                GetLevelManager().difficulty = GameModeDifficulty_Hard;
                Strata::MainLoop::ChangeMode(new PaintTheHouseMode(false, 0));
            },
            [state]
            {
                auto* game = dynamic_cast<PaintTheHouseMode*>(Strata::MainLoop::GetTopMostMode(0));
                if (!game)
                    return state->clicked ? Stretch_Over : Stretch_Waiting;
                if (++state->steps > 6000)
                    return Stretch_Over;
                if (game->isPainting())
                    return Stretch_Timing;
                if (state->clicked)
                    return Stretch_Over;
                const std::vector<HousePaintStripe*> bare = game->getStripesToPaint();
                const Strata::SceneNode* mask = game->getInputMask();
                if (bare.empty() || mask == nullptr || mask->LocalIsVisible())
                    return Stretch_Waiting;
                for (HousePaintBucket* bucket : game->getBuckets())
                    if (bucket->getColor() == bare.front()->getColor())
                    {
                        Click(*bucket->getImageNode());
                        Click(*game->getFenceClickArea());
                        state->clicked = true;
                        return Stretch_Timing;
                    }
                return Stretch_Over;
            }};
}

const std::vector<std::function<sScenario()>> kScenarios = {
    StillTitle,      PointerOverStillTitle, DeliveryTrip, StreetTrip,    HammerStrokes, HookLowering,  CatHunt,
    ToolShedSorting, JobPlanning,           JigsawPieces, StacksFalling, LeafSweep,     FencePainting, SignLift};

// The whole process's, or only the calling thread's.
double CpuSeconds(clockid_t which = CLOCK_PROCESS_CPUTIME_ID)
{
    timespec now{};
    clock_gettime(which, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Every thread's CPU time by thread id, from each thread's own CPU clock, and its name.
struct sThreadTime
{
    std::string name;
    double seconds = 0.0;
};

std::map<long, sThreadTime> ThreadTimes()
{
    std::map<long, sThreadTime> times;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task", error))
    {
        const long tid = std::strtol(entry.path().filename().c_str(), nullptr, 10);
        // The kernel's clock for one thread of this process, made as pthread_getcpuclockid makes it.
        const auto clock = static_cast<clockid_t>((~static_cast<clockid_t>(tid) * 8) | 6);
        timespec now{};
        if (tid <= 0 || clock_gettime(clock, &now) != 0)
            continue;
        std::ifstream comm(entry.path() / "comm");
        std::string name;
        std::getline(comm, name);
        times[tid] = {tid == getpid() ? "main loop" : name,
                      static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9};
    }
    return times;
}

// The CPU time of another process (the X server), user and system; -1 when it cannot be read.
double ProcessCpuSeconds(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    if (pid <= 0 || !std::getline(stat, text) || text.rfind(')') == std::string::npos)
        return -1.0;
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    unsigned long long user = 0, system = 0;
    // After the name: state is field 3, utime 14 and stime 15.
    for (int index = 3; index <= 15 && fields >> field; ++index)
        if (index == 14)
            user = std::stoull(field);
        else if (index == 15)
            system = std::stoull(field);
    return static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// Where the game's window is: the X server of our own, or none.
struct sScreen
{
    pid_t server = -1;
    std::string note;
};
sScreen gScreen;

// Each thread's share of a core between two readings, summed by name, largest first; threads that
// ended meanwhile are missing.
std::string ThreadShares(const std::map<long, sThreadTime>& before, const std::map<long, sThreadTime>& after,
                         double wall)
{
    std::map<std::string, double> byName;
    for (const auto& [tid, time] : after)
    {
        const auto earlier = before.find(tid);
        byName[time.name] += time.seconds - (earlier != before.end() ? earlier->second.seconds : 0.0);
    }
    std::vector<std::pair<std::string, double>> shares(byName.begin(), byName.end());
    std::sort(shares.begin(), shares.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    std::string text;
    for (const auto& [name, seconds] : shares)
    {
        if (seconds / wall < 0.0005 && !text.empty())
            continue;
        char line[128];
        std::snprintf(line, sizeof(line), "%s%s %.2f%%", text.empty() ? "" : ", ", name.c_str(),
                      100.0 * seconds / wall);
        text += line;
    }
    return text;
}

// The readings of a stretch on the real clock.
struct sReading
{
    std::chrono::steady_clock::time_point wall;
    double cpu = 0.0;
    double server = -1.0;
    std::map<long, sThreadTime> threads;

    static sReading Now()
    {
        return {std::chrono::steady_clock::now(), CpuSeconds(), ProcessCpuSeconds(gScreen.server), ThreadTimes()};
    }
};

struct sRealClock
{
    double wall = 0.0;
    double cpuPerWall = -1.0;
    double serverPerWall = -1.0;
    std::string threads;

    static sRealClock Between(const sReading& from, const sReading& to)
    {
        sRealClock figures;
        figures.wall = std::chrono::duration<double>(to.wall - from.wall).count();
        if (figures.wall <= 0.0)
            return figures;
        figures.cpuPerWall = (to.cpu - from.cpu) / figures.wall;
        if (from.server >= 0.0 && to.server >= 0.0)
            figures.serverPerWall = (to.server - from.server) / figures.wall;
        figures.threads = ThreadShares(from.threads, to.threads, figures.wall);
        return figures;
    }
};

// The frames the recorder really showed (not skipped as unchanged).
int gFramesShown = 0;

void CountShownFrames()
{
    Strata::sFrameHooks hooks = Strata::GetFrameHooks();
    hooks.drawFrame = [](const std::function<void()>& draw, bool force)
    {
        if (Strata::Graphics::FrameRecording::DrawFrame(draw, force) == Strata::Graphics::FrameRecording::Present_Shown)
            ++gFramesShown;
    };
    Strata::InstallFrameHooks(hooks);
}

struct sRun
{
    std::vector<double> stepMS;    // the wall time of each timed step's work
    std::vector<double> stepCpuMS; // the main thread's CPU time of the same
    int framesShown = 0;           // in the timed steps
    // The change of screen from the title into the scenario's mode, to its first frame shown: the work
    // of the steps it took, and the longest of them.
    double changeWorkMS = -1.0;
    double changeLongestStepMS = 0.0;
    sRealClock realClock; // the timed stretch, or the still title, on the real clock
    // A stretch in two parts: each on the real clock, and the frames each showed.
    sRealClock parts[2];
    int partFrames[2] = {0, 0};
    bool reached = false;
    bool hardware = false;
};

// Plays the game from start-up. With a scenario, every timed step's work is kept, the clock moved by
// what the loop sleeps or, with `realClock`, on the real clock with the stretch's CPU per wall second;
// without one, the title is watched on the real clock for `stillSeconds`.
sRun Play(const sScenario* scenario, double stillSeconds, bool realClock = false)
{
    sRun run;
    uint32_t clock = 100000;
    bool started = false;
    eStretch stretch = Stretch_Waiting;
    auto workStart = std::chrono::steady_clock::now();
    double workCpuStart = 0.0;
    sReading from;
    sReading split;
    int framesAtSplit = 0;
    bool timing = false;
    bool secondPart = false;
    const Strata::ApplicationMode* title = nullptr;
    bool changing = false;
    int shownBefore = 0;
    RunGame(
        "menagerie_frames", [&clock] { return clock; },
        [&](unsigned long ms)
        {
            const auto now = std::chrono::steady_clock::now();
            const double workMS = std::chrono::duration<double, std::milli>(now - workStart).count();
            if (stretch == Stretch_Timing || stretch == Stretch_TimingSecondPart)
            {
                run.stepMS.push_back(workMS);
                run.stepCpuMS.push_back(1000.0 * (CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - workCpuStart));
                run.framesShown += gFramesShown - shownBefore;
            }
            if (changing)
            {
                run.changeWorkMS += workMS;
                run.changeLongestStepMS = std::max(run.changeLongestStepMS, workMS);
                const Strata::ApplicationMode* top = Strata::MainLoop::GetTopMostMode(0);
                if (top != nullptr && top != title && gFramesShown > shownBefore)
                    changing = false;
            }
            if (!started)
            {
                // The splashes' showing time passes fast.
                clock += 10 * static_cast<uint32_t>(ms);
                title = Strata::MainLoop::GetTopMostMode(0);
                if (!dynamic_cast<const TitleMode*>(title))
                    return;
                started = true;
                run.reached = true;
                run.hardware = (Strata::GetRenderPlatform()->GetCaps() & 2) != 0;
                CountShownFrames();
                if (scenario)
                {
                    const auto changeStart = std::chrono::steady_clock::now();
                    scenario->start();
                    run.changeWorkMS =
                        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - changeStart)
                            .count();
                    changing = true;
                }
                from = sReading::Now();
            }
            else if (scenario)
            {
                if (realClock)
                {
                    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
                    clock = Strata::GetTimeMS();
                }
                else
                {
                    clock += static_cast<uint32_t>(ms);
                }
                stretch = scenario->step();
                if (realClock && (stretch == Stretch_Timing || stretch == Stretch_TimingSecondPart) && !timing)
                {
                    timing = true;
                    from = sReading::Now();
                }
                if (realClock && stretch == Stretch_TimingSecondPart && !secondPart)
                {
                    secondPart = true;
                    split = sReading::Now();
                    run.parts[0] = sRealClock::Between(from, split);
                    run.partFrames[0] = run.framesShown;
                    framesAtSplit = run.framesShown;
                }
                if (stretch == Stretch_Over)
                {
                    if (timing)
                    {
                        const sReading to = sReading::Now();
                        run.realClock = sRealClock::Between(from, to);
                        if (secondPart)
                        {
                            run.parts[1] = sRealClock::Between(split, to);
                            run.partFrames[1] = run.framesShown - framesAtSplit;
                        }
                    }
                    Strata::MainLoop::Exit();
                }
            }
            else
            {
                std::this_thread::sleep_for(std::chrono::milliseconds(ms));
                clock = Strata::GetTimeMS();
                if (std::chrono::duration<double>(std::chrono::steady_clock::now() - from.wall).count() >= stillSeconds)
                {
                    run.realClock = sRealClock::Between(from, sReading::Now());
                    Strata::MainLoop::Exit();
                }
            }
            shownBefore = gFramesShown;
            workStart = std::chrono::steady_clock::now();
            // A system call each step: the still title, which times no step, leaves it out of its figure.
            if (scenario)
                workCpuStart = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
        });
    return run;
}

struct sShares
{
    double mean = 0.0;
    double p99 = 0.0;
};

sShares Shares(std::vector<double> steps)
{
    sShares shares;
    if (steps.empty())
        return shares;
    std::sort(steps.begin(), steps.end());
    double sum = 0.0;
    for (double ms : steps)
        sum += ms;
    shares.mean = sum / static_cast<double>(steps.size()) / kStepMS;
    const size_t index = std::min(steps.size() - 1, static_cast<size_t>(0.99 * static_cast<double>(steps.size())));
    shares.p99 = steps[index] / kStepMS;
    return shares;
}

struct sScenarioFigures
{
    sShares wall;
    sShares cpu;
    size_t steps = 0;
    int framesShown = 0;
    double changeWorkMS = -1.0;
    double changeLongestStepMS = 0.0;
};

std::vector<sScenarioFigures> gFigures(16);

void BM_FrameCost(benchmark::State& state)
{
    const size_t index = static_cast<size_t>(state.range(0));
    for (auto _ : state)
    {
        const sScenario scenario = kScenarios[index]();
        const sRun run = Play(&scenario, 0.0);
        if (!run.reached || run.stepMS.empty())
        {
            state.SkipWithError("the scenario was not reached");
            return;
        }
        sScenarioFigures& figures = gFigures[index];
        figures.wall = Shares(run.stepMS);
        figures.cpu = Shares(run.stepCpuMS);
        figures.steps = run.stepMS.size();
        figures.framesShown = run.framesShown;
        // The first two stay on the title: no change of screen to time.
        figures.changeWorkMS = index <= 1 ? -1.0 : run.changeWorkMS;
        figures.changeLongestStepMS = run.changeLongestStepMS;
        state.SetIterationTime(figures.wall.mean * kStepMS / 1000.0);
    }
    state.counters["mean_share"] = gFigures[index].wall.mean;
    state.counters["p99_share"] = gFigures[index].wall.p99;
}
// kScenarios is defined above, so it is made before this registration runs.
BENCHMARK(BM_FrameCost)
    ->DenseRange(0, static_cast<int>(kScenarios.size()) - 1)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(1)
    ->Unit(benchmark::kMillisecond);

// The busy stretches measured on the real clock. The leaf-pile stretch's parts apart: the pile blowing
// in, every leaf moving, and the sweep over the settled pile, the work whose 6.7-7.1% of a core before
// the software canvas drew only what changed was to halve: its goal is judged on the sweep alone.
struct sBusy
{
    sScenario (*scenario)();
    const char* parts[2]; // the names of a stretch in two parts
};
const sBusy kBusy[] = {
    {LeafSweep,
     {"leaf-pile game's pile blowing in", "leaf-pile game's pointer sweeping the settled pile, leaves sliding away"}},
    {JigsawPieces, {nullptr, nullptr}}};
// Each stretch as the game plays it, and the same stretch with every frame drawn, scaled and shown whole
// (as the canvas did before it drew only what changed): the reference its saving is judged against.
sRun gBusy[2];
sRun gBusyWhole[2];

// The scenario with the frame recorder told every step that it cannot see past the change.
sScenario DrawnWhole(sScenario scenario)
{
    scenario.step = [step = scenario.step]
    {
        Strata::Graphics::FrameRecording::Invalidate();
        return step();
    };
    return scenario;
}

void BM_BusyCpu(benchmark::State& state)
{
    const size_t index = static_cast<size_t>(state.range(0));
    const bool whole = state.range(1) != 0;
    for (auto _ : state)
    {
        const sScenario scenario = whole ? DrawnWhole(kBusy[index].scenario()) : kBusy[index].scenario();
        const sRun run = Play(&scenario, 0.0, true);
        if (!run.reached || run.realClock.cpuPerWall < 0.0 ||
            (kBusy[index].parts[1] != nullptr && run.parts[1].cpuPerWall < 0.0))
        {
            state.SkipWithError("the scenario was not reached");
            return;
        }
        (whole ? gBusyWhole : gBusy)[index] = run;
        state.SetIterationTime(run.realClock.wall);
    }
}
BENCHMARK(BM_BusyCpu)->ArgsProduct({{0, 1}, {0, 1}})->UseManualTime()->Iterations(1)->Repetitions(1);

// 0: the software canvas; 1: OpenGL, which needs an X server.
sRealClock gStill[2];

void BM_StillScreenCpu(benchmark::State& state)
{
    const bool opengl = state.range(0) == 1;
    if (opengl && getenv("DISPLAY") == nullptr)
    {
        state.SkipWithError("no X server");
        return;
    }
    const std::string driver = getenv("SDL_VIDEODRIVER") ? getenv("SDL_VIDEODRIVER") : "dummy";
    if (opengl)
        setenv("SDL_VIDEODRIVER", "x11", 1);
    SetGameCommandLine("frame_cost_bench", !opengl);
    for (auto _ : state)
    {
        const sRun run = Play(nullptr, 3.0);
        if (!run.reached || run.hardware != opengl)
        {
            state.SkipWithError(opengl ? "no OpenGL renderer came up" : "the title was not reached");
            break;
        }
        gStill[state.range(0)] = run.realClock;
        state.SetIterationTime(run.realClock.cpuPerWall);
    }
    setenv("SDL_VIDEODRIVER", driver.c_str(), 1);
    SetGameCommandLine("frame_cost_bench");
}
BENCHMARK(BM_StillScreenCpu)->DenseRange(0, 1)->UseManualTime()->Iterations(1)->Repetitions(1);

std::string RealClockLine(const sRealClock& figures)
{
    char line[256];
    std::snprintf(line, sizeof(line), "%.2f%% of a core over %.1f s of wall time", 100.0 * figures.cpuPerWall,
                  figures.wall);
    std::string text = line;
    if (figures.serverPerWall >= 0.0)
    {
        std::snprintf(line, sizeof(line), ", the X server %.2f%% beside it", 100.0 * figures.serverPerWall);
        text += line;
    }
    return text + "; by thread: " + figures.threads;
}

} // namespace

int main(int argc, char** argv)
{
    if (!InitializeBenchmarks(argc, argv))
        return 1;
    UseHeadlessGame("frame_cost_bench");
    // A player's screen: 16:10, the game's full-screen window letterboxed, each frame copied to a server.
    ChildXServer server;
    std::string reason;
    if (server.Start("1280x800x24", &reason, false))
    {
        setenv("SDL_VIDEODRIVER", "x11", 1);
        gScreen.server = server.GetPid();
        gScreen.note = "a 1280 x 800 (16:10) screen of an X server of its own (Xvfb), the game full-screen on it";
    }
    else
    {
        gScreen.note = "SDL's dummy 1024 x 768 (4:3) surface, as no X server could be started (" + reason +
                       "): no letterbox and no copy to a server";
    }

    ResultReporter reporter;
    RunBenchmarks(reporter);

    std::printf("Screen: %s.\n", gScreen.note.c_str());
    std::printf("Update, draw and present per 20 ms step on the software canvas, wall time and the main thread's CPU "
                "time (goal: 99th percentile at most 25%%):\n");
    for (size_t i = 0; i < kScenarios.size(); ++i)
    {
        const sScenarioFigures& f = gFigures[i];
        if (f.steps == 0)
        {
            std::printf("  %s: not run\n", kScenarios[i]().name);
            continue;
        }
        std::printf("  %s: wall mean %.1f%%, p99 %.1f%%; CPU mean %.1f%%, p99 %.1f%% (%zu steps, %d frames shown; "
                    "goal %s)\n",
                    kScenarios[i]().name, 100.0 * f.wall.mean, 100.0 * f.wall.p99, 100.0 * f.cpu.mean,
                    100.0 * f.cpu.p99, f.steps, f.framesShown, f.wall.p99 <= 0.25 ? "met" : "missed");
    }
    std::printf("Changes of screen, wall time from the title's click to the game's first frame shown (the longest "
                "step among them):\n");
    for (size_t i = 0; i < kScenarios.size(); ++i)
        if (gFigures[i].changeWorkMS >= 0.0)
            std::printf("  into the %s: %.1f ms (%.1f ms)\n", kScenarios[i]().name, gFigures[i].changeWorkMS,
                        gFigures[i].changeLongestStepMS);
    std::printf("Busy stretches on the real clock, CPU time per wall second:\n");
    for (size_t i = 0; i < 2; ++i)
    {
        const sBusy& busy = kBusy[i];
        const bool split = busy.parts[1] != nullptr;
        if (gBusy[i].realClock.cpuPerWall < 0.0)
        {
            std::printf("  %s: not run\n", busy.scenario().name);
            continue;
        }
        // The whole stretch, then its parts.
        for (int part = -1; part < (split ? 2 : 0); ++part)
        {
            const sRealClock& figures = part < 0 ? gBusy[i].realClock : gBusy[i].parts[part];
            std::printf("  %s: %s; %d frames shown", part < 0 ? busy.scenario().name : busy.parts[part],
                        RealClockLine(figures).c_str(), part < 0 ? gBusy[i].framesShown : gBusy[i].partFrames[part]);
            // The part a pointer drives is judged: the sweep, or the whole drag.
            const sRealClock& reference = part < 0 ? gBusyWhole[i].realClock : gBusyWhole[i].parts[part];
            if (part == (split ? 1 : -1) && reference.cpuPerWall > 0.0 && figures.cpuPerWall > 0.0)
            {
                const double ratio = reference.cpuPerWall / figures.cpuPerWall;
                std::printf(" (every frame drawn, scaled and shown whole: %.2f%% of a core, %.2fx; goal at least 2x: "
                            "%s)",
                            100.0 * reference.cpuPerWall, ratio, ratio >= 2.0 ? "met" : "missed");
            }
            std::printf("\n");
        }
    }
    std::printf("Still title on the real clock, CPU time per wall second (goal: under 1%% of a core):\n");
    const char* renderers[] = {"software canvas", "OpenGL"};
    for (int i = 0; i < 2; ++i)
        if (gStill[i].cpuPerWall < 0.0)
            std::printf("  %s: skipped (%s)\n", renderers[i],
                        i == 0                         ? "not run"
                        : getenv("DISPLAY") == nullptr ? "no X server"
                                                       : "no OpenGL renderer came up");
        else
            std::printf("  %s: %s (goal %s)\n", renderers[i], RealClockLine(gStill[i]).c_str(),
                        gStill[i].cpuPerWall < 0.01 ? "met" : "missed");
    return 0;
}
