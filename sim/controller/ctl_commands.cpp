// The panel's commands applied to the plant, each answered by the message it was sent under,
// and the events the controller raises itself.
#include <algorithm>
#include <cstdio>

#include "sim/controller/ctl_protocol.h"

namespace {

struct Request {
    std::span<const uint8_t> bytes;
    bool isLong;
    uint8_t message;
    uint8_t sequence;
    uint8_t circuit;
    uint8_t code;
    uint8_t at(size_t i) const { return i < bytes.size() ? bytes[i] : 0; }
    uint32_t u32(size_t i) const
    {
        return static_cast<uint32_t>(at(i) | at(i + 1) << 8 | at(i + 2) << 16) |
               static_cast<uint32_t>(at(i + 3)) << 24;
    }
};

std::string format(const char* f, auto... args)
{
    char text[160];
    snprintf(text, sizeof text, f, args...);
    return text;
}

bool isCircuit(uint8_t c) { return c == 1 || c == 2; }
CtlBytes<28>& record(CtlPlant& p, uint8_t c) { return p.circuits[c == 2 ? 1 : 0]; }
int clampInt(int v, int low, int high) { return std::min(std::max(v, low), high); }

// Coding values that are also plant settings.
int16_t codingValue(const CtlPlant& p, uint8_t group, uint8_t address, int16_t otherwise)
{
    for (const CtlCodingParameter& c : p.coding)
        if (c.group == group && c.address == address) return c.value;
    return otherwise;
}
constexpr uint8_t GROUP_BOILER = 1;
constexpr uint8_t GROUP_GENERAL = 3;
constexpr uint8_t GROUP_CIRCUIT1 = 4;
constexpr uint8_t CODING_MAINTENANCE_HOURS = 0x21; // burner hours in 100
constexpr uint8_t CODING_MAINTENANCE_MONTHS = 0x23;
constexpr uint8_t CODING_PARTICIPANT = 0x77;
constexpr uint8_t CODING_LOCK = 0x8F;
constexpr uint8_t CODING_PARTY_LIMIT = 0xF2; // hours, 0 = until switched off

constexpr uint16_t MASK_STATISTICS = 1u << CTL_MSG_STATISTICS;
constexpr uint16_t MASK_CIRCUIT = 1u << CTL_MSG_CIRCUIT;
constexpr uint16_t MASK_DAYS = 0x3F8; // messages 3..9
constexpr uint16_t MASK_CONFIG = 1u << CTL_MSG_CONFIG;

// A handler applies one command; the answer and the report are set around it.
using Handler = void (*)(CtlPlant& p, const Request& r, CtlApplied& a);

// ---- circuit commands (message 1) ----

void setProgram(CtlPlant& p, const Request& r, CtlApplied& a, uint8_t program, const char* name)
{
    uint16_t word = CTL_ModeWord(p, r.circuit);
    word = static_cast<uint16_t>((word & ~CTL_MODE_PROGRAM) | program);
    CTL_SetModeWord(p, r.circuit, word);
    p.status[CtlStatus::SLOT1 + 4 * (r.circuit == 2 ? 1 : 0) + 3] &= static_cast<uint8_t>(~0x02);
    a.report = format("operating programme %s", name);
}
void standby(CtlPlant& p, const Request& r, CtlApplied& a)
{
    setProgram(p, r, a, CTL_PROGRAM_STANDBY, "standby");
}
void onlyHotWater(CtlPlant& p, const Request& r, CtlApplied& a)
{
    setProgram(p, r, a, CTL_PROGRAM_ONLY_DHW, "only hot water");
}
void heatingAndHotWater(CtlPlant& p, const Request& r, CtlApplied& a)
{
    setProgram(p, r, a, CTL_PROGRAM_HEATING, "heating and hot water");
}

void modeBits(CtlPlant& p, uint8_t circuit, uint16_t bits, bool on)
{
    const uint16_t word = CTL_ModeWord(p, circuit);
    CTL_SetModeWord(p, circuit, on ? word | bits : word & ~bits);
}

// Party and economy mode exclude each other; party mode ends by itself after the circuit's
// party time limit.
void party(CtlPlant& p, const Request& r, CtlApplied& a, bool on)
{
    modeBits(p, r.circuit, CTL_MODE_PARTY, on);
    const size_t c = r.circuit == 2 ? 1 : 0;
    p.partyLeft[c] = 0;
    if (on) {
        modeBits(p, r.circuit, CTL_MODE_ECONOMY, false);
        const int16_t hours =
            codingValue(p, static_cast<uint8_t>(GROUP_CIRCUIT1 + c), CODING_PARTY_LIMIT, 0);
        p.partyLeft[c] = static_cast<uint32_t>(std::max<int16_t>(hours, 0)) * 3600;
    }
    a.report = on ? "party mode on" : "party mode off";
}
void partyOn(CtlPlant& p, const Request& r, CtlApplied& a) { party(p, r, a, true); }
void partyOff(CtlPlant& p, const Request& r, CtlApplied& a) { party(p, r, a, false); }

void economy(CtlPlant& p, const Request& r, CtlApplied& a, bool on)
{
    modeBits(p, r.circuit, CTL_MODE_ECONOMY, on);
    if (on) {
        modeBits(p, r.circuit, CTL_MODE_PARTY, false);
        p.partyLeft[r.circuit == 2 ? 1 : 0] = 0;
    }
    a.report = on ? "economy mode on" : "economy mode off";
}
void economyOn(CtlPlant& p, const Request& r, CtlApplied& a) { economy(p, r, a, true); }
void economyOff(CtlPlant& p, const Request& r, CtlApplied& a) { economy(p, r, a, false); }

// Set values within the limits the controller keeps.
struct SetValue {
    uint8_t code;
    size_t offset;
    int low, high;
    const char* name;
};
constexpr SetValue SET_VALUES[] = {
    {205, CtlCircuit::ROOM_SET, 3, 37, "room set temperature %d"},
    {206, CtlCircuit::ROOM_REDUCED, 3, 37, "reduced room set temperature %d"},
    {207, CtlCircuit::PARTY_SET, 4, 37, "party room set temperature %d"},
    {210, CtlCircuit::SLOPE, 2, 35, "heating-curve slope %d tenths"},
    {211, CtlCircuit::LEVEL, -13, 40, "heating-curve level %d"},
};

void setValue(CtlPlant& p, const Request& r, CtlApplied& a)
{
    for (const SetValue& v : SET_VALUES) {
        if (v.code != r.code) continue;
        const int asked = v.code == 211 ? static_cast<int8_t>(r.at(4)) : r.at(4);
        const int value = clampInt(asked, v.low, v.high);
        record(p, r.circuit)[v.offset] = static_cast<uint8_t>(value);
        a.report = format(v.name, value);
        if (value != asked) a.report += format(" (%d is outside %d..%d)", asked, v.low, v.high);
    }
}

// The hot-water set temperature is one for the plant: both circuit records carry it.
void dhwSetTemp(CtlPlant& p, const Request& r, CtlApplied& a)
{
    const int low = p.settings[3];
    const int high = record(p, r.circuit)[CtlCircuit::DHW_MAX];
    const int value = clampInt(r.at(4), low, high);
    for (CtlBytes<28>& c : p.circuits)
        c[CtlCircuit::DHW_SET] = static_cast<uint8_t>(value);
    a.changeMask |= MASK_CIRCUIT;
    a.report = format("hot-water set temperature %d", value);
    if (value != r.at(4)) a.report += format(" (%d is outside %d..%d)", r.at(4), low, high);
}

void settingsValue(CtlPlant& p, const Request& r, CtlApplied& a)
{
    p.settings[0] = r.at(4);
    a.report = format("settings value %d", r.at(4));
}

void timeProgramMode(CtlPlant& p, const Request& r, CtlApplied& a)
{
    const bool dhw = r.code == 215 || r.code == 237;
    const bool automatic = r.code == 215 || r.code == 216;
    modeBits(p, r.circuit, dhw ? CTL_MODE_DHW_AUTO : CTL_MODE_CIRCULATION_AUTO, automatic);
    a.report = format("%s time program %s", dhw ? "hot-water" : "circulation",
                      automatic ? "automatic" : "individual");
}

std::string dateText(uint32_t packed)
{
    return format("%02u.%02u.%04u", packed >> 24, packed >> 16 & 0xFF, packed & 0xFFFF);
}

void holidayDate(CtlPlant& p, const Request& r, CtlApplied& a)
{
    const uint32_t packed = CTL_SecondsToPackedDate(r.u32(4));
    const bool departure = r.code == 217;
    CTL_Store32(
        &record(p, r.circuit)[departure ? CtlCircuit::HOLIDAY_START : CtlCircuit::HOLIDAY_END],
        packed);
    if (departure) modeBits(p, r.circuit, CTL_MODE_HOLIDAY, true);
    a.report =
        format("holiday %s %s", departure ? "departure" : "return", dateText(packed).c_str());
}

void deleteHoliday(CtlPlant& p, uint8_t circuit)
{
    CTL_Store32(&record(p, circuit)[CtlCircuit::HOLIDAY_START], CTL_NO_DATE);
    CTL_Store32(&record(p, circuit)[CtlCircuit::HOLIDAY_END], CTL_NO_DATE);
    modeBits(p, circuit, CTL_MODE_HOLIDAY, false);
}

void holidayDelete(CtlPlant& p, const Request& r, CtlApplied& a)
{
    deleteHoliday(p, r.circuit);
    a.report = "holiday programme deleted";
}

// Days of a controller period: 0 all, 1..7 one day, 0x15 Monday to Friday, 0x67 the weekend.
uint8_t periodDays(uint8_t period)
{
    if (period == 0) return 0x7F;
    if (period >= 1 && period <= 7) return static_cast<uint8_t>(1u << (period - 1));
    if (period == 0x15) return 0x1F;
    if (period == 0x67) return 0x60;
    return 0;
}

std::string periodText(uint8_t period)
{
    constexpr const char* DAYS[] = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};
    if (period == 0) return "Mo-So";
    if (period >= 1 && period <= 7) return DAYS[period - 1];
    if (period == 0x15) return "Mo-Fr";
    if (period == 0x67) return "Sa-So";
    return format("period %d", period);
}

