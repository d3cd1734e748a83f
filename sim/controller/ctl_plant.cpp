// The controller's plant: the factory values it starts with and one second of its life.
#include "sim/controller/ctl_plant.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// The demonstration plant: a wall-mounted boiler with two heating circuits (the second with a
// mixer), hot water with a circulation pump, and a solar module. These are the values the
// panel shows without a controller, so the screens look the same when the controller takes
// over; only the module byte differs: this controller has its LON module fitted, so that the
// participant check has a network to look at.
constexpr CtlBytes<30> CONFIG{0x00, 0x20, 0x06, 0x03, 0x01, 0x00, 0x14, 0x00, 0x00, 0x00,
                              0x00, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00,
                              0x01, 0x00, 0x00, 0xC9, 0x55, 0xCB, 0x00, 0x00, 0x00, 0xA0};
constexpr CtlBytes<10> SYSTEM{0x03, 0x00, 0x66, 0x40, 0x1A, 0x00, 0, 0, 0, 0};
constexpr CtlBytes<20> STATUS{0x84, 0x00, 0x64, 0x66, 0x28, 0x00, 0x00, 0x43, 0x38, 0x41,
                              0xC5, 0x00, 0x38, 0x00, 0xF5, 0x00, 0x00, 0x00, 0x00, 0x00};
constexpr CtlBytes<28> CIRCUIT1{0x00, 0x00, 0x28, 0xC4, 0x0F, 0x00, 0x32, 0x32, 0x3C, 0x14,
                                0x03, 0x14, 0x0E, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                                0x00, 0x00, 0x00, 0x89, 0x0C, 0x8C, 0x00, 0x28};
constexpr CtlBytes<28> CIRCUIT2{0x00, 0x00, 0x28, 0x04, 0x4F, 0x00, 0x32, 0x32, 0x3C, 0x14,
                                0x03, 0x14, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                                0x00, 0x00, 0x00, 0x3A, 0x0C, 0x80, 0x00, 0x06};
constexpr CtlBytes<7> SETTINGS{0x33, 0x14, 0x55, 0x05, 0x04, 0x05, 0x41};
constexpr CtlBytes<24> STATISTICS{0x00, 0x32, 0xB0, 0x0C, 0x00, 0x00, 0x84, 0x03,
                                  0x00, 0x00, 0x59, 0x01, 0x00, 0x00, 0x91, 0x08,
                                  0x00, 0x00, 0x02, 0x7C, 0x15, 0x00, 0x00, 0x08};
constexpr CtlBytes<11> BURNER{0x0A, 0x3C, 0x20, 0x3C, 0x62, 0x4D, 0x00, 0x00, 0x00, 0x00, 0x00};
constexpr CtlBytes<25> SOLAR{0xEC, 0x04, 0x00, 0x00, 0x58, 0x02, 0x00, 0x4E, 0x60,
                             0x00, 0x28, 0x63, 0x3C, 0x58, 0x1B, 0x00, 0x00, 0x00,
                             0x00, 0x00, 0x00, 0x1E, 0x01, 0x00, 0x00};
constexpr uint32_t EXTRA[] = {5000, 1700, 2300, 0, 7000, 6500, 3000};
constexpr const char* LABELS[] = {"Erdgeschoss", "Obergeschoss"};

struct OffsetByte {
    uint8_t offset;
    uint8_t value;
};
constexpr OffsetByte BOILER[] = {{0, 0x43},  {1, 0x03},  {2, 8},     {3, 0xFF},  {13, 0x10},
                                 {36, 0x4E}, {37, 0x33}, {38, 0x44}, {39, 0x0D}, {40, 0x59},
                                 {41, 0x66}, {42, 0x41}, {45, 1},    {46, 8},    {51, 2}};

// Offsets of the boiler values (message 15) the controller itself changes.
constexpr size_t BOILER_CHECK_RESULT = 3;
constexpr size_t BOILER_HEAT_OUTPUT = 38;

// Statistics offsets.
constexpr size_t STAT_DAMPED_OUTSIDE = 0;
constexpr size_t STAT_FUEL = 2;
constexpr size_t STAT_HOURS_1 = 6;
constexpr size_t STAT_STARTS = 14;
constexpr size_t STAT_MAINTENANCE_HOURS = 19;

