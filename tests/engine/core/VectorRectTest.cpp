#include "core/Rect.h"
#include "core/Vector2.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

using namespace Strata;

TEST(Vector2Test, FromStringReadsOneOrTwoNumbers)
{
    EXPECT_EQ(Vector2<int>::FromString(L"3,4"), Vector2<int>(3, 4));
    EXPECT_EQ(Vector2<int>::FromString(L"7"), Vector2<int>(7, 7));
    EXPECT_EQ(Vector2<int>::FromString(L" -5, +6"), Vector2<int>(-5, 6));
    EXPECT_EQ(Vector2<int>::FromString(L"8,x"), Vector2<int>(8, 8));
    // A space before the comma ends the text, as "%d,%d" would.
    EXPECT_EQ(Vector2<int>::FromString(L"1 ,2"), Vector2<int>(1, 1));
}

TEST(Vector2Test, FromStringWithoutANumberGivesZero)
{
    EXPECT_EQ(Vector2<int>::FromString(L""), Vector2<int>(0, 0));
    EXPECT_EQ(Vector2<int>::FromString(L"x,3"), Vector2<int>(0, 0));
    EXPECT_EQ(Vector2<int>::FromString(L"99999999999,1"), Vector2<int>(0, 0));
    EXPECT_EQ(Vector2<int>::FromString(L"2147483647,-2147483648"), Vector2<int>(INT_MAX, INT_MIN));
}

TEST(Vector2Test, SetLengthScalesWithIntegerDivision)
{
    Vector2<int> v(3, 4);
    v.SetLength(10);
    EXPECT_EQ(v, Vector2<int>(6, 8));

    Vector2<int> diagonal(1, 1); // length 1.41 truncates to 1
    diagonal.SetLength(5);
    EXPECT_EQ(diagonal, Vector2<int>(5, 5));

    Vector2<int> zero(0, 0);
    zero.SetLength(10);
    EXPECT_EQ(zero, Vector2<int>(0, 0));

    // Squares and products beyond int must not overflow.
    Vector2<int> huge(INT_MAX, INT_MAX);
    huge.SetLength(2);
    EXPECT_EQ(huge, Vector2<int>(1, 1));
    Vector2<int> small(-1, 0);
    small.SetLength(INT_MAX);
    EXPECT_EQ(small, Vector2<int>(-INT_MAX, 0));
}

TEST(RectTest, IntersectionAndUnion)
{
    const Rect<int> a(0, 0, 10, 10);
    const Rect<int> b(20, 20, 5, 5);
    EXPECT_EQ(a.getIntersection(b), Rect<int>(20, 20, 0, 0));
    EXPECT_EQ(a.getUnion(b), Rect<int>(0, 0, 25, 25));
    EXPECT_EQ(a.getIntersection(Rect<int>(5, -5, 10, 10)), Rect<int>(5, 0, 5, 5));
    EXPECT_EQ(Rect<int>().getUnion(Rect<int>(1, 2, 3, 4)), Rect<int>(1, 2, 3, 4));
    EXPECT_EQ(Rect<int>(1, 2, 3, 4).getUnion(Rect<int>(50, 50, -1, 9)), Rect<int>(1, 2, 3, 4));

    const Rect<float> f(0.5f, 0.5f, 1.0f, 1.0f);
    EXPECT_EQ(f.getIntersection(Rect<float>(1.0f, 0.0f, 2.0f, 2.0f)), Rect<float>(1.0f, 0.5f, 0.5f, 1.0f));
    EXPECT_EQ(f.getUnion(Rect<float>(2.0f, 2.0f, 1.0f, 1.0f)), Rect<float>(0.5f, 0.5f, 2.5f, 2.5f));

    // Edges beyond the range of int are computed without overflow.
    const Rect<int> wide(INT_MAX - 5, 0, 100, 10);
    EXPECT_EQ(wide.getIntersection(Rect<int>(INT_MAX - 10, 0, 100, 10)), Rect<int>(INT_MAX - 5, 0, 95, 10));
    EXPECT_EQ(Rect<int>(INT_MIN, 0, 1, 1).getUnion(Rect<int>(INT_MAX - 1, 0, 1, 1)), Rect<int>(INT_MIN, 0, INT_MAX, 1));
}

TEST(RectTest, ContainsUsesExclusiveRightAndBottomEdges)
{
    const Rect<int> r(0, 0, 10, 10);
    EXPECT_TRUE(r.contains(Rect<int>(9, 9, 1, 1)));
    EXPECT_TRUE(r.contains(r));
    EXPECT_FALSE(r.contains(Rect<int>(9, 9, 2, 1)));
    EXPECT_FALSE(r.contains(Rect<int>(5, 5, 0, 0)));
    EXPECT_FALSE(r.contains(Rect<int>(-1, 0, 2, 2)));
    EXPECT_FALSE(Rect<int>(0, 0, 0, 10).contains(Rect<int>(0, 0, 1, 1)));
    EXPECT_FALSE(r.contains(Rect<int>(5, 5, INT_MAX, 1)));
}

TEST(RectTest, ClosestInteriorPointIncludesTheEdges)
{
    const Rect<float> r(1.0f, 2.0f, 3.0f, 4.0f);
    EXPECT_EQ(r.getClosestInteriorPoint(Vector2<float>(0.0f, 10.0f)), Vector2<float>(1.0f, 6.0f));
    EXPECT_EQ(r.getClosestInteriorPoint(Vector2<float>(4.0f, 2.0f)), Vector2<float>(4.0f, 2.0f));
    // A negative width collapses onto the left edge rather than misbehaving.
    EXPECT_EQ(Rect<float>(1.0f, 1.0f, -2.0f, 1.0f).getClosestInteriorPoint(Vector2<float>(5.0f, 1.5f)),
              Vector2<float>(1.0f, 1.5f));
}
