// The boiler controller's plant: the values it keeps and reports (in the byte images its messages
// carry), what the panel has set (set temperatures, programmes, time programs, labels, coding
// values) and a small physical model that makes the values live.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

template <size_t N> using CtlBytes = std::array<uint8_t, N>;

inline constexpr uint8_t CTL_CIRCUITS = 2;
inline constexpr uint8_t CTL_PROGRAMS = 3; // heating, hot water, circulation
inline constexpr uint8_t CTL_DAYS = 7;     // Monday .. Sunday
inline constexpr uint8_t CTL_PHASES = 4;
inline constexpr uint8_t CTL_UNUSED_TIME = 255;
inline constexpr uint8_t CTL_END_OF_DAY = 144; // 24:00 in 10-minute steps
inline constexpr size_t CTL_FAULT_RECORDS = 10;
inline constexpr size_t CTL_FAULT_RECORD_SIZE = 11;
inline constexpr size_t CTL_LABEL_CHARS = 20;
inline constexpr uint32_t CTL_NO_DATE = 0x010107B2; // 1 January 1970, packed

// Offsets in the circuit record (the panel's layout: 0..2 travel in message 0, 3..22 in message
// 1, 23..27 in message 2).
namespace CtlCircuit {
inline constexpr size_t ROOM_TEMP = 2; // signed half degrees
inline constexpr size_t MODE_WORD = 3; // u16: bits 0..2 programme, 3 economy, 4 party, 5 holiday
inline constexpr size_t DHW_SET = 7;
inline constexpr size_t DHW_MAX = 8;
inline constexpr size_t ROOM_SET = 9;
inline constexpr size_t ROOM_REDUCED = 10;
inline constexpr size_t PARTY_SET = 11;
inline constexpr size_t SLOPE = 12; // tenths
inline constexpr size_t LEVEL = 13; // signed kelvin
inline constexpr size_t HOLIDAY_START = 14;
inline constexpr size_t HOLIDAY_END = 18;
inline constexpr size_t FLOW_SET = 23; // unsigned half degrees
inline constexpr size_t RETURN_SET = 26;
} // namespace CtlCircuit

// Bits of the circuit mode word.
inline constexpr uint16_t CTL_MODE_PROGRAM = 0x0007;
inline constexpr uint16_t CTL_MODE_ECONOMY = 0x0008;
inline constexpr uint16_t CTL_MODE_PARTY = 0x0010;
inline constexpr uint16_t CTL_MODE_HOLIDAY = 0x0020;
inline constexpr uint16_t CTL_MODE_DHW_AUTO = 0x0040;
inline constexpr uint16_t CTL_MODE_CIRCULATION_AUTO = 0x0080;
inline constexpr uint8_t CTL_PROGRAM_ONLY_DHW = 0;
inline constexpr uint8_t CTL_PROGRAM_HEATING = 3;
inline constexpr uint8_t CTL_PROGRAM_STANDBY = 5;

// Status transfer: bytes 0..1 flags, then the measured values.
namespace CtlStatus {
inline constexpr size_t BOILER_TEMP = 2;
inline constexpr size_t DHW_TEMP = 3;
inline constexpr size_t TESTS = 5; // test and special functions running
inline constexpr size_t OUTSIDE_TEMP = 6;
inline constexpr size_t BYTE7 = 7;
inline constexpr size_t SLOT1 = 8; // per circuit: flow, return, flags, external control
} // namespace CtlStatus

// Status flags (bytes 0..1 as one little-endian word).
inline constexpr uint16_t CTL_FLAG_FAULT = 1u << 1;
inline constexpr uint16_t CTL_FLAG_BURNER = 1u << 2;
inline constexpr uint16_t CTL_FLAG_WINK = 1u << 3;
inline constexpr uint16_t CTL_FLAG_STORAGE_PUMP = 1u << 6;
inline constexpr uint16_t CTL_FLAG_CIRCULATION_PUMP = 1u << 7;
inline constexpr uint16_t CTL_FLAG_LOCKED_OUT = 1u << 8;
inline constexpr uint16_t CTL_FLAG_FAHRENHEIT = 1u << 9;
inline constexpr uint16_t CTL_FLAG_MAINTENANCE_HOURS = 1u << 11;
inline constexpr uint16_t CTL_FLAG_MAINTENANCE_INTERVAL = 1u << 12;
inline constexpr uint16_t CTL_FLAG_MAINTENANCE_DUE = 1u << 14;
inline constexpr uint16_t CTL_FLAG_PANEL_RESET = 1u << 15;

// Status byte 5: the test and special functions the controller runs.
inline constexpr uint8_t CTL_TEST_ACTUATOR = 1u << 2;
inline constexpr uint8_t CTL_TEST_FLUE_GAS = 1u << 3;
inline constexpr uint8_t CTL_TEST_FILLING = 1u << 4;
inline constexpr uint8_t CTL_TEST_VENTING = 1u << 5;
inline constexpr uint8_t CTL_TEST_COMMISSIONING = 1u << 6;
inline constexpr uint8_t CTL_TEST_COMMISSIONING_OPEN = 1u << 7;

// How long a test or special function runs unless the panel ends it first, in seconds.
inline constexpr uint32_t CTL_FLUE_GAS_SECONDS = 15 * 60;
inline constexpr uint32_t CTL_FILLING_SECONDS = 5 * 60;
inline constexpr uint32_t CTL_VENTING_SECONDS = 10 * 60;
inline constexpr uint32_t CTL_ACTUATOR_IDLE_SECONDS = 15 * 60;

using CtlRecord = CtlBytes<CTL_FAULT_RECORD_SIZE>;

