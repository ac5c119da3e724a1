#include "game/PlanAJob/PlanAJobLevel.h"

#include "game/LevelManager.h"

#include "../GameServicesTestSupport.h"

#include <set>
#include <string>

using namespace GameTesting;
using Strata::Label;

namespace
{

class PlanAJobLevelTest : public GameServicesTest
{
protected:
    void SetUp() override
    {
        GameServicesTest::SetUp();
        manager->AddResourceFactory(L"PlanAJobLevel", new PlanAJobLevelResourceFactory());
    }
};

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
    std::string body;
    for (const Case& c : cases)
        body += std::string("<PlanAJobLevel name=\"") + c.name + "\" " + c.attributes +
                "><Step numEmpty=\"9\"/></PlanAJobLevel>\n";
    LoadManifest(L"Jobs", body);
    const std::string log = TakeLog();

    const std::set<std::string> filed = FiledLevels(GameModeType_PlanAJob);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(filed.count(c.name) == 1, c.logged == nullptr);
        const std::string line = LevelLogLine(log, "Jobs", c.name);
        if (c.logged == nullptr)
            EXPECT_EQ(line, "");
        else
            EXPECT_NE(line.find(c.logged), std::string::npos) << line;
        const auto* level = dynamic_cast<const PlanAJobLevel*>(manager->GetResource(Label(c.name)).get());
        ASSERT_NE(level, nullptr);
        EXPECT_EQ(level->objectsImageList, c.objects);
    }
    const auto* medium = dynamic_cast<const PlanAJobLevel*>(manager->GetResource(Label("JobMedium")).get());
    ASSERT_NE(medium, nullptr);
    EXPECT_EQ(medium->targetsImageList, "Job_Targets");
    EXPECT_EQ(medium->spriteType, "Job_SpriteType");
    // A child element says nothing about the level.
    EXPECT_EQ(medium->emptyCount, 3);
}

} // namespace
