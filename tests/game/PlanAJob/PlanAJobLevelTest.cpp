#include "game/PlanAJob/PlanAJobLevel.h"

#include "../LevelReaderTestSupport.h"

using namespace GameTesting;

namespace
{

using PlanAJobLevelTest = LevelReaderTest<PlanAJobLevelResourceFactory>;

TEST_F(PlanAJobLevelTest, LevelsNameTheirPicturesByDifficultyAndOnlyPlayableOnesAreFiled)
{
    struct Case
    {
        const char* name;
        const char* attributes;
        const char* objects; // the offered pictures' list when the level is read
        const char* logged;  // null when the level is filed
    };
    const Case cases[] = {
        {"JobEasy", R"(difficulty="Easy" imageList="Job" numEmpty="1")", "Job_Objects_Easy", nullptr},
        {"JobMedium", R"(difficulty="Medium" imageList="Job" numEmpty="3")", "Job_Objects_Medium", nullptr},
        {"JobHard", R"(difficulty="Hard" imageList="Job" numEmpty="5")", "Job_Objects_Hard", nullptr},
        {"JobNoneEmpty", R"(difficulty="Easy" imageList="Job" numEmpty="0")", "Job_Objects_Easy",
         "has \"numEmpty\" 0, not 1 to 5"},
        {"JobUnsaid", R"(difficulty="Easy" imageList="Job")", "Job_Objects_Easy", "has \"numEmpty\" 0"},
        {"JobTooMany", R"(difficulty="Hard" imageList="Job" numEmpty="6")", "Job_Objects_Hard",
         "has \"numEmpty\" 6, not 1 to 5"},
        {"JobNegative", R"(difficulty="Hard" imageList="Job" numEmpty="-1")", "Job_Objects_Hard",
         "has \"numEmpty\" -1"},
        {"JobNoPictures", R"(difficulty="Medium" numEmpty="2")", "", "has no \"imageList\""},
        {"JobWhenever", R"(difficulty="Someday" imageList="Job" numEmpty="2")", "Job_Objects_Hard",
         "has no known difficulty (\"Someday\")"},
        {"JobNoDifficulty", R"(imageList="Job" numEmpty="2")", "Job_Objects_Hard", "has no known difficulty"},
    };
    ExpectFiledUnlessLogged(
        L"Jobs", cases, [](const Case& c) { return std::pair(std::string(c.attributes), "<Step numEmpty=\"9\"/>"); },
        [](const Case& c, const PlanAJobLevel& level) { EXPECT_EQ(level.objectsImageList, c.objects); });
    const PlanAJobLevel* medium = Level("JobMedium");
    ASSERT_NE(medium, nullptr);
    EXPECT_EQ(medium->targetsImageList, "Job_Targets");
    EXPECT_EQ(medium->spriteType, "Job_SpriteType");
    // A child element says nothing about the level.
    EXPECT_EQ(medium->emptyCount, 3);
}

} // namespace