constexpr const char* PROGRAM_NAMES[] = {"heating", "hot-water", "circulation"};
constexpr std::array<std::array<uint8_t, 2>, CTL_PROGRAMS> FACTORY_PHASES{
    {{36, 132}, {33, 132}, {33, 132}}};

void resetTimeProgram(CtlPlant& p, uint8_t set, uint8_t program, uint8_t days)
{
    for (uint8_t d = 0; d < CTL_DAYS; ++d) {
        if (!(days >> d & 1)) continue;
        auto& phases = p.times[set][program][d];
        for (auto& phase : phases)
            phase = {CTL_UNUSED_TIME, CTL_UNUSED_TIME};
        phases[0] = FACTORY_PHASES[program];
    }
}

void resetCircuit(CtlPlant& p, uint8_t circuit)
{
    CtlBytes<28>& c = record(p, circuit);
    c[CtlCircuit::ROOM_SET] = 20;
    c[CtlCircuit::ROOM_REDUCED] = 3;
    c[CtlCircuit::PARTY_SET] = 20;
    c[CtlCircuit::SLOPE] = 14;
    c[CtlCircuit::LEVEL] = 0;
    uint16_t word = CTL_ModeWord(p, circuit);
    word = static_cast<uint16_t>((word & ~(CTL_MODE_PROGRAM | CTL_MODE_PARTY | CTL_MODE_ECONOMY)) |
                                 CTL_PROGRAM_HEATING);
    CTL_SetModeWord(p, circuit, word);
    deleteHoliday(p, circuit);
    resetTimeProgram(p, circuit == 2 ? 1 : 0, 0, 0x7F);
    p.partyLeft[circuit == 2 ? 1 : 0] = 0;
}

