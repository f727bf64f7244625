// A file from outside, at its edges: what is opened, what is refused and why, and how much
// is read.

// own
#include "OutsideFile.h"

// system
#include <sys/stat.h>
#include <unistd.h>

// std
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>

namespace tonarika {
namespace {

namespace fs = std::filesystem;
using Kind = OutsideFile::Refusal::Kind;
using Links = OutsideFile::Links;

TEST(OutsideFile, opensOnlyARegularFileAndReadsNoMoreThanItsBound)
{
    const fs::path folder = fs::temp_directory_path() / ("tonarika-outside-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder / "folder");
    std::ofstream(folder / "four") << "abcd";
    fs::create_symlink(folder / "four", folder / "link");
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    const struct {
        const char* name;
        Links links;
        std::uint64_t bound;
        std::uint64_t offset;
        std::optional<std::string> bytes;
        std::optional<Kind> refused;
    } cases[] = {
        {"four", Links::Refused, 4, 0, "abcd", std::nullopt},
        {"four", Links::Refused, 3, 0, std::nullopt, Kind::TooLarge},
        {"four", Links::Refused, 2, 2, "cd", std::nullopt},
        {"four", Links::Refused, 0, 4, "", std::nullopt},
        {"link", Links::Followed, 4, 0, "abcd", std::nullopt},
        {"link", Links::Refused, 4, 0, std::nullopt, Kind::Link},
        {"missing", Links::Followed, 4, 0, std::nullopt, Kind::Missing},
        {"folder", Links::Followed, 4, 0, std::nullopt, Kind::NotARegularFile},
        {"fifo", Links::Followed, 4, 0, std::nullopt, Kind::NotARegularFile},  // and never waits for a writer
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(c.offset) + ", bound " + std::to_string(c.bound));
        OutsideFile file = OutsideFile::toRead(folder / c.name, c.links);
        const auto bytes = file ? file.bytes(c.bound, c.offset) : std::nullopt;
        EXPECT_EQ(bytes, c.bytes);
        EXPECT_EQ(file.refusal() ? std::optional<Kind>(file.refusal()->kind) : std::nullopt, c.refused);
    }
    OutsideFile large = OutsideFile::toRead(folder / "four", Links::Refused);
    large.bytes(3);
    EXPECT_EQ(large.refusal()->text(), "larger than 3 bytes");

    // Appending: made where missing and asked to be, never through a link where refused.
    EXPECT_EQ(OutsideFile::toAppend(folder / "new", Links::Refused).refusal()->kind, Kind::Missing);
    {
        OutsideFile made = OutsideFile::toAppend(folder / "new", Links::Refused, 0600);
        ASSERT_TRUE(made);
        EXPECT_EQ(made.status().st_mode & 0777, 0600u);
        EXPECT_EQ(::write(made.fd(), "x", 1), 1);
        EXPECT_EQ(made.close(), 0);
    }
    EXPECT_EQ(fs::file_size(folder / "new"), 1u);
    EXPECT_EQ(OutsideFile::toAppend(folder / "link", Links::Refused, 0600).refusal()->kind, Kind::Link);
    EXPECT_TRUE(OutsideFile::toAppend(folder / "link", Links::Followed));
    fs::remove_all(folder);
}

}  // namespace
}  // namespace tonarika
