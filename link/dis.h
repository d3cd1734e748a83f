// The controller link below the link task: bus frames with block numbers and checksums, the
// messages inside them with sequence numbers, the request slots and the transmit queue, the
// take-over of received messages into the data pool and the command builders the screens use.
//
// Who calls what:
// - the bus driver, in its interrupt context: DIS_OnAddressed, DIS_OnByteReceived,
//   DIS_OnByteToSend, DIS_OnReadDone;
// - the link task, on the event thread: DIS_InitLink and DIS_ResetBusState at its start,
//   DIS_Service (or its steps one by one) on every SIG_LINK_SERVICE, DIS_Request for its start-up
//   and cyclic requests, DIS_Bus() to start, stop and reset the driver;
// - screens: the DIS_Send... builders (each changes the data pool first, then queues its
//   command), DIS_Request and DIS_CancelRequests.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "data/datapool.h"
#include "data/timeprog.h"
#include "link/link_buffers.h"

// ---------------------------------------------------------------------------------------------
// Sizes and numbers

inline constexpr size_t DIS_RX_MESSAGE_SIZE = 32;
inline constexpr size_t DIS_REQUEST_SIZE = 9;
inline constexpr size_t DIS_LONG_SIZE = 30;
inline constexpr size_t DIS_TX_BUILDER_SIZE = 13;
inline constexpr size_t DIS_TX_QUEUE_ENTRIES = 32;
inline constexpr uint8_t DIS_SLOTS = 36;
inline constexpr uint8_t DIS_MESSAGES = 27; // message numbers 0..26
inline constexpr uint8_t DIS_OWN_BLOCK = 20;
inline constexpr uint8_t DIS_LONG_BLOCK = 35;
inline constexpr uint8_t DIS_FIRST_BLOCK = 16;
inline constexpr uint8_t DIS_LAST_BLOCK = 35;
inline constexpr uint8_t DIS_RESPONSE_RETRIES = 8;

// Message numbers (the upper five bits of a message's header byte), by what the message
// carries. Request slot m asks for message m; messages 0..2 belong to a heating circuit and have
// one more slot per circuit (DIS_CircuitSlot), from slot DIS_MESSAGES on.
inline constexpr uint8_t DIS_MSG_STATISTICS = 0; // counters; the circuit record's first bytes
inline constexpr uint8_t DIS_MSG_CIRCUIT = 1;    // the circuit's settings, the settings block
inline constexpr uint8_t DIS_MSG_SYSTEM = 2;     // clock, system and burner values
inline constexpr uint8_t DIS_MSG_TP_DAY1 = 3;    // switching times of day 1 (Monday) ...
inline constexpr uint8_t DIS_MSG_TP_DAY7 = 9;    // ... to day 7
inline constexpr uint8_t DIS_MSG_CONFIG = 10;    // plant configuration; the panel's announcement
inline constexpr uint8_t DIS_MSG_HISTORY = 12;   // only the command that clears the fault history
inline constexpr uint8_t DIS_MSG_ACTUATOR = 13;  // actuator test
inline constexpr uint8_t DIS_MSG_CODING = 14;    // coding parameters
inline constexpr uint8_t DIS_MSG_BOILER = 15;    // boiler values and test states
inline constexpr uint8_t DIS_MSG_PARTICIPANT = 16;
inline constexpr uint8_t DIS_MSG_SOLAR = 17;
inline constexpr uint8_t DIS_MSG_CIRCUIT_DIAG = 18;
inline constexpr uint8_t DIS_MSG_FAULT_LIST = 22;
inline constexpr uint8_t DIS_MSG_FAULT_HISTORY = 23;
inline constexpr uint8_t DIS_MSG_EXTRA = 24;
inline constexpr uint8_t DIS_MSG_LABEL = 25; // circuit labels
inline constexpr uint8_t DIS_MSG_SOLAR_STATS = 26;

// Messages 0..2 belong to a heating circuit; the switching times are asked of the first one.
constexpr bool DIS_IsCircuitMessage(uint8_t m) { return m <= DIS_MSG_SYSTEM; }
constexpr bool DIS_IsTimeProgramMessage(uint8_t m)
{
    return m >= DIS_MSG_TP_DAY1 && m <= DIS_MSG_TP_DAY7;
}

