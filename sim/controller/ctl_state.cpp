// The state file: one item a line, a header with the layout's version and, since version 2, a
// checksum over everything before it as the last line, so that a cut or changed file is seen.
#include "sim/controller/ctl_state.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include "sim/controller/controller.h"

namespace {

constexpr const char* MAGIC = "panelsim controller state";
constexpr const char* PROGRAMS[] = {"heating", "hot-water", "circulation"};

uint32_t checksum(const std::string& text)
{
    uint32_t h = 2166136261u; // FNV-1a
    for (unsigned char c : text) {
        h ^= c;
        h *= 16777619u;
    }
    return h;
}

std::string hex(const uint8_t* p, size_t n)
{
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (size_t i = 0; i < n; ++i) {
        out += digits[p[i] >> 4];
        out += digits[p[i] & 15];
    }
    return out;
}

bool unhex(const std::string& s, uint8_t* p, size_t n)
{
    if (s.size() != 2 * n) return false;
    for (size_t i = 0; i < n; ++i) {
        unsigned v = 0;
        for (int k = 0; k < 2; ++k) {
            const char c = s[2 * i + k];
            const int d = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                 : -1;
            if (d < 0) return false;
            v = v * 16 + static_cast<unsigned>(d);
        }
        p[i] = static_cast<uint8_t>(v);
    }
    return true;
}

// The circuit values the panel sets, by name, at their record offsets.
struct CircuitItem {
    const char* name;
    size_t offset;
    int low, high;
    int since; // the first layout with the item
};
constexpr CircuitItem CIRCUIT_ITEMS[] = {
    {"room", CtlCircuit::ROOM_SET, 3, 37, 1},   {"reduced", CtlCircuit::ROOM_REDUCED, 3, 37, 1},
    {"party", CtlCircuit::PARTY_SET, 4, 37, 1}, {"slope", CtlCircuit::SLOPE, 2, 35, 1},
    {"level", CtlCircuit::LEVEL, -13, 40, 1},   {"dhw", CtlCircuit::DHW_SET, 0, 95, 2},
};

void writeCircuit(std::ostringstream& out, const CtlPlant& p, uint8_t c)
{
    const CtlBytes<28>& r = p.circuits[c];
    out << "circuit " << c + 1 << " mode " << CTL_ModeWord(p, static_cast<uint8_t>(c + 1));
    for (const CircuitItem& item : CIRCUIT_ITEMS) {
        const int v = item.low < 0 ? static_cast<int8_t>(r[item.offset]) : r[item.offset];
        out << ' ' << item.name << ' ' << v;
    }
    out << " holiday " << hex(&r[CtlCircuit::HOLIDAY_START], 8) << '\n';
}

class Parser {
  public:
    Parser(CtlPlant& plant) : p_(plant) {}

    bool line(int version, const std::string& text, std::string& problem)
    {
        std::istringstream in(text);
        std::string key;
        in >> key;
        if (key == "contrast") return number(in, p_.system[4], 0, 99, problem);
        if (key == "language") return number(in, p_.system[5], 0, 18, problem);
        if (key == "circuit") return circuit(version, in, problem);
        if (key == "times") return times(in, problem);
        if (version >= 2) {
            if (key == "fahrenheit") {
                uint8_t f = 0;
                if (!number(in, f, 0, 1, problem)) return false;
                CTL_SetStatusFlag(p_, CTL_FLAG_FAHRENHEIT, f != 0);
                return true;
            }
            if (key == "brightness")
                return number(in, p_.settings[5], 0, 255, problem) &&
                       number(in, p_.settings[6], 0, 255, problem);
            if (key == "settings-value") return number(in, p_.settings[0], 0, 255, problem);
            if (key == "fan-speed")
                return number(in, p_.fanSpeedStored[0], 0, 255, problem) &&
                       number(in, p_.fanSpeedStored[1], 0, 255, problem);
            if (key == "heat-output") return number(in, p_.heatOutputStored, 0, 100, problem);
            if (key == "label") return label(in, problem);
            if (key == "coding") return coding(in, problem);
            if (key == "statistics") return bytes(in, p_.statistics.data(), 24, problem);
            if (key == "solar") return bytes(in, p_.solar.data(), 25, problem);
            if (key == "history") return history(in, problem);
        }
        problem = "unknown item '" + key + "'";
        return false;
    }

  private:
    static bool number(std::istringstream& in, uint8_t& out, int low, int high,
                       std::string& problem)
    {
        int v = 0;
        if (!(in >> v) || v < low || v > high) {
            problem = "a value outside " + std::to_string(low) + ".." + std::to_string(high);
            return false;
        }
        out = static_cast<uint8_t>(v);
        return true;
    }

    static bool bytes(std::istringstream& in, uint8_t* out, size_t n, std::string& problem)
    {
        std::string s;
        if (in >> s && unhex(s, out, n)) return true;
        problem = "not " + std::to_string(n) + " bytes in hex";
        return false;
    }

