#include "screens/bhq.h"

#include <algorithm>
#include <array>

#include "data/datapool.h"
#include "display/flash.h"
#include "display/lcd.h"
#include "gfx/gfx.h"
#include "kernel/app.h"
#include "kernel/evt.h"
#include "link/uart0.h"
#include "sim/hal/hal.h"
#include "spine/ui_spine.h"

namespace {

constexpr uint32_t SUPERVISION_TICKS = 10; // 1 s of 100 ms without a byte either way ends it
constexpr uint8_t ACKNOWLEDGE = 0;
constexpr uint8_t HEADER_BYTES = 3; // address high, address low, count
constexpr uint8_t LCD_COUNT_MAX = 60;
constexpr uint8_t VIRTUAL_COUNT_MAX = 8; // the answer buffer
constexpr uint32_t DISPLAY_BYTES = GFX_WIDTH / 8 * GFX_HEIGHT;
constexpr uint8_t KEY_RING_SIZE = 8;
constexpr uint16_t RESET_INFO_SEEN = 0x1234;

// The station's commands and the states that serve them; other bytes are ignored.
struct CommandRow {
    uint8_t byte;
    StateHandler state;
};
constexpr std::array<CommandRow, 7> commands{{
    {4, &BHQ_HWQCStop},
    {5, &BHQ_HWQCTestStart},
    {49, &BHQ_WriteLCDCache},
    {50, &BHQ_ReadLCDCache},
    {62, &BHQ_SpecialFunctions},
    {244, &BHQ_WriteVirtual},
    {247, &BHQ_ReadVirtual},
}};

// Key signals and the codes the station reads for them.
struct KeyCodeRow {
    Signal sig;
    uint8_t code;
};
constexpr std::array<KeyCodeRow, 8> keyCodes{{
    {SIG_KEY_BACK, 1},
    {SIG_KEY_UP, 2},
    {SIG_KEY_LEFT, 3},
    {SIG_KEY_OK, 4},
    {SIG_KEY_RIGHT, 5},
    {SIG_KEY_DOWN, 6},
    {SIG_KEY_HELP, 7},
    {SIG_KEY_MENU, 8},
}};

// --- the virtual addresses: the factory parameters and what the station reads about the panel

enum class Virtual : uint8_t {
    Digits,         // a digit field of the flash image, 7 bytes
    Param,          // a one-byte parameter of the flash image
    Contrast,       // the parameter, and the display follows it at once
    OperatingLevel, // the parameter, and the backlight during operation follows it
    IdleLevel,      // the parameter, and the dimmed backlight follows it
    ArticleNumber,
    ResetInfo,
    Identity,
    Analogue,
    Keys,
};
struct VirtualRow {
    uint16_t address;
    Virtual kind;
    uint8_t field; // FlsDigitField or FlsParam
};
constexpr uint8_t field(FlsDigitField f) { return static_cast<uint8_t>(f); }
constexpr uint8_t field(FlsParam p) { return static_cast<uint8_t>(p); }
constexpr std::array<VirtualRow, 16> virtualAddresses{{
    {0x0850, Virtual::Digits, field(FlsDigitField::SerialNumber)},
    {0x0851, Virtual::Digits, field(FlsDigitField::Field20)},
    {0x0852, Virtual::Digits, field(FlsDigitField::Field27)},
    {0x0853, Virtual::Param, field(FlsParam::FactoryByte)},
    {0x0854, Virtual::Contrast, field(FlsParam::Contrast)},
    {0x0855, Virtual::Param, field(FlsParam::MaxOperatingBacklight)},
    {0x0856, Virtual::Param, field(FlsParam::MinOperatingBacklight)},
    {0x0857, Virtual::OperatingLevel, field(FlsParam::OperatingBacklight)},
    {0x0858, Virtual::Param, field(FlsParam::MaxIdleBacklight)},
    {0x0859, Virtual::Param, field(FlsParam::MinIdleBacklight)},
    {0x085A, Virtual::IdleLevel, field(FlsParam::IdleBacklight)},
    {0x08E0, Virtual::ArticleNumber, 0},
    {0x08F0, Virtual::ResetInfo, 0},
    {0x08F8, Virtual::Identity, 0},
    {0x08F9, Virtual::Analogue, 4},
    {0x08FA, Virtual::Keys, 0},
}};
// The serial number field holds 16 digits; the station reads and writes its first 7.
constexpr uint8_t DIGITS_TRANSFERRED = 7;
constexpr std::array<char, 7> ARTICLE_NUMBER{'7', '4', '1', '7', '0', '6', '5'};
constexpr std::array<uint8_t, 4> IDENTITY{17, 33, 0, 1};

// --- the check's state ---------------------------------------------------------------------

struct KeyRing {
    std::array<uint8_t, KEY_RING_SIZE> codes;
    uint8_t next; // where the next code goes
};

// The command being received: its further bytes, and the answer buffer, which also collects
// the data of a virtual write.
struct Command {
    uint16_t bytes; // further bytes received so far
    uint16_t address;
    uint8_t count; // data bytes announced, or answer bytes to send
    uint8_t sent;
    std::array<uint8_t, VIRTUAL_COUNT_MAX> buffer;
};

KeyRing keys{};
Command command{};

void supervise() { EVT_Post(PRIO_TIMER, SIG_TMR_HWQC, SUPERVISION_TICKS); }

void clearKeys() { keys = KeyRing{}; }

void storeKey(uint8_t code)
{
    keys.codes[keys.next] = code;
    keys.next = static_cast<uint8_t>((keys.next + 1) % KEY_RING_SIZE);
}

void next(Hsm& me, StateHandler state) { HSM_Tran(me, &BHQ_HardwareQualityCheck, state); }

// Address and count come first; true while the byte was one of them.
bool takeHeader(uint8_t byte)
{
    switch (command.bytes++) {
    case 0: command.address = static_cast<uint16_t>(byte << 8); return true;
    case 1: command.address = static_cast<uint16_t>(command.address | byte); return true;
    case 2: command.count = byte; return true;
    default: return false;
    }
}
bool headerComplete() { return command.bytes == HEADER_BYTES; }
uint16_t dataIndex() { return static_cast<uint16_t>(command.bytes - HEADER_BYTES - 1); }
bool lastData() { return command.bytes == HEADER_BYTES + command.count; }

const VirtualRow* findVirtual(uint16_t address)
{
    for (const VirtualRow& row : virtualAddresses)
        if (row.address == address) return &row;
    return nullptr;
}

void storeVirtual(uint16_t address, uint8_t length)
{
    const VirtualRow* row = findVirtual(address);
    if (row == nullptr) return;
    const uint8_t value = command.buffer[0];
    const auto param = static_cast<FlsParam>(row->field);
    switch (row->kind) {
    case Virtual::Digits:
        FLS_WriteDigits(static_cast<FlsDigitField>(row->field),
                        reinterpret_cast<const char*>(command.buffer.data()),
                        std::min(length, DIGITS_TRANSFERRED));
        break;
    case Virtual::Param: FLS_SetParam(param, value); break;
    case Virtual::Contrast:
        FLS_SetParam(param, value);
        lcd_setContrast(value);
        break;
    case Virtual::OperatingLevel:
        FLS_SetParam(param, value);
        DAT_SetBrightnessOperation(value);
        EVT_Post(PRIO_LIGHT, SIG_LIGHT_FULL);
        break;
    case Virtual::IdleLevel:
        FLS_SetParam(param, value);
        DAT_SetBrightnessIdle(value);
        EVT_Post(PRIO_LIGHT, SIG_LIGHT_NORMAL);
        break;
    default: break; // read only
    }
}

void putLowFirst(uint16_t value)
{
    command.buffer[0] = static_cast<uint8_t>(value & 0xFF);
    command.buffer[1] = static_cast<uint8_t>(value >> 8);
}

void fillVirtual(uint16_t address)
{
    command.buffer.fill(0);
    const VirtualRow* row = findVirtual(address);
    if (row == nullptr) return;
    uint8_t* out = command.buffer.data();
    switch (row->kind) {
    case Virtual::Digits:
        FLS_ReadDigits(static_cast<FlsDigitField>(row->field), reinterpret_cast<char*>(out),
                       DIGITS_TRANSFERRED);
        break;
    case Virtual::Param:
    case Virtual::Contrast:
    case Virtual::OperatingLevel:
    case Virtual::IdleLevel: out[0] = FLS_GetParam(static_cast<FlsParam>(row->field)); break;
    case Virtual::ArticleNumber:
        std::copy(ARTICLE_NUMBER.begin(), ARTICLE_NUMBER.end(), out);
        break;
    case Virtual::ResetInfo: putLowFirst(APP_Persistent().resetInfo); break;
    case Virtual::Identity: std::copy(IDENTITY.begin(), IDENTITY.end(), out); break;
    case Virtual::Analogue: putLowFirst(HAL_AdcValue(row->field)); break;
    case Virtual::Keys:
        for (uint8_t i = 0; i < KEY_RING_SIZE; ++i)
            out[i] = keys.codes[(keys.next + KEY_RING_SIZE - 1 - i) % KEY_RING_SIZE];
        break;
    }
}

// The special functions the station triggers. 2, 36, 37 and 64..67 drive outputs of the
// target's hardware, which the desktop does not have; every other number does nothing.
void pattern(LcdTestPattern p) { lcd_fillTestPattern(p); }
struct SpecialRow {
    uint8_t number;
    void (*run)();
};
constexpr std::array<SpecialRow, 14> specialTable{{
    {1,
     [] {
         APP_Persistent().startMagic = 0;
         BSM_WatchdogCheckIn(0);
     }},
    {3,
     [] {
         APP_Persistent().startMagic = 0;
         BSM_WatchdogCheckIn(1);
     }},
    {17, [] { pattern(LcdTestPattern::AllClear); }},
    {18, [] { pattern(LcdTestPattern::AllSet); }},
    {19, [] { pattern(LcdTestPattern::Checkerboard); }},
    {20, [] { pattern(LcdTestPattern::CheckerboardInverse); }},
    {21, [] { pattern(LcdTestPattern::OddColumns); }},
    {22, [] { pattern(LcdTestPattern::AlternateColumns); }},
    {23, [] { EVT_Post(PRIO_LIGHT, SIG_LIGHT_FULL); }},
    {24, [] { EVT_Post(PRIO_LIGHT, SIG_LIGHT_OFF); }},
    {32, [] { APP_Persistent().resetInfo = RESET_INFO_SEEN; }},
    {34, clearKeys},
    {48,
     [] {
         clearKeys();
         EVT_Post(PRIO_KEYS, SIG_KEY_FLUSH);
     }},
    {49, [] { EVT_Post(PRIO_TIMER, SIG_BEEP); }},
}};

void runSpecialFunction(uint8_t number)
{
    for (const SpecialRow& row : specialTable)
        if (row.number == number) row.run();
}

uint8_t displayByte(uint32_t at)
{
    return at < DISPLAY_BYTES ? lcd_readByte(static_cast<uint16_t>(at)) : 0;
}
uint8_t bufferByte(uint32_t at) { return command.buffer[at]; }

// --- states ----------------------------------------------------------------------------------

StateHandler hardwareQualityCheck(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY:
        GFX_Clear();
        lcd_refresh();
        clearKeys();
        UART0_Send(ACKNOWLEDGE);
        supervise();
        return nullptr;
    case SIG_INIT: return nullptr;
    case SIG_EXIT: EVT_Post(PRIO_TIMER, SIG_TMR_HWQC, 0); return nullptr;
    case SIG_HWQC_TIMEOUT: BSM_ColdRestart(me); return nullptr;
    case SIG_UART_RX:
        supervise();
        return nullptr; // no command takes it now
    // An answer takes longer than the supervision time: every byte out keeps the check alive.
    case SIG_UART_TX_DONE:
        supervise();
        next(me, &BHQ_WaitingForCommand);
        return nullptr;
    }
    if (const uint8_t code = BHQ_KeyCode(e.sig); code != 0) {
        storeKey(code);
        return nullptr;
    }
    return &BSM_Systemmonitor;
}