// 229 on message 1: byte 4 = 1 the circuit's basic setting, 3..5 a time program's basic setting
// for the period in byte 5, any other value the factory setting of every coding parameter.
void basicSetting(CtlPlant& p, const Request& r, CtlApplied& a)
{
    const uint8_t what = r.at(4);
    if (what == 1) {
        resetCircuit(p, r.circuit);
        a.changeMask |= MASK_DAYS;
        a.report = "basic setting of the circuit";
    } else if (what >= 3 && what <= 5) {
        const uint8_t program = static_cast<uint8_t>(what - 3);
        resetTimeProgram(p, r.circuit == 2 ? 1 : 0, program, periodDays(r.at(5)));
        a.changeMask |= MASK_DAYS;
        a.report = format("%s time program basic setting %s", PROGRAM_NAMES[program],
                          periodText(r.at(5)).c_str());
    } else {
        for (CtlCodingParameter& c : p.coding)
            c.value = c.factory;
        p.config[5] &= 0x0F;
        a.changeMask |= MASK_CONFIG;
        a.report = "factory setting of the coding parameters";
    }
}

// 229 on message 17: one solar counter back to zero.
void solarCounterReset(CtlPlant& p, const Request& r, CtlApplied& a)
{
    struct Counter {
        uint8_t code;
        bool stats;
        uint8_t offset, width;
        const char* name;
    };
    constexpr Counter COUNTERS[] = {{7, false, 4, 2, "solar pump hours"},
                                    {8, false, 0, 4, "solar energy"},
                                    {11, false, 17, 4, "solar stagnation hours"},
                                    {12, false, 21, 4, "solar pump starts"},
                                    {13, true, 0, 4, "night circulation count"},
                                    {14, true, 4, 4, "difference-temperature monitoring count"}};
    for (const Counter& c : COUNTERS) {
        if (c.code != r.at(4)) continue;
        std::fill_n((c.stats ? p.solarStats.begin() : p.solar.begin()) + c.offset, c.width, 0);
        a.report = format("%s reset", c.name);
        return;
    }
    a.report = format("solar counter %d unknown, nothing reset", r.at(4));
}

