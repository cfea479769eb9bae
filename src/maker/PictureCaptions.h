#pragma once
#include <string>
#include <vector>

#include "maker/Manifest.h"
#include "maker/Upright.h"

namespace pixvane::maker {

// A date as people write it: "12 March 2024".
std::string PlainDate(const TDate& date);

// "a.jpg, b.jpg, c.jpg and 2 more": a few names of a list, for a message.
std::string JoinNames(const std::vector<std::string>& names);

// The caption of each picture of the manifest, in picture order (UTF-8,
// empty for none): its own, or else what manifest.CaptionsFrom makes of its
// date taken or its file name without the extension. undated receives the
// names of pictures that were to take their date and have none.
std::vector<std::string> PictureCaptions(const TManifest& manifest,
                                         std::vector<std::string>& undated);

}  // namespace pixvane::maker
