// The link's buffers and the bus state, shared by the sources of link/ only.
#pragma once

#include <array>
#include <cstdint>

#include "link/dis.h"

template <size_t N> using LinkBytes = std::array<uint8_t, N>;

struct LinkState {
    LinkBytes<DIS_RX_MESSAGE_SIZE> rxMessage;
    uint8_t rxLength; // bytes stored by the last completed message write
    LinkBytes<DIS_REQUEST_SIZE> request;
    LinkBytes<2> changeMask;
    LinkBytes<DIS_STATUS_BUFFER_SIZE> status;
    LinkBytes<DIS_LONG_SIZE> longBuffer;
    LinkBytes<DIS_TX_BUILDER_SIZE> txBuilder;
    std::array<LinkBytes<DIS_LONG_SIZE>, DIS_TX_QUEUE_ENTRIES> txQueue;
    uint8_t txWrite;
    uint8_t txRead;
    uint8_t txCount;
    LinkBytes<DIS_SLOTS> requestState;
    uint8_t lastRxSequence;
    uint8_t unknownMessageCount;
    uint8_t txSequence; // number the last command took
    uint8_t flags;

    // Bus receive and transmit state.
    uint16_t byteIndex;
    uint16_t writeCount; // bytes of the last master write, for the read that follows it
    uint8_t frameLength;
    uint8_t blockNumber;
    uint8_t* buffer; // block buffer of the running write, nullptr for an unknown block
    uint8_t bufferLength;
    uint8_t stored;
    uint8_t checksum;
    const uint8_t* armed;
    uint8_t armedLength;
    uint8_t retries;
    const uint8_t* response; // response of the running read
    uint8_t responseLength;
    bool responseIsArmed;
    uint32_t lastTransferTime;
    uint8_t busResetCount;
};

// The link's one state. It is constant-initialised, so the link sources bind their references
// to it before any code runs.
inline LinkState linkState{};
inline LinkState& DIS_State() { return linkState; }

// Message number and sequence number in a header byte.
constexpr uint8_t DIS_HeaderMessage(uint8_t header) { return header >> 3; }
constexpr uint8_t DIS_HeaderSequence(uint8_t header) { return header & 7; }
constexpr uint8_t DIS_Header(uint8_t message, uint8_t sequence)
{
    return static_cast<uint8_t>(message << 3 | (sequence & 7));
}

// Slot of a message with its circuit byte; -1 outside the catalogue.
int DIS_SlotOf(uint8_t message, uint8_t circuit);
// Writes a slot state; for messages 0..2 also the base slot unless another circuit is selected.
void DIS_SetSlotState(uint8_t message, uint8_t circuit, uint8_t state);
// Queues command 231 for one message and circuit.
void DIS_QueueDataRequest(uint8_t message, uint8_t circuit, uint8_t part);
// Takes an accepted message over into the pool and posts its signal.
void DIS_TakeOver(const LinkBytes<DIS_RX_MESSAGE_SIZE>& rx, uint8_t length);