void brightness(CtlPlant& p, const Request& r, CtlApplied& a)
{
    const bool operation = r.at(4) == 1;
    p.settings[operation ? 6 : 5] = r.at(5);
    a.report = format("brightness %s %d", operation ? "operation" : "idle", r.at(5));
}

// ---- system commands (message 2) ----

void clockSet(CtlPlant& p, const Request& r, CtlApplied& a)
{
    p.clock = r.u32(4);
    p.boiler[0] &= 0x7F; // the clock no longer needs setting
    const uint32_t packed = CTL_SecondsToPackedDate(r.u32(4));
    const uint32_t s = r.u32(4) % 86400;
    a.report = format("%s set: %02u:%02u:%02u %s", r.code == 212 ? "time" : "date", s / 3600,
                      s / 60 % 60, s % 60, dateText(packed).c_str());
}

void fanSpeed(CtlPlant& p, const Request& r, CtlApplied& a)
{
    const uint8_t stage = r.at(4) == 2 ? 2 : 1;
    const size_t base = stage == 2 ? 3 : 0;
    const uint8_t mode = r.at(5);
    const uint8_t value =
        static_cast<uint8_t>(clampInt(r.at(6), p.burner[base], p.burner[base + 1]));
    uint8_t& stored = p.fanSpeedStored[stage - 1];
    if (mode == 170) stored = value;
    p.burner[base + 2] = mode == 0 ? stored : value;
    a.report = format("fan speed stage %d %s %d", stage,
                      mode == 170  ? "stored"
                      : mode == 85 ? "preview"
                                   : "cancelled, back to",
                      p.burner[base + 2]);
}

// ---- statistics and acknowledgements (message 0) ----

void counterReset(CtlPlant& p, const Request& r, CtlApplied& a)
{
    struct Counter {
        uint8_t code, offset, width;
        const char* name;
    };
    constexpr Counter COUNTERS[] = {{223, 2, 4, "fuel consumption"},
                                    {224, 6, 4, "operating hours stage 1"},
                                    {225, 10, 4, "operating hours stage 2"},
                                    {226, 14, 4, "burner starts"},
                                    {227, 1, 1, "statistics byte 1"}};
    for (const Counter& c : COUNTERS)
        if (c.code == r.code) {
            std::fill_n(p.statistics.begin() + c.offset, c.width, 0);
            a.report = format("%s reset", c.name);
        }
}

void dampedOutsideReset(CtlPlant& p, const Request&, CtlApplied& a)
{
    p.physics.outsideDamped = p.physics.outside;
    p.statistics[0] = p.status[CtlStatus::OUTSIDE_TEMP];
    a.report = "damped outside temperature reset";
}

void faultAcknowledge(CtlPlant& p, const Request& r, CtlApplied& a)
{
    const size_t n = p.faults.size();
    p.faults.clear();
    CTL_SetStatusFlag(p, CTL_FLAG_FAULT, false);
    p.system[1] = 0; // the sensors the faults were about report again
    a.report = format("%zu fault(s) acknowledged (parameter %d)", n, r.at(4));
}

void maintenanceAcknowledge(CtlPlant& p, const Request& r, CtlApplied& a)
{
    CTL_SetStatusFlag(p, CTL_FLAG_MAINTENANCE_DUE, false);
    if (r.at(4) != 170) {
        a.report = format("maintenance message acknowledged (parameter %d)", r.at(4));
        return;
    }
    // The maintenance reset: the counters start again from the coded intervals.
    CTL_SetStatusFlag(p, CTL_FLAG_MAINTENANCE_HOURS | CTL_FLAG_MAINTENANCE_INTERVAL, false);
    const int16_t hundreds = codingValue(p, GROUP_BOILER, CODING_MAINTENANCE_HOURS, 0);
    const uint16_t hours = static_cast<uint16_t>(hundreds > 0 ? hundreds * 100 : 5500);
    p.statistics[19] = static_cast<uint8_t>(hours);
    p.statistics[20] = static_cast<uint8_t>(hours >> 8);
    const int16_t months = codingValue(p, GROUP_BOILER, CODING_MAINTENANCE_MONTHS, 0);
    p.statistics[23] = static_cast<uint8_t>(months > 0 ? months : 8);
    a.changeMask |= MASK_STATISTICS;
    a.report = format("maintenance reset: %u burner hours, %u months", hours, p.statistics[23]);
}

