#include "framework/ValueResources.h"

#include "ResourceTestSupport.h"

#include "core/RuntimeError.h"

#include <gtest/gtest.h>

#include <clocale>

using namespace Strata;
using namespace Strata::Testing;

namespace
{

class ValueResourcesTest : public ResourceTest
{
protected:
    void SetUp() override
    {
        ResourceTest::SetUp();
        CreateConstantResourceFactories();
    }

    void LoadValues(const std::string& body)
    {
        AddManifest(L"Values", body);
        const auto job = manager->Load(L"Values");
        ASSERT_EQ(job->GetStatus(), eLoadingJobStatus::Complete) << job->GetFailureMessage();
    }

    template <class T>
    T Value(const char* name)
    {
        return Constant<T>(name);
    }
};

} // namespace

TEST_F(ValueResourcesTest, ScalarTagsAndTheirDefaults)
{
    LoadValues(R"(<bool name="yes" value="true"/>
<bool name="one" value="1"/>
<bool name="noValue"/>
<int name="count" value="-42"/>
<int name="prefix" value="12abc"/>
<int name="noInt"/>
<float name="ratio" value="0.25"/>
<float name="noFloat"/>
<string name="title" value="Fish &amp; Chips"/>
<string name="noString"/>
<vector2f name="pos" x="1.5" y="-2"/>
<vector2i name="cell" x="3"/>
<rectf name="area" x="1" y="2" w="3.5" h="4"/>
<recti name="box" x="-1" y="2" w="30" h="40"/>
<randomrange name="spread" min="0.5" max="2"/>
<randomrange name="noRange"/>
)");
    EXPECT_TRUE(Value<bool>("yes"));
    EXPECT_FALSE(Value<bool>("one")) << "only the word true is true";
    EXPECT_FALSE(Value<bool>("noValue"));
    EXPECT_EQ(Value<int>("count"), -42);
    EXPECT_EQ(Value<int>("prefix"), 12);
    EXPECT_EQ(Value<int>("noInt"), 0);
    EXPECT_FLOAT_EQ(Value<float>("ratio"), 0.25f);
    EXPECT_FLOAT_EQ(Value<float>("noFloat"), 0.0f);
    EXPECT_EQ(Value<std::wstring>("title"), L"Fish & Chips");
    EXPECT_EQ(Value<std::wstring>("noString"), L"");
    EXPECT_EQ(Value<Vector2<float>>("pos"), Vector2<float>(1.5f, -2.0f));
    EXPECT_EQ(Value<Vector2<int>>("cell"), Vector2<int>(3, 0));
    EXPECT_EQ(Value<Rect<float>>("area"), Rect<float>(1.0f, 2.0f, 3.5f, 4.0f));
    EXPECT_EQ(Value<Rect<int>>("box"), Rect<int>(-1, 2, 30, 40));
    EXPECT_EQ(Value<RandomRange>("spread"), (RandomRange{0.5f, 2.0f}));
    EXPECT_EQ(Value<RandomRange>("noRange"), (RandomRange{0.0f, 0.0f}));
}

TEST_F(ValueResourcesTest, ColoursFromTextFloatsOrBytes)
{
    LoadValues(R"(<colorf name="hex" value="#FF000080"/>
<colorf name="short" value="#F00"/>
<colorf name="emptyValue" value="" r="0.5"/>
<colorf name="onlyRed" r="0.5"/>
<colorf name="bright" r="2" a="-1"/>
<colori name="bytes" r="255" g="128"/>
<colori name="wrapped" r="256" g="-1" b="511" a="0"/>
)");
    EXPECT_EQ(Value<ColorF>("hex"), ColorF(1.0f, 0.0f, 0.0f, 128.0f / 255.0f));
    EXPECT_EQ(Value<ColorF>("short"), ColorF(0.0f, 0.0f, 0.0f, 1.0f)) << "any other text is opaque black";
    EXPECT_EQ(Value<ColorF>("emptyValue"), ColorF(0.0f, 0.0f, 0.0f, 1.0f)) << "a value, even empty, wins";
    EXPECT_EQ(Value<ColorF>("onlyRed"), ColorF(0.5f, 1.0f, 1.0f, 1.0f));
    EXPECT_EQ(Value<ColorF>("bright"), ColorF(2.0f, 1.0f, 1.0f, -1.0f)) << "float channels are not clamped";
    EXPECT_EQ(Value<ColorF>("bytes"), ColorF(1.0f, 128.0f / 255.0f, 1.0f, 1.0f));
    EXPECT_EQ(Value<ColorF>("wrapped"), ColorF(0.0f, 1.0f, 1.0f, 0.0f)) << "only the low 8 bits count";
}

