// The pool's storage, shared by the data sources of data/ only; everything outside data/ goes
// through data/datapool.h.
#pragma once

#include <array>
#include <cstdint>

#include "data/datapool.h"

template <size_t N> using Bytes = std::array<uint8_t, N>;

struct DataPool {
    Bytes<DAT_STATISTICS_SIZE> statistics;
    std::array<Bytes<DAT_CIRCUIT_SIZE>, 3> circuits;
    Bytes<DAT_SETTINGS_SIZE> settings;
    Bytes<DAT_SYSTEM_SIZE> system;
    Bytes<DAT_BURNER_SIZE> burner;
    Bytes<DAT_CONFIG_SIZE> config;
    Bytes<DAT_CODING_SIZE> coding;
    Bytes<DAT_BOILER_SIZE> boiler;
    Bytes<DAT_PARTICIPANT_SIZE> participant;
    Bytes<DAT_SOLAR_SIZE> solar;
    Bytes<DAT_CIRCUIT_DIAG_SIZE> circuitDiag;
    Bytes<DAT_FAULT_LIST_SIZE> faultList;
    Bytes<DAT_FAULT_LIST_SIZE> faultHistory;
    Bytes<DAT_EXTRA_SIZE> extra;
    Bytes<DAT_SOLAR_STATS_SIZE> solarStats;
    std::array<Bytes<DAT_LABEL_SIZE>, 2> labels;
    Bytes<DAT_STATUS_SIZE> status;

    Bytes<DAT_CIRCUIT_SIZE> view;
    Bytes<DAT_CIRCUIT_STATUS_SIZE> circuitStatus;
    Bytes<2> statusFlags;
    Bytes<1> statusByte7;

    uint8_t selectedCircuit;
    uint32_t holidayStart;
    uint32_t holidayEnd;
    uint8_t faultPending;
    uint8_t maintenancePending;
    uint8_t faultAckHold;
    uint8_t maintAckHold;
    uint8_t flagHold;
    uint8_t faultIndex;
    uint8_t historyIndex;
    uint8_t displayContrast;
    uint8_t brightnessOperation;
    uint8_t brightnessIdle;
    uint8_t languageIndex;
    std::array<uint8_t, 2> labelLanguage;
    CodingRequest codingRequest;
    uint8_t codingLevel;
    uint32_t codingGroup;
};

// The one pool. It is constant-initialised, so the data sources bind their references to it
// before any code runs.
inline DataPool dataPool{};
inline DataPool& DAT_Pool() { return dataPool; }

// Offsets the data sources share.
inline constexpr size_t VIEW_MODE_WORD = 3;
inline constexpr size_t VIEW_HOLIDAY_START = 14;
inline constexpr size_t VIEW_HOLIDAY_END = 18;
inline constexpr size_t STATUS_SLOT_FIRST = 4; // slot of circuit c at 4 + 4c
inline constexpr size_t FAULT_TIME = 7;

inline uint16_t DAT_LoadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
inline uint32_t DAT_LoadU32(const uint8_t* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}
inline void DAT_StoreU16(uint8_t* p, uint16_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
inline void DAT_StoreU32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}
