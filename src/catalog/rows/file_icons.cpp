#include "catalog/rows/file_icons.h"

#include <QHash>
#include <QStringList>

namespace catalog {

const QString kExtensionIconTable = QStringLiteral(
    "17/EXE/29/LZH/30/ZIP/33/BMP/18/JPG/18/JPEG/32/GIF/33/PCX/33/TIF/33/XBM/"
    "33/PCD/19/AVI/27/MOV/27/MPG/20/WAV/20/MID/21/HTM/21/HTML/21/SHTML/25/INI/"
    "34/TXT/24/DOC/23/LOG/23/SRC/23/PRN/23/LST/24/WRI/24/DAT/22/DLL/31/VBX/"
    "31/OCX/28/COM/28/BAT/31/SYS/31/VXD/31/DRV/31/INF/31/MSG/26/HLP/32/ICO/"
    "35/CAB/36/MP1/36/MP2/36/MP3/26/CHM/37/RAM/");

namespace {

// The table's pairs by extension. Searching the text itself for "/" + E + "/"
// would also match across a pair boundary (an extension "29" finds "/29/" in
// "EXE/29/LZH"), so the text is read pair by pair once.
QHash<QString, int> IconsByExtension() {
    QHash<QString, int> icons;
    const QStringList parts = kExtensionIconTable.split(u'/', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (!icons.contains(parts[i + 1])) icons.insert(parts[i + 1], parts[i].toInt());
    }
    return icons;
}

}  // namespace

int IconForExtension(const QString& extension) {
    static const QHash<QString, int> icons = IconsByExtension();
    return icons.value(extension, kIconOtherFile);
}

}  // namespace catalog
