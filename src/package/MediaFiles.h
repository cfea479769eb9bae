#pragma once
#include <string>

#include "base/Paths.h"
#include "package/SSFileLocations.h"

namespace pixvane {

class TStream;

// Copies every sound, then every Flash movie, of the record out of the open
// executable into folder under its stored name. Stops at the first error
// ("Cannot create file %s", "Stream read error", "Index is out of bounds");
// files already written stay. A stored name that would leave the folder is
// never used: it fails as a file that cannot be created.
void ExtractMediaFiles(const TSSFileLocations& record, TStream& file,
                       const std::string& folder = TempFolderPath());

// Deletes the files ExtractMediaFiles wrote; failures are ignored.
void DeleteMediaFiles(const TSSFileLocations& record, const std::string& folder = TempFolderPath());

}  // namespace pixvane
