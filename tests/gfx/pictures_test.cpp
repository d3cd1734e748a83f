#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "gfx/gfx.h"
#include "pictures_index.h"

namespace {

// Where a screen draws a picture and the area it may cover there (inclusive).
struct Placement {
    const GFX_Bitmap* bitmap;
    const char* name;
    uint16_t width, height;
    int16_t x, y;
    GFX_Rect area;
};

// The operating programme pictures sit centred right of the end-user menu's list.
constexpr int16_t programX(uint16_t width) { return static_cast<int16_t>((400 - width) / 2); }
constexpr int16_t programY(uint16_t height) { return static_cast<int16_t>((159 - height) / 2); }

constexpr GFX_Rect BASIC_PICTURE_AREA{161, 28, 239, 131};    // right of the line at x 160
constexpr GFX_Rect END_USER_PICTURE_AREA{161, 66, 239, 131}; // below the value at y 41-65
constexpr GFX_Rect PROGRAM_AREA{161, 28, 239, 131};
constexpr GFX_Rect MESSAGE_AREA{90, 55, 149, 130};
constexpr GFX_Rect MENU_ICON_AREA{216, 30, 237, 51}; // first menu line, inside the selection bar
constexpr GFX_Rect FLAME_AREA{159, 100, 239, 131};
constexpr GFX_Rect HEADER_ICON_AREA{200, 0, 239, 26};

#define PIC(name) &PIC_##name, "PIC_" #name

// Every picture with the size and position its screen draws it at.
const std::array PLACEMENTS{
    Placement{PIC(ItemStoerung), 45, 45, 176, 57, BASIC_PICTURE_AREA},
    Placement{PIC(ItemWartung), 45, 45, 176, 57, BASIC_PICTURE_AREA},
    Placement{PIC(ItemHeizung), 45, 45, 176, 57, BASIC_PICTURE_AREA},
    Placement{PIC(ItemWarmwasser), 45, 45, 176, 57, BASIC_PICTURE_AREA},
    Placement{PIC(ItemSolar), 45, 45, 176, 57, BASIC_PICTURE_AREA},
    Placement{PIC(ItemInformation), 45, 45, 176, 57, BASIC_PICTURE_AREA},
    Placement{PIC(ItemPruefbetrieb), 45, 45, 176, 57, BASIC_PICTURE_AREA},
    Placement{PIC(ItemHilfe), 45, 45, 176, 57, BASIC_PICTURE_AREA},
    Placement{PIC(Flame), 28, 22, 185, 104, FLAME_AREA},
    Placement{PIC(IconStoerung), 22, 22, 216, 30, MENU_ICON_AREA},
    Placement{PIC(IconWartung), 22, 22, 216, 30, MENU_ICON_AREA},
    Placement{PIC(IconHeizung), 22, 22, 216, 30, MENU_ICON_AREA},
    Placement{PIC(IconWarmwasser), 22, 22, 216, 30, MENU_ICON_AREA},
    Placement{PIC(IconInformation), 22, 22, 216, 30, MENU_ICON_AREA},
    Placement{PIC(IconEinstellungen), 22, 22, 216, 30, MENU_ICON_AREA},
    Placement{PIC(IconService), 22, 22, 216, 30, MENU_ICON_AREA},
    Placement{PIC(RoomTemperature), 45, 45, 177, 76, END_USER_PICTURE_AREA},
    Placement{PIC(Party), 45, 45, 177, 76, END_USER_PICTURE_AREA},
    Placement{PIC(Economy), 45, 45, 177, 76, END_USER_PICTURE_AREA},
    Placement{PIC(ProgramStandby), 56, 56, programX(56), programY(56), PROGRAM_AREA},
    Placement{PIC(ProgramHotWaterOnly), 56, 56, programX(56), programY(56), PROGRAM_AREA},
    Placement{PIC(ProgramHeatingAndHotWater), 74, 56, programX(74), programY(56), PROGRAM_AREA},
    Placement{PIC(Fault), 60, 60, 90, 55, MESSAGE_AREA},
    Placement{PIC(Maintenance), 60, 60, 90, 55, MESSAGE_AREA},
    Placement{PIC(FlueGasOn), 20, 20, 216, 3, HEADER_ICON_AREA},
    Placement{PIC(FlueGasOff), 20, 20, 216, 3, HEADER_ICON_AREA},
    Placement{PIC(CodingSymbol), 22, 22, 217, 2, HEADER_ICON_AREA},
};

#undef PIC

bool pixel(const GFX_Bitmap& b, int x, int y)
{
    return b.bits[y * b.bytesPerRow + x / 8] & (0x80 >> (x % 8));
}

class Pictures : public testing::TestWithParam<Placement> {};

TEST_P(Pictures, HaveTheSizeTheirScreenDrawsAndOneBitRows)
{
    const Placement& p = GetParam();
    EXPECT_EQ(p.bitmap->width, p.width);
    EXPECT_EQ(p.bitmap->height, p.height);
    EXPECT_EQ(p.bitmap->bytesPerRow, (p.width + 7) / 8);
    EXPECT_EQ(p.bitmap->bitsPerPixel, 1);
    ASSERT_NE(p.bitmap->bits, nullptr);
}

TEST_P(Pictures, FitTheAreaTheirScreenLeavesForThem)
{
    const Placement& p = GetParam();
    EXPECT_GE(p.x, p.area.x0);
    EXPECT_GE(p.y, p.area.y0);
    EXPECT_LE(p.x + p.bitmap->width - 1, p.area.x1);
    EXPECT_LE(p.y + p.bitmap->height - 1, p.area.y1);
}

TEST_P(Pictures, SetNoPaddingBitsAndAreNotEmpty)
{
    const GFX_Bitmap& b = *GetParam().bitmap;
    int set = 0;
    for (int y = 0; y < b.height; ++y) {
        for (int x = 0; x < b.width; ++x)
            set += pixel(b, x, y);
        for (int x = b.width; x < b.bytesPerRow * 8; ++x)
            EXPECT_FALSE(pixel(b, x, y)) << "padding bit " << x << " of row " << y;
    }
    EXPECT_GT(set, 0);
}

INSTANTIATE_TEST_SUITE_P(AllScreens, Pictures, testing::ValuesIn(PLACEMENTS),
                         [](const auto& info) { return std::string(info.param.name + 4); });

TEST(PictureSet, EveryGeneratedPictureHasAPlaceOnAScreen)
{
    for (const PIC_IndexEntry& e : PIC_INDEX) {
        bool placed = false;
        for (const Placement& p : PLACEMENTS)
            placed |= p.bitmap == e.bitmap;
        EXPECT_TRUE(placed) << e.name << " is drawn nowhere";
    }
    EXPECT_EQ(std::size(PIC_INDEX), PLACEMENTS.size());
}

// Under "Heizung", "Warmwasser" and "Prüfbetrieb" the basic display clears y 100-131 for the
// flame: the pictures must leave those rows empty or they lose their bottom.
TEST(PictureSet, ItemPicturesWithTheFlameLeaveItsRowsEmpty)
{
    constexpr int16_t PICTURE_Y = 57;
    for (const GFX_Bitmap* b : {&PIC_ItemHeizung, &PIC_ItemWarmwasser, &PIC_ItemPruefbetrieb})
        for (int y = FLAME_AREA.y0 - PICTURE_Y; y < b->height; ++y)
            for (int x = 0; x < b->width; ++x)
                EXPECT_FALSE(pixel(*b, x, y)) << "pixel " << x << ", " << y;
}

// ---- the generator refuses a broken source with "file:line: message"

namespace fs = std::filesystem;

struct PicgenRun {
    int status;
    std::string output;
};

PicgenRun runPicgen(const fs::path& source, const fs::path& out)
{
    const std::string command = std::string(PANELSIM_BINARY_DIR) + "/tools/picgen/picgen --out " +
                                out.string() + " " + source.string() + " 2>&1";
    PicgenRun run{-1, {}};
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe))
        run.output += buffer;
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class Generator : public testing::Test {
  protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() /
               ("picgen_test_" + std::to_string(::getpid()) + "_" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "out");
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path write(const std::string& fileName, const std::string& content)
    {
        const fs::path path = dir_ / fileName;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    PicgenRun run(const fs::path& source) { return runPicgen(source, dir_ / "out"); }
    std::string generated(const char* name)
    {
        std::ifstream in(dir_ / "out" / name);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    fs::path dir_;
};

TEST_F(Generator, PacksRowsMostSignificantBitLeftmostWithClearPadding)
{
    const fs::path source = write("test_mark.pic", "// a test mark\nsize 10 2\n"
                                                   "#........#\n"
                                                   ".########.\n");
    const PicgenRun r = run(source);
    ASSERT_EQ(r.status, 0) << r.output;
    const std::string cpp = generated("pictures.cpp");
    EXPECT_NE(cpp.find("0x80, 0x40,"), std::string::npos) << cpp;
    EXPECT_NE(cpp.find("0x7f, 0x80,"), std::string::npos) << cpp;
    EXPECT_NE(cpp.find("PIC_TestMark{10, 2, 2, 1, TestMarkBits}"), std::string::npos) << cpp;
    EXPECT_NE(generated("pictures.h").find("extern const GFX_Bitmap PIC_TestMark;"),
              std::string::npos);
}

struct BrokenSource {
    const char* what;
    const char* fileName;
    const char* content;
    const char* message; // expected start of the output, after the file name
};

class BrokenSources : public Generator, public testing::WithParamInterface<BrokenSource> {};

TEST_P(BrokenSources, StopWithFileAndLine)
{
    const BrokenSource& c = GetParam();
    const fs::path source = write(c.fileName, c.content);
    const PicgenRun r = run(source);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.output.rfind(source.string() + ":" + c.message, 0), 0u) << r.output;
}

const BrokenSource BROKEN[] = {
    {"ShortRow", "mark.pic", "// m\nsize 3 2\n###\n##\n", "4: row has 2 pixels, size says 3"},
    {"LongRow", "mark.pic", "// m\nsize 3 2\n####\n###\n", "3: row has 4 pixels, size says 3"},
    {"ForeignCharacter", "mark.pic", "// m\nsize 3 1\n#x#\n", "3: column 2: 'x' is not a pixel"},
    {"TooFewRows", "mark.pic", "// m\nsize 2 3\n##\n##\n", "5: 2 rows, size says 3"},
    {"TooManyRows", "mark.pic", "// m\nsize 2 1\n##\n##\n", "4: more rows than the size says"},
    {"NoSize", "mark.pic", "// m\n##\n", "2: expected a '//' comment"},
    {"BadSize", "mark.pic", "// m\nsize 2\n##\n", "2: expected \"size W H\""},
    {"TooLarge", "mark.pic", "// m\nsize 241 1\n", "2: size 241 x 1 does not fit"},
    {"NoComment", "mark.pic", "size 1 1\n#\n", "1: a comment line"},
    {"Empty", "mark.pic", "// m\nsize 2 1\n..\n", "2: the picture has no set pixel"},
    {"BadFileName", "Mark-1.pic", "// m\nsize 1 1\n#\n", "1: file name must be"},
};

INSTANTIATE_TEST_SUITE_P(Generator, BrokenSources, testing::ValuesIn(BROKEN),
                         [](const auto& info) { return std::string(info.param.what); });

} // namespace
