#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "sim/host/bmp.h"
#include "sim/host/device.h"

namespace {

RgbImage image(int w, int h, uint32_t fill = 0xFFFFFF)
{
    RgbImage i;
    i.width = w;
    i.height = h;
    i.pixels.assign(size_t(w) * h, fill);
    return i;
}

void mark(RgbImage& i, int x0, int y0, int x1, int y1)
{
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            i.pixels[size_t(y) * i.width + x] = 0xFF0000;
}

TEST(Bitmap, EncodeAndDecodeRoundTrip)
{
    RgbImage a = image(5, 3);
    a.pixels[7] = 0x123456;
    const std::vector<uint8_t> file = BMP_Encode(a);
    RgbImage b;
    std::string error;
    ASSERT_TRUE(BMP_Decode(file.data(), file.size(), b, error)) << error;
    EXPECT_EQ(b.width, 5);
    EXPECT_EQ(b.height, 3);
    EXPECT_EQ(b.pixels, a.pixels);
}

TEST(Bitmap, DamagedFilesAreRefused)
{
    const std::vector<uint8_t> good = BMP_Encode(image(16, 16));
    RgbImage out;
    std::string error;
    struct Case {
        const char* what;
        size_t offset;
        uint8_t value;
    };
    for (const Case c : {Case{"magic", 0, 'X'}, Case{"compression", 30, 1},
                         Case{"bit depth", 28, 8}, Case{"huge width", 21, 0x10},
                         Case{"pixel offset", 11, 0xFF}, Case{"info size", 17, 0x10}}) {
        std::vector<uint8_t> bad = good;
        bad[c.offset] = c.value;
        EXPECT_FALSE(BMP_Decode(bad.data(), bad.size(), out, error)) << c.what;
    }
    for (size_t cut : {size_t{0}, size_t{20}, size_t{60}, good.size() - 1})
        EXPECT_FALSE(BMP_Decode(good.data(), cut, out, error)) << "truncated at " << cut;
}

TEST(Hardkeys, RunsExtendTheRegionDirectlyAboveOrStartANewOne)
{
    RgbImage m = image(40, 20);
    mark(m, 10, 2, 19, 5);   // 0
    mark(m, 2, 8, 7, 12);    // 1
    mark(m, 12, 8, 17, 12);  // 2, same top row: to the right
    mark(m, 22, 9, 30, 9);   // 3, one row lower
    mark(m, 24, 10, 28, 14); // extends 3 (overlaps the row above)
    bool tooMany = false;
    const auto regions = BMP_FindHardkeys(m, 0xFF0000, tooMany);
    ASSERT_EQ(regions.size(), 4u);
    EXPECT_FALSE(tooMany);
    EXPECT_EQ(regions[0].x0, 10);
    EXPECT_EQ(regions[0].y1, 5);
    EXPECT_EQ(regions[1].x0, 2);
    EXPECT_EQ(regions[2].x0, 12);
    EXPECT_EQ(regions[3].x0, 22);
    EXPECT_EQ(regions[3].x1, 30);
    EXPECT_EQ(regions[3].y1, 14);
}

TEST(Hardkeys, AtMost128Regions)
{
    RgbImage m = image(300, 3);
    for (int i = 0; i < 130; ++i)
        mark(m, 2 * i, 1, 2 * i, 1);
    bool tooMany = false;
    EXPECT_EQ(BMP_FindHardkeys(m, 0xFF0000, tooMany).size(), 128u);
    EXPECT_TRUE(tooMany);
}

TEST(DevicePicture, AnUnusablePictureInTheWorkingDirectoryFallsBackToTheBuiltInOne)
{
    char dir[] = "/tmp/panelsim-device-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    {
        std::ofstream("Device.bmp") << "BM not really a bitmap";
        std::ofstream("Device1.bmp") << "BM";
    }
    static std::string reported;
    reported.clear();
    const DevicePicture picture = DEVICE_Load([](const std::string& text) { reported += text; });
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(dir);
    EXPECT_EQ(picture.source, "built-in");
    EXPECT_EQ(picture.hardkeys.size(), 34u);
    EXPECT_NE(reported.find("Device.bmp"), std::string::npos) << reported;
}

TEST(DevicePicture, BuiltInPictureHasTheHardkeysOfThePanelInOrder)
{
    RgbImage front, marks;
    std::string error;
    DEVICE_DrawBuiltin(front, marks);
    DevicePicture picture;
    ASSERT_TRUE(DEVICE_FromImages(front, marks, picture, error)) << error;
    const auto& k = picture.hardkeys;
    ASSERT_EQ(k.size(), 34u);
    auto cx = [&](int i) { return (k[i].x0 + k[i].x1) / 2; };
    auto cy = [&](int i) { return (k[i].y0 + k[i].y1) / 2; };
    // The key cross: Up above OK above Down, Left and Right beside OK; Back above, Help and
    // Menu below.
    EXPECT_LT(cy(0), cy(1)); // Back above Up
    EXPECT_EQ(cx(1), cx(3)); // Up over OK
    EXPECT_EQ(cx(5), cx(3)); // Down under OK
    EXPECT_LT(cy(1), cy(3));
    EXPECT_LT(cy(3), cy(5));
    EXPECT_EQ(cy(2), cy(3)); // Left, OK, Right in a row
    EXPECT_EQ(cy(4), cy(3));
    EXPECT_LT(cx(2), cx(3));
    EXPECT_LT(cx(3), cx(4));
    EXPECT_GT(cy(6), cy(5)); // Help and Menu at the bottom
    EXPECT_EQ(cy(6), cy(7));
    EXPECT_LT(cx(6), cx(7));
    for (int i = 8; i < 34; ++i)
        EXPECT_GT(k[i].y0, k[7].y1) << "strip key " << i;
    for (int i = 9; i <= 12; ++i)
        EXPECT_GT(cx(i), cx(i - 1)) << "combinations in a row";
    EXPECT_EQ(picture.lcdScale, 2);
    EXPECT_EQ(picture.lcd.x1 - picture.lcd.x0 + 1, 480);
}

} // namespace
