// The engine library's tracker as the program sees it. The tracker's own
// entry points are local to the library (a program calling them reaches its
// own tracker), so these exported functions are the one way in.
#include "memtrack_tracker.h"

#if PRAEL_MEMTRACK

namespace Orvix {

Mem::Statistics EngineMemoryStatistics() { return Mem::CurrentTracker().GetStatistics(); }

bool DumpEngineMemoryReport(const char* fileName, bool overwrite) {
  return Mem::CurrentTracker().WriteMemoryReport(fileName, overwrite);
}

}  // namespace Orvix

#endif
