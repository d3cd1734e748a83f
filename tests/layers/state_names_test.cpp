// Every state of the panel is defined with HSM_STATE, which takes the logged name from the C++
// symbol: a state written out by hand could log a name that scripts and tests look for in vain.
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kernel/hsm.h"

namespace {

namespace fs = std::filesystem;

const char* const PANEL_FOLDERS[] = {"kernel",  "gfx",   "display", "data",   "link",
                                     "widgets", "spine", "screens", "startup"};

HSM_STATE(TEST_Named, nullptr);

TEST(StateNames, TheMacroLogsTheSymbolsOwnName) { EXPECT_STREQ(TEST_Named.name, "TEST_Named"); }

TEST(StateNames, EveryPanelStateIsDefinedByTheMacro)
{
    // A definition by hand: "const State NAME{" or "const State NAME = {".
    const std::regex byHand{R"(\bconst\s+State\s+\w+\s*(=\s*)?\{)"};
    std::vector<std::string> found;
    for (const char* folder : PANEL_FOLDERS)
        for (const fs::directory_entry& e :
             fs::directory_iterator(fs::path(PANELSIM_SOURCE_DIR) / folder)) {
            const std::string ext = e.path().extension().string();
            if (ext != ".cpp" && ext != ".h") continue;
            std::ifstream in(e.path());
            std::string line;
            for (int number = 1; std::getline(in, line); ++number)
                if (line.find("State") != std::string::npos && line.rfind("#define", 0) != 0 &&
                    std::regex_search(line, byHand))
                    found.push_back(fs::relative(e.path(), PANELSIM_SOURCE_DIR).generic_string() +
                                    ":" + std::to_string(number) + ": " + line);
        }
    std::string report;
    for (const std::string& f : found)
        report += "\n  " + f;
    EXPECT_TRUE(found.empty()) << "states defined without HSM_STATE:" << report;
}

} // namespace
