// Every static object of the module, in construction order. Objects in one translation unit are
// constructed in the order of their definitions and destroyed in reverse, so this file alone
// fixes the order: add a new module-wide object here, in its place, with an accessor in
// moduleStatics.h.
#include "frame/moduleStatics.h"

namespace {
const INT_PTR kNodesPerBlock = 10;

// 1. The window registry.
CWndMgr g_windowRegistry;
// 2. The drag-source identity list.
CList<GUID*, GUID*> g_sourceIdentities(kNodesPerBlock);
}  // namespace

namespace qmod {
CWndMgr& windowRegistry() { return g_windowRegistry; }
CList<GUID*, GUID*>& sourceIdentities() { return g_sourceIdentities; }
}  // namespace qmod
