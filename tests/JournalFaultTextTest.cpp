// What the progress window says of a journal it could not read: a sentence of its own for
// each cause, in Japanese, with what was found where it helps.

// own
#include "JournalFaultText.h"

// std
#include <gtest/gtest.h>
#include <algorithm>
#include <set>

namespace tonarika {
namespace {

using Kind = JournalFault::Kind;

TEST(JournalFaultText, eachCauseHasASentenceOfItsOwnWithTheDetailThatHelps)
{
    const struct {
        Kind kind;
        bool showsDetail;  // the window names what it found
    } kinds[] = {
        {Kind::NotAFile, true}, {Kind::Foreign, false}, {Kind::Newer, false}, {Kind::Damaged, false},
        {Kind::TooSlow, false}, {Kind::WalUnread, true}, {Kind::Unreadable, true},
    };
    std::set<QString> sentences;
    std::set<std::string> lines;
    for (const auto& k : kinds) {
        const JournalFault fault{k.kind, "trials.sqlite-wal (it is a FIFO)"};
        const QString text = journalFaultText(fault);
        sentences.insert(text);
        lines.insert(describeJournalFault(fault));
        const bool japanese = std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x3040; });
        EXPECT_TRUE(japanese) << text.toStdString();
        if (k.kind == Kind::NotAFile) {
            // The file's name, not the English reason that stderr gives.
            EXPECT_TRUE(text.contains(QStringLiteral("trials.sqlite-wal"))) << text.toStdString();
            EXPECT_FALSE(text.contains(QStringLiteral("FIFO"))) << text.toStdString();
        } else {
            EXPECT_EQ(text.contains(QStringLiteral("it is a FIFO")), k.showsDetail) << text.toStdString();
        }
        // A reading given up has nothing more to say; every other line keeps what was found.
        if (k.kind != Kind::TooSlow) {
            EXPECT_NE(describeJournalFault(fault).find("it is a FIFO"), std::string::npos) << "stderr keeps the detail";
        }
    }
    EXPECT_EQ(sentences.size(), std::size(kinds));
    EXPECT_EQ(lines.size(), std::size(kinds));
}

TEST(JournalFaultText, refusedRowsAreCountedInTheSentence)
{
    for (const std::size_t rows : {std::size_t(1), std::size_t(27), std::size_t(4'294'967'296)}) {
        const QString text = refusedRowsText(rows);
        EXPECT_TRUE(text.contains(QString::number(rows))) << text.toStdString();
        EXPECT_NE(text, refusedRowsText(rows + 1));
    }
}

}  // namespace
}  // namespace tonarika