void historyClear(CtlPlant& p, const Request&, CtlApplied& a)
{
    p.history.clear();
    a.report = "fault history cleared";
}

void announcement(CtlPlant& p, const Request& r, CtlApplied& a)
{
    // A panel that announces itself has started again: a reset request has been served.
    p.resetRequested = false;
    CTL_SetStatusFlag(p, CTL_FLAG_PANEL_RESET, false);
    a.report = format("panel announced (reset reason %u)", r.at(4) | r.at(5) << 8);
}

// ---- boiler, test and special functions (message 15) ----

void displaySettings(CtlPlant& p, const Request& r, CtlApplied& a)
{
    p.system[4] = static_cast<uint8_t>(std::min<int>(r.at(5), 99));
    p.system[5] = r.at(6) < 19 ? r.at(6) : 0;
    a.report = format("display settings: contrast %d, language %d", p.system[4], p.system[5]);
}

void servicePin(CtlPlant&, const Request&, CtlApplied& a)
{
    a.report = "service-pin message sent on the LON";
}

void testFunction(CtlPlant& p, const Request& r, CtlApplied& a)
{
    const bool on = r.at(5) != 0;
    const char* state = on ? "on" : "off";
    switch (r.at(4)) {
    case 1:
        p.flueGasLeft = on ? CTL_FLUE_GAS_SECONDS : 0;
        a.report = format("flue-gas test %s", state);
        break;
    case 4:
        p.status[CtlStatus::TESTS] &=
            static_cast<uint8_t>(~(CTL_TEST_COMMISSIONING | CTL_TEST_COMMISSIONING_OPEN));
        if (on) p.status[CtlStatus::TESTS] |= CTL_TEST_COMMISSIONING | CTL_TEST_COMMISSIONING_OPEN;
        a.report = on ? "commissioning requested" : "commissioning finished";
        break;
    case 11:
    case 12:
        CTL_SetStatusFlag(p, CTL_FLAG_FAHRENHEIT, r.at(4) == 12);
        a.persistent = true;
        a.report = r.at(4) == 12 ? "temperature unit Fahrenheit" : "temperature unit Celsius";
        break;
    case 13:
        p.fillingLeft = on ? CTL_FILLING_SECONDS : 0;
        a.report = format("filling %s", state);
        break;
    case 14:
        p.ventingLeft = on ? CTL_VENTING_SECONDS : 0;
        a.report = format("venting %s", state);
        break;
    default: a.report = format("test function %d %s unknown, nothing done", r.at(4), state); break;
    }
    p.status[CtlStatus::TESTS] = static_cast<uint8_t>(
        (p.status[CtlStatus::TESTS] & ~(CTL_TEST_FLUE_GAS | CTL_TEST_FILLING | CTL_TEST_VENTING)) |
        (p.flueGasLeft > 0 ? CTL_TEST_FLUE_GAS : 0) | (p.fillingLeft > 0 ? CTL_TEST_FILLING : 0) |
        (p.ventingLeft > 0 ? CTL_TEST_VENTING : 0));
}

void heatOutput(CtlPlant& p, const Request& r, CtlApplied& a)
{
    constexpr size_t VALUE = 38, MINIMUM = 39, MAXIMUM = 40;
    const uint8_t mode = r.at(5);
    const uint8_t value =
        static_cast<uint8_t>(clampInt(r.at(4), p.boiler[MINIMUM], p.boiler[MAXIMUM]));
    if (mode == 170) p.heatOutputStored = value;
    p.boiler[VALUE] = mode == 0 ? p.heatOutputStored : value;
    a.report = format("heat output %s %d %%",
                      mode == 170  ? "stored"
                      : mode == 85 ? "preview"
                                   : "cancelled, back to",
                      p.boiler[VALUE]);
}

// ---- participant check (message 16) ----

int participantAt(const CtlPlant& p, uint8_t address)
{
    for (size_t i = 0; i < p.participants.size(); ++i)
        if (p.participants[i].address == address) return static_cast<int>(i);
    return -1;
}

