// Where the program finds its notes and keeps its score, in each layout it runs from.

// own
#include "ProgramFolder.h"

// system
#include <unistd.h>

// std
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>

namespace tonarika {
namespace {

namespace fs = std::filesystem;

TEST(ProgramFolder, notesAreLookedForHereThenBesideTheProgramThenInTheInstalledDataFolder)
{
    EXPECT_EQ(noteFolders("/usr/bin"), (std::vector<fs::path>{"", "/usr/bin", "/usr/share/tonarika"}));
    EXPECT_EQ(noteFolders("/opt/x/bin"), (std::vector<fs::path>{"", "/opt/x/bin", "/opt/x/share/tonarika"}));
    EXPECT_EQ(noteFolders(""), (std::vector<fs::path>{""})) << "an unknown program folder adds nothing";
}

TEST(ProgramFolder, theScoreStaysBesideAProgramWithItsOwnNotesAndNeverBesideAnInstalledOne)
{
    const fs::path root = fs::temp_directory_path() / ("tonarika-layout-" + std::to_string(::getpid()));
    const struct {
        const char* layout;
        std::initializer_list<const char*> folders;
        bool besideTheProgram;
    } cases[] = {
        {"a build folder", {"bin/wav"}, true},
        {"an installed program", {"bin", "share/tonarika/wav"}, false},
        {"an unpacked copy beside an installed one", {"bin/wav", "share/tonarika/wav"}, true},
        {"a program with no notes anywhere", {"bin"}, true},
    };
    for (const auto& c : cases) {
        fs::remove_all(root);
        for (const char* folder : c.folders)
            fs::create_directories(root / folder);
        EXPECT_EQ(scoreFolder(root / "bin"), c.besideTheProgram ? root / "bin" : fs::path()) << c.layout;
    }
    fs::remove_all(root);
}

}  // namespace
}  // namespace tonarika
