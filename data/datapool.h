// The data pool: every value the panel shows or changes. Most blocks are the image of one
// controller message; the link copies a message into its block and posts the message's signal,
// screens read the blocks through the accessors below and redraw on that signal. Everything
// runs on the event thread; only the status copy out of the link buffers takes the interrupt
// lock.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "display/text.h"

// ---------------------------------------------------------------------------------------------
// Blocks

enum class DatBlock : uint8_t {
    Statistics,
    Circuit1,
    Circuit2,
    Circuit3,
    Settings,
    System,
    Burner,
    Config,
    Coding,
    Boiler,
    Participant,
    Solar,
    CircuitDiag,
    FaultList,
    FaultHistory,
    Extra,
    SolarStats,
    Label1,
    Label2,
    Status,
    // Panel-side working copies and last taken-over status values.
    CircuitView,
    CircuitStatus,
    StatusFlags, // status bytes 0..1 as taken over, little-endian
    StatusByte7,
    Count
};

inline constexpr size_t DAT_STATISTICS_SIZE = 24;
inline constexpr size_t DAT_CIRCUIT_SIZE = 28;
inline constexpr size_t DAT_SETTINGS_SIZE = 7;
inline constexpr size_t DAT_SYSTEM_SIZE = 10;
inline constexpr size_t DAT_BURNER_SIZE = 11;
inline constexpr size_t DAT_CONFIG_SIZE = 30;
inline constexpr size_t DAT_CODING_SIZE = 26;
inline constexpr size_t DAT_BOILER_SIZE = 54;
inline constexpr size_t DAT_PARTICIPANT_SIZE = 37;
inline constexpr size_t DAT_SOLAR_SIZE = 25;
inline constexpr size_t DAT_CIRCUIT_DIAG_SIZE = 27;
inline constexpr size_t DAT_FAULT_RECORD_SIZE = 11;
inline constexpr size_t DAT_FAULT_RECORDS = 10;
inline constexpr size_t DAT_FAULT_LIST_SIZE = DAT_FAULT_RECORD_SIZE * DAT_FAULT_RECORDS;
inline constexpr size_t DAT_EXTRA_SIZE = 29;
inline constexpr size_t DAT_SOLAR_STATS_SIZE = 29;
inline constexpr size_t DAT_LABEL_CHARS = 20;
inline constexpr size_t DAT_LABEL_SIZE = DAT_LABEL_CHARS * 2;
inline constexpr size_t DAT_STATUS_SIZE = 20;
inline constexpr size_t DAT_CIRCUIT_STATUS_SIZE = 4;

// Sizes by block, in the order of DatBlock.
inline constexpr std::array<uint8_t, static_cast<size_t>(DatBlock::Count)> DAT_BLOCK_SIZES{
    DAT_STATISTICS_SIZE,
    DAT_CIRCUIT_SIZE,
    DAT_CIRCUIT_SIZE,
    DAT_CIRCUIT_SIZE,
    DAT_SETTINGS_SIZE,
    DAT_SYSTEM_SIZE,
    DAT_BURNER_SIZE,
    DAT_CONFIG_SIZE,
    DAT_CODING_SIZE,
    DAT_BOILER_SIZE,
    DAT_PARTICIPANT_SIZE,
    DAT_SOLAR_SIZE,
    DAT_CIRCUIT_DIAG_SIZE,
    DAT_FAULT_LIST_SIZE,
    DAT_FAULT_LIST_SIZE,
    DAT_EXTRA_SIZE,
    DAT_SOLAR_STATS_SIZE,
    DAT_LABEL_SIZE,
    DAT_LABEL_SIZE,
    DAT_STATUS_SIZE,
    DAT_CIRCUIT_SIZE,
    DAT_CIRCUIT_STATUS_SIZE,
    2,
    1};

inline constexpr uint8_t DAT_BlockSize(DatBlock b)
{
    return DAT_BLOCK_SIZES[static_cast<size_t>(b)];
}

// The bytes of a block, for the link's message take-over and the simulated plant values.
// Screens use the accessors.
std::span<uint8_t> DAT_Block(DatBlock b);
DatBlock DAT_CircuitRecord(uint8_t circuit); // 1..3

