// The pool's storage, flags, circuit selection and view, circuit labels and the clear at start.
#include "data/datapool.h"

#include <algorithm>
#include <cstring>

#include "base/utf8.h"
#include "data/pool.h"
#include "data/timeprog.h"
#include "display/flash.h"
#include "display/lcd.h"
#include "display/text.h"
#include "kernel/app.h"
#include "kernel/evt.h"

namespace {

DataPool& pool = dataPool;

static_assert(sizeof(DataPool::statistics) == 24 && sizeof(DataPool::circuits[0]) == 28);
static_assert(sizeof(DataPool::settings) == 7 && sizeof(DataPool::system) == 10 &&
              sizeof(DataPool::burner) == 11);
static_assert(sizeof(DataPool::config) == 30 && sizeof(DataPool::coding) == 26 &&
              sizeof(DataPool::boiler) == 54);
static_assert(sizeof(DataPool::participant) == 37 && sizeof(DataPool::solar) == 25);
static_assert(sizeof(DataPool::circuitDiag) == 27 && sizeof(DataPool::faultList) == 110);
static_assert(sizeof(DataPool::extra) == 29 && sizeof(DataPool::solarStats) == 29);
static_assert(sizeof(DataPool::labels[0]) == 40 && sizeof(DataPool::status) == 20);

uint8_t circuitType(uint8_t n)
{
    return static_cast<uint8_t>(pool.config[23] >> (2 * (n - 1)) & 3);
}

std::span<uint8_t> statusSlot(uint8_t circuit)
{
    return std::span<uint8_t>(pool.status)
        .subspan(STATUS_SLOT_FIRST + 4 * circuit, DAT_CIRCUIT_STATUS_SIZE);
}

// Label of TXT_HEIZKREIS_1 or TXT_HEIZKREIS_2; -1 for any other text.
int labelIndex(TextId id)
{
    if (id == TXT_HEIZKREIS_1) return 0;
    if (id == TXT_HEIZKREIS_2) return 1;
    return -1;
}

bool flagIsCircuitValue(DatBlock b)
{
    return b == DatBlock::CircuitView || b == DatBlock::CircuitStatus;
}

} // namespace

std::span<uint8_t> DAT_Block(DatBlock b)
{
    switch (b) {
    case DatBlock::Statistics: return pool.statistics;
    case DatBlock::Circuit1: return pool.circuits[0];
    case DatBlock::Circuit2: return pool.circuits[1];
    case DatBlock::Circuit3: return pool.circuits[2];
    case DatBlock::Settings: return pool.settings;
    case DatBlock::System: return pool.system;
    case DatBlock::Burner: return pool.burner;
    case DatBlock::Config: return pool.config;
    case DatBlock::Coding: return pool.coding;
    case DatBlock::Boiler: return pool.boiler;
    case DatBlock::Participant: return pool.participant;
    case DatBlock::Solar: return pool.solar;
    case DatBlock::CircuitDiag: return pool.circuitDiag;
    case DatBlock::FaultList: return pool.faultList;
    case DatBlock::FaultHistory: return pool.faultHistory;
    case DatBlock::Extra: return pool.extra;
    case DatBlock::SolarStats: return pool.solarStats;
    case DatBlock::Label1: return pool.labels[0];
    case DatBlock::Label2: return pool.labels[1];
    case DatBlock::Status: return pool.status;
    case DatBlock::CircuitView: return pool.view;
    case DatBlock::CircuitStatus: return pool.circuitStatus;
    case DatBlock::StatusFlags: return pool.statusFlags;
    case DatBlock::StatusByte7: return pool.statusByte7;
    case DatBlock::Count: break;
    }
    return {};
}

DatBlock DAT_CircuitRecord(uint8_t circuit)
{
    return static_cast<DatBlock>(static_cast<uint8_t>(DatBlock::Circuit1) + circuit - 1);
}

uint8_t DAT_ReadByte(DatBlock b, size_t offset)
{
    const std::span<uint8_t> bytes = DAT_Block(b);
    return offset < bytes.size() ? bytes[offset] : 0;
}

uint16_t DAT_ReadU16(DatBlock b, size_t offset)
{
    return static_cast<uint16_t>(DAT_ReadByte(b, offset) | DAT_ReadByte(b, offset + 1) << 8);
}

uint32_t DAT_ReadU32(DatBlock b, size_t offset)
{
    return DAT_ReadU16(b, offset) | static_cast<uint32_t>(DAT_ReadU16(b, offset + 2)) << 16;
}

bool DAT_GetFlag(DatFlag f)
{
    const DatFlagPlace& p = DAT_FLAG_PLACES[static_cast<size_t>(f)];
    return DAT_ReadByte(p.block, p.offset) >> p.bit & 1;
}