// States of a request slot.
inline constexpr uint8_t SLOT_REQUESTED = 1;
inline constexpr uint8_t SLOT_IDLE = 2;
inline constexpr uint8_t SLOT_WAITING = 3; // sent, waiting for the answer
inline constexpr uint8_t SLOT_QUEUED = 4;  // one copy queued; each further copy adds one

// Slot of message m (0..2) of heating circuit c (1..3).
constexpr uint8_t DIS_CircuitSlot(uint8_t m, uint8_t c)
{
    return static_cast<uint8_t>(DIS_MESSAGES + 3 * (c - 1) + m);
}
static_assert(DIS_CircuitSlot(DIS_MSG_SYSTEM, 3) == DIS_SLOTS - 1, "a slot per circuit message");

// ---------------------------------------------------------------------------------------------
// Bus driver: the operations the link needs from the hardware. The desktop build installs an
// inert driver whose operations do nothing; a real or emulated bus plugs its own in.

struct DIS_BusDriver {
    void (*responseChanging)(); // the armed response is about to change
    void (*responseChanged)();  // the change is complete
    void (*raiseAttention)();   // signal the controller that a response is ready
    void (*stopAttention)();
    void (*resetBus)();
    void (*start)();
    void (*stop)();
};

// nullptr installs the inert driver again.
void DIS_SetBusDriver(const DIS_BusDriver* driver);
const DIS_BusDriver& DIS_Bus();

// What a driver reports to the link task. At the end of every transfer (the master's stop, after
// the byte handlers of the transfer have run, interrupts enabled again) it posts the link service;
// when its transfer sequence starts it arms the bus supervision.
void DIS_OnTransferDone();
void DIS_SetBusActive(bool active);

// ---------------------------------------------------------------------------------------------
// Bus byte handlers (interrupt context)

enum class BusDirection : uint8_t { Write = 0, Read = 1 };

// Start of a transfer. A read chooses its response from the single command byte written
// before it: <= 63 the armed response, 0x40..0x7F the identification, anything else (or more
// or fewer than one byte written) an empty response.
void DIS_OnAddressed(BusDirection direction);
// A byte of a master write; false when a checksum byte does not match (the driver then does
// not acknowledge it).
bool DIS_OnByteReceived(uint8_t byte);
// The next byte of a master read: length, response bytes, then the checksum for ever.
uint8_t DIS_OnByteToSend();
// End of a master read: acknowledged clears the armed response, otherwise attention is raised
// again up to DIS_RESPONSE_RETRIES times.
void DIS_OnReadDone(bool acknowledged);
// Offers buffer[0..length) for the controller's next read and raises attention.
void DIS_ArmResponse(const uint8_t* buffer, uint8_t length);
// Offers the buffer of block 20 or 35 with that block's length.
void DIS_ArmBlock(uint8_t block);

// Bus supervision for the link task: the time of the last transfer start in 100 ms ticks and
// the bus resets since then. A transfer start notes the time and clears the count; so does the
// link task when it starts the bus (without clearing the count).
uint32_t DIS_LastTransferTime();
void DIS_NoteTransferStart();
uint8_t DIS_BusResetCount();
void DIS_CountBusReset();
void DIS_ClearBusResetCount();

// ---------------------------------------------------------------------------------------------
// Link state

// Buffers, queue, slots and sequence numbers as at link start.
void DIS_InitLink();
// The status buffer zeroed, as every start but the 3 o'clock restart does (interrupts are
// disabled then).
void DIS_ClearStatusBuffer();
// Receive and transmit state of the bus handlers back to rest; no response armed.
void DIS_ResetBusState();

// Marks a slot (and, for messages 0..2, the slots of the present circuits) as requested; a slot
// of 36 or more is an internal error (reset 136).
void DIS_Request(uint8_t slot);
// Every slot idle and the transmit queue emptied (the coding screens take the bus over).
void DIS_CancelRequests();
// Appends a command (13 bytes, or 30 for a long entry with byte 0 = 35); dropped when the
// queue is full.
void DIS_Queue(std::span<const uint8_t> entry);
// Puts the next queued command into the request buffer (or the long buffer) once the request
// standing there has been answered.
void DIS_SendNext();