void participantCommand(CtlPlant& p, const Request& r, CtlApplied& a)
{
    const uint32_t mode = r.u32(4);
    const uint8_t address = r.at(8);
    constexpr size_t CHECK_RESULT = 3;
    const int n = static_cast<int>(p.participants.size());
    switch (mode) {
    case 1: p.participantAnswer = n > 0 ? 0 : -1; break;
    case 3: {
        const int at = participantAt(p, address);
        p.participantAnswer = at >= 0 && at + 1 < n ? at + 1 : -1;
        break;
    }
    case 4: {
        p.participantAnswer = participantAt(p, address);
        const bool ok = p.participantAnswer >= 0 &&
                        p.participants[static_cast<size_t>(p.participantAnswer)].answers;
        p.boiler[CHECK_RESULT] = ok ? 1 : 255;
        a.report = format("participant at address %02X checked: %s", address,
                          ok ? "answers" : "no answer");
        return;
    }
    case 5:
        p.participantAnswer = -1;
        a.report = "participant list deleted";
        return;
    case 6:
        p.winkLeft = 0;
        CTL_SetStatusFlag(p, CTL_FLAG_WINK, false);
        a.report = "wink request served";
        return;
    default:
        a.report = format("participant command %d mode %u, nothing done", r.code, mode);
        return;
    }
    if (p.participantAnswer < 0) {
        a.report = "participant list complete";
    } else {
        const CtlParticipant& q = p.participants[static_cast<size_t>(p.participantAnswer)];
        a.report = format("participant %d at address %02X", q.number, q.address);
    }
}

// ---- actuator test (message 13) ----

void actuatorTest(CtlPlant& p, const Request& r, CtlApplied& a)
{
    const uint8_t code = r.at(4);
    if (code == 0) {
        const bool start = p.actuatorLeft == 0;
        p.actuatorLeft = start ? CTL_ACTUATOR_IDLE_SECONDS : 0;
        p.actuator = start ? 1 : 0;
        a.report = start ? "actuator test started" : "actuator test ended";
    } else if (p.actuatorLeft == 0) {
        a.report = format("actuator %02X: the actuator test is not running", code);
    } else if (code == 1) {
        p.actuator = 1;
        p.actuatorLeft = CTL_ACTUATOR_IDLE_SECONDS;
        a.report = "no actuator driven";
    } else if (std::find(p.actuators.begin(), p.actuators.end(), code) != p.actuators.end()) {
        p.actuator = code;
        p.actuatorLeft = CTL_ACTUATOR_IDLE_SECONDS;
        a.report = format("actuator %02X driven", code);
    } else {
        a.report = format("actuator %02X is not fitted", code);
    }
    uint8_t& tests = p.status[CtlStatus::TESTS];
    tests = static_cast<uint8_t>(p.actuatorLeft > 0 ? tests | CTL_TEST_ACTUATOR
                                                    : tests & ~CTL_TEST_ACTUATOR);
}

// ---- coding parameters (message 14) ----

// The parameters a level offers: level 1 the well-known ones, level 2 all.
bool offered(const CtlCodingParameter& c, uint8_t group, uint8_t level)
{
    return c.group == group && c.level <= std::max<uint8_t>(level, 1);
}

// The parameter at the address or, when the controller has none there, the next one in the
// direction of the request (wrapping round).
int findCoding(const CtlPlant& p, uint8_t group, uint8_t level, uint8_t address, bool upwards)
{
    int best = -1, wrap = -1;
    for (size_t i = 0; i < p.coding.size(); ++i) {
        const CtlCodingParameter& c = p.coding[i];
        if (!offered(c, group, level)) continue;
        const int k = static_cast<int>(i);
        const auto addr = [&](int j) { return p.coding[static_cast<size_t>(j)].address; };
        if (upwards) {
            if (c.address >= address && (best < 0 || c.address < addr(best))) best = k;
            if (wrap < 0 || c.address < addr(wrap)) wrap = k;
        } else {
            if (c.address <= address && (best < 0 || c.address > addr(best))) best = k;
            if (wrap < 0 || c.address > addr(wrap)) wrap = k;
        }
    }
    return best >= 0 ? best : wrap;
}

void applyCodingEffect(CtlPlant& p, const CtlCodingParameter& c, CtlApplied& a)
{
    if (c.group == GROUP_GENERAL && c.address == CODING_LOCK) {
        p.config[5] = static_cast<uint8_t>((p.config[5] & 0x0F) | (c.value & 0x0F) << 4);
        a.changeMask |= MASK_CONFIG;
    } else if (c.group == GROUP_GENERAL && c.address == CODING_PARTICIPANT) {
        p.boiler[2] = static_cast<uint8_t>(c.value);
    }
}

