// Where the program finds its notes and keeps its score, in each layout it runs from.

// own
#include "ProgramFolder.h"

// system
#include <pwd.h>
#include <unistd.h>

// std
#include <gtest/gtest.h>
#include <cstdlib>
#include <initializer_list>
#include <optional>
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

// Sets an environment variable, or unsets it, for as long as it lives.
class Environment {
public:
    Environment(const char* name, std::optional<std::string> value)
        : m_name(name)
    {
        if (const char* before = std::getenv(name))
            m_before = before;
        value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
    }
    ~Environment() { m_before ? ::setenv(m_name, m_before->c_str(), 1) : ::unsetenv(m_name); }

private:
    const char* m_name;
    std::optional<std::string> m_before;
};

TEST(ProgramFolder, thePlayersDataFolderComesFromTheEnvironmentsOwnBytes)
{
    const fs::path fromDatabase = ::getpwuid(::geteuid())->pw_dir;
    const struct {
        const char* what;
        std::optional<std::string> dataHome;
        std::optional<std::string> home;
        fs::path expected;
    } cases[] = {
        {"XDG_DATA_HOME", "/srv/data", "/home/p", "/srv/data/tonarika"},
        {"a folder name that is no UTF-8", "/srv/\xff\xfe", "/home/p", "/srv/\xff\xfe/tonarika"},
        {"a relative XDG_DATA_HOME counts for nothing", "data", "/home/p", "/home/p/.local/share/tonarika"},
        {"no XDG_DATA_HOME", std::nullopt, "/home/p", "/home/p/.local/share/tonarika"},
        {"neither: the home the user database gives", std::nullopt, std::nullopt,
         fromDatabase / ".local/share/tonarika"},
        {"an empty HOME is no home", std::nullopt, "", fromDatabase / ".local/share/tonarika"},
    };
    for (const auto& c : cases) {
        const Environment data("XDG_DATA_HOME", c.dataHome);
        const Environment home("HOME", c.home);
        EXPECT_EQ(playerDataFolder(), c.expected) << c.what;
    }
}

TEST(ProgramFolder, theLogsOfALayoutAreOnlyThoseTheGameWritesThere)
{
    const fs::path root = fs::temp_directory_path() / ("tonarika-logs-" + std::to_string(::getpid()));
    const fs::path data = "/home/p/.local/share/tonarika";
    fs::remove_all(root);
    fs::create_directories(root / "bin/wav");
    EXPECT_EQ(scoreLogs(root / "bin", data), (std::vector<fs::path>{root / "bin/Score.TXT", data / "Score.TXT"}));
    fs::remove_all(root / "bin/wav");
    fs::create_directories(root / "share/tonarika/wav");
    EXPECT_EQ(scoreLogs(root / "bin", data), (std::vector<fs::path>{data / "Score.TXT"})) << "installed";
    EXPECT_EQ(scoreLogs(root / "bin", ""), (std::vector<fs::path>{})) << "installed, and no home";
    fs::remove_all(root);
}

}  // namespace
}  // namespace tonarika