// Solar offsets.
constexpr size_t SOLAR_ENERGY = 0;
constexpr size_t SOLAR_PUMP_HOURS = 4;
constexpr size_t SOLAR_FLAGS = 7;
constexpr size_t SOLAR_COLLECTOR = 8;
constexpr size_t SOLAR_DHW = 10;
constexpr size_t SOLAR_PUMP_SPEED = 12;
constexpr size_t SOLAR_TODAY = 13;
constexpr size_t SOLAR_STAGNATION = 17;
constexpr size_t SOLAR_STARTS = 21;

// The factory phase of each program: heating 06:00 to 22:00, hot water and circulation 05:30
// to 22:00.
constexpr std::array<std::array<uint8_t, 2>, CTL_PROGRAMS> FACTORY_PHASES{
    {{36, 132}, {33, 132}, {33, 132}}};

// The coding parameters of this controller by group (1 boiler, 2 hot water, 3 general, 4 and 5
// the heating circuits, 9 solar): address, level, factory value and limits.
struct CodingRow {
    uint8_t address;
    uint8_t level;
    int16_t factory, minimum, maximum;
};
constexpr CodingRow BOILER_CODING[] = {
    {0x01, 1, 1, 1, 2},  {0x07, 1, 0, 0, 15}, {0x0C, 2, 0, 0, 1},   {0x21, 1, 0, 0, 100},
    {0x23, 1, 0, 0, 24}, {0x24, 1, 0, 0, 3},  {0x2F, 1, 0, 0, 2},   {0x30, 2, 1, 0, 3},
    {0x32, 1, 0, 0, 15}, {0x34, 1, 0, 0, 15}, {0x38, 2, 0, 0, 255}, {0x4A, 2, 0, 0, 1},
};
constexpr CodingRow DHW_CODING[] = {
    {0x56, 2, 0, 0, 2},    {0x58, 2, 0, 0, 95}, {0x59, 2, 2, 1, 10},  {0x5E, 2, 0, 0, 2},
    {0x60, 2, 20, 10, 50}, {0x62, 2, 2, 0, 15}, {0x67, 1, 40, 0, 95}, {0x73, 1, 0, 0, 6},
};
constexpr CodingRow GENERAL_CODING[] = {
    {0x00, 1, 2, 1, 10}, {0x11, 2, 0, 0, 9}, {0x51, 1, 0, 0, 2},    {0x52, 2, 0, 0, 2000},
    {0x77, 1, 1, 1, 99}, {0x7F, 1, 1, 0, 1}, {0x80, 2, 1, 0, 50},   {0x8F, 1, 0, 0, 2},
    {0x91, 1, 0, 0, 3},  {0x97, 2, 0, 0, 2}, {0x9B, 1, 70, 0, 127},
};
constexpr CodingRow CIRCUIT_CODING[] = {
    {0xA2, 1, 2, 0, 15},    {0xA5, 1, 5, 0, 15},     {0xA6, 1, 36, 5, 36},   {0xA7, 1, 0, 0, 1},
    {0xA9, 1, 7, 0, 15},    {0xB0, 1, 0, 0, 3},      {0xB5, 1, 0, 0, 8},     {0xC5, 1, 20, 1, 127},
    {0xC6, 1, 74, 10, 127}, {0xD5, 1, 0, 0, 1},      {0xE6, 1, 100, 0, 100}, {0xE7, 1, 30, 0, 100},
    {0xF1, 1, 0, 0, 15},    {0xF2, 1, 8, 0, 12},     {0xF6, 1, 0, 0, 1},     {0xF7, 1, 0, 0, 1},
    {0xF8, 1, -5, -61, 10}, {0xF9, 1, -14, -61, 10}, {0xFA, 1, 20, 0, 50},   {0xFB, 1, 30, 0, 150},
};
constexpr CodingRow SOLAR_CODING[] = {
    {0x02, 2, 7, 2, 30}, {0x03, 2, 3, 1, 29},   {0x08, 1, 60, 10, 90},
    {0x0A, 1, 0, 0, 5},  {0x0F, 1, 70, 1, 255}, {0x20, 2, 0, 0, 9},
};