void coding(CtlPlant& p, const Request& r, CtlApplied& a)
{
    const uint8_t group = r.at(4) >> 4;
    const uint8_t level = r.at(4) & 0x0F;
    const uint8_t address = r.at(5);
    const bool upwards = r.at(8) != 0xFF;
    p.codingLevel = level;
    if (r.code == 230) {
        p.codingAnswer = findCoding(p, group, level, address, upwards);
        if (p.codingAnswer < 0) {
            a.report = format("coding read %d/%02X: the group has no parameters", group, address);
            return;
        }
        const CtlCodingParameter& c = p.coding[static_cast<size_t>(p.codingAnswer)];
        a.report = format("coding read %d/%02X: %02X = %d", group, address, c.address, c.value);
        return;
    }
    const int16_t value = static_cast<int16_t>(r.at(6) | r.at(7) << 8);
    p.codingAnswer = -1;
    for (size_t i = 0; i < p.coding.size(); ++i)
        if (offered(p.coding[i], group, level) && p.coding[i].address == address)
            p.codingAnswer = static_cast<int>(i);
    if (p.codingAnswer < 0) {
        a.report = format("coding write %d/%02X = %d: no such parameter", group, address, value);
        return;
    }
    CtlCodingParameter& c = p.coding[static_cast<size_t>(p.codingAnswer)];
    if (value < c.minimum || value > c.maximum) {
        a.report = format("coding write %d/%02X = %d refused: limits %d..%d, keeps %d", group,
                          address, value, c.minimum, c.maximum, c.value);
        return;
    }
    c.value = value;
    a.persistent = true;
    applyCodingEffect(p, c, a);
    a.report = format("coding write %d/%02X = %d", group, address, value);
}

// ---- switching times (messages 3..9) and labels (message 25) ----

std::string timeText(uint8_t t)
{
    if (t == CTL_UNUSED_TIME) return "--:--";
    return format("%02d:%02d", t / 6, t % 6 * 10);
}

void switchingTime(CtlPlant& p, const Request& r, CtlApplied& a)
{
    const uint8_t edge = r.at(4) & 1;
    const uint8_t phase = r.at(5);
    const uint8_t period = r.at(6);
    const uint32_t program = r.u32(8);
    const uint8_t days = periodDays(period);
    if (phase >= CTL_PHASES || program >= CTL_PROGRAMS || days == 0) {
        a.report = format("switching time for program %u, phase %d, %s not applied", program, phase,
                          periodText(period).c_str());
        return;
    }
    if (!r.isLong) {
        a.report = "switching time without its time byte (a short transfer): not applied";
        return;
    }
    const uint8_t t = CTL_UnpackTime(r.at(12));
    const uint8_t set = r.circuit == 2 ? 1 : 0;
    for (uint8_t d = 0; d < CTL_DAYS; ++d)
        if (days >> d & 1) p.times[set][program][d][phase][edge] = t;
    a.report = format("%s time program %s phase %d %s %s", PROGRAM_NAMES[program],
                      periodText(period).c_str(), phase + 1, edge == 0 ? "on" : "off",
                      timeText(t).c_str());
}