StateHandler waitingForCommand(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: command = Command{}; return nullptr;
    case SIG_INIT:
    case SIG_EXIT: return nullptr;
    case SIG_UART_RX:
        supervise();
        for (const CommandRow& row : commands)
            if (row.byte == e.par) {
                next(me, row.state);
                break;
            }
        return nullptr;
    }
    return &BHQ_HardwareQualityCheck;
}

// The states that answer with the acknowledge byte; the check waits again once it is sent.
StateHandler acknowledge(const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: UART0_Send(ACKNOWLEDGE); return nullptr;
    case SIG_INIT:
    case SIG_EXIT: return nullptr;
    }
    return &BHQ_HardwareQualityCheck;
}
StateHandler acknowledgeState(Hsm&, const Event& e) { return acknowledge(e); }

StateHandler hwqcStop(Hsm& me, const Event& e)
{
    if (e.sig != SIG_UART_TX_DONE) return acknowledge(e);
    lcd_refresh();
    BSM_ColdRestart(me);
    return nullptr;
}

StateHandler writeLcdCache(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY:
    case SIG_INIT:
    case SIG_EXIT: return nullptr;
    case SIG_UART_RX: {
        supervise();
        const auto byte = static_cast<uint8_t>(e.par);
        if (takeHeader(byte)) {
            if (headerComplete() && command.count == 0) next(me, &BHQ_WriteLCDCacheAcknowledge);
            return nullptr;
        }
        // Bytes past 60 and past the end of the display are taken and dropped, so they are
        // neither written elsewhere nor read as commands.
        const uint16_t index = dataIndex();
        const uint32_t at = uint32_t{command.address} + index;
        if (index < LCD_COUNT_MAX && at < DISPLAY_BYTES)
            lcd_writeByte(static_cast<uint16_t>(at), byte);
        if (lastData()) {
            lcd_refresh();
            next(me, &BHQ_WriteLCDCacheAcknowledge);
        }
        return nullptr;
    }
    }
    return &BHQ_HardwareQualityCheck;
}

