#pragma once
#include <ostream>
#include <string>

#include "maker/PackageFile.h"

namespace pixvane::maker {

// The report as one JSON object: file_size, package_length, settings_offset,
// package_start, settings (every property of the record by its own name,
// texts in UTF-8), pictures, sounds and flash.
std::string ReportJson(const TPackageReport& report);

// The report for people: the layout, the settings, one line per picture,
// sound and Flash file.
void PrintReport(const TPackageReport& report, const std::string& fileName, std::ostream& out);

}  // namespace pixvane::maker
