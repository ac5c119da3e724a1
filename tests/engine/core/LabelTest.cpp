#include "core/Label.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

using namespace Strata;

namespace
{

// Label::Shutdown frees the table that every other label in this program points into, so the tests
// that end the table run in a child process of their own.
#define EXPECT_IN_CHILD_PROCESS(body)                                                                                  \
    EXPECT_EXIT(                                                                                                       \
        {                                                                                                              \
            body;                                                                                                      \
            std::exit(0);                                                                                              \
        },                                                                                                             \
        ::testing::ExitedWithCode(0), "")

void Require(bool condition, const char* what)
{
    if (!condition)
    {
        std::fprintf(stderr, "failed: %s\n", what);
        std::exit(1);
    }
}

std::string Name(const char* stem, int i)
{
    return std::string(stem) + std::to_string(i);
}

} // namespace

TEST(LabelTest, NullAndEmptyAreDistinct)
{
    const Label null;
    const Label fromNull(static_cast<const char*>(nullptr));
    const Label fromWideNull(static_cast<const wchar_t*>(nullptr));
    const Label empty("");
    EXPECT_TRUE(null.IsNull());
    EXPECT_TRUE(fromNull.IsNull());
    EXPECT_TRUE(fromWideNull.IsNull());
    EXPECT_FALSE(static_cast<bool>(null));
    EXPECT_FALSE(empty.IsNull());
    EXPECT_TRUE(static_cast<bool>(empty));
    EXPECT_NE(empty, null);
    EXPECT_EQ(empty, Label(L""));
    EXPECT_EQ(null.GetString(), nullptr);
    EXPECT_STREQ(null.c_str(), "");
    EXPECT_EQ(Label::GetUniqueString(nullptr), nullptr);
}

TEST(LabelTest, SpellingsThatDifferInCaseShareTheFirstCopy)
{
    const Label first("LabelTestFoo");
    const Label upper("LABELTESTFOO");
    const Label lower(L"labeltestfoo");
    EXPECT_EQ(first, upper);
    EXPECT_EQ(first, lower);
    EXPECT_EQ(first.GetString(), lower.GetString());
    EXPECT_STREQ(upper.c_str(), "LabelTestFoo");
    EXPECT_NE(first, Label("LabelTestFoo2"));
    // Characters next to the letters in the code table are not folded.
    EXPECT_NE(Label("LabelTest[x"), Label("LabelTest{x"));
}

TEST(LabelTest, NonAsciiCharactersBecomeQuestionMarks)
{
    const Label nino(L"LabelTestNi\u00f1o");
    EXPECT_STREQ(nino.c_str(), "LabelTestNi?o");
    EXPECT_EQ(nino, Label(L"LabelTestNi\u00e9o"));
    EXPECT_EQ(nino, Label("labeltestni?o"));
    EXPECT_EQ(Label::FromString(std::wstring(L"LabelTestNi\U0001F600o")), nino);
}

TEST(LabelTest, FromStringForms)
{
    EXPECT_EQ(Label::FromString(std::string("LabelTestBar")), Label("LabelTestBar"));
    EXPECT_EQ(Label::FromString(std::wstring(L"LabelTestBar")), Label("labeltestbar"));
    const Label formatted = Label::FromStringF("%s::%ls#%d", "LabelTestLayout", L"Button", 7);
    EXPECT_STREQ(formatted.c_str(), "LabelTestLayout::Button#7");
    EXPECT_TRUE(Label::FromStringF(nullptr).IsNull());
}

TEST(LabelTest, FromStringFKeepsTextLongerThanItsBuffer)
{
    for (const size_t length : {4095u, 4096u, 4097u, 10000u})
    {
        const std::string text = "LabelTestLong" + std::string(length - 13, 'x');
        ASSERT_EQ(text.size(), length);
        const Label label = Label::FromStringF("%s", text.c_str());
        EXPECT_EQ(std::strlen(label.c_str()), length);
        EXPECT_EQ(label, Label::FromString(text));
    }
}

