#pragma once

// own
#include "ScoreLine.h"

// system
#include <unistd.h>

// std
#include <filesystem>
#include <fstream>
#include <string>

namespace tonarika::bench {

// A score log of `records` runs, three hours apart from 2000 on, written by the game's own
// line formatter, in a scratch folder that goes when the benchmark ends.
class LongLog {
public:
    explicit LongLog(std::uint32_t records)
        : m_folder(std::filesystem::temp_directory_path() / ("tonarika-bench-" + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(m_folder);
        std::ofstream out(path(), std::ios::binary);
        out << scoreHead().toStdString();
        const QLocale japanese(QLocale::Japanese, QLocale::Japan);
        QDateTime when(QDate(2000, 1, 1), QTime(20, 0), Qt::UTC);
        for (std::uint32_t i = 0; i < records; ++i) {
            const std::uint32_t questions = 5 + i % 40;
            const std::uint32_t misses = i % 7 % (questions + 1);
            out << scoreLine({i % 3 ? "Easy" : "Hard", misses, questions, "50.0 %"}, when, japanese).toStdString() << "\r\n";
            when = when.addSecs(3 * 3600);
        }
        m_last = when;
    }
    ~LongLog() { std::filesystem::remove_all(m_folder); }
    LongLog(const LongLog&) = delete;
    LongLog& operator=(const LongLog&) = delete;

    std::filesystem::path path() const { return m_folder / "Score.TXT"; }

    // Appends one more run, as the game does at the end of one.
    void append()
    {
        std::ofstream out(path(), std::ios::binary | std::ios::app);
        out << scoreLine({"Hard", 1, 10, "90.0 %"}, m_last, QLocale(QLocale::Japanese, QLocale::Japan)).toStdString() << "\r\n";
        m_last = m_last.addSecs(3 * 3600);
    }

private:
    std::filesystem::path m_folder;
    QDateTime m_last;
};

}  // namespace tonarika::bench
