#include "widgets/status_texts.h"

#include "data/datapool.h"

namespace {

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
        if (mode & TXT_MODE_SCREED) return TXT_ESTRICHFUNKTION;
        if (DAT_GetFlag(DatFlag::ExternalSwitchOver)) return TXT_EXTERNE_AUFSCHALTUNG;
        if (DAT_GetFlag(DatFlag::HolidayActive)) return TXT_FERIENPROGRAMM;
        if (DAT_GetFlag(DatFlag::ExternalProgram)) return TXT_EXTERNES_PROGRAMM;
        if (DAT_GetPartyMode()) return TXT_PARTYBETRIEB;
        if (DAT_GetEconomyMode()) return TXT_SPARBETRIEB;
        if (DAT_IsHeatingAndHotWater()) return TXT_HEIZEN_UND_WARMWASSER;
        if (DAT_IsOnlyHotWater()) return TXT_NUR_WARMWASSER;
        if (DAT_IsStandby()) return TXT_ABSCHALTBETRIEB;
        return TXT_NONE;
    });
}

TextId TXT_CircuitHeatingState(uint8_t circuit)
{
    return inCircuit(circuit, [] {
        const uint16_t mode = DAT_GetCircuitModeWord();
        if (mode & TXT_MODE_HEATING_NORMAL) return TXT_NORMALER_HEIZBETRIEB;
        if (mode & TXT_MODE_HEATING_REDUCED) return TXT_REDUZIERTER_BETRIEB;
        return TXT_ABSCHALTBETRIEB;
    });
}

TextId TXT_CircuitName()
{
    return DAT_GetSelectedCircuit() == 2 ? TXT_HEIZKREIS_2 : TXT_HEIZKREIS_1;
}

TextId TXT_CircuitLabel()
{
    const uint8_t current = DAT_GetSelectedCircuit() == 2 ? 2 : 1;
    const TextId label = current == 2 ? TXT_HK2 : TXT_HK1;
    const bool both = circuitType(1) != 0 && circuitType(2) != 0;
    if (both || circuitType(current) == 2) return label;
    return TXT_NONE;
}
