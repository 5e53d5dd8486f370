#include "model_rows.h"

namespace catalog::testing {

QString Body(const QStringList& entries) { return entries.join(QString()) + QChar(0); }

QStringList Rows(const FolderModel& m) {
    QStringList rows;
    for (int r = 0; r < m.list.Count(); ++r) {
        rows.append(QStringLiteral("%1 %2 %3 ")
                        .arg(m.list.Level(r))
                        .arg(m.list.Icon(r))
                        .arg(m.list.ColourSlot(r)) +
                    m.list.Record(r).toString());
    }
    return rows;
}

}  // namespace catalog::testing
