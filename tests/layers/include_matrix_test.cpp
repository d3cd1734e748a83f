// The layers of the program, bottom up, and the one direction their includes may take: a file
// may include its own layer and the layers below it, never one above. A lower layer that must
// reach a higher one is handed a function at start-up instead.
#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

// Order matters: the index is the layer's height.
constexpr std::array<const char*, 13> LAYERS{
    "base",           // UTF-8 helpers, no dependencies
    "sim/hal",        // host abstraction: interrupt lock, ticks, debug sink, serial ports, keys
    "kernel",         // event queues, state machines, signals, main-task state, timers, key task
    "gfx",            // graphics core
    "display",        // display driver, fonts, text catalogue and the flash image it reads
    "data",           // data pool
    "link",           // controller link
    "widgets",        // header, footer, menu list, value editor, formatters
    "spine",          // the user-interface spine and the illumination task
    "screens",        // every screen family
    "startup",        // the composition root
    "sim/controller", // the boiler-controller emulator the hosts may run
    "sim/host",       // the window host and the headless runner
};

// Headers of the operating system and the libraries that only the host layers may know.
const std::regex HOST_ONLY_HEADER{
    R"(^(SDL.*|png\.h|unistd\.h|fcntl\.h|termios\.h|pty\.h|poll\.h|pthread\.h|dlfcn\.h|sys/.*)$)"};

int layerOf(const std::string& path)
{
    int found = -1;
    size_t longest = 0;
    for (size_t i = 0; i < LAYERS.size(); ++i) {
        const std::string prefix = std::string(LAYERS[i]) + "/";
        if (path.rfind(prefix, 0) == 0 && prefix.size() > longest) {
            found = static_cast<int>(i);
            longest = prefix.size();
        }
    }
    return found;
}

struct Include {
    std::string file;
    int line;
    std::string target;
    bool system;
};

std::vector<Include> includesOf(const fs::path& root, const std::string& relative)
{
    static const std::regex directive{R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])"};
    std::vector<Include> out;
    std::ifstream in(root / relative);
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        std::smatch m;
        if (std::regex_search(text, m, directive))
            out.push_back({relative, line, m[2].str(), m[1].str() == "<"});
    }
    return out;
}

std::vector<std::string> sourcesOfEveryLayer(const fs::path& root)
{
    std::vector<std::string> out;
    for (const char* layer : LAYERS)
        for (const fs::directory_entry& e : fs::directory_iterator(root / layer)) {
            const std::string ext = e.path().extension().string();
            if (e.is_regular_file() && (ext == ".cpp" || ext == ".h"))
                out.push_back(fs::relative(e.path(), root).generic_string());
        }
    std::sort(out.begin(), out.end());
    return out;
}

TEST(IncludeMatrix, EveryIncludeGoesToItsOwnLayerOrBelow)
{
    const fs::path root = PANELSIM_SOURCE_DIR;
    const std::vector<std::string> sources = sourcesOfEveryLayer(root);
    ASSERT_GT(sources.size(), 100u) << "the layers' folders were not found under " << root;
    std::vector<std::string> wrong;
    for (const std::string& file : sources) {
        const int from = layerOf(file);
        for (const Include& inc : includesOf(root, file)) {
            if (inc.system) {
                if (from < layerOf("sim/controller/") && from != layerOf("sim/hal/") &&
                    std::regex_match(inc.target, HOST_ONLY_HEADER))
                    wrong.push_back(file + ":" + std::to_string(inc.line) + " <" + inc.target +
                                    "> belongs to the host layers");
                continue;
            }
            // Without a folder: a header beside the file or a generated one.
            if (inc.target.find('/') == std::string::npos) continue;
            const int to = layerOf(inc.target);
            if (to < 0)
                wrong.push_back(file + ":" + std::to_string(inc.line) + " \"" + inc.target +
                                "\" is in no layer");
            else if (to > from)
                wrong.push_back(file + ":" + std::to_string(inc.line) + " (" + LAYERS[from] +
                                ") includes \"" + inc.target + "\" (" + LAYERS[to] + ")");
        }
    }
    std::string report;
    for (const std::string& w : wrong)
        report += "\n  " + w;
    EXPECT_TRUE(wrong.empty()) << "includes against the layer order:" << report;
}

// The controller emulator stands where a real controller's bus adapter would: it knows the
// panel only by the bus driver interface with the byte handlers, and the host abstraction.
TEST(IncludeMatrix, TheControllerEmulatorSeesOnlyTheBusAndTheHost)
{
    const fs::path root = PANELSIM_SOURCE_DIR;
    std::vector<std::string> wrong;
    size_t files = 0;
    for (const std::string& file : sourcesOfEveryLayer(root)) {
        if (file.rfind("sim/controller/", 0) != 0) continue;
        ++files;
        for (const Include& inc : includesOf(root, file)) {
            if (inc.system) continue;
            const bool allowed = inc.target == "link/dis.h" ||
                                 inc.target.rfind("sim/controller/", 0) == 0 ||
                                 inc.target.rfind("sim/hal/", 0) == 0;
            if (!allowed)
                wrong.push_back(file + ":" + std::to_string(inc.line) + " \"" + inc.target + "\"");
        }
    }
    EXPECT_GT(files, 0u);
    std::string report;
    for (const std::string& w : wrong)
        report += "\n  " + w;
    EXPECT_TRUE(wrong.empty()) << "the emulator reaches into the panel:" << report;
}

TEST(IncludeMatrix, TheCheckSeesAnUpwardInclude)
{
    // The layer lookup the check relies on: a screen is above the data pool, the host
    // abstraction below the kernel, the hosts above everything.
    EXPECT_GT(layerOf("screens/bga.cpp"), layerOf("data/datapool.h"));
    EXPECT_LT(layerOf("sim/hal/ticks.h"), layerOf("kernel/evt.h"));
    EXPECT_EQ(layerOf("sim/host/headless.cpp"), static_cast<int>(LAYERS.size()) - 1);
    EXPECT_EQ(layerOf("tools/textgen/main.cpp"), -1);
}

} // namespace
