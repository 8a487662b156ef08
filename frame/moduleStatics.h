// The module's static objects, reached through accessors. They are defined together in
// moduleStatics.cpp, so they are constructed in the order listed there before process attach
// and destroyed in the reverse order after detach.
#pragma once
#include "qWndMgr.h"
#include <afxtempl.h>

namespace qmod {
CWndMgr& windowRegistry();                    // windows hooked by drag sources
CList<GUID*, GUID*>& sourceIdentities();      // identities of the live drag sources
}  // namespace qmod