// Raw reads by offset, for the diagnosis lines that name pool offsets themselves; multi-byte
// values are little-endian. An offset past the block reads 0.
uint8_t DAT_ReadByte(DatBlock b, size_t offset);
uint16_t DAT_ReadU16(DatBlock b, size_t offset);
uint32_t DAT_ReadU32(DatBlock b, size_t offset);

// ---------------------------------------------------------------------------------------------
// Flags: one bit of a block byte. This table is where every flag of the pool lives, the ones
// the controller's message layout fixes and the ones this panel placed itself; the simulated
// plant values leave all of them clear unless they set the byte.

enum class DatFlag : uint8_t {
    // StatusFlags (status bytes 0..1 as taken over)
    RadioClockSignal,
    FaultPresent,
    BurnerStage1On,
    WinkRequest, // the controller asks the panel to wink
    BurnerStage2On,
    FlowSwitch,
    StoragePumpOn, // storage charging pump
    CirculationPumpOn,
    BurnerLockedOut,
    TempUnitFahrenheit,
    MaintenanceByHours,
    MaintenanceByInterval,
    Restart3Uhr,     // the controller requests the 3 o'clock restart
    MaintenanceDue,  // acknowledgeable
    ControllerReset, // the controller requests a panel reset
    // StatusBlock byte 5: test states; the next status transfer overwrites them.
    CalibrationActive,
    ParametrisationActive, // burner-control parametrisation
    ActuatorTestActive,
    FlueGasTestActive,
    FillingActive,
    VentingActive,
    CommissioningRequired, // commissioning requested
    CommissioningPending,  // commissioning not yet finished
    // StatusByte7
    StatusByte7Flag, // with its own hold-off
    InternalPumpOn,
    // BoilerBlock byte 0 is the controller's module byte
    ParticipantCheckAvailable,
    CirculationPumpConfigured,
    ClockMustBeSet,
    ExternalDemand,     // external connection: demand
    ExternalLock,       // external connection: lock
    ExternalConnection, // external connection extension fitted
    InternalOutputOn,
    CollectiveFault,
    // CircuitStatus (slot of the selected circuit)
    ExternalSwitchOver, // external switch-over holds the heating
    ExternalProgram,
    EconomyBlocked,
    CircuitPumpOn,
    EconomyAllowed, // economy mode possible now
    // CircuitView mode word
    EconomyMode,
    PartyMode,
    HolidayActive, // holiday programme set
    DhwTimeProgramAuto,
    CirculationTimeProgramAuto,
    // ConfigBlock
    DhwPresent,    // hot-water part present
    SolarPresent,  // solar module present
    DhwConfigured, // hot-water preparation configured
    DhwSetAtPanel, // hot-water set temperature set at this panel
    FuelConsumptionReported,
    DhwTimeProgramsShown,  // hot-water and circulation time programs shown
    DisplaySettingsMarker, // display-settings command carries 170 instead of 85
    // SystemBlock
    OutsideTempReported,
    CommonFlowTempShown,
    OutsideSensorFault,
    BoilerSensorFault,
    CommonFlowSensorFault,
    DhwSensorFault,
    // SolarBlock byte 7
    SolarPumpOn,
    AfterHeatingSuppressed, // after-heating suppression
    CollectorTempShown,
    SolarPumpSpeedShown, // pump speed shown instead of on/off
    CollectorSensorFault,
    DhwSolarSensorFault,
    Count
};

struct DatFlagPlace {
    DatFlag flag;
    DatBlock block;
    uint8_t offset;
    uint8_t bit;
};

