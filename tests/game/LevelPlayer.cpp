#include "LevelPlayer.h"

#include "../../tools/content/GameSession.h"

#include "core/MemoryStream.h"
#include "core/Random.h"
#include "core/XMLElement.h"
#include "core/XMLReader.h"
#include "framework/ApplicationMode.h"
#include "framework/MainLoop.h"
#include "game/GameRegistry.h"
#include "game/LevelManager.h"
#include "graphics/Context.h"
#include "graphics/Image.h"
#include "graphics/SoftwareCanvas.h"

#include <cstring>
#include <exception>
#include <utility>

using namespace Strata;
using namespace Yardcrew;

namespace GameTesting
{

namespace
{

const wchar_t* const kManifest = L"FuzzLevel";
const char kLevelName[] = "FuzzLevel";
// What files the level read from the bytes: it hands the manager the record made beforehand, so
// nothing else the bytes hold becomes a resource.
const char kFilingManifest[] = R"(<PlayedLevel name="FuzzLevel"/>)";

class HandOverFactory final : public IResourceFactory
{
public:
    explicit HandOverFactory(std::unique_ptr<IResourceDescriptor>& made) : mMade(made) {}
    IResourceDescriptor* CreateResource(const std::wstring&, Label, const IAttributeContainer&,
                                        IXMLReader&) const override
    {
        return mMade.release();
    }

private:
    std::unique_ptr<IResourceDescriptor>& mMade;
};

std::unique_ptr<IResourceDescriptor> gHandedOver;

} // namespace

LevelPlayer::LevelPlayer(GameModeType type, const std::filesystem::path& data) : mType(type)
{
    RegisterGames();
    const sGameRegistration* game = FindRegisteredGame(type);
    if (game == nullptr || !game->makeMode)
    {
        mLoaded = false;
        return;
    }
    // The screens a game asks for are made and dropped, never run.
    mSession = std::make_unique<GameShots::Session>(
        "level player", data, game->levelTag, game->makeLevelReader().release(),
        std::initializer_list<const wchar_t*>{L"GlobalConstants", L"resources", L"DifficultyOptionsQuit",
                                              L"ForemanInstructionMode", game->manifest});
    mLoaded = mSession->IsLoaded();
    GetResourceManager()->AddResourceFactory(L"PlayedLevel", new HandOverFactory(gHandedOver));
    mReader = game->makeLevelReader();
}

LevelPlayer::~LevelPlayer()
{
    mSession.reset();
    Random::ClearSeedOverride();
}

std::shared_ptr<IResourceDescriptor> LevelPlayer::Read(const uint8_t* data, size_t size, bool* played)
{
    if (played != nullptr)
        *played = false;
    LevelManager& levels = GetLevelManager();
    levels.clearLevels();
    ReadOnlyMemoryStream stream(L"level.xml", data, size);
    XMLElementList elements;
    try
    {
        std::unique_ptr<IXMLReader> reader = CreateXMLReader(&stream);
        CopyAllElements(*reader, &elements);
    }
    catch (const std::exception&)
    {
        // A damaged document still hands over what was read before the damage.
    }
    if (elements.GetElements().empty())
        return nullptr;
    const XMLElement first = elements.GetElements().front();
    gHandedOver.reset(mReader->CreateResource(kManifest, Label(kLevelName), first, elements));
    ResourceManager* manager = GetResourceManager();
    ReadOnlyMemoryStream filing(L"filing.xml", reinterpret_cast<const uint8_t*>(kFilingManifest),
                                std::strlen(kFilingManifest));
    manager->LoadFromStream(&filing, kManifest);
    std::shared_ptr<IResourceDescriptor> level = manager->GetResource(Label(kLevelName));
    // The reader files a level it accepts under its difficulty; the mode draws it there.
    for (int d = 0; d < GameModeDifficulty_Count; ++d)
    {
        levels.difficulty = static_cast<GameModeDifficulty>(d);
        if (levels.getLevelForGameModeType(mType).IsNull())
            continue;
        Run(Label(kLevelName));
        if (played != nullptr)
            *played = true;
        break;
    }
    manager->Unload(kManifest);
    levels.clearLevels();
    return level;
}

void LevelPlayer::Play(Label level, GameModeDifficulty difficulty)
{
    LevelManager& levels = GetLevelManager();
    levels.clearLevels();
    levels.addLevelForGameModeType(mType, level, difficulty);
    levels.difficulty = difficulty;
    Run(level);
    levels.clearLevels();
}

void LevelPlayer::Run(Label level, const Play_t& play)
{
    // Every run draws the same random stream, so a fault found replays from its input alone.
    Random::Engine_Destroy();
    Random::Engine_Setup();
    std::unique_ptr<ApplicationMode> mode = FindRegisteredGame(mType)->makeMode(level);
    if (!mode)
        return;
    {
        const MainLoop::AutoContext context;
        MainLoop::WithinContext(mode.get(), context);
        mode->Setup();
        mode->Enter();
        if (play)
            play(*mode);
        else
            for (int step = 0; step < kSteps; ++step)
                mode->Update(0.02f);
        Image frame(800, 600);
        ICanvas* canvas = Graphics::CreateImageCanvas(&frame);
        Graphics::PushContext(Graphics::Context{canvas, Graphics::sDrawState::GetDefaults()});
        mode->Draw();
        Graphics::PopContext();
        Graphics::DestroyImageCanvas(canvas);
        mode->Exit();
        mode->Destroy();
    }
    mode.reset();
}

} // namespace GameTesting
