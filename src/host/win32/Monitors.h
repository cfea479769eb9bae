#pragma once
#include <windows.h>

#include <vector>

#include "graphics/Geometry.h"
#include "show/SlideComposer.h"

namespace pixvane {

// The rectangle around every monitor, in screen coordinates: what the
// saver window covers.
TRect VirtualScreen();

// Each monitor's rectangle relative to origin (the saver window's top-left
// corner) with its own resolution.
std::vector<TMonitor> ScreenMonitors(TPoint origin);

}  // namespace pixvane
