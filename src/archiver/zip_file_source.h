// A libzip source that reads one walked file through InputFile when libzip asks for its data
// (at zip_close), so that the file is opened without waiting and only when it is a regular
// file, and a failure names it.
#pragma once

#include <zip.h>

#include <string>

#include "archiver/folder_walker.h"

namespace archiver {

// `firstFailure` receives "host path: reason" of the first source that cannot be opened or
// read; it must outlive the archive's close. nullptr when libzip cannot make the source.
zip_source_t* FileSourceFor(zip_t* archive, const SourceFile& file, std::string& firstFailure);

}  // namespace archiver