template <size_t N> void addCoding(CtlPlant& p, uint8_t group, const CodingRow (&rows)[N])
{
    for (const CodingRow& r : rows)
        p.coding.push_back({group, r.address, r.level, r.factory, r.minimum, r.maximum, r.factory});
}

// The network the participant check finds: the boiler control unit, this panel, the mixer
// module of circuit 2 and a remote control that no longer answers.
constexpr CtlParticipant PARTICIPANTS[] = {
    {1, 0x01, true}, {8, 0x08, true}, {10, 0x0A, true}, {21, 0x15, false}};

// The actuators of this plant for the actuator test: single-stage burner, internal pump, the
// diverter valve, the mixer circuit's pump and mixer, the outputs and pumps, the solar pump.
constexpr uint8_t ACTUATORS[] = {0xC2, 4,  5,  6,  7,  40,   41,   42,
                                 11,   12, 13, 14, 15, 0xC4, 0xC5, 0xC6};

double clampTo(double v, double low, double high) { return std::min(std::max(v, low), high); }

uint8_t halfDegrees(double celsius)
{
    return static_cast<uint8_t>(std::lround(clampTo(celsius, 0, 127.5) * 2));
}

uint8_t signedHalfDegrees(double celsius)
{
    return static_cast<uint8_t>(static_cast<int8_t>(std::lround(clampTo(celsius, -64, 63.5) * 2)));
}

void add32(uint8_t* p, uint32_t n) { CTL_Store32(p, CTL_Load32(p) + n); }
void add16(uint8_t* p, uint16_t n)
{
    const uint16_t v = static_cast<uint16_t>(p[0] | p[1] << 8);
    const uint16_t r = static_cast<uint16_t>(v + n);
    p[0] = static_cast<uint8_t>(r);
    p[1] = static_cast<uint8_t>(r >> 8);
}

int weekday(int64_t clock) { return static_cast<int>((clock / 86400 + 3) % 7); } // 0 Monday
int stepOfDay(int64_t clock) { return static_cast<int>(clock % 86400 / 600); }

bool phaseActive(const CtlPlant& p, uint8_t set, uint8_t program)
{
    const int day = weekday(p.clock);
    const int t = stepOfDay(p.clock);
    for (const auto& phase : p.times[set][program][day])
        if (phase[0] != CTL_UNUSED_TIME && phase[1] != CTL_UNUSED_TIME && phase[0] <= t &&
            t < phase[1])
            return true;
    return false;
}

bool holidayRunning(const CtlPlant& p, const CtlBytes<28>& record)
{
    const int64_t departure = CTL_PackedDateToDay(CTL_Load32(&record[CtlCircuit::HOLIDAY_START]));
    const int64_t back = CTL_PackedDateToDay(CTL_Load32(&record[CtlCircuit::HOLIDAY_END]));
    const int64_t today = p.clock / 86400;
    return departure >= 0 && back >= 0 && departure < today && today < back;
}

// The room set temperature the circuit heats to now; negative when it does not heat.
double roomTarget(const CtlPlant& p, uint8_t c)
{
    const CtlBytes<28>& r = p.circuits[c];
    const uint16_t mode = CTL_ModeWord(p, static_cast<uint8_t>(c + 1));
    const uint8_t program = mode & CTL_MODE_PROGRAM;
    if (program == CTL_PROGRAM_ONLY_DHW || program == CTL_PROGRAM_STANDBY) return -1;
    if (mode & CTL_MODE_PARTY) return r[CtlCircuit::PARTY_SET];
    if (holidayRunning(p, r) || (mode & CTL_MODE_ECONOMY)) return r[CtlCircuit::ROOM_REDUCED];
    return phaseActive(p, c, 0) ? r[CtlCircuit::ROOM_SET] : r[CtlCircuit::ROOM_REDUCED];
}

// Hot water drawn in the morning and in the evening, a kelvin a minute for ten minutes.
bool drawingHotWater(int64_t clock)
{
    const int64_t s = clock % 86400;
    return (s >= 7 * 3600 && s < 7 * 3600 + 600) || (s >= 19 * 3600 && s < 19 * 3600 + 600);
}