std::string utf8(const std::array<uint16_t, CTL_LABEL_CHARS>& chars)
{
    std::string out;
    for (uint16_t c : chars) {
        if (c == 0) break;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// A label half from a long transfer: byte 3 = 2 for characters 0..9, 3 for 10..19; byte 4 the
// count, UTF-16 from byte 5, the language in byte 29.
void labelHalf(CtlPlant& p, const Request& r, CtlApplied& a)
{
    CtlLabel& label = p.labels[r.circuit == 2 ? 1 : 0];
    const size_t first = r.at(3) == 2 ? 0 : 10;
    const size_t count = std::min<size_t>(r.at(4), 10);
    for (size_t i = 0; i < 10; ++i)
        label.chars[first + i] =
            i < count ? static_cast<uint16_t>(r.at(5 + 2 * i) | r.at(6 + 2 * i) << 8) : 0;
    label.language = r.at(29);
    a.part = first == 0 ? 1 : 2;
    a.persistent = true;
    a.report = format("label half %d: \"%s\" (language %d)", a.part, utf8(label.chars).c_str(),
                      label.language);
}

// ---- the command table ----

struct Command {
    uint8_t code;
    uint8_t message; // 255: any
    Handler handler;
    bool persistent; // what it changes is kept in the state file
};

constexpr Command COMMANDS[] = {
    {200, CTL_MSG_CIRCUIT, standby, true},
    {201, CTL_MSG_CIRCUIT, onlyHotWater, true},
    {202, CTL_MSG_CIRCUIT, heatingAndHotWater, true},
    {203, CTL_MSG_CIRCUIT, partyOn, false},
    {204, CTL_MSG_CIRCUIT, partyOff, false},
    {220, CTL_MSG_CIRCUIT, economyOn, true},
    {221, CTL_MSG_CIRCUIT, economyOff, true},
    {205, CTL_MSG_CIRCUIT, setValue, true},
    {206, CTL_MSG_CIRCUIT, setValue, true},
    {207, CTL_MSG_CIRCUIT, setValue, true},
    {208, CTL_MSG_CIRCUIT, dhwSetTemp, true},
    {209, CTL_MSG_CIRCUIT, settingsValue, true},
    {210, CTL_MSG_CIRCUIT, setValue, true},
    {211, CTL_MSG_CIRCUIT, setValue, true},
    {215, CTL_MSG_CIRCUIT, timeProgramMode, true},
    {237, CTL_MSG_CIRCUIT, timeProgramMode, true},
    {216, CTL_MSG_CIRCUIT, timeProgramMode, true},
    {238, CTL_MSG_CIRCUIT, timeProgramMode, true},
    {217, CTL_MSG_CIRCUIT, holidayDate, true},
    {218, CTL_MSG_CIRCUIT, holidayDate, true},
    {219, CTL_MSG_CIRCUIT, holidayDelete, true},
    {229, CTL_MSG_CIRCUIT, basicSetting, true},
    {229, CTL_MSG_SOLAR, solarCounterReset, true},
    {252, CTL_MSG_CIRCUIT, brightness, true},
    {212, CTL_MSG_SYSTEM, clockSet, false},
    {213, CTL_MSG_SYSTEM, clockSet, false},
    {250, CTL_MSG_SYSTEM, fanSpeed, true},
    {223, CTL_MSG_STATISTICS, counterReset, true},
    {224, CTL_MSG_STATISTICS, counterReset, true},
    {225, CTL_MSG_STATISTICS, counterReset, true},
    {226, CTL_MSG_STATISTICS, counterReset, true},
    {227, CTL_MSG_STATISTICS, counterReset, true},
    {232, CTL_MSG_STATISTICS, dampedOutsideReset, false},
    {235, CTL_MSG_STATISTICS, faultAcknowledge, true},
    {242, CTL_MSG_STATISTICS, maintenanceAcknowledge, true},
    {239, CTL_MSG_HISTORY_CLEAR, historyClear, true},
    {240, CTL_MSG_CONFIG, announcement, false},
    {234, CTL_MSG_BOILER, displaySettings, true},
    {245, CTL_MSG_BOILER, servicePin, false},
    {247, CTL_MSG_BOILER, testFunction, false},
    {248, CTL_MSG_BOILER, heatOutput, true},
    {243, CTL_MSG_PARTICIPANT, participantCommand, false},
    {244, CTL_MSG_PARTICIPANT, participantCommand, false},
    {246, CTL_MSG_PARTICIPANT, participantCommand, false},
    {222, CTL_MSG_ACTUATOR, actuatorTest, false},
    {228, CTL_MSG_CODING, coding, false},
    {230, CTL_MSG_CODING, coding, false},
    {214, 255, switchingTime, true},
};

std::string circuitPrefix(const Request& r)
{
    return r.message <= CTL_MSG_LAST_DAY ? format(" circuit %d", r.circuit) : std::string();
}

} // namespace

CtlApplied CTL_ApplyRequest(CtlPlant& p, std::span<const uint8_t> bytes)
{
    Request r{bytes, !bytes.empty() && bytes[0] == CTL_LONG_BLOCK, 0, 0, 0, 0};
    r.message = r.at(1) >> 3;
    r.sequence = r.at(1) & 7;
    r.circuit = r.at(2);
    r.code = r.at(3);
    CtlApplied a;
    a.message = r.message;
    a.circuit = r.circuit;
    a.sequence = r.sequence;

    if (r.isLong && r.message == CTL_MSG_LABEL) {
        if (isCircuit(r.circuit))
            labelHalf(p, r, a);
        else
            a.report = format("label for circuit %d: no such circuit", r.circuit);
        a.report = format("label circuit %d: ", r.circuit) + a.report;
        return a;
    }
    if (r.code == CTL_CMD_DATA_REQUEST) {
        a.part = r.at(4);
        return a;
    }
    const bool circuitCommand = r.message <= CTL_MSG_LAST_DAY && r.message != CTL_MSG_STATISTICS;
    const std::string prefix = format("%d", r.code) + circuitPrefix(r) + ": ";
    if (circuitCommand && !isCircuit(r.circuit)) {
        a.report = prefix + "no such circuit, nothing done";
        return a;
    }
    for (const Command& c : COMMANDS) {
        if (c.code != r.code || (c.message != 255 && c.message != r.message)) continue;
        c.handler(p, r, a);
        a.persistent = a.persistent || c.persistent;
        a.report = prefix + a.report;
        return a;
    }
    a.report = prefix + format("unknown command on message %d, answered only", r.message);
    return a;
}
