// The demonstration plant: a wall-mounted boiler with two heating circuits (the second with a
// mixer), hot water with circulation and a solar module, shown while no controller answers.
#include <algorithm>
#include <span>

#include "data/datapool.h"
#include "data/pool.h"
#include "sim/hal/host_services.h"

namespace {

DataPool& pool = dataPool;

constexpr Bytes<DAT_CONFIG_SIZE> CONFIG{0x00, 0x20, 0x06, 0x03, 0x01, 0x00, 0x14, 0x00, 0x00, 0x00,
                                        0x00, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00,
                                        0x01, 0x00, 0x00, 0xC9, 0x55, 0xCB, 0x00, 0x00, 0x00, 0xA0};
// Without the clock, which comes from the host.
constexpr Bytes<6> SYSTEM{0x03, 0x00, 0x66, 0x40, 0x1A, 0x00};
constexpr Bytes<DAT_STATUS_SIZE> STATUS{0x84, 0x00, 0x64, 0x66, 0x28, 0x00, 0x00, 0x43, 0x38, 0x41,
                                        0xC5, 0x00, 0x38, 0x00, 0xF5, 0x00, 0x00, 0x00, 0x00, 0x00};
constexpr uint16_t STATUS_FLAGS = 0x0084;
constexpr uint8_t STATUS_BYTE7 = 0x43;
constexpr Bytes<DAT_CIRCUIT_SIZE> CIRCUIT1{
    0x00, 0x00, 0x28, 0xC4, 0x0F, 0x00, 0x32, 0x32, 0x3C, 0x14, 0x03, 0x14, 0x0E, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x89, 0x0C, 0x8C, 0x00, 0x28};
constexpr Bytes<DAT_CIRCUIT_SIZE> CIRCUIT2{
    0x00, 0x00, 0x28, 0x04, 0x4F, 0x00, 0x32, 0x32, 0x3C, 0x14, 0x03, 0x14, 0x04, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x3A, 0x0C, 0x80, 0x00, 0x06};
constexpr Bytes<DAT_SETTINGS_SIZE> SETTINGS{0x33, 0x14, 0x55, 0x05, 0x04, 0x05, 0x41};
constexpr Bytes<DAT_STATISTICS_SIZE> STATISTICS{0x00, 0x32, 0xB0, 0x0C, 0x00, 0x00, 0x84, 0x03,
                                                0x00, 0x00, 0x59, 0x01, 0x00, 0x00, 0x91, 0x08,
                                                0x00, 0x00, 0x02, 0x7C, 0x15, 0x00, 0x00, 0x08};

// The boiler block is mostly zero: its few named bytes by offset.
struct OffsetByte {
    uint8_t offset;
    uint8_t value;
};
constexpr OffsetByte BOILER[] = {{0, 0x42},  {1, 0x03},  {2, 8},     {3, 0xFF},  {13, 0x10},
                                 {36, 0x4E}, {37, 0x33}, {38, 0x44}, {39, 0x0D}, {40, 0x59},
                                 {41, 0x66}, {42, 0x41}, {45, 1},    {46, 8},    {51, 2}};
constexpr Bytes<DAT_BURNER_SIZE> BURNER{0x0A, 0x3C, 0x20, 0x3C, 0x62, 0x4D,
                                        0x00, 0x00, 0x00, 0x00, 0x00};
constexpr Bytes<DAT_SOLAR_SIZE> SOLAR{0xEC, 0x04, 0x00, 0x00, 0x58, 0x02, 0x00, 0x4E, 0x60,
                                      0x00, 0x28, 0x63, 0x3C, 0x58, 0x1B, 0x00, 0x00, 0x00,
                                      0x00, 0x00, 0x00, 0x1E, 0x01, 0x00, 0x00};
constexpr uint32_t EXTRA[] = {5000, 1700, 2300, 0, 7000, 6500, 3000};
constexpr const char* LABELS[] = {"Erdgeschoss", "Obergeschoss"};

template <size_t N> void put(std::span<uint8_t> block, const Bytes<N>& bytes)
{
    std::copy(bytes.begin(), bytes.end(), block.begin());
}

void putLabel(Bytes<DAT_LABEL_SIZE>& label, const char* ascii)
{
    label.fill(0);
    for (size_t i = 0; i < DAT_LABEL_CHARS && ascii[i] != 0; ++i)
        label[2 * i] = static_cast<uint8_t>(ascii[i]);
}

// Local time = UTC - zone offset, plus an hour in daylight saving; only the low 32 bits fit.
uint32_t hostLocalTime()
{
    const SIM_HostTime t = SIM_GetHostTime();
    const int64_t local =
        t.utcSeconds - 60 * int64_t{t.minutesWest} + (t.daylightSaving ? 3600 : 0);
    return static_cast<uint32_t>(local);
}

} // namespace

void DAT_InitSimulatedValues()
{
    put(pool.config, CONFIG);
    put(pool.system, SYSTEM);
    put(pool.status, STATUS);
    DAT_StoreU16(pool.statusFlags.data(), STATUS_FLAGS);
    pool.statusByte7[0] = STATUS_BYTE7;
    put(pool.circuits[0], CIRCUIT1);
    put(pool.circuits[1], CIRCUIT2);
    put(pool.settings, SETTINGS);
    put(pool.statistics, STATISTICS);
    for (const OffsetByte& b : BOILER)
        pool.boiler[b.offset] = b.value;
    put(pool.burner, BURNER);
    put(pool.solar, SOLAR);
    for (size_t i = 0; i < std::size(EXTRA); ++i)
        DAT_StoreU32(&pool.extra[4 * i], EXTRA[i]);
    std::fill_n(pool.faultList.begin(), DAT_FAULT_RECORD_SIZE, 0);
    std::fill_n(pool.faultHistory.begin(), DAT_FAULT_RECORD_SIZE, 0);
    putLabel(pool.labels[0], LABELS[0]);
    putLabel(pool.labels[1], LABELS[1]);
    DAT_SetClockSeconds(hostLocalTime());
    DAT_LoadCircuitView(1);
}