// The sun of a winter day: up from 08:00 to 16:00, highest at noon.
double sunshine(int64_t clock)
{
    const double hour = static_cast<double>(clock % 86400) / 3600.0;
    if (hour <= 8 || hour >= 16) return 0;
    return std::sin(std::numbers::pi * (hour - 8) / 8) * 0.85;
}

void newDay(CtlPlant& p)
{
    for (size_t i = 6; i > 0; --i)
        CTL_Store32(&p.extra[4 * i], CTL_Load32(&p.extra[4 * (i - 1)]));
    CTL_Store32(&p.extra[0], CTL_Load32(&p.solar[SOLAR_TODAY]));
    CTL_Store32(&p.solar[SOLAR_TODAY], 0);
}

void heatingCircuits(CtlPlant& p, std::array<double, CTL_CIRCUITS>& flowSet)
{
    CtlPhysics& x = p.physics;
    for (uint8_t c = 0; c < CTL_CIRCUITS; ++c) {
        CtlBytes<28>& r = p.circuits[c];
        const double target = roomTarget(p, c);
        const bool heating = target >= 0;
        flowSet[c] = 0;
        if (heating) {
            const double curve =
                CTL_HeatingCurve(r[CtlCircuit::SLOPE] / 10.0,
                                 static_cast<int8_t>(r[CtlCircuit::LEVEL]), target, x.outside);
            flowSet[c] = clampTo(curve, 20, 75);
        }
        // The room follows its set temperature while heated and cools towards the outside
        // (frost protection keeps it above 8 degrees) while not.
        const double roomGoal = heating ? target : std::max(x.outside, 8.0);
        x.room[c] += (roomGoal - x.room[c]) / (heating ? 7200.0 : 36000.0);
        const double flowGoal = heating ? std::min(flowSet[c], x.boiler - 2) : x.room[c];
        x.flow[c] += (flowGoal - x.flow[c]) / (heating ? 180.0 : 900.0);

        r[CtlCircuit::ROOM_TEMP] = signedHalfDegrees(x.room[c]);
        r[CtlCircuit::FLOW_SET] = halfDegrees(flowSet[c]);
        r[CtlCircuit::RETURN_SET] = halfDegrees(heating ? flowSet[c] - 10 : 0);
        uint8_t* slot = &p.status[CtlStatus::SLOT1 + 4 * c];
        slot[0] = halfDegrees(x.flow[c]);
        slot[2] = static_cast<uint8_t>(heating ? slot[2] | 0x40 : slot[2] & ~0x40);
    }
}

void hotWater(CtlPlant& p)
{
    CtlPhysics& x = p.physics;
    const uint8_t set = p.circuits[0][CtlCircuit::DHW_SET];
    x.dhw -= (x.dhw - 20) / (3600.0 * 50);
    if (drawingHotWater(p.clock)) x.dhw -= 1.0 / 60;
    if (!x.charging && x.dhw < set - 5 && phaseActive(p, 0, 1)) x.charging = true;
    if (x.charging && x.dhw >= set) x.charging = false;
    if (x.charging && x.boiler > x.dhw + 5) {
        x.dhw += 0.02;
        x.boiler -= 0.02;
    }
    x.dhw = clampTo(x.dhw, 5, 85);
}

