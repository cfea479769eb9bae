#pragma once
#include <filesystem>
#include <ostream>

#include <nlohmann/json.hpp>

#include "maker/Extract.h"
#include "package/SSFileLocations.h"

namespace pixvane::studio {

// The manifest that builds settings again from the files extract wrote into
// folder: every setting the manifest has a key for, texts in UTF-8.
nlohmann::json ManifestOfSaver(const TSSFileLocations& settings, const maker::TExtractResult& files,
                               const std::filesystem::path& folder);

// Makes a project folder from a saver whose sources are lost: folder gets
// its pictures, sounds and Flash files and a pixvane.toml of its settings.
void MakeProjectFromSaver(const std::filesystem::path& saver, const std::filesystem::path& folder,
                          std::ostream& out);

}  // namespace pixvane::studio