// Places of the flags, one row per flag in the order of DatFlag.
inline constexpr std::array<DatFlagPlace, static_cast<size_t>(DatFlag::Count)> DAT_FLAG_PLACES{{
    {DatFlag::RadioClockSignal, DatBlock::StatusFlags, 0, 0},
    {DatFlag::FaultPresent, DatBlock::StatusFlags, 0, 1},
    {DatFlag::BurnerStage1On, DatBlock::StatusFlags, 0, 2},
    {DatFlag::WinkRequest, DatBlock::StatusFlags, 0, 3},
    {DatFlag::BurnerStage2On, DatBlock::StatusFlags, 0, 4},
    {DatFlag::FlowSwitch, DatBlock::StatusFlags, 0, 5},
    {DatFlag::StoragePumpOn, DatBlock::StatusFlags, 0, 6},
    {DatFlag::CirculationPumpOn, DatBlock::StatusFlags, 0, 7},
    {DatFlag::BurnerLockedOut, DatBlock::StatusFlags, 1, 0},
    {DatFlag::TempUnitFahrenheit, DatBlock::StatusFlags, 1, 1},
    {DatFlag::MaintenanceByHours, DatBlock::StatusFlags, 1, 3},
    {DatFlag::MaintenanceByInterval, DatBlock::StatusFlags, 1, 4},
    {DatFlag::Restart3Uhr, DatBlock::StatusFlags, 1, 5},
    {DatFlag::MaintenanceDue, DatBlock::StatusFlags, 1, 6},
    {DatFlag::ControllerReset, DatBlock::StatusFlags, 1, 7},
    {DatFlag::CalibrationActive, DatBlock::Status, 5, 0},
    {DatFlag::ParametrisationActive, DatBlock::Status, 5, 1},
    {DatFlag::ActuatorTestActive, DatBlock::Status, 5, 2},
    {DatFlag::FlueGasTestActive, DatBlock::Status, 5, 3},
    {DatFlag::FillingActive, DatBlock::Status, 5, 4},
    {DatFlag::VentingActive, DatBlock::Status, 5, 5},
    {DatFlag::CommissioningRequired, DatBlock::Status, 5, 6},
    {DatFlag::CommissioningPending, DatBlock::Status, 5, 7},
    {DatFlag::StatusByte7Flag, DatBlock::StatusByte7, 0, 5},
    {DatFlag::InternalPumpOn, DatBlock::StatusByte7, 0, 6},
    {DatFlag::ParticipantCheckAvailable, DatBlock::Boiler, 0, 1},
    {DatFlag::CirculationPumpConfigured, DatBlock::Boiler, 0, 6},
    {DatFlag::ClockMustBeSet, DatBlock::Boiler, 0, 7},
    {DatFlag::ExternalDemand, DatBlock::Boiler, 1, 2},
    {DatFlag::ExternalLock, DatBlock::Boiler, 1, 3},
    {DatFlag::ExternalConnection, DatBlock::Boiler, 1, 4},
    {DatFlag::InternalOutputOn, DatBlock::Boiler, 13, 0},
    {DatFlag::CollectiveFault, DatBlock::Boiler, 13, 4},
    {DatFlag::ExternalSwitchOver, DatBlock::CircuitStatus, 3, 0},
    {DatFlag::ExternalProgram, DatBlock::CircuitStatus, 3, 1},
    {DatFlag::EconomyBlocked, DatBlock::CircuitStatus, 2, 3},
    {DatFlag::CircuitPumpOn, DatBlock::CircuitStatus, 2, 6},
    {DatFlag::EconomyAllowed, DatBlock::CircuitStatus, 2, 7},
    {DatFlag::EconomyMode, DatBlock::CircuitView, 3, 3},
    {DatFlag::PartyMode, DatBlock::CircuitView, 3, 4},
    {DatFlag::HolidayActive, DatBlock::CircuitView, 3, 5},
    {DatFlag::DhwTimeProgramAuto, DatBlock::CircuitView, 3, 6},
    {DatFlag::CirculationTimeProgramAuto, DatBlock::CircuitView, 3, 7},
    {DatFlag::DhwPresent, DatBlock::Config, 23, 6},
    {DatFlag::SolarPresent, DatBlock::Config, 23, 7},
    {DatFlag::DhwConfigured, DatBlock::Config, 24, 1},
    {DatFlag::DhwSetAtPanel, DatBlock::Config, 24, 4},
    {DatFlag::FuelConsumptionReported, DatBlock::Config, 24, 5},
    {DatFlag::DhwTimeProgramsShown, DatBlock::Config, 24, 6},
    {DatFlag::DisplaySettingsMarker, DatBlock::Config, 24, 7},
    {DatFlag::OutsideTempReported, DatBlock::System, 0, 0},
    {DatFlag::CommonFlowTempShown, DatBlock::System, 0, 6},
    {DatFlag::OutsideSensorFault, DatBlock::System, 1, 0},
    {DatFlag::BoilerSensorFault, DatBlock::System, 1, 1},
    {DatFlag::CommonFlowSensorFault, DatBlock::System, 1, 6},
    {DatFlag::DhwSensorFault, DatBlock::System, 1, 7},
    {DatFlag::SolarPumpOn, DatBlock::Solar, 7, 0},
    {DatFlag::AfterHeatingSuppressed, DatBlock::Solar, 7, 1},
    {DatFlag::CollectorTempShown, DatBlock::Solar, 7, 2},
    {DatFlag::SolarPumpSpeedShown, DatBlock::Solar, 7, 3},
    {DatFlag::CollectorSensorFault, DatBlock::Solar, 7, 5},
    {DatFlag::DhwSolarSensorFault, DatBlock::Solar, 7, 7},
}};