uint8_t DIS_SlotState(uint8_t slot);
uint8_t DIS_QueueCount();
// The i-th waiting entry from the read position (30 bytes; a short entry uses the first 13).
std::span<const uint8_t> DIS_QueuedEntry(uint8_t i);
std::span<const uint8_t, DIS_REQUEST_SIZE> DIS_RequestBuffer();
std::span<const uint8_t, DIS_LONG_SIZE> DIS_LongBuffer();
std::span<const uint8_t, DIS_RX_MESSAGE_SIZE> DIS_RxMessageBuffer();
uint8_t DIS_LastRxSequence();
uint8_t DIS_UnknownMessageCount();
uint16_t DIS_ChangeMask();

// ---------------------------------------------------------------------------------------------
// Scheduling: the service the link task runs on every SIG_LINK_SERVICE, in this order.

// 1. Takes the change mask (under the interrupt lock) and requests the slot of each set bit.
void DIS_ChangeMaskToRequests();
// 2. Takes a status transfer over when one has arrived: copied and its flag cleared under the
//    interrupt lock, then handed to the data pool (DAT_TakeStatus).
void DIS_TakeStatus();
// 3. Queues a data request for the first requested slot in priority order while fewer than
//    three commands wait.
void DIS_ScheduleNext();
// 4. DIS_SendNext.
// 5. Accepts and dispatches a received message when one has arrived, then clears its flag.
void DIS_DispatchReceived();
// All five steps.
void DIS_Service();

// ---------------------------------------------------------------------------------------------
// Commands. Each builder changes the data pool first, then queues its command with the next
// sequence number; circuit commands go to the selected heating circuit.

// 231: data request. Messages 0..2 once per present circuit; 3..9 for the first circuit;
// 22, 23 and 25 with the part number in byte 4.
void DIS_SendDataRequest(uint8_t message, uint8_t part = 0);
void DIS_SendOperatingProgram(OperatingProgram program); // 200/201/202, then 221
void DIS_SendPartyMode(bool on);                         // 203 (then 221) / 204
void DIS_SendEconomyMode(bool on);                       // 220 (then 204) / 221
void DIS_SendRoomSetTemp(uint8_t celsius);               // 205
void DIS_SendRoomSetTempReduced(uint8_t celsius);        // 206
void DIS_SendPartySetTemp(uint8_t celsius);              // 207
void DIS_SendDhwSetTemp(uint8_t celsius);                // 208
void DIS_SendSettingsValue(uint8_t value);               // 209: settings byte 0
void DIS_SendHeatingCurveSlope(uint8_t tenths);          // 210
void DIS_SendHeatingCurveLevel(int8_t level);            // 211
void DIS_SendDhwTimeProgramAuto(bool automatic);         // 215 / 237
void DIS_SendCirculationTimeProgramAuto(bool automatic); // 216 / 238
void DIS_SendHolidayStart(uint32_t seconds);             // 217: departure day 23:59:59
void DIS_SendHolidayEnd(uint32_t seconds);               // 218: return day 00:00:00
void DIS_SendHolidayDelete();                            // 219
void DIS_SendCircuitBasicSetting();                      // 229, byte 4 = 1
// 229, byte 4 = 2: every coding parameter back to its factory setting; the link then polls at
// once, as the controller's configuration may have changed with it.
inline constexpr uint8_t DIS_BASIC_SETTING_CODINGS = 2;
void DIS_SendCodingFactorySetting();
// 229 for a time program (byte 4 = 3 heating, 4 hot water, 5 circulation, byte 5 = period).
void DIS_SendTimeProgramBasicSetting(uint8_t circuit, TimeProgram program,
                                     uint8_t controllerPeriod);
