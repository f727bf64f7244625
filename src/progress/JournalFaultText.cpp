#include "JournalFaultText.h"

// Qt
#include <QCoreApplication>

namespace tonarika {

QString journalFaultText(const JournalFault& fault)
{
    const QString detail = QString::fromStdString(fault.detail);
    switch (fault.kind) {
    case JournalFault::Kind::NotAFile:
        // The name alone: the reason after it is in English, for stderr.
        return QCoreApplication::translate("JournalFaultText", "%1 は通常のファイルではないので開きません").arg(detail.section(u' ', 0, 0));
    case JournalFault::Kind::Foreign:
        return QCoreApplication::translate("JournalFaultText", "このゲームの記録ではないので読みません");
    case JournalFault::Kind::Newer:
        return QCoreApplication::translate("JournalFaultText", "新しい版のゲームが書いた記録なので読みません");
    case JournalFault::Kind::Damaged:
        return QCoreApplication::translate("JournalFaultText", "壊れているので読めません");
    case JournalFault::Kind::TooSlow:
        return QCoreApplication::translate("JournalFaultText", "読むのに時間がかかりすぎるので途中でやめました");
    case JournalFault::Kind::WalUnread:
        return QCoreApplication::translate("JournalFaultText", "WAL ファイルを読めません（%1）").arg(detail);
    case JournalFault::Kind::Unreadable:
        break;
    }
    return QCoreApplication::translate("JournalFaultText", "読めません（%1）").arg(detail);
}

QString refusedRowsText(std::size_t rows)
{
    return QCoreApplication::translate("JournalFaultText", "ありえない値の記録 %1 件は数えていません").arg(rows);
}

}  // namespace tonarika
