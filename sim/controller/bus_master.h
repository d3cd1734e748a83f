// The controller's side of the bus: the frames a bus master writes and the reads it makes,
// played through the panel's four bus byte handlers in interrupt context, as the bus driver
// calls them. The headless runner's scripts and the tests use it; it needs nothing of the hosts,
// so the emulator's bus master can use it too.
//
// A transfer does not post the link service by itself: at the end of a transfer the bus driver
// reports it (DIS_OnTransferDone), and a test of the byte handlers alone does not want it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "link/dis.h"

// The block the controller writes its messages through (blocks 16..19 all hold one message).
inline constexpr uint8_t BUS_MESSAGE_BLOCK = DIS_FIRST_BLOCK;
// The length byte counts the block number and the data.
inline constexpr size_t BUS_MAX_BLOCK_DATA = 254;
// A message: header, circuit byte, then its data.
inline constexpr size_t BUS_MAX_MESSAGE_DATA = BUS_MAX_BLOCK_DATA - 2;

// Length byte, block number, data, checksum (block number and data summed); data beyond
// BUS_MAX_BLOCK_DATA are not part of the frame.
std::vector<uint8_t> BUS_BlockFrame(uint8_t block, std::span<const uint8_t> data);
// The controller's answer to the request standing in the panel's request buffer: header =
// message and that request's sequence number, then the circuit byte and the data.
std::vector<uint8_t> BUS_AnswerMessage(uint8_t message, uint8_t circuit,
                                       std::span<const uint8_t> data);

// One master write of exactly these bytes; false when the panel did not acknowledge a byte
// (a checksum byte that does not match).
bool BUS_Write(std::span<const uint8_t> bytes);
bool BUS_WriteBlock(uint8_t block, std::span<const uint8_t> data);
// BUS_AnswerMessage written through the message block.
bool BUS_Answer(uint8_t message, uint8_t circuit, std::span<const uint8_t> data);

// The master writes the one command byte, then reads what the panel offers: its length byte,
// that many bytes and the checksum, and acknowledges the read when the checksum matches.
std::vector<uint8_t> BUS_Read(uint8_t command);
// Whether a read (length, bytes, checksum) is complete and correctly summed.
bool BUS_ReadIsGood(std::span<const uint8_t> read);
// A read of exactly `count` bytes whatever the length byte says, acknowledged or not.
std::vector<uint8_t> BUS_ReadBytes(uint8_t command, size_t count, bool acknowledged = true);
