// Item accessors: temperatures, circuit values of the view, holiday dates, plant and service
// values, coding parameters.
#include "data/datapool.h"
#include "data/pool.h"
#include "kernel/dtm.h"

namespace {

DataPool& pool = dataPool;

// View offsets of the circuit values.
constexpr size_t VIEW_ROOM_TEMP = 2;
constexpr size_t VIEW_DHW_SET = 7;
constexpr size_t VIEW_DHW_SET_MAX = 8;
constexpr size_t VIEW_ROOM_SET = 9;
constexpr size_t VIEW_ROOM_SET_REDUCED = 10;
constexpr size_t VIEW_PARTY_SET = 11;
constexpr size_t VIEW_CURVE_SLOPE = 12;
constexpr size_t VIEW_CURVE_LEVEL = 13;

void setViewByte(size_t offset, uint8_t value)
{
    pool.view[offset] = value;
    DAT_CommitCircuitView();
}

// Fan-speed values per stage: minimum, maximum, value.
constexpr size_t fanOffset(uint8_t stage) { return stage == 2 ? 3 : 0; }

// The coding entry whose address and group match the request; the second when none does.
size_t codingEntry()
{
    constexpr size_t entries[] = {1, 9, 17};
    for (size_t e : entries)
        if (pool.coding[e + 1] == pool.codingRequest.address &&
            (pool.coding[e] & 7) == pool.codingRequest.group)
            return e;
    return entries[1];
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Temperatures

int16_t DAT_HalfToDegrees(int16_t v)
{
    return static_cast<int16_t>(v >= 0 ? (v + 1) / 2 : (v - 1) / 2);
}

int16_t DAT_ToDisplayTemp(int16_t c)
{
    if (!DAT_GetTempUnitFahrenheit()) return c;
    return static_cast<int16_t>((c >= 0 ? (18 * c + 5) / 10 : (18 * c - 5) / 10) + 32);
}

int16_t DAT_FromDisplayTemp(int16_t f)
{
    if (!DAT_GetTempUnitFahrenheit()) return f;
    return static_cast<int16_t>(f >= 32 ? (10 * (f - 32) + 9) / 18 : (10 * (f - 32) - 9) / 18);
}

int16_t DAT_GetBoilerTemp() { return DAT_UnsignedHalfToDegrees(pool.status[2]); }
bool DAT_BoilerTempValid() { return !DAT_GetFlag(DatFlag::BoilerSensorFault); }
int16_t DAT_GetBoilerSetTemp() { return DAT_UnsignedHalfToDegrees(pool.system[2]); }
int16_t DAT_GetDhwTemp() { return DAT_UnsignedHalfToDegrees(pool.status[3]); }
bool DAT_DhwTempValid() { return !DAT_GetFlag(DatFlag::DhwSensorFault); }
int16_t DAT_GetOutsideTemp() { return DAT_HalfToDegrees(static_cast<int8_t>(pool.status[6])); }
bool DAT_OutsideTempValid() { return !DAT_GetFlag(DatFlag::OutsideSensorFault); }
int16_t DAT_GetOutsideTempDamped()
{
    return DAT_HalfToDegrees(static_cast<int8_t>(pool.statistics[0]));
}
int16_t DAT_GetRoomTemp()
{
    return DAT_HalfToDegrees(static_cast<int8_t>(pool.view[VIEW_ROOM_TEMP]));
}
int16_t DAT_GetCollectorTemp()
{
    return DAT_HalfToDegrees(static_cast<int16_t>(DAT_LoadU16(&pool.solar[8])));
}
int16_t DAT_GetDhwSolarTemp() { return DAT_UnsignedHalfToDegrees(pool.solar[10]); }

// ---------------------------------------------------------------------------------------------
// Circuit values

uint16_t DAT_GetCircuitModeWord() { return DAT_LoadU16(&pool.view[VIEW_MODE_WORD]); }
uint8_t DAT_GetOperatingProgram() { return pool.view[VIEW_MODE_WORD] & 7; }

void DAT_SetOperatingProgram(uint8_t program)
{
    setViewByte(VIEW_MODE_WORD,
                static_cast<uint8_t>((pool.view[VIEW_MODE_WORD] & ~7) | (program & 7)));
}

uint8_t DAT_GetRoomSetTemp() { return pool.view[VIEW_ROOM_SET]; }
void DAT_SetRoomSetTemp(uint8_t c) { setViewByte(VIEW_ROOM_SET, c); }
uint8_t DAT_GetRoomSetTempReduced() { return pool.view[VIEW_ROOM_SET_REDUCED]; }
void DAT_SetRoomSetTempReduced(uint8_t c) { setViewByte(VIEW_ROOM_SET_REDUCED, c); }
uint8_t DAT_GetPartySetTemp() { return pool.view[VIEW_PARTY_SET]; }
void DAT_SetPartySetTemp(uint8_t c) { setViewByte(VIEW_PARTY_SET, c); }
uint8_t DAT_GetDhwSetTemp() { return pool.view[VIEW_DHW_SET]; }
void DAT_SetDhwSetTemp(uint8_t c) { setViewByte(VIEW_DHW_SET, c); }
uint8_t DAT_GetDhwSetTempMax() { return pool.view[VIEW_DHW_SET_MAX]; }
uint8_t DAT_GetDhwSetTempMin() { return pool.settings[3]; }
uint8_t DAT_GetHeatingCurveSlope() { return pool.view[VIEW_CURVE_SLOPE]; }
void DAT_SetHeatingCurveSlope(uint8_t tenths) { setViewByte(VIEW_CURVE_SLOPE, tenths); }
int8_t DAT_GetHeatingCurveLevel() { return static_cast<int8_t>(pool.view[VIEW_CURVE_LEVEL]); }
void DAT_SetHeatingCurveLevel(int8_t level)
{
    setViewByte(VIEW_CURVE_LEVEL, static_cast<uint8_t>(level));
}

// ---------------------------------------------------------------------------------------------
// Holiday dates

uint32_t DAT_PackedDateToSeconds(uint32_t packed)
{
    DateTime date{};
    date.year = static_cast<uint16_t>(packed & 0xFFFF);
    date.month = static_cast<uint8_t>(packed >> 16);
    date.day = static_cast<uint8_t>(packed >> 24);
    if (date.year < 1970 || date.year > 2099 || date.month < 1 || date.month > 12 || date.day < 1 ||
        date.day > 31)
        return 0;
    return DTM_DateToDays(date) * 86400u;
}

uint32_t DAT_SecondsToPackedDate(uint32_t seconds)
{
    const DateTime d = DTM_SecondsToDateTime(seconds);
    return static_cast<uint32_t>(d.day) << 24 | static_cast<uint32_t>(d.month) << 16 | d.year;
}

uint32_t DAT_GetHolidayStart() { return pool.holidayStart; }
uint32_t DAT_GetHolidayEnd() { return pool.holidayEnd; }
uint32_t DAT_GetHolidayStartPacked() { return DAT_LoadU32(&pool.view[VIEW_HOLIDAY_START]); }
uint32_t DAT_GetHolidayEndPacked() { return DAT_LoadU32(&pool.view[VIEW_HOLIDAY_END]); }

void DAT_SetHolidayStart(uint32_t seconds)
{
    DAT_StoreU32(&pool.view[VIEW_HOLIDAY_START], DAT_SecondsToPackedDate(seconds));
    pool.holidayStart = seconds;
    DAT_CommitCircuitView();
}

void DAT_SetHolidayEnd(uint32_t seconds)
{
    DAT_StoreU32(&pool.view[VIEW_HOLIDAY_END], DAT_SecondsToPackedDate(seconds));
    pool.holidayEnd = seconds;
    DAT_CommitCircuitView();
}

void DAT_ClearHoliday()
{
    DAT_StoreU32(&pool.view[VIEW_HOLIDAY_START], DAT_NO_DATE);
    DAT_StoreU32(&pool.view[VIEW_HOLIDAY_END], DAT_NO_DATE);
    pool.holidayStart = pool.holidayEnd = 0;
    DAT_SetFlag(DatFlag::HolidayActive, false); // commits
}

// ---------------------------------------------------------------------------------------------
// Plant values

uint32_t DAT_GetClockSeconds() { return DAT_LoadU32(&pool.system[6]); }
void DAT_SetClockSeconds(uint32_t seconds) { DAT_StoreU32(&pool.system[6], seconds); }
uint16_t DAT_GetCodingPlug() { return DAT_LoadU16(&pool.config[0]); }
bool DAT_TwoStageBurner() { return pool.config[3] == 1; }
uint8_t DAT_GetBurnerType() { return pool.boiler[4]; }
uint8_t DAT_GetOperatingLockLevel() { return pool.config[5] >> 4; }
uint8_t DAT_GetStatusNibble7() { return pool.status[7] & 0x0F; }
uint32_t DAT_GetFuelConsumption() { return DAT_LoadU32(&pool.statistics[2]); }
uint32_t DAT_GetOperatingHoursStage1() { return DAT_LoadU32(&pool.statistics[6]); }
uint32_t DAT_GetOperatingHoursStage2() { return DAT_LoadU32(&pool.statistics[10]); }
uint32_t DAT_GetBurnerStarts() { return DAT_LoadU32(&pool.statistics[14]); }
uint16_t DAT_GetMaintenanceHours() { return DAT_LoadU16(&pool.statistics[19]); }
uint8_t DAT_GetMaintenanceInterval() { return pool.statistics[23]; }
uint32_t DAT_GetSolarEnergy() { return DAT_LoadU32(&pool.solar[0]); }
uint16_t DAT_GetSolarPumpHours() { return DAT_LoadU16(&pool.solar[4]); }
uint8_t DAT_GetSolarPumpSpeed() { return pool.solar[12]; }
uint32_t DAT_GetSolarStagnationHours() { return DAT_LoadU32(&pool.solar[17]); }
uint32_t DAT_GetSolarPumpStarts() { return DAT_LoadU32(&pool.solar[21]); }
uint32_t DAT_GetNightCirculationCount() { return DAT_LoadU32(&pool.solarStats[0]); }
uint32_t DAT_GetDiffTempMonitorCount() { return DAT_LoadU32(&pool.solarStats[4]); }
bool DAT_SolarCountersShown() { return pool.solar[11] == 99; }

uint32_t DAT_GetDailySolarYield(uint8_t day)
{
    // Today's yield sits in the solar block, the seven days before in the extra block.
    if (day == 0) return DAT_LoadU32(&pool.solar[13]);
    if (day < 8) return DAT_LoadU32(&pool.extra[4 * (day - 1)]);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Service values

uint8_t DAT_GetOwnParticipantNumber() { return pool.boiler[2]; }
uint8_t DAT_GetParticipantNumber() { return pool.participant[0]; }
uint8_t DAT_GetParticipantAddress() { return pool.participant[1]; }
uint8_t DAT_GetParticipantCheckResult() { return pool.boiler[3]; }
uint8_t DAT_GetActuatorCode(uint8_t i)
{
    return i < DAT_ACTUATOR_CODES ? pool.participant[2 + i] : 0;
}
uint8_t DAT_GetFanSpeedMin(uint8_t stage) { return pool.burner[fanOffset(stage)]; }
uint8_t DAT_GetFanSpeedMax(uint8_t stage) { return pool.burner[fanOffset(stage) + 1]; }
uint8_t DAT_GetFanSpeed(uint8_t stage) { return pool.burner[fanOffset(stage) + 2]; }
void DAT_SetFanSpeed(uint8_t stage, uint8_t value) { pool.burner[fanOffset(stage) + 2] = value; }
uint8_t DAT_GetHeatOutputMin() { return pool.boiler[39]; }
uint8_t DAT_GetHeatOutputMax() { return pool.boiler[40]; }
uint8_t DAT_GetHeatOutput() { return pool.boiler[38]; }
void DAT_SetHeatOutput(uint8_t value) { pool.boiler[38] = value; }

// ---------------------------------------------------------------------------------------------
// Coding parameters

void DAT_SetCodingRequest(const CodingRequest& r) { pool.codingRequest = r; }
CodingRequest DAT_GetCodingRequest() { return pool.codingRequest; }
void DAT_SetCodingLevel(uint8_t level) { pool.codingLevel = level; }
uint8_t DAT_GetCodingLevel() { return pool.codingLevel; }
void DAT_SetCodingGroup(uint32_t group) { pool.codingGroup = group; }
uint32_t DAT_GetCodingGroup() { return pool.codingGroup; }
uint8_t DAT_GetCodingEntryAddress() { return pool.coding[codingEntry() + 1]; }
int16_t DAT_GetCodingEntryValue()
{
    return static_cast<int16_t>(DAT_LoadU16(&pool.coding[codingEntry() + 2]));
}
int16_t DAT_GetCodingEntryMin()
{
    return static_cast<int16_t>(DAT_LoadU16(&pool.coding[codingEntry() + 4]));
}
int16_t DAT_GetCodingEntryMax()
{
    return static_cast<int16_t>(DAT_LoadU16(&pool.coding[codingEntry() + 6]));
}

void DAT_SetCodingEntryValue(int16_t value)
{
    DAT_StoreU16(&pool.coding[codingEntry() + 2], static_cast<uint16_t>(value));
}
