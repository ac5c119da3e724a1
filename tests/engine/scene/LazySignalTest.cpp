#include "scene/LazySignal.h"

#include <gtest/gtest.h>

#include <boost/signals2/connection.hpp>

#include <vector>

namespace
{

using Strata::LazySignal;

TEST(LazySignalTest, WithoutSlotsItIsEmptyAndCallsDoNothing)
{
    LazySignal<void(int)> signal;
    signal(1);
    signal.disconnect_all_slots();
    EXPECT_TRUE(signal.empty());
    EXPECT_EQ(0u, signal.num_slots());
}

TEST(LazySignalTest, SlotsHearCallsUntilTheirConnectionEnds)
{
    LazySignal<void(int, int)> signal;
    std::vector<int> heard;
    boost::signals2::connection first = signal.connect([&heard](int a, int b) { heard.push_back(a + b); });
    {
        boost::signals2::scoped_connection second = signal.connect([&heard](int a, int) { heard.push_back(-a); });
        EXPECT_EQ(2u, signal.num_slots());
        signal(2, 3);
    }
    signal(4, 5);
    EXPECT_EQ((std::vector<int>{5, -2, 9}), heard);

    first.disconnect();
    signal(6, 7);
    EXPECT_TRUE(signal.empty());
    signal.connect([&heard](int a, int) { heard.push_back(a); });
    signal.disconnect_all_slots();
    signal(8, 9);
    EXPECT_EQ(3u, heard.size());
}

} // namespace
