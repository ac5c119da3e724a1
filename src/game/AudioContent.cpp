#include "game/AudioContent.h"

namespace Yardcrew::AudioContent
{

std::string ColoredToolEntry(YardcrewColor color, YardcrewTool tool)
{
    return std::string(kYardcrewColorNames[color]) + "_" + kYardcrewToolNames[tool];
}

std::string NumberEntry(int number)
{
    return std::to_string(number);
}

std::span<const sContentName> List()
{
    static constexpr sContentName names[] = {kCorrectAnswer, kIncorrectAnswer,  kGeneralUIMusic,
                                             kTitleMusic,    kColorWords,       kShapeWords,
                                             kToolWords,     kMaterialWordsOne, kMaterialWordsMany};
    return names;
}

} // namespace Yardcrew::AudioContent