struct CtlLabel {
    std::array<uint16_t, CTL_LABEL_CHARS> chars{}; // UTF-16, zero-filled
    uint8_t language = 0;
    bool operator==(const CtlLabel&) const = default;
};

// A coding parameter of one group, its factory value and the limits a write must keep.
struct CtlCodingParameter {
    uint8_t group;
    uint8_t address;
    uint8_t level; // 1: offered on coding level 1 too; 2: level 2 only
    int16_t value;
    int16_t minimum;
    int16_t maximum;
    int16_t factory;
};

// A participant on the controller's bus as the participant check finds it.
struct CtlParticipant {
    uint8_t number;
    uint8_t address;
    bool answers; // false: the check never succeeds
};

// The physical model behind the reported values, in degrees and seconds.
struct CtlPhysics {
    double outside = 0;
    double outsideDamped = 0;
    double boiler = 50;
    double dhw = 51;
    double collector = 48;
    std::array<double, CTL_CIRCUITS> room{20, 20};
    std::array<double, CTL_CIRCUITS> flow{28, 28};
    bool burner = true;
    bool charging = false;
    bool solarPump = false;
    uint32_t burnerSeconds = 0; // towards the next operating hour
    uint32_t fuelSeconds = 0;   // towards the next unit of fuel
    uint32_t solarPumpSeconds = 0;
    double solarWattSeconds = 0;  // towards the next watt-hour
    uint32_t energyWattHours = 0; // towards the next kilowatt-hour
    uint32_t stagnationSeconds = 0;
};

// What the panel set and what the controller runs, persisted or not.
struct CtlPlant {
    // Message images.
    CtlBytes<24> statistics{};
    std::array<CtlBytes<28>, CTL_CIRCUITS> circuits{};
    CtlBytes<7> settings{};
    CtlBytes<10> system{}; // bytes 6..9 (the clock) are filled when sent
    CtlBytes<11> burner{};
    CtlBytes<30> config{};
    CtlBytes<54> boiler{};
    CtlBytes<37> participant{};
    CtlBytes<25> solar{};
    CtlBytes<27> circuitDiag{};
    CtlBytes<29> extra{};
    CtlBytes<29> solarStats{};
    CtlBytes<20> status{};
    std::vector<CtlRecord> faults;  // current faults, newest first
    std::vector<CtlRecord> history; // the last faults, newest first
    std::array<CtlLabel, CTL_CIRCUITS> labels{};
    // Switching times in 10-minute steps: [set][program][day][phase][on, off].
    std::array<std::array<std::array<std::array<std::array<uint8_t, 2>, CTL_PHASES>, CTL_DAYS>,
                          CTL_PROGRAMS>,
               CTL_CIRCUITS>
        times{};
    std::vector<CtlCodingParameter> coding;
    std::vector<CtlParticipant> participants;
    std::vector<uint8_t> actuators; // the actuator codes of the actuator test

    // Stored limits that a preview may change until it is stored or cancelled.
    std::array<uint8_t, 2> fanSpeedStored{};
    uint8_t heatOutputStored = 0;

    // The controller's clock, local seconds since 1970.
    int64_t clock = 0;
    CtlPhysics physics;

    // Test and special functions: seconds left (0 = not running).
    uint32_t flueGasLeft = 0;
    uint32_t fillingLeft = 0;
    uint32_t ventingLeft = 0;
    uint32_t actuatorLeft = 0;
    uint8_t actuator = 0; // actuator driven in the actuator test
    uint32_t winkLeft = 0;
    // What the next coding and participant messages show: an index into `coding` and
    // `participants`, -1 for none (an empty group; the end of the participant list).
    int codingAnswer = -1;
    uint8_t codingLevel = 2; // the level the last coding request came from
    int participantAnswer = -1;
    std::array<uint32_t, CTL_CIRCUITS> partyLeft{}; // seconds until party mode ends, 0 = open
    // Messages 0..14 the plant changed by itself (party mode or a holiday over), for the change
    // mask; the bus takes them.
    uint16_t changed = 0;
    bool resetRequested = false; // one status transfer carries the reset request
    bool lockedOut = false;
};

// The demonstration plant as the panel shows it without a controller, at the given clock.
CtlPlant CTL_BuiltInPlant(int64_t clock);

// One second of plant life.
void CTL_PlantStep(CtlPlant& plant);

// Values the messages and the commands share.
uint16_t CTL_ModeWord(const CtlPlant& plant, uint8_t circuit); // circuit 1 or 2
void CTL_SetModeWord(CtlPlant& plant, uint8_t circuit, uint16_t word);
uint32_t CTL_Load32(const uint8_t* p);
void CTL_Store32(uint8_t* p, uint32_t v);
uint16_t CTL_StatusFlags(const CtlPlant& plant);
void CTL_SetStatusFlag(CtlPlant& plant, uint16_t flag, bool on);
int64_t CTL_PackedDateToDay(uint32_t packed); // day number since 1970, -1 for no date
uint32_t CTL_SecondsToPackedDate(uint32_t seconds);
// The heating curve: flow temperature for a room set temperature and an outside temperature.
double CTL_HeatingCurve(double slope, double level, double roomSet, double outside);

// Time bytes on the bus: hour in bits 3..7, ten-minute step in bits 0..2, 0xFF unused.
uint8_t CTL_PackTime(uint8_t steps);
uint8_t CTL_UnpackTime(uint8_t b);

// A fault in the list and the history: code, category (the part the panel names), help
// category (the help text it shows), time.
CtlRecord CTL_FaultRecord(uint8_t code, uint32_t time);
uint8_t CTL_FaultCategory(uint8_t code);
