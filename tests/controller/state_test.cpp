// The emulator's state file: a round trip, damaged and missing files, the older layout, how it
// is written, and the state kept from one run of the emulator to the next.
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "controller/controller_fixture.h"
#include "display/text.h"
#include "sim/controller/ctl_state.h"

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// A plant the panel has changed in every way the file keeps.
CtlPlant changedPlant()
{
    CtlPlant p = CTL_BuiltInPlant(CONTROLLER_CLOCK);
    p.system[4] = 61;
    p.system[5] = 7;
    CTL_SetStatusFlag(p, CTL_FLAG_FAHRENHEIT, true);
    p.settings[5] = 12;
    p.settings[6] = 150;
    p.circuits[0][CtlCircuit::ROOM_SET] = 22;
    p.circuits[1][CtlCircuit::LEVEL] = static_cast<uint8_t>(-7);
    p.circuits[1][CtlCircuit::DHW_SET] = 44;
    CTL_Store32(&p.circuits[0][CtlCircuit::HOLIDAY_START], 0x0F0707EA);
    CTL_SetModeWord(p, 1, static_cast<uint16_t>(CTL_ModeWord(p, 1) | CTL_MODE_HOLIDAY));
    p.times[1][2][6][3] = {0, 144};
    p.labels[1].chars = {u'K', u'ü', u'c', u'h', u'e'};
    p.labels[1].language = 3;
    p.coding[3].value = static_cast<int16_t>(p.coding[3].maximum);
    p.statistics[14] = 0x42;
    p.history.push_back(CTL_FaultRecord(0x30, 1767600000));
    return p;
}

bool samePanelState(const CtlPlant& a, const CtlPlant& b)
{
    return a.system[4] == b.system[4] && a.system[5] == b.system[5] &&
           CTL_StatusFlags(a) == CTL_StatusFlags(b) && a.settings == b.settings &&
           a.circuits == b.circuits && a.times == b.times && a.labels == b.labels &&
           a.statistics == b.statistics && a.history == b.history && [&] {
               for (size_t i = 0; i < a.coding.size(); ++i)
                   if (a.coding[i].value != b.coding[i].value) return false;
               return true;
           }();
}

TEST(ControllerState, ARoundTripKeepsWhatThePanelSent)
{
    StateFolder folder;
    const std::string path = folder.file("deep/er/controller.state");
    const CtlPlant written = changedPlant();
    std::string error;
    ASSERT_TRUE(CTL_WriteStateFile(path, written, error)) << error;
    CtlPlant read = CTL_BuiltInPlant(CONTROLLER_CLOCK);
    const CtlStateResult r = CTL_ReadStateFile(path, read);
    EXPECT_EQ(r.read, CtlStateRead::Loaded) << r.problem;
    EXPECT_EQ(r.version, CTL_STATE_VERSION);
    EXPECT_TRUE(samePanelState(read, written));
}

