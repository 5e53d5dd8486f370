#pragma once

#include "platform/path_kinds.h"

#include <QByteArray>
#include <QString>

#include <array>

// The catalog drive file "CATDRV.DAT" beside the program: 26 values, one per
// drive letter A to Z. Kibako keeps them unchanged from start to exit; they
// are read and written as bytes so that any code page survives.
namespace catalog {

using CatalogDriveTable = std::array<QByteArray, 26>;

// Values in order: a value ends at a comma or a line end; a value in double
// quotes keeps its commas and loses the quotes. Missing values stay empty.
CatalogDriveTable ParseCatalogDrives(const QByteArray& bytes);
// 26 lines, each value as it is and ended by CR LF; a value that holds a
// comma or a line break, or begins with a blank, is written in double quotes
// so that the next reading gives it back unchanged.
QByteArray CatalogDriveBytes(const CatalogDriveTable& table);

// Reading a missing or unreadable file gives 26 empty values.
CatalogDriveTable ReadCatalogDriveFile(const platform::HostPath& hostPath);
// Written whole or not at all; false when it could not be written.
bool WriteCatalogDriveFile(const platform::HostPath& hostPath, const CatalogDriveTable& table);

}  // namespace catalog
