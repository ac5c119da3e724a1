#include "platform/linux/FrameViewport.h"

#include <gtest/gtest.h>

using namespace Linux;

TEST(FrameViewportTest, ScalesToFitWithBarsAndMapsTheMouseBack)
{
    const sFrameViewport same = ComputeFrameViewport(800, 600);
    EXPECT_EQ(same.x, 0);
    EXPECT_EQ(same.width, 800);

    const sFrameViewport wide = ComputeFrameViewport(1920, 1080); // bars left and right
    EXPECT_EQ(wide.height, 1080);
    EXPECT_EQ(wide.width, 1440);
    EXPECT_EQ(wide.x, 240);
    EXPECT_EQ(wide.y, 0);

    const sFrameViewport tall = ComputeFrameViewport(1024, 1024); // bars above and below
    EXPECT_EQ(tall.width, 1024);
    EXPECT_EQ(tall.height, 768);
    EXPECT_EQ(tall.y, 128);

    int x = 0, y = 0;
    MapWindowToFrame(wide, 240, 0, &x, &y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    MapWindowToFrame(wide, 1679, 1079, &x, &y);
    EXPECT_EQ(x, 799);
    EXPECT_EQ(y, 599);
    MapWindowToFrame(wide, 239, 540, &x, &y);
    EXPECT_EQ(x, -1) << "a position in the bar lies outside the frame";
    MapWindowToFrame(ComputeFrameViewport(1024, 768), 512, 384, &x, &y);
    EXPECT_EQ(x, 400);
    EXPECT_EQ(y, 300);

    const sFrameViewport none = ComputeFrameViewport(0, -3);
    EXPECT_EQ(none.width, 800);
    EXPECT_EQ(none.height, 600);
}
