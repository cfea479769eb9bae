#pragma once
#include <string>

namespace pixvane::studio {

// Opens address in the user's default browser, without waiting for it;
// false when there is no way to (the address is printed anyway).
bool OpenBrowser(const std::string& address);

}  // namespace pixvane::studio