StateHandler writeVirtual(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY:
    case SIG_INIT:
    case SIG_EXIT: return nullptr;
    case SIG_UART_RX: {
        supervise();
        const auto byte = static_cast<uint8_t>(e.par);
        if (takeHeader(byte)) {
            if (headerComplete() && command.count == 0) next(me, &BHQ_WriteVirtualAcknowledge);
            return nullptr;
        }
        const uint16_t index = dataIndex();
        if (index < VIRTUAL_COUNT_MAX) command.buffer[index] = byte;
        if (lastData()) {
            storeVirtual(command.address, std::min(command.count, VIRTUAL_COUNT_MAX));
            next(me, &BHQ_WriteVirtualAcknowledge);
        }
        return nullptr;
    }
    }
    return &BHQ_HardwareQualityCheck;
}

// Read commands: after address and count the answer goes out one byte per completed
// transmission; a count of 0 answers nothing.
template <uint8_t MaxCount, void (*Prepare)(), const State* Answer>
StateHandler readCommand(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY:
    case SIG_INIT:
    case SIG_EXIT: return nullptr;
    case SIG_UART_RX:
        supervise();
        takeHeader(static_cast<uint8_t>(e.par));
        if (!headerComplete()) return nullptr;
        command.count = std::min(command.count, MaxCount);
        Prepare();
        next(me, command.count == 0 ? &BHQ_WaitingForCommand : Answer);
        return nullptr;
    }
    return &BHQ_HardwareQualityCheck;
}