void burnerControl(CtlPlant& p, double demand)
{
    CtlPhysics& x = p.physics;
    const bool testRuns = p.flueGasLeft > 0;
    const bool actuatorTest = p.actuatorLeft > 0;
    bool on = x.burner;
    if (p.lockedOut) {
        on = false;
    } else if (actuatorTest) {
        on = p.actuator == 0xC2 || p.actuator == 2 || p.actuator == 3;
    } else {
        const double set = testRuns ? 75 : demand;
        if (set <= 0)
            on = false;
        else if (x.boiler < set - 4)
            on = true;
        else if (x.boiler > set + 6)
            on = false;
    }
    if (on && !x.burner) add32(&p.statistics[STAT_STARTS], 1);
    x.burner = on;

    const double output = p.boiler[BOILER_HEAT_OUTPUT] / 100.0;
    double pumping = 0;
    for (uint8_t c = 0; c < CTL_CIRCUITS; ++c)
        if (p.status[CtlStatus::SLOT1 + 4 * c + 2] & 0x40) pumping += 0.01;
    x.boiler += (on ? 0.09 * output : 0) - (x.boiler - 20) * 0.0004 - pumping;
    x.boiler = clampTo(x.boiler, std::max(x.outside, 5.0), 90);

    if (!on) return;
    if (++x.burnerSeconds >= 3600) {
        x.burnerSeconds = 0;
        add32(&p.statistics[STAT_HOURS_1], 1);
        // Burner hours until maintenance: at zero the maintenance is due.
        uint16_t left = static_cast<uint16_t>(p.statistics[STAT_MAINTENANCE_HOURS] |
                                              p.statistics[STAT_MAINTENANCE_HOURS + 1] << 8);
        if (left > 0) {
            --left;
            p.statistics[STAT_MAINTENANCE_HOURS] = static_cast<uint8_t>(left);
            p.statistics[STAT_MAINTENANCE_HOURS + 1] = static_cast<uint8_t>(left >> 8);
            if (left == 0)
                CTL_SetStatusFlag(p, CTL_FLAG_MAINTENANCE_HOURS | CTL_FLAG_MAINTENANCE_DUE, true);
        }
    }
    if (++x.fuelSeconds >= 360) {
        x.fuelSeconds = 0;
        add32(&p.statistics[STAT_FUEL], 1);
    }
}

void solarCircuit(CtlPlant& p)
{
    CtlPhysics& x = p.physics;
    const double sun = sunshine(p.clock);
    const double collectorGoal = x.outside + 80 * sun;
    x.collector += (collectorGoal - x.collector) / 600.0;
    const double storage = x.dhw - 31; // the storage's lower part, where the solar sensor is
    const double solarDhw = std::max(storage, 5.0);
    const bool wasOn = x.solarPump;
    if (x.collector > solarDhw + 7) x.solarPump = true;
    if (x.collector < solarDhw + 3) x.solarPump = false;
    if (x.solarPump && !wasOn) add32(&p.solar[SOLAR_STARTS], 1);
    if (x.collector > 120) {
        if (++x.stagnationSeconds >= 3600) {
            x.stagnationSeconds = 0;
            add32(&p.solar[SOLAR_STAGNATION], 1);
        }
    }
    uint8_t speed = 0;
    if (x.solarPump) {
        const double watts = 3000 * sun;
        x.dhw += watts / (350.0 * 3600.0 * 1.16);
        x.collector -= watts / 20000.0;
        x.solarWattSeconds += watts;
        const uint32_t wh = static_cast<uint32_t>(x.solarWattSeconds / 3600.0);
        if (wh > 0) {
            x.solarWattSeconds -= wh * 3600.0;
            add32(&p.solar[SOLAR_TODAY], wh);
            x.energyWattHours += wh;
            if (x.energyWattHours >= 1000) {
                add32(&p.solar[SOLAR_ENERGY], x.energyWattHours / 1000);
                x.energyWattHours %= 1000;
            }
        }
        if (++x.solarPumpSeconds >= 3600) {
            x.solarPumpSeconds = 0;
            add16(&p.solar[SOLAR_PUMP_HOURS], 1);
        }
        speed = static_cast<uint8_t>(clampTo(30 + (x.collector - solarDhw - 7) * 5, 30, 100));
    }
    const int16_t collector = static_cast<int16_t>(std::lround(clampTo(x.collector, -40, 200) * 2));
    p.solar[SOLAR_COLLECTOR] = static_cast<uint8_t>(collector);
    p.solar[SOLAR_COLLECTOR + 1] = static_cast<uint8_t>(static_cast<uint16_t>(collector) >> 8);
    p.solar[SOLAR_DHW] = halfDegrees(solarDhw);
    p.solar[SOLAR_PUMP_SPEED] = speed;
    p.solar[SOLAR_FLAGS] =
        static_cast<uint8_t>(x.solarPump ? p.solar[SOLAR_FLAGS] | 1 : p.solar[SOLAR_FLAGS] & ~1);
}