TEST_F(ValueResourcesTest, EveryArrayForm)
{
    LoadValues(R"(<boolarray name="flags"><bool value="true"/><bool value="false"/><bool/></boolarray>
<intarray name="RepeatedGameNumLoops"><int value="3"/><int value="2"/><int value="1"/></intarray>
<floatarray name="weights"><float value="0.5"/><float value="1e2"/></floatarray>
<stringarray name="words"><string value="a"/><string/><string value="c"/></stringarray>
<vector2farray name="path"><vector2f x="1" y="2"/><vector2f x="3.5" y="4"/></vector2farray>
<rectfarray name="areas"><rectf x="1" y="2" w="3" h="4"/></rectfarray>
<rectiarray name="boxes"><recti x="5" y="6" w="7" h="8"/><recti/></rectiarray>
<colorfarray name="tints"><colorf value="#00FF00"/><colorf g="0"/></colorfarray>
<coloriarray name="paints"><colori r="0" g="0" b="0"/></coloriarray>
)");
    EXPECT_EQ(Value<std::vector<bool>>("flags"), (std::vector<bool>{true, false, false}));
    EXPECT_EQ(Value<std::vector<int>>("RepeatedGameNumLoops"), (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(Value<std::vector<float>>("weights"), (std::vector<float>{0.5f, 100.0f}));
    EXPECT_EQ(Value<std::vector<std::wstring>>("words"), (std::vector<std::wstring>{L"a", L"", L"c"}));
    EXPECT_EQ(Value<std::vector<Vector2<float>>>("path"), (std::vector<Vector2<float>>{{1.0f, 2.0f}, {3.5f, 4.0f}}));
    EXPECT_EQ(Value<std::vector<Rect<float>>>("areas"), (std::vector<Rect<float>>{{1.0f, 2.0f, 3.0f, 4.0f}}));
    EXPECT_EQ(Value<std::vector<Rect<int>>>("boxes"), (std::vector<Rect<int>>{{5, 6, 7, 8}, {0, 0, 0, 0}}));
    EXPECT_EQ(Value<std::vector<ColorF>>("tints"),
              (std::vector<ColorF>{{0.0f, 1.0f, 0.0f, 1.0f}, {1.0f, 0.0f, 1.0f, 1.0f}}));
    EXPECT_EQ(Value<std::vector<ColorF>>("paints"), (std::vector<ColorF>{{0.0f, 0.0f, 0.0f, 1.0f}}));
}

TEST_F(ValueResourcesTest, ArrayItemsAreEveryStartElementInside)
{
    LoadValues(R"(<intarray name="empty"/>
<intarray name="zeros"><int/><int/><int/></intarray>
<intarray name="nested">
  <int value="1"><int value="2"/></int>
  text between
  <whatever value="3"/>
</intarray>
<int name="afterArrays" value="7"/>
<vector2iarray name="noSuchTag"><vector2i name="itemWithName" x="1"/></vector2iarray>
)");
    EXPECT_TRUE(Value<std::vector<int>>("empty").empty());
    EXPECT_EQ(Value<std::vector<int>>("zeros"), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(Value<std::vector<int>>("nested"), (std::vector<int>{1, 2, 3})) << "in document order";
    EXPECT_EQ(Value<int>("afterArrays"), 7) << "the walk goes on after an array";
    EXPECT_EQ(manager->GetResource(Label("noSuchTag")), nullptr) << "there is no array of Vector2<int>";
    EXPECT_EQ(Value<Vector2<int>>("itemWithName"), Vector2<int>(1, 0))
        << "children of an unregistered tag are walked as declarations";
}

TEST_F(ValueResourcesTest, NumbersIgnoreTheUsersLocale)
{
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    // The loader is idle while the locale changes: it reads numbers only during the load below.
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr && std::setlocale(LC_ALL, "es_ES.utf8") == nullptr &&
        std::setlocale(LC_ALL, "fr_FR.UTF-8") == nullptr)
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    LoadValues(R"(<float name="half" value="0.5"/><floatarray name="list"><float value="2.25"/></floatarray>)");
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_FLOAT_EQ(Value<float>("half"), 0.5f);
    EXPECT_EQ(Value<std::vector<float>>("list"), (std::vector<float>{2.25f}));
}

TEST_F(ValueResourcesTest, ConstantsOfAnotherTypeOrMissingHoldNothingAndThrowWhenRead)
{
    LoadValues(R"(<float name="rmSpeed" value="2"/><intarray name="counts"><int value="1"/></intarray>)");
    const Constant<float> speed("rmSpeed");
    EXPECT_TRUE(speed.IsValid());
    EXPECT_TRUE(static_cast<bool>(speed));
    EXPECT_FLOAT_EQ(speed, 2.0f);

    const Constant<int> wrongType("rmSpeed");
    EXPECT_FALSE(wrongType.IsValid()) << "a float is not read as an int";
    const Constant<int> arrayAsScalar(Label("counts"));
    EXPECT_FALSE(arrayAsScalar.IsValid());
    const Constant<std::wstring> missing(Label("rmNothing"));
    EXPECT_FALSE(missing) << "a missing string constant tests false";

    try
    {
        const int value = wrongType;
        FAIL() << "read " << value;
    }
    catch (const RuntimeError& e)
    {
        EXPECT_STREQ(e.what(), "The constant 'rmSpeed' of type int does not exist.");
    }
    try
    {
        const std::wstring value = missing.GetValue();
        FAIL() << "read a missing constant";
    }
    catch (const RuntimeError& e)
    {
        EXPECT_STREQ(e.what(), "The constant 'rmNothing' of type std::wstring does not exist.");
    }
    EXPECT_THROW(Constant<bool>(static_cast<const char*>(nullptr)).GetValue(), RuntimeError);
}

TEST_F(ValueResourcesTest, ConstantsKeepTheirValueAfterUnload)
{
    LoadValues(R"(<stringarray name="names"><string value="kept"/></stringarray>)");
    const Constant<std::vector<std::wstring>> names("names");
    manager->Unload(L"Values");
    EXPECT_FALSE(Constant<std::vector<std::wstring>>("names").IsValid());
    EXPECT_EQ(names.GetValue(), (std::vector<std::wstring>{L"kept"}));
}