constexpr bool DAT_FlagPlacesValid()
{
    for (size_t i = 0; i < DAT_FLAG_PLACES.size(); ++i) {
        const DatFlagPlace& p = DAT_FLAG_PLACES[i];
        if (static_cast<size_t>(p.flag) != i) return false;
        if (p.offset >= DAT_BlockSize(p.block) || p.bit > 7) return false;
        for (size_t k = i + 1; k < DAT_FLAG_PLACES.size(); ++k) {
            const DatFlagPlace& q = DAT_FLAG_PLACES[k];
            if (q.block == p.block && q.offset == p.offset && q.bit == p.bit) return false;
        }
    }
    return true;
}
static_assert(DAT_FlagPlacesValid(),
              "each flag's row in the order of DatFlag, inside its block, no bit used twice");

bool DAT_GetFlag(DatFlag f);
// Flags of the view and of CircuitStatus are committed to the selected circuit's record.
void DAT_SetFlag(DatFlag f, bool on);

inline bool DAT_GetFaultPresent() { return DAT_GetFlag(DatFlag::FaultPresent); }
inline bool DAT_GetMaintenanceDue() { return DAT_GetFlag(DatFlag::MaintenanceDue); }
inline bool DAT_GetTempUnitFahrenheit() { return DAT_GetFlag(DatFlag::TempUnitFahrenheit); }
inline void DAT_SetTempUnitFahrenheit(bool on) { DAT_SetFlag(DatFlag::TempUnitFahrenheit, on); }
inline bool DAT_GetEconomyMode() { return DAT_GetFlag(DatFlag::EconomyMode); }
inline void DAT_SetEconomyMode(bool on) { DAT_SetFlag(DatFlag::EconomyMode, on); }
inline bool DAT_GetPartyMode() { return DAT_GetFlag(DatFlag::PartyMode); }
inline void DAT_SetPartyMode(bool on) { DAT_SetFlag(DatFlag::PartyMode, on); }
inline bool DAT_GetDhwPresent() { return DAT_GetFlag(DatFlag::DhwPresent); }
inline bool DAT_GetSolarPresent() { return DAT_GetFlag(DatFlag::SolarPresent); }
inline bool DAT_GetDhwSetAtPanel() { return DAT_GetFlag(DatFlag::DhwSetAtPanel); }
inline bool DAT_GetDhwTimeProgramsShown() { return DAT_GetFlag(DatFlag::DhwTimeProgramsShown); }
inline bool DAT_GetActuatorTestActive() { return DAT_GetFlag(DatFlag::ActuatorTestActive); }
inline void DAT_SetActuatorTestActive(bool on) { DAT_SetFlag(DatFlag::ActuatorTestActive, on); }
// The simulation commands set these two from the window thread under the tick lock.
inline bool DAT_GetCalibrationActive() { return DAT_GetFlag(DatFlag::CalibrationActive); }
inline void DAT_SetCalibrationActive(bool on) { DAT_SetFlag(DatFlag::CalibrationActive, on); }
inline bool DAT_GetParametrisationActive() { return DAT_GetFlag(DatFlag::ParametrisationActive); }
inline void DAT_SetParametrisationActive(bool on)
{
    DAT_SetFlag(DatFlag::ParametrisationActive, on);
}
// Either stage of the burner in operation (the flame symbol).
inline bool DAT_BurnerOn()
{
    return DAT_GetFlag(DatFlag::BurnerStage1On) || DAT_GetFlag(DatFlag::BurnerStage2On);
}
// Either maintenance reason (the maintenance entries of the menus).
inline bool DAT_MaintenanceFlagged()
{
    return DAT_GetFlag(DatFlag::MaintenanceByHours) || DAT_GetFlag(DatFlag::MaintenanceByInterval);
}
// A LON communication module: module byte bit 0 set, bits 2..3 clear.
bool DAT_LonModulePresent();