TEST(ControllerState, IsWrittenWholeWithMode0600AndNoTemporaryFileLeft)
{
    StateFolder folder;
    const std::string path = folder.file("controller.state");
    std::string error;
    ASSERT_TRUE(CTL_WriteStateFile(path, changedPlant(), error)) << error;
    struct stat s {};
    ASSERT_EQ(stat(path.c_str(), &s), 0);
    EXPECT_EQ(s.st_mode & 0777, 0600u);
    EXPECT_EQ(readFile(path), CTL_StateText(changedPlant()));
    size_t files = 0;
    for (const auto& e :
         std::filesystem::directory_iterator(std::filesystem::path(path).parent_path()))
        files += e.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 1u);

    // A write that cannot be done leaves the file that was there.
    const std::string blocked = folder.file("controller.state/inside");
    EXPECT_FALSE(CTL_WriteStateFile(blocked, CTL_BuiltInPlant(0), error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(readFile(path), CTL_StateText(changedPlant()));
}

TEST(ControllerState, AMissingFileLeavesTheBuiltInValues)
{
    StateFolder folder;
    CtlPlant p = CTL_BuiltInPlant(CONTROLLER_CLOCK);
    EXPECT_EQ(CTL_ReadStateFile(folder.file("none"), p).read, CtlStateRead::Missing);
    EXPECT_TRUE(samePanelState(p, CTL_BuiltInPlant(CONTROLLER_CLOCK)));
}

std::string withChecksum(std::string body)
{
    // The checksum of the current layout, for files that are whole but wrong inside.
    uint32_t h = 2166136261u;
    for (unsigned char c : body) {
        h ^= c;
        h *= 16777619u;
    }
    char sum[32];
    snprintf(sum, sizeof sum, "checksum %08X\n", h);
    return body + sum;
}

TEST(ControllerState, ADamagedFileIsReadNotAtAll)
{
    const std::string good = CTL_StateText(changedPlant());
    const std::string body = good.substr(0, good.rfind("checksum "));
    std::string flipped = good;
    flipped[good.find("room 22") + 5] = '3';
    const struct {
        const char* name;
        std::string text;
    } damaged[] = {
        {"empty", ""},
        {"cut short", good.substr(0, good.size() / 2)},
        {"a changed digit", flipped},
        {"not a state file", "[settings]\nlanguage=1\n"},
        {"a newer layout", withChecksum("panelsim controller state\nversion 9\n")},
        {"a value outside its limits", withChecksum(body + "contrast 250\n")},
        {"an unknown item", withChecksum(body + "colour blue\n")},
        {"a coding value outside its limits", withChecksum(body + "coding 3 8F 9\n")},
    };
    StateFolder folder;
    for (const auto& d : damaged) {
        SCOPED_TRACE(d.name);
        const std::string path = folder.file("controller.state");
        writeFile(path, d.text);
        CtlPlant p = CTL_BuiltInPlant(CONTROLLER_CLOCK);
        const CtlStateResult r = CTL_ReadStateFile(path, p);
        EXPECT_EQ(r.read, CtlStateRead::Damaged);
        EXPECT_FALSE(r.problem.empty());
        EXPECT_TRUE(samePanelState(p, CTL_BuiltInPlant(CONTROLLER_CLOCK))) << "nothing half-read";
    }
}

TEST(ControllerState, TheOlderLayoutIsRead)
{
    // Version 1 kept display settings, the circuits without their hot-water value and the time
    // programs, without a checksum.
    CtlPlant p = CTL_BuiltInPlant(CONTROLLER_CLOCK);
    std::string times;
    for (int day = 0; day < 7; ++day)
        times += " 42 120 255 255 255 255 255 255";
    const std::string v1 = "panelsim controller state\nversion 1\ncontrast 33\nlanguage 4\n"
                           "circuit 1 mode 4036 room 21 reduced 15 party 23 slope 12 level 2 "
                           "holiday 010107B2010107B2\n"
                           "times 2 heating" +
                           times + "\n";
    const CtlStateResult r = CTL_ParseState(v1, p);
    ASSERT_EQ(r.read, CtlStateRead::Loaded) << r.problem;
    EXPECT_EQ(r.version, 1);
    EXPECT_EQ(p.system[4], 33);
    EXPECT_EQ(p.system[5], 4);
    EXPECT_EQ(p.circuits[0][CtlCircuit::ROOM_SET], 21);
    EXPECT_EQ(p.circuits[0][CtlCircuit::LEVEL], 2);
    EXPECT_EQ(p.circuits[0][CtlCircuit::DHW_SET], 50) << "not in the older layout: built in";
    EXPECT_EQ(p.times[1][0][0][0][0], 42);
    EXPECT_EQ(p.times[1][0][0][1][0], CTL_UNUSED_TIME);
    EXPECT_EQ(p.labels, CTL_BuiltInPlant(0).labels);
}

class ControllerStateFile : public ControllerPanel {};

TEST_F(ControllerStateFile, ADamagedFileGivesOneClearMessageAndTheBuiltInValues)
{
    StateFolder folder;
    const std::string path = folder.file("controller.state");
    writeFile(path, "panelsim controller state\nversion 2\ncontrast 44\n");
    startToBasicDisplay(path);
    size_t messages = 0;
    for (const std::string& l : reports())
        messages += l.find("state file") != std::string::npos ? 1 : 0;
    EXPECT_EQ(messages, 1u) << allReports();
    EXPECT_TRUE(reported("controller state file " + path + " is damaged (line 3: cut short"))
        << allReports();
    EXPECT_TRUE(reported("starting from the built-in values"));
    EXPECT_EQ(DAT_GetDisplayContrast(), 26);
}

TEST_F(ControllerStateFile, WhatThePanelSentIsThereInTheNextRun)
{
    StateFolder folder;
    const std::string path = folder.file("controller.state");
    startToBasicDisplay(path);
    EXPECT_TRUE(CTL_SaveState()) << "nothing to write yet";
    EXPECT_FALSE(std::filesystem::exists(path));
    DAT_SelectCircuit(2);
    DIS_SendRoomSetTempReduced(12);
    DIS_SendCircuitLabel(2, "Werkstatt");
    DIS_SendCodingWrite(3, 2, 0x80, 7, 1);
    DAT_SetDisplayContrast(55);
    DIS_SendDisplaySettings();
    run(5000);
    std::string error;
    ASSERT_TRUE(CTL_SaveState(&error)) << error;
    ASSERT_TRUE(std::filesystem::exists(path));
    CTL_Destroy();

    // The next run of the emulator, and a panel that starts from scratch.
    startToBasicDisplay(path);
    EXPECT_EQ(DAT_GetDisplayContrast(), 55);
    DAT_SelectCircuit(2);
    EXPECT_EQ(DAT_GetRoomSetTempReduced(), 12);
    char text[61] = {};
    DAT_GetCircuitLabel(TXT_HEIZKREIS_2, text, sizeof text);
    EXPECT_STREQ(text, "Werkstatt");
    DIS_SendCodingRead(3, 2, 0x80, 1);
    run(3000);
    EXPECT_EQ(DAT_GetCodingEntryValue(), 7);
}

} // namespace
