#include "core/AttributeContainer.h"

#include <gtest/gtest.h>

#include <clocale>

using namespace Strata;

namespace
{
AttributeContainer Make(std::initializer_list<std::pair<const std::wstring, std::wstring>> values)
{
    return AttributeContainer(IAttributeContainer::AttributeMap(values));
}
} // namespace

TEST(AttributeContainerTest, PresenceAndTextFollowTheMapExactly)
{
    const AttributeContainer attributes = Make({{L"empty", L""}, {L"Name", L"Upper"}, {L"name", L"lower"}});
    const IAttributeContainer& view = attributes;

    EXPECT_TRUE(view.HasAttribute(L"empty"));
    EXPECT_FALSE(view.HasAttribute(L"missing"));
    EXPECT_EQ(view.GetAttribute(L"empty"), L"");
    EXPECT_EQ(view.GetAttribute(L"Name"), L"Upper");
    EXPECT_EQ(view.GetAttribute(L"name"), L"lower");
    EXPECT_EQ(view.GetAttribute(L"NAME"), L"");

    const wchar_t* fallback = L"fallback";
    EXPECT_EQ(view.GetAttribute(L"missing", fallback), fallback);
    EXPECT_STREQ(view.GetAttribute(L"name", fallback), L"lower");
    EXPECT_STREQ(view.GetAttribute(L"empty", fallback), L"");

    // An empty value is present: numbers read from it are 0, not the default.
    EXPECT_EQ(view.GetAttribute(L"empty", 42), 0);
    EXPECT_EQ(view.GetAttribute(L"empty", 4.5f), 0.0f);
    EXPECT_TRUE(view.GetAttribute(L"empty", true));
}

TEST(AttributeContainerTest, NumbersAreReadFromTheLeadingText)
{
    const AttributeContainer attributes =
        Make({{L"size", L"12.5px"}, {L"neg", L"  -7"}, {L"word", L"abc"}, {L"exp", L"1e3"}});
    EXPECT_EQ(attributes.GetAttribute(L"size", 0), 12);
    EXPECT_FLOAT_EQ(attributes.GetAttribute(L"size", 0.0f), 12.5f);
    EXPECT_EQ(attributes.GetAttribute(L"neg", 0), -7);
    EXPECT_EQ(attributes.GetAttribute(L"word", 9), 0);
    EXPECT_EQ(attributes.GetAttribute(L"word", 9.0f), 0.0f);
    EXPECT_FLOAT_EQ(attributes.GetAttribute(L"exp", 0.0f), 1000.0f);
    EXPECT_EQ(attributes.GetAttribute(L"missing", -3), -3);
    EXPECT_EQ(attributes.GetAttribute(L"missing", 2.25f), 2.25f);
}

TEST(AttributeContainerTest, BooleansUnderstandOnlyTheWords)
{
    const AttributeContainer attributes = Make({{L"upper", L"TRUE"},
                                                {L"one", L"1"},
                                                {L"zero", L"0"},
                                                {L"spaced", L" \t\nfalse"},
                                                {L"yes", L"true"},
                                                {L"partial", L"tru"},
                                                {L"inner", L"x true"}});
    for (const bool fallback : {false, true})
    {
        EXPECT_EQ(attributes.GetAttribute(L"upper", fallback), fallback);
        EXPECT_EQ(attributes.GetAttribute(L"one", fallback), fallback);
        EXPECT_EQ(attributes.GetAttribute(L"zero", fallback), fallback);
        EXPECT_EQ(attributes.GetAttribute(L"partial", fallback), fallback);
        EXPECT_EQ(attributes.GetAttribute(L"inner", fallback), fallback);
        EXPECT_EQ(attributes.GetAttribute(L"missing", fallback), fallback);
        EXPECT_FALSE(attributes.GetAttribute(L"spaced", fallback));
        EXPECT_TRUE(attributes.GetAttribute(L"yes", fallback));
    }
}

TEST(AttributeContainerTest, CopiesAreIndependent)
{
    AttributeContainer original = Make({{L"a", L"1"}});
    AttributeContainer copy = original;
    original.SetAttributes({{L"b", L"2"}});
    EXPECT_FALSE(original.HasAttribute(L"a"));
    EXPECT_EQ(copy.GetAttribute(L"a"), L"1");
    copy = original;
    EXPECT_EQ(copy.GetAttributes().size(), 1u);
    EXPECT_EQ(copy.GetAttribute(L"b"), L"2");
}