    bool circuit(int version, std::istringstream& in, std::string& problem)
    {
        int c = 0;
        std::string word;
        int mode = 0;
        if (!(in >> c) || (c != 1 && c != 2) || !(in >> word) || word != "mode" || !(in >> mode) ||
            mode < 0 || mode > 0xFFFF) {
            problem = "a circuit line without circuit 1 or 2 and its mode";
            return false;
        }
        CtlBytes<28> r = p_.circuits[static_cast<size_t>(c - 1)];
        for (const CircuitItem& item : CIRCUIT_ITEMS) {
            if (item.since > version) continue;
            int v = 0;
            if (!(in >> word) || word != item.name || !(in >> v) || v < item.low || v > item.high) {
                problem = std::string("circuit ") + std::to_string(c) + ": " + item.name +
                          " missing or outside its limits";
                return false;
            }
            r[item.offset] = static_cast<uint8_t>(v);
        }
        if (!(in >> word) || word != "holiday" ||
            !bytes(in, &r[CtlCircuit::HOLIDAY_START], 8, problem)) {
            problem = "circuit " + std::to_string(c) + ": no holiday dates";
            return false;
        }
        p_.circuits[static_cast<size_t>(c - 1)] = r;
        CTL_SetModeWord(p_, static_cast<uint8_t>(c), static_cast<uint16_t>(mode));
        return true;
    }

    bool times(std::istringstream& in, std::string& problem)
    {
        int c = 0;
        std::string program;
        if (!(in >> c >> program) || (c != 1 && c != 2)) {
            problem = "a times line without circuit 1 or 2";
            return false;
        }
        int k = -1;
        for (int i = 0; i < CTL_PROGRAMS; ++i)
            if (program == PROGRAMS[i]) k = i;
        if (k < 0) {
            problem = "times for an unknown program '" + program + "'";
            return false;
        }
        auto days = p_.times[static_cast<size_t>(c - 1)][static_cast<size_t>(k)];
        for (auto& day : days)
            for (auto& phase : day)
                for (uint8_t& t : phase) {
                    int v = 0;
                    if (!(in >> v) || (v > CTL_END_OF_DAY && v != CTL_UNUSED_TIME) || v < 0) {
                        problem = "a switching time that is no time of day";
                        return false;
                    }
                    t = static_cast<uint8_t>(v);
                }
        p_.times[static_cast<size_t>(c - 1)][static_cast<size_t>(k)] = days;
        return true;
    }

    bool label(std::istringstream& in, std::string& problem)
    {
        int c = 0, language = 0;
        std::string chars;
        if (!(in >> c >> language >> chars) || (c != 1 && c != 2) || language < 0 ||
            language > 255) {
            problem = "a label line without circuit, language and characters";
            return false;
        }
        CtlBytes<2 * CTL_LABEL_CHARS> raw{};
        if (!unhex(chars, raw.data(), raw.size())) {
            problem = "a label that is not 20 UTF-16 characters in hex";
            return false;
        }
        CtlLabel& l = p_.labels[static_cast<size_t>(c - 1)];
        for (size_t i = 0; i < CTL_LABEL_CHARS; ++i)
            l.chars[i] = static_cast<uint16_t>(raw[2 * i] | raw[2 * i + 1] << 8);
        l.language = static_cast<uint8_t>(language);
        return true;
    }

    bool coding(std::istringstream& in, std::string& problem)
    {
        int group = 0, value = 0;
        std::string address;
        uint8_t a = 0;
        if (!(in >> group >> address >> value) || !unhex(address, &a, 1)) {
            problem = "a coding line without group, address and value";
            return false;
        }
        for (CtlCodingParameter& c : p_.coding) {
            if (c.group != group || c.address != a) continue;
            if (value < c.minimum || value > c.maximum) {
                problem = "coding " + std::to_string(group) + "/" + address + " outside its limits";
                return false;
            }
            c.value = static_cast<int16_t>(value);
            return true;
        }
        problem = "coding " + std::to_string(group) + "/" + address + " is no parameter";
        return false;
    }

    bool history(std::istringstream& in, std::string& problem)
    {
        CtlRecord r{};
        if (!bytes(in, r.data(), r.size(), problem)) return false;
        if (p_.history.size() >= CTL_FAULT_RECORDS) {
            problem = "more than ten history records";
            return false;
        }
        p_.history.push_back(r);
        return true;
    }

    CtlPlant& p_;
};

CtlStateResult damaged(int line, const std::string& why)
{
    return {CtlStateRead::Damaged, 0, "line " + std::to_string(line) + ": " + why};
}

} // namespace

