#pragma once
// A print run that fails prints nothing of itself: its open document is
// discarded before the failure goes on to the user.
#include "platform/drawing_surface.h"

namespace orbin {

// Discards the open document; a fault while discarding is dropped, since
// the failure that led here is the one to report.
inline void AbortDocumentQuietly(DrawingSurface& printer) {
  try {
    printer.AbortDocument();
  } catch (...) {
  }
}

}  // namespace orbin
