#include "game/GameLevelReaders.h"

#include "core/Log.h"
#include "core/WideString.h"
#include "game/LevelManager.h"

#include <memory>

namespace Yardcrew
{

GameModeDifficulty ParseGameModeDifficulty(const std::wstring& text)
{
    // Exactly as written, case included: "easy" is a typing slip the level's log line shows.
    for (int i = 0; i < GameModeDifficulty_Count; ++i)
        if (text == Strata::ConvertStringASCIIToWide(kGameModeDifficultyNames[i]))
            return static_cast<GameModeDifficulty>(i);
    return GameModeDifficulty_None;
}

bool FileLevelIfValid(GameModeType type, const std::wstring& manifest, Strata::Label name,
                      const Strata::IAttributeContainer& attributes, const std::string& problem)
{
    const std::wstring difficultyText = attributes.GetAttribute(L"difficulty");
    const GameModeDifficulty difficulty = ParseGameModeDifficulty(difficultyText);
    const auto manifestText = Strata::ConvertStringWideToUTF8(manifest.c_str());
    if (difficulty == GameModeDifficulty_None)
    {
        const auto difficultyUTF8 = Strata::ConvertStringWideToUTF8(difficultyText.c_str());
        Strata::Internal::LogWrite("Level \"%s\" in %s has no known difficulty (\"%s\"); it is not filed\n",
                                   name.c_str(), reinterpret_cast<const char*>(manifestText.get()),
                                   reinterpret_cast<const char*>(difficultyUTF8.get()));
        return false;
    }
    if (!problem.empty())
    {
        Strata::Internal::LogWrite("Level \"%s\" in %s %s; it is not filed\n", name.c_str(),
                                   reinterpret_cast<const char*>(manifestText.get()), problem.c_str());
        return false;
    }
    GetLevelManager().addLevelForGameModeType(type, name, difficulty);
    return true;
}

} // namespace Yardcrew