TEST(LabelTest, ComparesAndHashesByHandle)
{
    const Label a("LabelTestA");
    const Label b("LabelTestB");
    EXPECT_TRUE(a < b || b < a);
    EXPECT_FALSE(a < Label("labeltesta"));
    std::unordered_set<Label> set{a, b, Label("LABELTESTA")};
    EXPECT_EQ(set.size(), 2u);
    EXPECT_EQ(set.count(Label("labeltestb")), 1u);
}

TEST(LabelTest, ThreadsInterningOverlappingNamesGetOneHandlePerName)
{
    constexpr int kThreads = 8;
    constexpr int kNames = 400;
    std::vector<std::vector<const char*>> handles(kThreads, std::vector<const char*>(kNames));
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
    {
        threads.emplace_back(
            [t, &handles]
            {
                // Each thread walks the names from its own starting point and spells them its own way.
                for (int k = 0; k < kNames; ++k)
                {
                    const int i = (k + t * 53) % kNames;
                    std::string name = Name("LabelTestThreaded", i);
                    if (t % 2 == 1)
                        for (char& c : name)
                            c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
                    handles[t][i] = (t % 3 == 0) ? Label::FromStringF("%s", name.c_str()).GetString()
                                                 : Label(name.c_str()).GetString();
                }
            });
    }
    for (std::thread& thread : threads)
        thread.join();

    std::unordered_set<const char*> distinct;
    for (int i = 0; i < kNames; ++i)
    {
        for (int t = 1; t < kThreads; ++t)
            ASSERT_EQ(handles[t][i], handles[0][i]) << "name " << i << ", thread " << t;
        distinct.insert(handles[0][i]);
        EXPECT_EQ(Label(Name("labeltestthreaded", i).c_str()).GetString(), handles[0][i]);
    }
    EXPECT_EQ(distinct.size(), static_cast<size_t>(kNames));
}

TEST(LabelShutdownTest, HandlesSurviveGrowthAndTheArenaFillingUp)
{
    EXPECT_IN_CHILD_PROCESS({
        Label::Shutdown();
        std::vector<const char*> early;
        for (int i = 0; i < 11; ++i)
            early.push_back(Label(Name("Early", i).c_str()).GetString());
        // The 12th name doubles the 16-slot table; 3,000 names of 40 bytes overflow the 64 KiB arena
        // onto the heap.
        std::vector<const char*> later;
        for (int i = 0; i < 3000; ++i)
            later.push_back(Label((Name("Later", i) + std::string(30, 'z')).c_str()).GetString());
        for (int i = 0; i < 11; ++i)
        {
            Require(Label(Name("EARLY", i).c_str()).GetString() == early[i], "early handle kept");
            Require(Name("Early", i) == early[i], "early text kept");
        }
        for (int i = 0; i < 3000; ++i)
            Require(Label((Name("LATER", i) + std::string(30, 'Z')).c_str()).GetString() == later[i],
                    "later handle kept");

        // A name bigger than the whole arena goes on the heap by itself.
        const std::string huge(70000, 'h');
        const Label big(huge.c_str());
        Require(big.c_str() == huge, "huge text kept");
        Require(Label(std::string(70000, 'H').c_str()) == big, "huge name found again");
        // Shutdown frees the heap copies; the leak checker at exit would notice one left behind.
        Label::Shutdown();
    });
}

TEST(LabelShutdownTest, ALaterLabelStartsAnEmptyTable)
{
    EXPECT_IN_CHILD_PROCESS({
        Label::Shutdown();
        Label::Shutdown(); // harmless twice
        Require(std::strcmp(Label("RESTART").c_str(), "RESTART") == 0, "first spelling");
        Label::Shutdown();
        Require(std::strcmp(Label("restart").c_str(), "restart") == 0, "new table, new first spelling");
        Label::Shutdown();
    });
}