template <uint8_t (*Byte)(uint32_t)> StateHandler answer(Hsm& me, const Event& e)
{
    auto sendNext = [] { UART0_Send(Byte(uint32_t{command.address} + command.sent++)); };
    switch (e.sig) {
    case SIG_ENTRY: sendNext(); return nullptr;
    case SIG_INIT:
    case SIG_EXIT: return nullptr;
    case SIG_UART_TX_DONE:
        supervise();
        if (command.sent < command.count)
            sendNext();
        else
            next(me, &BHQ_WaitingForCommand);
        return nullptr;
    }
    return &BHQ_HardwareQualityCheck;
}

void noPreparation() {}
// The answer buffer is read from its start, whatever the virtual address was.
void prepareVirtual()
{
    fillVirtual(command.address);
    command.address = 0;
}

StateHandler specialFunctions(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY:
    case SIG_INIT:
    case SIG_EXIT: return nullptr;
    case SIG_UART_RX:
        supervise();
        runSpecialFunction(static_cast<uint8_t>(e.par));
        next(me, &BHQ_ServeSpecialFunctions);
        return nullptr;
    }
    return &BHQ_HardwareQualityCheck;
}

} // namespace

HSM_STATE(BHQ_HardwareQualityCheck, hardwareQualityCheck);
HSM_STATE(BHQ_WaitingForCommand, waitingForCommand);
HSM_STATE(BHQ_HWQCStop, hwqcStop);
HSM_STATE(BHQ_HWQCTestStart, acknowledgeState);
HSM_STATE(BHQ_WriteLCDCache, writeLcdCache);
HSM_STATE(BHQ_WriteLCDCacheAcknowledge, acknowledgeState);
HSM_STATE(BHQ_ReadLCDCache, (readCommand<LCD_COUNT_MAX, noPreparation, &BHQ_InvokeReadLCDCache>));
HSM_STATE(BHQ_InvokeReadLCDCache, answer<displayByte>);
HSM_STATE(BHQ_SpecialFunctions, specialFunctions);
HSM_STATE(BHQ_ServeSpecialFunctions, acknowledgeState);
HSM_STATE(BHQ_WriteVirtual, writeVirtual);
HSM_STATE(BHQ_WriteVirtualAcknowledge, acknowledgeState);
HSM_STATE(BHQ_ReadVirtual,
          (readCommand<VIRTUAL_COUNT_MAX, prepareVirtual, &BHQ_InvokeReadVirtual>));
HSM_STATE(BHQ_InvokeReadVirtual, answer<bufferByte>);

uint8_t BHQ_KeyCode(Signal sig)
{
    for (const KeyCodeRow& row : keyCodes)
        if (row.sig == sig) return row.code;
    return 0;
}