// ---------------------------------------------------------------------------------------------
// Temperatures. Measured values are half degrees Celsius; shown values are whole degrees.

int16_t DAT_HalfToDegrees(int16_t halfDegrees); // signed rule, rounds away from zero
inline int16_t DAT_UnsignedHalfToDegrees(uint8_t raw)
{
    return static_cast<int16_t>((raw + 1) / 2);
}
// Celsius to the display unit and back (identity while the unit is Celsius).
int16_t DAT_ToDisplayTemp(int16_t celsius);
int16_t DAT_FromDisplayTemp(int16_t display);

int16_t DAT_GetBoilerTemp();
bool DAT_BoilerTempValid();
int16_t DAT_GetBoilerSetTemp();
int16_t DAT_GetDhwTemp();
bool DAT_DhwTempValid();
int16_t DAT_GetOutsideTemp();
bool DAT_OutsideTempValid();
int16_t DAT_GetOutsideTempDamped();
int16_t DAT_GetRoomTemp(); // of the selected circuit
int16_t DAT_GetCollectorTemp();
int16_t DAT_GetDhwSolarTemp();

// ---------------------------------------------------------------------------------------------
// Circuit values: read and written in the view of the selected circuit; every setter commits.

enum class OperatingProgram : uint8_t { OnlyHotWater = 0, HeatingAndHotWater = 3, Standby = 5 };

uint8_t DAT_GetOperatingProgram(); // bits 0..2 of the mode word
void DAT_SetOperatingProgram(uint8_t program);
inline bool DAT_IsStandby() { return DAT_GetOperatingProgram() == 5; }
inline bool DAT_IsOnlyHotWater() { return DAT_GetOperatingProgram() == 0; }
inline bool DAT_IsHeatingAndHotWater()
{
    const uint8_t p = DAT_GetOperatingProgram();
    return p == 3 || p == 4;
}
uint16_t DAT_GetCircuitModeWord();
// The room set temperatures the panel lets the user choose, whole degrees Celsius; the party
// temperature starts no lower than its own minimum.
inline constexpr uint8_t DAT_ROOM_SET_TEMP_MIN = 3;
inline constexpr uint8_t DAT_ROOM_SET_TEMP_MAX = 37;
inline constexpr uint8_t DAT_PARTY_SET_TEMP_MIN = 4;
uint8_t DAT_GetRoomSetTemp();
void DAT_SetRoomSetTemp(uint8_t celsius);
uint8_t DAT_GetRoomSetTempReduced();
void DAT_SetRoomSetTempReduced(uint8_t celsius);
uint8_t DAT_GetPartySetTemp();
void DAT_SetPartySetTemp(uint8_t celsius);
uint8_t DAT_GetDhwSetTemp();
void DAT_SetDhwSetTemp(uint8_t celsius);
uint8_t DAT_GetDhwSetTempMax();
uint8_t DAT_GetDhwSetTempMin();
uint8_t DAT_GetHeatingCurveSlope(); // tenths
void DAT_SetHeatingCurveSlope(uint8_t tenths);
int8_t DAT_GetHeatingCurveLevel();
void DAT_SetHeatingCurveLevel(int8_t level);

// Holiday programme: packed dates in the view, seconds (day start, local time) derived from
// them on every view load; 0 is "no date".
inline constexpr uint32_t DAT_NO_DATE = 0x010107B2; // 1 January 1970
uint32_t DAT_GetHolidayStart();
uint32_t DAT_GetHolidayEnd();
uint32_t DAT_GetHolidayStartPacked();
uint32_t DAT_GetHolidayEndPacked();
void DAT_SetHolidayStart(uint32_t seconds);
void DAT_SetHolidayEnd(uint32_t seconds);
void DAT_ClearHoliday(); // both dates "no date", holiday flag clear
// Packed controller date to seconds; a date outside 1970..2099 or with an impossible month or
// day is "no date" (0).
uint32_t DAT_PackedDateToSeconds(uint32_t packed);
uint32_t DAT_SecondsToPackedDate(uint32_t seconds);