void DAT_SetFlag(DatFlag f, bool on)
{
    const DatFlagPlace& p = DAT_FLAG_PLACES[static_cast<size_t>(f)];
    uint8_t& byte = DAT_Block(p.block)[p.offset];
    const uint8_t mask = static_cast<uint8_t>(1u << p.bit);
    byte = static_cast<uint8_t>(on ? byte | mask : byte & ~mask);
    if (flagIsCircuitValue(p.block)) DAT_CommitCircuitView();
}

bool DAT_LonModulePresent() { return (pool.boiler[0] & 0x0D) == 0x01; }

// ---------------------------------------------------------------------------------------------
// Circuit selection and view

uint8_t DAT_GetSelectedCircuit() { return pool.selectedCircuit; }

uint8_t DAT_CircuitCount()
{
    const uint8_t n = static_cast<uint8_t>((circuitType(1) != 0) + (circuitType(2) != 0));
    return n == 0 ? 1 : n;
}

uint8_t DAT_FirstCircuit()
{
    if (circuitType(1) != 0) return 1;
    if (circuitType(2) != 0) return 2;
    return 1;
}

bool DAT_CircuitPresent(uint8_t n) { return (n == 1 || n == 2) && circuitType(n) != 0; }

void DAT_SelectCircuit(uint8_t n)
{
    if (n > 2) {
        EVT_Post(PRIO_UI, SIG_BED_ERROR_RESET, RESET_CIRCUIT_RANGE);
        return;
    }
    DAT_CommitCircuitView();
    pool.selectedCircuit = n;
    DAT_LoadCircuitView(n);
}

namespace {

// Steps the selection through the present circuits; `step` maps a circuit to the next one to try.
void stepCircuit(uint8_t (*step)(uint8_t))
{
    uint8_t c = pool.selectedCircuit;
    for (uint8_t tries = DAT_CircuitCount(); tries > 0; --tries) {
        c = step(c);
        if (DAT_CircuitPresent(c)) {
            DAT_SelectCircuit(c);
            return;
        }
    }
}

} // namespace

void DAT_NextCircuit()
{
    stepCircuit([](uint8_t c) -> uint8_t { return c == 1 ? 2 : 1; });
}

void DAT_PrevCircuit()
{
    stepCircuit([](uint8_t c) -> uint8_t { return c == 2 ? 1 : 2; });
}

void DAT_LoadCircuitView(uint8_t n)
{
    if (n >= 3) {
        EVT_Post(PRIO_UI, SIG_BED_ERROR_RESET, RESET_CIRCUIT_RANGE);
        return;
    }
    if (n == 0) return;
    // A message for the circuit that is not selected only updates its record.
    if (n != pool.selectedCircuit && pool.selectedCircuit != 0) return;
    pool.view = pool.circuits[n - 1];
    const std::span<uint8_t> slot = statusSlot(n);
    std::copy(slot.begin(), slot.end(), pool.circuitStatus.begin());
    pool.holidayStart = DAT_PackedDateToSeconds(DAT_LoadU32(&pool.view[VIEW_HOLIDAY_START]));
    pool.holidayEnd = DAT_PackedDateToSeconds(DAT_LoadU32(&pool.view[VIEW_HOLIDAY_END]));
}

void DAT_CommitCircuitView()
{
    const uint8_t c = pool.selectedCircuit;
    if (c > 2) {
        EVT_Post(PRIO_UI, SIG_BED_ERROR_RESET, RESET_CIRCUIT_COMMIT);
        return;
    }
    if (c == 0) return;
    pool.circuits[c - 1] = pool.view;
    std::copy(pool.circuitStatus.begin(), pool.circuitStatus.end(), statusSlot(c).begin());
}

bool DAT_HasRemoteControl()
{
    if (pool.selectedCircuit == 1) return pool.config[17] != 0;
    if (pool.selectedCircuit == 2) return pool.config[18] != 0;
    return false;
}

bool DAT_CircuitFlag14(uint8_t n)
{
    if (n == 0 || n > 3) return false;
    return DAT_LoadU16(&pool.circuits[n - 1][VIEW_MODE_WORD]) >> 14 & 1;
}

// ---------------------------------------------------------------------------------------------
// Circuit labels

void DAT_SetCircuitLabel(TextId id, const char* utf8)
{
    const int i = labelIndex(id);
    if (i < 0 || utf8 == nullptr || utf8[0] == 0) return;
    std::array<uint16_t, DAT_LABEL_CHARS> chars{};
    const size_t length = std::strlen(utf8);
    GFX_Utf8ToUcs2(utf8, static_cast<uint16_t>(length > 0xFFFF ? 0xFFFF : length), chars.data(),
                   DAT_LABEL_CHARS);
    for (size_t k = 0; k < DAT_LABEL_CHARS; ++k)
        DAT_StoreU16(&pool.labels[i][2 * k], chars[k]);
    pool.labelLanguage[i] = TXT_GetLanguage();
}