// A time program reset to its basic setting: 229 for the program, and its seven days
// requested again (the data pool's reset sink).
void DIS_AnnounceTimeProgramReset(uint8_t circuit, TimeProgram program, uint8_t controllerPeriod);
// 229 on message 17: resets one solar counter (7 pump hours, 8 energy, 11 stagnation,
// 12 pump starts, 13 night circulation, 14 difference-temperature monitoring) locally first.
void DIS_SendSolarCounterReset(uint8_t counter);
enum class BrightnessKind : uint8_t { Idle = 0, Operation = 1 };
void DIS_SendBrightness(BrightnessKind kind, uint8_t level); // 252
void DIS_SendTime(uint32_t seconds);                         // 212
void DIS_SendDate(uint32_t seconds);                         // 213
enum class FanMode : uint8_t { Cancel = 0, Preview = 85, Store = 170 };
void DIS_SendFanSpeed(uint8_t stage, FanMode mode, uint8_t value); // 250
// 223..227: counter resets on message 0, each zeroing its statistics counter first.
enum class StatisticsCounter : uint8_t {
    FuelConsumption = 223,
    HoursStage1 = 224,
    HoursStage2 = 225,
    BurnerStarts = 226,
    Offset1 = 227
};
void DIS_SendCounterReset(StatisticsCounter counter);
void DIS_SendDampedOutsideTempReset();    // 232
void DIS_SendFaultAck(uint8_t parameter); // 235
inline constexpr uint8_t DIS_MAINTENANCE_RESET = 170;
void DIS_SendMaintenanceAck(uint8_t parameter);                                     // 242
void DIS_SendClearFaultHistory();                                                   // 239
void DIS_SendAnnouncement(uint16_t value, uint8_t panelValue, uint8_t configValue); // 240
void DIS_SendDisplaySettings(); // 234: contrast and language
// 247 on message 15: test and special functions; the panel's own flag of a function (flue-gas
// test 1, commissioning 4, temperature unit 11/12, filling 13, venting 14) changes first.
inline constexpr uint8_t FN_FLUE_GAS = 1;
inline constexpr uint8_t FN_COMMISSIONING = 4;
inline constexpr uint8_t FN_CELSIUS = 11;
inline constexpr uint8_t FN_FAHRENHEIT = 12;
inline constexpr uint8_t FN_FILLING = 13;
inline constexpr uint8_t FN_VENTING = 14;
void DIS_SendTestFunction(uint8_t function, bool on);
void DIS_SendServicePin(); // 245
enum class HeatOutputMode : uint8_t { Cancel = 0, Preview = 85, Store = 170 };
void DIS_SendHeatOutput(HeatOutputMode mode, uint8_t value); // 248
// 243, 244, 246 on message 16: byte 8 = bus address, bytes 4..7 = mode.
enum class ParticipantCommand : uint8_t { Check = 243, Command244 = 244, Command246 = 246 };
void DIS_SendParticipantCommand(ParticipantCommand code, uint32_t mode, uint8_t address);
void DIS_SendActuatorTest(uint8_t actuator); // 222
// 228 / 230 on message 14; both note the request, the write also stores the value into the
// current coding entry. direction: 1 upwards, 0 downwards.
void DIS_SendCodingWrite(uint8_t group, uint8_t level, uint8_t address, int16_t value,
                         uint8_t direction);
void DIS_SendCodingRead(uint8_t group, uint8_t level, uint8_t address, uint8_t direction);
// 214 under the message of the period's first day: one phase edge of the selected program, sent
// as a long entry (byte 0 = 35) so that the time byte 12 reaches the controller.
void DIS_SendSwitchingTime(PhaseEdge edge, uint8_t phase, uint8_t periodCode, TimeProgram program,
                           uint8_t value);
// Message 25: stores the label locally, then sends it in two long entries.
void DIS_SendCircuitLabel(uint8_t circuit, const char* utf8);

// ---------------------------------------------------------------------------------------------
// Observer: what a host wants to see of the link (the headless runner prints it). Both run on
// the event thread, at the moment it happens.

struct DIS_Observer {
    // An entry put into the transmit queue (13 bytes, or 30 for a long entry), or dropped
    // because the queue is full.
    void (*queued)(std::span<const uint8_t> entry, bool dropped);
    // A received message accepted for take-over or rejected (header message number and the
    // circuit byte as received).
    void (*received)(uint8_t message, uint8_t circuit, bool accepted);
};

// nullptr: nobody watches.
void DIS_SetObserver(const DIS_Observer* observer);
