#pragma once

#include <QString>

#include <vector>

namespace catalog::grid {
struct GridState;
}

// What the file grid lists for a path: the files of a folder, or the members
// of an LZH or ZIP archive, sorted by extension and then by base name without
// regard to case.
namespace catalog {

struct FileRow {
    QString name;  // the file's own name (an archive member's last component)
    QString date;  // the grid's date text
    QString size;  // bytes with thousands separators
    int icon = 0;  // IconForExtension of the name's extension
};

// The rows already in the file grid's own form, so that a folder of tens of
// thousands of files is built in one buffer and handed to the grid whole.
struct FileListing {
    // The row records in display order: character 8, the name, 2, the date,
    // 3, the size, 4.
    QString records;
    std::vector<int> starts;  // where each row begins in records, then records' size
    QString icons;            // one IconForExtension code per row
    qint64 totalBytes = 0;

    int Count() const { return starts.empty() ? 0 : static_cast<int>(starts.size()) - 1; }
    // The cells of row `row` (0 <= row < Count()).
    FileRow Row(int row) const;
};

// The rows for a path in the Windows form. An LZH or ZIP path naming an
// existing file lists the archive's members; anything else is read as a
// folder. Files and members of size 0 and folders are left out. A path that
// does not exist or cannot be read, and an archive that cannot be opened,
// give no rows; a damaged archive gives the members before the damage.
FileListing ReadFileList(const QString& path);

// The date text of a file modified at `modifiedNs` (nanoseconds since the
// Unix epoch), in the system's local time: "yyyy/MM/dd H:mm".
QString FileDateText(qint64 modifiedNs);

// The status line for a listing: " 12個のファイル  ( 3,456 bytes)".
QString FileCountLine(int count, qint64 totalBytes);

// Replaces the grid's rows with the listing, which it takes over: icon codes,
// indent 4, no tree flags, no marks; cursor and top row 0.
void PutFileRows(grid::GridState& g, FileListing listing);

}  // namespace catalog