void DAT_ClearCircuitLabel(TextId id)
{
    const int i = labelIndex(id);
    if (i < 0) return;
    pool.labels[i].fill(0);
    pool.labelLanguage[i] = 0;
}

uint16_t DAT_GetCircuitLabel(TextId id, char* buffer, uint16_t size)
{
    if (size == 0) return 0;
    buffer[0] = 0;
    const int i = labelIndex(id);
    if (i < 0 || DAT_LoadU16(&pool.labels[i][0]) == 0) return 0;
    if (pool.labelLanguage[i] != TXT_GetLanguage()) return 0;
    std::array<uint16_t, DAT_LABEL_CHARS> chars{};
    uint16_t count = 0;
    while (count < DAT_LABEL_CHARS && (chars[count] = DAT_LoadU16(&pool.labels[i][2 * count])) != 0)
        ++count;
    const uint16_t length =
        GFX_Ucs2ToUtf8(chars.data(), count, buffer, static_cast<uint16_t>(size - 1));
    buffer[length] = 0;
    return length;
}

uint8_t DAT_GetLabelLanguage(uint8_t circuit)
{
    return circuit == 1 || circuit == 2 ? pool.labelLanguage[circuit - 1] : 0;
}

void DAT_SetLabelLanguage(uint8_t circuit, uint8_t language)
{
    if (circuit == 1 || circuit == 2) pool.labelLanguage[circuit - 1] = language;
}

// ---------------------------------------------------------------------------------------------
// Display settings

uint8_t DAT_GetDisplayContrast() { return pool.displayContrast; }
void DAT_SetDisplayContrast(uint8_t contrast) { pool.displayContrast = contrast; }
uint8_t DAT_GetBrightnessOperation() { return pool.brightnessOperation; }
void DAT_SetBrightnessOperation(uint8_t level) { pool.brightnessOperation = level; }
uint8_t DAT_GetBrightnessIdle() { return pool.brightnessIdle; }
void DAT_SetBrightnessIdle(uint8_t level) { pool.brightnessIdle = level; }
uint8_t DAT_GetLanguageIndex() { return pool.languageIndex; }
void DAT_SetLanguageIndex(uint8_t language) { pool.languageIndex = language; }

void DAT_TakeDisplaySettings(uint8_t contrast, uint8_t language)
{
    pool.displayContrast = contrast;
    pool.languageIndex = language;
}

void DAT_ApplyDisplaySettings()
{
    lcd_setContrast(pool.displayContrast);
    TXT_SetLanguage(pool.languageIndex);
}

// ---------------------------------------------------------------------------------------------
// Clearing

void DAT_ClearAll(uint8_t reason)
{
    if (reason == START_3UHR) return;
    pool.selectedCircuit = 1;
    pool.labelLanguage = {0, 0};
    pool.displayContrast = lcd_getDefaultContrast();
    pool.brightnessOperation = FLS_GetOperatingBacklight();
    pool.brightnessIdle = FLS_GetIdleBacklight();
    pool.faultAckHold = pool.maintAckHold = pool.flagHold = 0;

    for (Bytes<DAT_CIRCUIT_SIZE>& record : pool.circuits)
        record.fill(0);
    pool.status.fill(0);
    pool.circuitStatus.fill(0);
    pool.statusFlags.fill(0);
    pool.statusByte7.fill(0);
    pool.faultList.fill(0);
    pool.faultHistory.fill(0);
    pool.extra.fill(0);
    pool.solarStats.fill(0);
    pool.participant.fill(0);
    pool.boiler.fill(0);
    pool.solar.fill(0);
    pool.circuitDiag.fill(0);
    pool.view.fill(0);
    pool.statistics.fill(0);
    pool.settings.fill(0);
    pool.config.fill(0);
    pool.system.fill(0);
    pool.burner.fill(0);
    for (uint8_t set = 0; set < TP_CIRCUIT_SETS; ++set)
        for (uint8_t program = 0; program < TP_PROGRAMS; ++program)
            DAT_ResetTimeProgram(set, static_cast<TimeProgram>(program), TP_PERIOD_ALL_DAYS,
                                 TP_DEFAULT_PHASES[program]);
    for (Bytes<DAT_LABEL_SIZE>& label : pool.labels)
        label.fill(0);
    pool.faultPending = pool.maintenancePending = 0;
    DAT_InitSimulatedValues();
}
