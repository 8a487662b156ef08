// Run-time class records and extension-module start-up.
#include "afx.h"
#include <cstring>
#include <vector>

namespace {
// Classes registered by the code being constructed right now (the process's own, or an
// extension module between its raw hook and its initialisation).
CRuntimeClass* g_classList = nullptr;
// Lists moved aside by the raw hook; loads may nest, so it is a stack.
std::vector<CRuntimeClass*>& savedLists() {
    static std::vector<CRuntimeClass*> s;
    return s;
}
CDynLinkLibrary* g_firstDLL = nullptr;

CRuntimeClass* findIn(CRuntimeClass* head, LPCSTR name) {
    for (CRuntimeClass* c = head; c; c = c->m_pNextClass)
        if (c->m_lpszClassName && std::strcmp(c->m_lpszClassName, name) == 0) return c;
    return nullptr;
}
}  // namespace

CRuntimeClass CObject::classCObject = {"CObject", (int)sizeof(CObject), 0xFFFF, nullptr, nullptr, nullptr};
CRuntimeClass* PASCAL CObject::GetThisClass() { return &classCObject; }
CRuntimeClass* CObject::GetRuntimeClass() const { return &classCObject; }

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const {
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

CObject* CRuntimeClass::CreateObject() {
    if (!m_pfnCreateObject) return nullptr;
    try {
        return m_pfnCreateObject();
    } catch (...) {
        return nullptr;
    }
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
        if (c == pBaseClass) return TRUE;
    return FALSE;
}

CRuntimeClass* PASCAL CRuntimeClass::FromName(LPCWSTR lpszClassName) {
    if (!lpszClassName) return nullptr;
    char name[256];
    // Class names are ASCII identifiers; anything else cannot name a class.
    size_t i = 0;
    for (; lpszClassName[i]; ++i) {
        if (i + 1 >= sizeof(name) || lpszClassName[i] > 0x7F) return nullptr;
        name[i] = (char)lpszClassName[i];
    }
    name[i] = 0;
    return FromName(name);
}

CObject* PASCAL CRuntimeClass::CreateObject(LPCSTR lpszClassName) {
    CRuntimeClass* c = FromName(lpszClassName);
    return c ? c->CreateObject() : nullptr;
}

CObject* PASCAL CRuntimeClass::CreateObject(LPCWSTR lpszClassName) {
    CRuntimeClass* c = FromName(lpszClassName);
    return c ? c->CreateObject() : nullptr;
}

CRuntimeClass* PASCAL CRuntimeClass::FromName(LPCSTR lpszClassName) {
    if (!lpszClassName) return nullptr;
    if (CRuntimeClass* c = findIn(g_classList, lpszClassName)) return c;
    for (CRuntimeClass* head : savedLists())
        if (CRuntimeClass* c = findIn(head, lpszClassName)) return c;
    for (CDynLinkLibrary* d = g_firstDLL; d; d = d->m_pNextDLL)
        if (CRuntimeClass* c = findIn(d->m_pFirstClass, lpszClassName)) return c;
    return nullptr;
}

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass) {
    pNewClass->m_pNextClass = g_classList;
    g_classList = pNewClass;
}

BOOL WINAPI AfxExtRawDllMain(HINSTANCE, DWORD dwReason, LPVOID) {
    if (dwReason == DLL_PROCESS_ATTACH) {
        savedLists().push_back(g_classList);
        g_classList = nullptr;
    }
    return TRUE;
}

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule) {
    if (state.bInitialized) return TRUE;
    state.hModule = hModule;
    state.hResource = hModule;
    state.pFirstSharedClass = nullptr;
    state.pFirstSharedFactory = nullptr;
    if (!savedLists().empty()) {
        // Everything registered since the raw hook belongs to this module.
        state.pFirstSharedClass = g_classList;
        g_classList = savedLists().back();
        savedLists().pop_back();
    }
    state.bInitialized = TRUE;
    return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll) {
    if (!state.bInitialized) return;
    CDynLinkLibrary** link = &g_firstDLL;
    while (*link) {
        CDynLinkLibrary* d = *link;
        if (bAll || d->m_hModule == state.hModule) {
            *link = d->m_pNextDLL;
            d->m_pNextDLL = nullptr;
            d->m_hModule = nullptr;   // already unlinked: the destructor must not search again
            delete d;
        } else {
            link = &d->m_pNextDLL;
        }
    }
    state.bInitialized = FALSE;
}

IMPLEMENT_DYNAMIC(CDynLinkLibrary, CObject)

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem)
    : m_hModule(state.hModule), m_hResource(state.hResource),
      m_pFirstClass(state.pFirstSharedClass), m_bSystem(bSystem), m_pNextDLL(g_firstDLL) {
    g_firstDLL = this;
}

CDynLinkLibrary::~CDynLinkLibrary() {
    for (CDynLinkLibrary** link = &g_firstDLL; *link; link = &(*link)->m_pNextDLL)
        if (*link == this) { *link = m_pNextDLL; break; }
}

CDynLinkLibrary* AfxGetFirstDynLinkLibrary() { return g_firstDLL; }

namespace {
HINSTANCE g_instance = nullptr;   // null: the executable
HINSTANCE g_resource = nullptr;
}  // namespace

HINSTANCE AfxGetInstanceHandle() { return g_instance ? g_instance : GetModuleHandleW(nullptr); }
void AfxSetInstanceHandle(HINSTANCE hInstance) { g_instance = hInstance; }
HINSTANCE AfxGetResourceHandle() { return g_resource ? g_resource : AfxGetInstanceHandle(); }
void AfxSetResourceHandle(HINSTANCE hResource) { g_resource = hResource; }

HINSTANCE AfxFindResourceHandle(LPCWSTR lpszName, LPCWSTR lpszType) {
    HINSTANCE first = AfxGetResourceHandle();
    if (!lpszName || !lpszType) return first;
    if (FindResourceW(first, lpszName, lpszType)) return first;
    for (CDynLinkLibrary* d = g_firstDLL; d; d = d->m_pNextDLL)
        if (d->m_hResource && FindResourceW(d->m_hResource, lpszName, lpszType)) return d->m_hResource;
    return first;
}