// Party mode ends after its time limit, a holiday programme when the return day has come.
void circuitProgrammes(CtlPlant& p)
{
    for (uint8_t c = 0; c < CTL_CIRCUITS; ++c) {
        const uint8_t circuit = static_cast<uint8_t>(c + 1);
        if (p.partyLeft[c] > 0 && --p.partyLeft[c] == 0) {
            CTL_SetModeWord(p, circuit, CTL_ModeWord(p, circuit) & ~CTL_MODE_PARTY);
            p.changed |= 1u << 1;
        }
        CtlBytes<28>& r = p.circuits[c];
        const int64_t back = CTL_PackedDateToDay(CTL_Load32(&r[CtlCircuit::HOLIDAY_END]));
        if (back >= 0 && p.clock / 86400 >= back) {
            CTL_Store32(&r[CtlCircuit::HOLIDAY_START], CTL_NO_DATE);
            CTL_Store32(&r[CtlCircuit::HOLIDAY_END], CTL_NO_DATE);
            CTL_SetModeWord(p, circuit, CTL_ModeWord(p, circuit) & ~CTL_MODE_HOLIDAY);
            p.changed |= 1u << 1;
        }
    }
}

// Test and special functions end by themselves after their time.
void countDown(uint32_t& left) { left -= left > 0 ? 1 : 0; }

void tests(CtlPlant& p)
{
    countDown(p.flueGasLeft);
    countDown(p.fillingLeft);
    countDown(p.ventingLeft);
    countDown(p.actuatorLeft);
    if (p.winkLeft > 0 && --p.winkLeft == 0) CTL_SetStatusFlag(p, CTL_FLAG_WINK, false);
    uint8_t t = p.status[CtlStatus::TESTS] & (CTL_TEST_COMMISSIONING | CTL_TEST_COMMISSIONING_OPEN);
    if (p.actuatorLeft > 0) t |= CTL_TEST_ACTUATOR;
    if (p.flueGasLeft > 0) t |= CTL_TEST_FLUE_GAS;
    if (p.fillingLeft > 0) t |= CTL_TEST_FILLING;
    if (p.ventingLeft > 0) t |= CTL_TEST_VENTING;
    p.status[CtlStatus::TESTS] = t;
}

} // namespace

uint32_t CTL_Load32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0] | p[1] << 8 | p[2] << 16) | static_cast<uint32_t>(p[3]) << 24;
}

void CTL_Store32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint16_t CTL_ModeWord(const CtlPlant& p, uint8_t circuit)
{
    const CtlBytes<28>& r = p.circuits[circuit == 2 ? 1 : 0];
    return static_cast<uint16_t>(r[CtlCircuit::MODE_WORD] | r[CtlCircuit::MODE_WORD + 1] << 8);
}

void CTL_SetModeWord(CtlPlant& p, uint8_t circuit, uint16_t word)
{
    CtlBytes<28>& r = p.circuits[circuit == 2 ? 1 : 0];
    r[CtlCircuit::MODE_WORD] = static_cast<uint8_t>(word);
    r[CtlCircuit::MODE_WORD + 1] = static_cast<uint8_t>(word >> 8);
}

uint16_t CTL_StatusFlags(const CtlPlant& p)
{
    return static_cast<uint16_t>(p.status[0] | p.status[1] << 8);
}

void CTL_SetStatusFlag(CtlPlant& p, uint16_t flag, bool on)
{
    const uint16_t f = on ? CTL_StatusFlags(p) | flag : CTL_StatusFlags(p) & ~flag;
    p.status[0] = static_cast<uint8_t>(f);
    p.status[1] = static_cast<uint8_t>(f >> 8);
}