// ---------------------------------------------------------------------------------------------
// Circuit selection

uint8_t DAT_GetSelectedCircuit();
uint8_t DAT_CircuitCount();
uint8_t DAT_FirstCircuit();
bool DAT_CircuitPresent(uint8_t n);
// n outside 0..2 is an internal error (reset 133) and changes nothing.
void DAT_SelectCircuit(uint8_t n);
void DAT_NextCircuit();
void DAT_PrevCircuit();
void DAT_LoadCircuitView(uint8_t n);
void DAT_CommitCircuitView();
bool DAT_HasRemoteControl();
bool DAT_CircuitFlag14(uint8_t n);

// Circuit labels (TXT_HEIZKREIS_1 = circuit 1, TXT_HEIZKREIS_2 = circuit 2), UTF-16 with the
// language they were entered in.
void DAT_SetCircuitLabel(TextId id, const char* utf8);
void DAT_ClearCircuitLabel(TextId id);
// Circuit label of TXT_HEIZKREIS_1 (circuit 1) or TXT_HEIZKREIS_2 (circuit 2) as UTF-8 when one is
// stored in the current language: at most size - 1 bytes, cut at a character boundary, always
// terminated; returns its length, 0 when the catalogue text applies.
uint16_t DAT_GetCircuitLabel(TextId id, char* buffer, uint16_t size);
uint8_t DAT_GetLabelLanguage(uint8_t circuit);
void DAT_SetLabelLanguage(uint8_t circuit, uint8_t language);

// ---------------------------------------------------------------------------------------------
// Status processing and acknowledgements

// Takes a status transfer over (the link's copy of its status buffer): edge signals, pending
// messages, hold-offs, then SIG_DATA_CHANGED.
void DAT_TakeStatus(std::span<const uint8_t, DAT_STATUS_SIZE> transfer);
void DAT_TickHoldOffs(); // every second
void DAT_SetFaultPresent(bool on);
void DAT_SetMaintenanceDue(bool on);
void DAT_SetStatusByte7Flag(bool on);
uint8_t DAT_GetFaultPending();
void DAT_SetFaultPending(uint8_t v);
uint8_t DAT_GetMaintenancePending();
void DAT_SetMaintenancePending(uint8_t v);
uint8_t DAT_GetFaultAckHold();
uint8_t DAT_GetMaintAckHold();
uint8_t DAT_GetFlagHold();
uint16_t DAT_GetStatusFlags();
uint8_t DAT_GetStatusByte7();
void DAT_EnterPanelFault(uint8_t code);

// Fault list and history: the record selected by FaultIndex / HistoryIndex (callers keep the
// index within 0..9). A record is present when its code is not 0.
void DAT_SetFaultIndex(uint8_t i);
uint8_t DAT_GetFaultIndex();
uint8_t DAT_GetFaultCode();
uint8_t DAT_GetFaultCategory();
uint16_t DAT_GetFaultHelpCategory();
uint32_t DAT_GetFaultTime();
void DAT_SetHistoryIndex(uint8_t i);
uint8_t DAT_GetHistoryIndex();
uint8_t DAT_GetHistoryCode();
uint8_t DAT_GetHistoryCategory();
uint16_t DAT_GetHistoryHelpCategory();
uint32_t DAT_GetHistoryTime();

// ---------------------------------------------------------------------------------------------
// Plant values

uint32_t DAT_GetClockSeconds();
void DAT_SetClockSeconds(uint32_t seconds);
uint16_t DAT_GetCodingPlug();
bool DAT_TwoStageBurner();
uint8_t DAT_GetBurnerType();         // BoilerBlock offset 4: 0 heat output, 1 fan speed limits
uint8_t DAT_GetOperatingLockLevel(); // upper four bits of ConfigBlock offset 5, 0 = menus open
uint8_t DAT_GetStatusNibble7();      // low four bits of status byte 7: circuit diagnosis
uint32_t DAT_GetFuelConsumption();
uint32_t DAT_GetOperatingHoursStage1();
uint32_t DAT_GetOperatingHoursStage2();
uint32_t DAT_GetBurnerStarts();
uint16_t DAT_GetMaintenanceHours();   // burner hours until maintenance, statistics offset 19
uint8_t DAT_GetMaintenanceInterval(); // months, statistics offset 23
uint32_t DAT_GetSolarEnergy();        // kWh
uint16_t DAT_GetSolarPumpHours();
uint8_t DAT_GetSolarPumpSpeed(); // %
uint32_t DAT_GetSolarStagnationHours();
uint32_t DAT_GetSolarPumpStarts();
uint32_t DAT_GetNightCirculationCount();
uint32_t DAT_GetDiffTempMonitorCount();
bool DAT_SolarCountersShown();
// Daily solar yields in watt-hours: 0 today (SolarBlock offset 13), 1..7 the days before
// (the seven values of the ExtraBlock), 8 or more read 0.
uint32_t DAT_GetDailySolarYield(uint8_t day);