std::string CTL_StateText(const CtlPlant& p)
{
    std::ostringstream out;
    out << MAGIC << '\n' << "version " << CTL_STATE_VERSION << '\n';
    out << "contrast " << int(p.system[4]) << '\n';
    out << "language " << int(p.system[5]) << '\n';
    out << "fahrenheit " << ((CTL_StatusFlags(p) & CTL_FLAG_FAHRENHEIT) ? 1 : 0) << '\n';
    out << "brightness " << int(p.settings[5]) << ' ' << int(p.settings[6]) << '\n';
    out << "settings-value " << int(p.settings[0]) << '\n';
    out << "fan-speed " << int(p.fanSpeedStored[0]) << ' ' << int(p.fanSpeedStored[1]) << '\n';
    out << "heat-output " << int(p.heatOutputStored) << '\n';
    for (uint8_t c = 0; c < CTL_CIRCUITS; ++c)
        writeCircuit(out, p, c);
    for (uint8_t c = 0; c < CTL_CIRCUITS; ++c)
        for (uint8_t k = 0; k < CTL_PROGRAMS; ++k) {
            out << "times " << c + 1 << ' ' << PROGRAMS[k];
            for (const auto& day : p.times[c][k])
                for (const auto& phase : day)
                    out << ' ' << int(phase[0]) << ' ' << int(phase[1]);
            out << '\n';
        }
    for (uint8_t c = 0; c < CTL_CIRCUITS; ++c) {
        CtlBytes<2 * CTL_LABEL_CHARS> raw{};
        for (size_t i = 0; i < CTL_LABEL_CHARS; ++i) {
            raw[2 * i] = static_cast<uint8_t>(p.labels[c].chars[i]);
            raw[2 * i + 1] = static_cast<uint8_t>(p.labels[c].chars[i] >> 8);
        }
        out << "label " << c + 1 << ' ' << int(p.labels[c].language) << ' '
            << hex(raw.data(), raw.size()) << '\n';
    }
    for (const CtlCodingParameter& c : p.coding)
        if (c.value != c.factory)
            out << "coding " << int(c.group) << ' ' << hex(&c.address, 1) << ' ' << c.value << '\n';
    out << "statistics " << hex(p.statistics.data(), p.statistics.size()) << '\n';
    out << "solar " << hex(p.solar.data(), p.solar.size()) << '\n';
    for (const CtlRecord& r : p.history)
        out << "history " << hex(r.data(), r.size()) << '\n';
    std::string text = out.str();
    char sum[32];
    snprintf(sum, sizeof sum, "checksum %08X\n", checksum(text));
    return text + sum;
}

CtlStateResult CTL_ParseState(const std::string& text, CtlPlant& plant)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);)
        lines.push_back(l);
    if (lines.empty() || lines[0] != MAGIC) return damaged(1, "not a controller state file");
    int version = 0;
    if (lines.size() < 2 || sscanf(lines[1].c_str(), "version %d", &version) != 1)
        return damaged(2, "no version");
    if (version < 1 || version > CTL_STATE_VERSION)
        return damaged(2, "version " + std::to_string(version) + " is not known here");
    size_t end = lines.size();
    if (version >= 2) {
        // Everything up to the checksum line, which must be the last one.
        if (end < 3 || lines[end - 1].rfind("checksum ", 0) != 0)
            return damaged(static_cast<int>(end), "cut short: no checksum at the end");
        const size_t sumAt = text.rfind("checksum ");
        unsigned stored = 0;
        if (sscanf(lines[end - 1].c_str(), "checksum %8X", &stored) != 1 ||
            stored != checksum(text.substr(0, sumAt)))
            return damaged(static_cast<int>(end), "the checksum does not match the contents");
        --end;
    }
    CtlPlant next = plant;
    next.history.clear();
    Parser parser(next);
    for (size_t i = 2; i < end; ++i) {
        if (lines[i].empty()) continue;
        std::string problem;
        if (!parser.line(version, lines[i], problem))
            return damaged(static_cast<int>(i + 1), problem);
    }
    if (version < 2) next.history = plant.history;
    plant = std::move(next);
    return {CtlStateRead::Loaded, version, ""};
}

CtlStateResult CTL_ReadStateFile(const std::string& path, CtlPlant& plant)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) return {CtlStateRead::Missing, 0, ""};
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad()) return {CtlStateRead::Damaged, 0, "it cannot be read"};
    return CTL_ParseState(text.str(), plant);
}

namespace {

bool makeFolders(const std::string& path, std::string& error)
{
    for (size_t at = path.find('/', 1); at != std::string::npos; at = path.find('/', at + 1)) {
        const std::string folder = path.substr(0, at);
        if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
            error = "cannot make " + folder + ": " + strerror(errno);
            return false;
        }
    }
    return true;
}

} // namespace

bool CTL_WriteStateFile(const std::string& path, const CtlPlant& plant, std::string& error)
{
    if (!makeFolders(path, error)) return false;
    const std::string text = CTL_StateText(plant);
    const std::string temporary = path + ".tmp." + std::to_string(getpid());
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = "cannot write " + temporary + ": " + strerror(errno);
        return false;
    }
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    const bool written = done == text.size() && fsync(fd) == 0;
    const int saved = errno;
    close(fd);
    if (!written || rename(temporary.c_str(), path.c_str()) != 0) {
        error = "cannot write " + path + ": " + strerror(written ? errno : saved);
        unlink(temporary.c_str());
        return false;
    }
    return true;
}

std::string CTL_DefaultStatePath()
{
    const char* state = getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/')
        return std::string(state) + "/panelsim/controller.state";
    const char* home = getenv("HOME");
    return std::string(home != nullptr ? home : ".") + "/.local/state/panelsim/controller.state";
}