int64_t CTL_PackedDateToDay(uint32_t packed)
{
    if (packed == CTL_NO_DATE) return -1;
    const int year = static_cast<int>(packed & 0xFFFF);
    const int month = static_cast<int>(packed >> 16 & 0xFF);
    const int day = static_cast<int>(packed >> 24);
    if (year < 1970 || year > 2099 || month < 1 || month > 12 || day < 1 || day > 31) return -1;
    constexpr int MONTH_DAYS[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int64_t n = 0;
    for (int y = 1970; y < year; ++y)
        n += y % 4 == 0 ? 366 : 365;
    for (int m = 1; m < month; ++m)
        n += MONTH_DAYS[m - 1] + (m == 2 && year % 4 == 0 ? 1 : 0);
    return n + day - 1;
}

uint32_t CTL_SecondsToPackedDate(uint32_t seconds)
{
    int64_t days = seconds / 86400;
    int year = 1970;
    while (days >= (year % 4 == 0 ? 366 : 365)) {
        days -= year % 4 == 0 ? 366 : 365;
        ++year;
    }
    constexpr int MONTH_DAYS[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int month = 1;
    for (;;) {
        const int length = MONTH_DAYS[month - 1] + (month == 2 && year % 4 == 0 ? 1 : 0);
        if (days < length) break;
        days -= length;
        ++month;
    }
    return static_cast<uint32_t>(days + 1) << 24 | static_cast<uint32_t>(month) << 16 |
           static_cast<uint32_t>(year);
}

double CTL_HeatingCurve(double slope, double level, double roomSet, double outside)
{
    const double d = outside - roomSet;
    const double flow = -slope * d * (1.4347 + 0.021 * d + 0.0002479 * d * d) + roomSet + level;
    return clampTo(flow, 0, 100);
}

uint8_t CTL_PackTime(uint8_t steps)
{
    return steps > CTL_END_OF_DAY ? 0xFF : static_cast<uint8_t>(steps / 6 * 8 + steps % 6);
}

uint8_t CTL_UnpackTime(uint8_t b)
{
    if (b == 0xFF || (b & 7) > 5) return CTL_UNUSED_TIME;
    const unsigned t = (b & 7u) + (b >> 3) * 6u;
    return t > CTL_END_OF_DAY ? CTL_UNUSED_TIME : static_cast<uint8_t>(t);
}

namespace {

// The controller's own filing of its fault codes by the part that reports them: the category
// names the part in the fault list, the help category picks the help text the panel shows.
struct Filing {
    uint8_t first, last, category, help;
};
constexpr Filing FILING[] = {
    {0x10, 0x1F, 5, 15},  {0x20, 0x27, 6, 3},   {0x28, 0x2F, 27, 3}, {0x30, 0x3F, 7, 2},
    {0x40, 0x4F, 6, 3},   {0x50, 0x57, 8, 4},   {0x58, 0x5F, 24, 5}, {0x60, 0x6F, 12, 9},
    {0x90, 0x9F, 23, 5},  {0xA0, 0xAF, 32, 17}, {0xB0, 0xB5, 11, 2}, {0xB6, 0xB7, 36, 15},
    {0xB8, 0xBF, 35, 12}, {0xC0, 0xC3, 20, 13}, {0xC4, 0xC7, 26, 9}, {0xC8, 0xCF, 33, 3},
    {0xD0, 0xDF, 2, 14},  {0xE0, 0xE7, 4, 2},   {0xE8, 0xEF, 3, 2},  {0xF0, 0xFF, 25, 14},
};

const Filing* filing(uint8_t code)
{
    for (const Filing& f : FILING)
        if (code >= f.first && code <= f.last) return &f;
    return nullptr;
}

} // namespace

uint8_t CTL_FaultCategory(uint8_t code)
{
    const Filing* f = filing(code);
    return f != nullptr ? f->category : 0;
}

CtlRecord CTL_FaultRecord(uint8_t code, uint32_t time)
{
    const Filing* f = filing(code);
    CtlRecord r{};
    r[0] = code;
    r[1] = f != nullptr ? f->category : 0;
    r[5] = f != nullptr ? f->help : 0;
    CTL_Store32(&r[7], time);
    return r;
}

CtlPlant CTL_BuiltInPlant(int64_t clock)
{
    CtlPlant p;
    p.config = CONFIG;
    p.system = SYSTEM;
    p.status = STATUS;
    p.circuits = {CIRCUIT1, CIRCUIT2};
    p.settings = SETTINGS;
    p.statistics = STATISTICS;
    for (const OffsetByte& b : BOILER)
        p.boiler[b.offset] = b.value;
    p.burner = BURNER;
    p.solar = SOLAR;
    for (size_t i = 0; i < std::size(EXTRA); ++i)
        CTL_Store32(&p.extra[4 * i], EXTRA[i]);
    for (size_t c = 0; c < CTL_CIRCUITS; ++c)
        for (size_t i = 0; LABELS[c][i] != 0 && i < CTL_LABEL_CHARS; ++i)
            p.labels[c].chars[i] = static_cast<uint8_t>(LABELS[c][i]);
    for (auto& set : p.times)
        for (uint8_t program = 0; program < CTL_PROGRAMS; ++program)
            for (auto& day : set[program]) {
                for (auto& phase : day)
                    phase = {CTL_UNUSED_TIME, CTL_UNUSED_TIME};
                day[0] = FACTORY_PHASES[program];
            }
    addCoding(p, 1, BOILER_CODING);
    addCoding(p, 2, DHW_CODING);
    addCoding(p, 3, GENERAL_CODING);
    addCoding(p, 4, CIRCUIT_CODING);
    addCoding(p, 5, CIRCUIT_CODING);
    addCoding(p, 9, SOLAR_CODING);
    p.participants.assign(std::begin(PARTICIPANTS), std::end(PARTICIPANTS));
    p.actuators.assign(std::begin(ACTUATORS), std::end(ACTUATORS));
    p.fanSpeedStored = {p.burner[2], p.burner[5]};
    p.heatOutputStored = p.boiler[BOILER_HEAT_OUTPUT];
    p.boiler[BOILER_CHECK_RESULT] = 0xFF;
    p.clock = clock;
    return p;
}

void CTL_PlantStep(CtlPlant& p)
{
    CtlPhysics& x = p.physics;
    ++p.clock;
    if (p.clock % 86400 == 0) newDay(p);

    // The outside follows a day curve (coldest at 03:00, warmest at 15:00) with the lag of the
    // air; the damped value lags half a day.
    const double hour = static_cast<double>(p.clock % 86400) / 3600.0;
    const double outsideGoal = 1 + 4 * std::cos(2 * std::numbers::pi * (hour - 15) / 24);
    x.outside += (outsideGoal - x.outside) / 3600.0;
    x.outsideDamped += (x.outside - x.outsideDamped) / (12 * 3600.0);

    circuitProgrammes(p);
    std::array<double, CTL_CIRCUITS> flowSet{};
    heatingCircuits(p, flowSet);
    hotWater(p);
    solarCircuit(p);
    tests(p);
    const double charge = x.charging ? p.circuits[0][CtlCircuit::DHW_SET] + 15.0 : 0.0;
    const double demand = std::max({flowSet[0], flowSet[1], charge});
    burnerControl(p, std::min(demand, 85.0));

    p.statistics[STAT_DAMPED_OUTSIDE] = signedHalfDegrees(x.outsideDamped);
    p.system[2] = halfDegrees(demand);
    p.status[CtlStatus::BOILER_TEMP] = halfDegrees(x.boiler);
    p.status[CtlStatus::DHW_TEMP] = halfDegrees(x.dhw);
    p.status[CtlStatus::OUTSIDE_TEMP] = signedHalfDegrees(x.outside);
    CTL_SetStatusFlag(p, CTL_FLAG_BURNER, x.burner);
    CTL_SetStatusFlag(p, CTL_FLAG_STORAGE_PUMP, x.charging);
    CTL_SetStatusFlag(p, CTL_FLAG_CIRCULATION_PUMP, phaseActive(p, 0, 2));
    CTL_SetStatusFlag(p, CTL_FLAG_LOCKED_OUT, p.lockedOut);
    const bool fault = !p.faults.empty() && (CTL_StatusFlags(p) & CTL_FLAG_FAULT);
    uint8_t& b7 = p.status[CtlStatus::BYTE7];
    const bool pump = x.charging || (p.status[CtlStatus::SLOT1 + 2] & 0x40) ||
                      (p.status[CtlStatus::SLOT1 + 6] & 0x40);
    b7 = static_cast<uint8_t>((b7 & 0x3F) | (pump ? 0x40 : 0) | (fault ? 0x80 : 0));
}
