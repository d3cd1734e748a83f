// The link buffers that the data pool's status processing reads: the status transfer and the
// completion flags that the bus byte handlers set. Both are written in the bus driver's
// interrupt context; the event thread touches them only under the interrupt lock (or with
// interrupts already disabled during start-up).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

inline constexpr size_t DIS_STATUS_BUFFER_SIZE = 21;
inline constexpr uint8_t DIS_FLAG_MESSAGE_RECEIVED = 0x01;
inline constexpr uint8_t DIS_FLAG_STATUS_RECEIVED = 0x02;

std::array<uint8_t, DIS_STATUS_BUFFER_SIZE>& DIS_StatusBuffer();
uint8_t& DIS_LinkFlags();
