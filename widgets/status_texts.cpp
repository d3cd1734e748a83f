#include "widgets/status_texts.h"

#include "data/datapool.h"

namespace {

constexpr TextId TXT_SCREED = 85;
constexpr TextId TXT_EXTERNAL_HOOKUP = 91;
constexpr TextId TXT_HOLIDAY = 95;
constexpr TextId TXT_EXTERNAL_PROGRAM = 93;
constexpr TextId TXT_PARTY = 197;
constexpr TextId TXT_ECONOMY = 249;
constexpr TextId TXT_HEATING_AND_HOT_WATER = 114;
constexpr TextId TXT_ONLY_HOT_WATER = 193;
constexpr TextId TXT_STANDBY = 10;
constexpr TextId TXT_HEATING_NORMAL = 192;
constexpr TextId TXT_HEATING_REDUCED = 216;
constexpr TextId TXT_CIRCUIT1 = 116;
constexpr TextId TXT_CIRCUIT2 = 117;
constexpr TextId TXT_HK1 = 130;
constexpr TextId TXT_HK2 = 131;

// Evaluates in the view of the asked circuit and returns to the circuit the screens work on.
template <typename F> TextId inCircuit(uint8_t circuit, F&& evaluate)
{
    const uint8_t current = DAT_GetSelectedCircuit();
    if (circuit != current) DAT_SelectCircuit(circuit);
    const TextId id = evaluate();
    if (circuit != current) DAT_SelectCircuit(current);
    return id;
}

uint8_t circuitType(uint8_t circuit)
{
    const uint8_t config = DAT_ReadByte(DatBlock::Config, 23);
    return static_cast<uint8_t>((config >> (2 * (circuit - 1))) & 3);
}

} // namespace

TextId TXT_CircuitProgramState(uint8_t circuit)
{
    return inCircuit(circuit, [] {
        const uint16_t mode = DAT_GetCircuitModeWord();
        if (mode & TXT_MODE_SCREED) return TXT_SCREED;
        if (DAT_GetFlag(DatFlag::ExternalSwitchOver)) return TXT_EXTERNAL_HOOKUP;
        if (DAT_GetFlag(DatFlag::HolidayActive)) return TXT_HOLIDAY;
        if (DAT_GetFlag(DatFlag::ExternalProgram)) return TXT_EXTERNAL_PROGRAM;
        if (DAT_GetPartyMode()) return TXT_PARTY;
        if (DAT_GetEconomyMode()) return TXT_ECONOMY;
        if (DAT_IsHeatingAndHotWater()) return TXT_HEATING_AND_HOT_WATER;
        if (DAT_IsOnlyHotWater()) return TXT_ONLY_HOT_WATER;
        if (DAT_IsStandby()) return TXT_STANDBY;
        return TXT_NONE;
    });
}

TextId TXT_CircuitHeatingState(uint8_t circuit)
{
    return inCircuit(circuit, [] {
        const uint16_t mode = DAT_GetCircuitModeWord();
        if (mode & TXT_MODE_HEATING_NORMAL) return TXT_HEATING_NORMAL;
        if (mode & TXT_MODE_HEATING_REDUCED) return TXT_HEATING_REDUCED;
        return TXT_STANDBY;
    });
}

TextId TXT_CircuitName() { return DAT_GetSelectedCircuit() == 2 ? TXT_CIRCUIT2 : TXT_CIRCUIT1; }

TextId TXT_CircuitLabel()
{
    const uint8_t current = DAT_GetSelectedCircuit() == 2 ? 2 : 1;
    const TextId label = current == 2 ? TXT_HK2 : TXT_HK1;
    const bool both = circuitType(1) != 0 && circuitType(2) != 0;
    if (both || circuitType(current) == 2) return label;
    return TXT_NONE;
}