// Service values. The participant answer (message 16) carries number, address and the actuator
// list in the bytes a frame can bring; the check result and the panel's own number come with
// the boiler values (message 15).
uint8_t DAT_GetOwnParticipantNumber();   // BoilerBlock offset 2
uint8_t DAT_GetParticipantNumber();      // ParticipantBlock offset 0, 255 = list complete
uint8_t DAT_GetParticipantAddress();     // ParticipantBlock offset 1
uint8_t DAT_GetParticipantCheckResult(); // BoilerBlock offset 3, 254 or more = not OK
inline constexpr uint8_t DAT_ACTUATOR_CODES = 25;
uint8_t DAT_GetActuatorCode(uint8_t i); // ParticipantBlock offsets 2..26; 0 ends the list
// Fan speed per stage (1 or 2) in the BurnerBlock: minimum, maximum, value at offsets 0..2 for
// stage 1 and 3..5 for stage 2.
uint8_t DAT_GetFanSpeedMin(uint8_t stage);
uint8_t DAT_GetFanSpeedMax(uint8_t stage);
uint8_t DAT_GetFanSpeed(uint8_t stage);
void DAT_SetFanSpeed(uint8_t stage, uint8_t value);
// Heat output in % of the BoilerBlock: value offset 38, minimum 39, maximum 40.
uint8_t DAT_GetHeatOutputMin();
uint8_t DAT_GetHeatOutputMax();
uint8_t DAT_GetHeatOutput();
void DAT_SetHeatOutput(uint8_t value);

// Coding parameters: the request most recently sent and the matching entry of the answer.
struct CodingRequest {
    uint8_t address;
    uint8_t group;
    uint8_t direction; // 1 upwards, 0 downwards
};
void DAT_SetCodingRequest(const CodingRequest& r);
CodingRequest DAT_GetCodingRequest();
void DAT_SetCodingLevel(uint8_t level);
uint8_t DAT_GetCodingLevel();
void DAT_SetCodingGroup(uint32_t group);
uint32_t DAT_GetCodingGroup();
// The current entry: the one whose address and group equal the request, else the second.
uint8_t DAT_GetCodingEntryAddress();
int16_t DAT_GetCodingEntryValue();
int16_t DAT_GetCodingEntryMin();
int16_t DAT_GetCodingEntryMax();
void DAT_SetCodingEntryValue(int16_t value);

// ---------------------------------------------------------------------------------------------
// Display settings

uint8_t DAT_GetDisplayContrast();
void DAT_SetDisplayContrast(uint8_t contrast);
uint8_t DAT_GetBrightnessOperation();
void DAT_SetBrightnessOperation(uint8_t level);
uint8_t DAT_GetBrightnessIdle();
void DAT_SetBrightnessIdle(uint8_t level);
uint8_t DAT_GetLanguageIndex();
void DAT_SetLanguageIndex(uint8_t language);
// The controller's contrast and language from its system message.
void DAT_TakeDisplaySettings(uint8_t contrast, uint8_t language);
// The setters only store. A change the panel makes is shown at once by its caller; what the
// controller sends waits for communication start. Both make the pool's contrast and language
// the display's and the texts' here, and nowhere else.
void DAT_ApplyDisplaySettings();

// ---------------------------------------------------------------------------------------------
// Start-up

// With reason 2 (3 o'clock restart) the pool is kept; otherwise it is cleared and filled with
// the simulated plant values. Runs during start-up with interrupts disabled.
void DAT_ClearAll(uint8_t reason);
// The demonstration plant shown without a controller; ends with the view of circuit 1.
void DAT_InitSimulatedValues();
