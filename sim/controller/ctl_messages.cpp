// The controller's messages: each built from the plant in the layout the panel takes it over
// (header, circuit, data from byte 2).
#include <algorithm>
#include <vector>

#include "sim/controller/ctl_protocol.h"

namespace {

// Writes bytes after the header and the circuit byte.
class Writer {
  public:
    Writer(CtlMessage& m) : m_(m) { m_.length = 2; }
    template <size_t N> void put(const CtlBytes<N>& bytes, size_t first = 0, size_t count = N)
    {
        for (size_t i = 0; i < count && first + i < N; ++i)
            byte(bytes[first + i]);
    }
    void byte(uint8_t b)
    {
        if (m_.length < CTL_MESSAGE_SIZE) m_.bytes[m_.length++] = b;
    }
    void u16(uint16_t v)
    {
        byte(static_cast<uint8_t>(v));
        byte(static_cast<uint8_t>(v >> 8));
    }

  private:
    CtlMessage& m_;
};

size_t circuitIndex(uint8_t circuit) { return circuit == 2 ? 1 : 0; }

void statistics(const CtlPlant& p, uint8_t circuit, uint8_t, Writer& w)
{
    w.put(p.statistics);
    if (circuit == 1 || circuit == 2) w.put(p.circuits[circuitIndex(circuit)], 0, 3);
}

void circuitValues(const CtlPlant& p, uint8_t circuit, uint8_t, Writer& w)
{
    w.put(p.circuits[circuitIndex(circuit)], 3, 20);
    w.put(p.settings);
}

void systemValues(const CtlPlant& p, uint8_t circuit, uint8_t, Writer& w)
{
    w.put(p.circuits[circuitIndex(circuit)], 23, 5);
    CtlBytes<10> system = p.system;
    CTL_Store32(&system[6], static_cast<uint32_t>(p.clock));
    w.put(system);
    w.put(p.burner);
}

// Switching times of one day for the circuit's set: per program and phase the on and the off
// time as time bytes.
void switchingTimes(const CtlPlant& p, uint8_t circuit, uint8_t day, Writer& w)
{
    for (const auto& program : p.times[circuitIndex(circuit)])
        for (const auto& phase : program[day]) {
            w.byte(CTL_PackTime(phase[0]));
            w.byte(CTL_PackTime(phase[1]));
        }
}

void configuration(const CtlPlant& p, uint8_t, uint8_t, Writer& w) { w.put(p.config); }

// The actuator test: running or not, and the actuator driven.
void actuatorTest(const CtlPlant& p, uint8_t, uint8_t, Writer& w)
{
    w.byte(p.actuatorLeft > 0 ? 1 : 0);
    w.byte(p.actuator);
    for (int i = 0; i < 23; ++i)
        w.byte(0);
}

// A coding entry: group, address, value, minimum, maximum.
void codingEntry(const CtlCodingParameter& c, Writer& w)
{
    w.byte(c.group);
    w.byte(c.address);
    w.u16(static_cast<uint16_t>(c.value));
    w.u16(static_cast<uint16_t>(c.minimum));
    w.u16(static_cast<uint16_t>(c.maximum));
}

// The answered coding parameter between its neighbours of the same group and level (previous,
// answered, next); the panel shows the one it asked for, or the answered one when the
// controller skipped to the next existing address.
void codingAnswer(const CtlPlant& p, uint8_t, uint8_t, Writer& w)
{
    w.byte(p.codingAnswer >= 0 ? 0 : 1);
    if (p.codingAnswer < 0) {
        for (int i = 0; i < 25; ++i)
            w.byte(0);
        return;
    }
    const CtlCodingParameter& answered = p.coding[static_cast<size_t>(p.codingAnswer)];
    std::vector<size_t> group;
    for (size_t i = 0; i < p.coding.size(); ++i)
        if (p.coding[i].group == answered.group && p.coding[i].level <= p.codingLevel)
            group.push_back(i);
    const size_t self = static_cast<size_t>(p.codingAnswer);
    if (std::find(group.begin(), group.end(), self) == group.end()) group = {self};
    const size_t k =
        static_cast<size_t>(std::find(group.begin(), group.end(), self) - group.begin());
    const size_t n = group.size();
    codingEntry(p.coding[group[(k + n - 1) % n]], w);
    codingEntry(answered, w);
    codingEntry(p.coding[group[(k + 1) % n]], w);
    w.byte(0);
}

void boilerValues(const CtlPlant& p, uint8_t, uint8_t, Writer& w) { w.put(p.boiler); }

// The participant the last participant command is about (number 255 ends the list), and the
// actuators of the plant.
void participant(const CtlPlant& p, uint8_t, uint8_t, Writer& w)
{
    if (p.participantAnswer >= 0) {
        const CtlParticipant& q = p.participants[static_cast<size_t>(p.participantAnswer)];
        w.byte(q.number);
        w.byte(q.address);
    } else {
        w.byte(255);
        w.byte(0);
    }
    for (size_t i = 0; i < 25; ++i)
        w.byte(i < p.actuators.size() ? p.actuators[i] : 0);
}

void solarValues(const CtlPlant& p, uint8_t, uint8_t, Writer& w) { w.put(p.solar); }
void circuitDiagnosis(const CtlPlant& p, uint8_t, uint8_t, Writer& w) { w.put(p.circuitDiag); }
void extraValues(const CtlPlant& p, uint8_t, uint8_t, Writer& w) { w.put(p.extra); }
void solarStatistics(const CtlPlant& p, uint8_t, uint8_t, Writer& w) { w.put(p.solarStats); }

// Fault list and history in five parts of two records.
void records(const std::vector<CtlRecord>& list, uint8_t part, Writer& w)
{
    w.byte(part);
    for (size_t r = 2u * part; r < 2u * part + 2; ++r) {
        const CtlRecord record = r < list.size() ? list[r] : CtlRecord{};
        w.put(record);
    }
}
void faults(const CtlPlant& p, uint8_t, uint8_t part, Writer& w) { records(p.faults, part, w); }
void history(const CtlPlant& p, uint8_t, uint8_t part, Writer& w) { records(p.history, part, w); }

// A label half: part 1 characters 0..9, part 2 characters 10..19; count, UTF-16, language.
void label(const CtlPlant& p, uint8_t circuit, uint8_t part, Writer& w)
{
    const CtlLabel& l = p.labels[circuitIndex(circuit)];
    const size_t first = part == 1 ? 0 : 10;
    size_t length = CTL_LABEL_CHARS;
    while (length > 0 && l.chars[length - 1] == 0)
        --length;
    const size_t count = length > first ? std::min<size_t>(length - first, 10) : 0;
    w.byte(part == 1 ? 1 : 2);
    w.byte(static_cast<uint8_t>(count));
    for (size_t i = first; i < first + 10; ++i)
        w.u16(l.chars[i]);
    w.byte(l.language);
}

void nothing(const CtlPlant&, uint8_t, uint8_t, Writer&) {}

using Builder = void (*)(const CtlPlant&, uint8_t circuit, uint8_t part, Writer&);

// Builders by message number; the messages the controller knows no content for (11, 12 the
// answer to the history clear, 19..21) carry only header and circuit.
constexpr std::array<Builder, CTL_MESSAGES> BUILDERS{
    statistics,       circuitValues, systemValues,   nullptr,      nullptr,       nullptr,
    nullptr,          nullptr,       nullptr,        nullptr,      configuration, nothing,
    nothing,          actuatorTest,  codingAnswer,   boilerValues, participant,   solarValues,
    circuitDiagnosis, nothing,       nothing,        nothing,      faults,        history,
    extraValues,      label,         solarStatistics};

} // namespace

CtlMessage CTL_BuildMessage(const CtlPlant& plant, uint8_t message, uint8_t circuit, uint8_t part,
                            uint8_t sequence)
{
    CtlMessage m;
    m.bytes[0] = CTL_Header(message, sequence);
    m.bytes[1] = circuit;
    Writer w(m);
    if (message >= CTL_MSG_FIRST_DAY && message <= CTL_MSG_LAST_DAY) {
        switchingTimes(plant, circuit, static_cast<uint8_t>(message - CTL_MSG_FIRST_DAY), w);
    } else if (message < CTL_MESSAGES) {
        BUILDERS[message](plant, circuit, part, w);
    }
    return m;
}
