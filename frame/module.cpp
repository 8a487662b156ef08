// Module entry, paths and settings.
#include "qModule.h"
#include "qBitmapHandler.h"
#include "frame/moduleState.h"
#include <cwchar>

namespace {
const wchar_t kTimeCodeClass[] = L"TimeCodeControl";
const size_t kPathChars = 1024;

AFX_EXTENSION_MODULE g_extension = {};
HINSTANCE g_instance = nullptr;
HMODULE g_msimg32 = nullptr;
wchar_t g_bitmapPath[kPathChars];
wchar_t g_settingsPath[kPathChars];

// The class exists so dialogs can name it; the control itself subclasses its windows.
LRESULT CALLBACK timeCodeClassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void registerTimeCodeClass() {
    WNDCLASSW wc = {};
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_GLOBALCLASS;
    wc.lpfnWndProc = timeCodeClassProc;
    wc.hInstance = g_instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kTimeCodeClass;
    AfxRegisterClass(&wc);
}

// dst = a + b when it fits; otherwise dst is left empty.
void joinPath(wchar_t* dst, size_t cap, const wchar_t* a, const wchar_t* b) {
    size_t la = wcslen(a), lb = wcslen(b);
    if (la + lb >= cap) { dst[0] = 0; return; }
    wmemcpy(dst, a, la);
    wmemcpy(dst + la, b, lb + 1);
}

void formPaths() {
    wchar_t file[MAX_PATH] = {};
    DWORD n = GetModuleFileNameW(g_instance, file, MAX_PATH);
    if (n >= MAX_PATH) n = MAX_PATH - 1;
    file[n] = 0;
    wchar_t* slash = wcsrchr(file, L'\\');
    if (slash) slash[1] = 0; else file[0] = 0;
    joinPath(g_bitmapPath, kPathChars, file, L"bitmap\\");
    joinPath(g_settingsPath, kPathChars, file, L"ImportDVDEx\\ImportDVDUI.ini");
}

BOOL processAttach(HINSTANCE hInstance) {
    if (!AfxInitExtensionModule(g_extension, hInstance)) return FALSE;
    try {
        new CDynLinkLibrary(g_extension);
    } catch (...) {
    }
    g_instance = hInstance;
    registerTimeCodeClass();
    g_msimg32 = LoadLibraryW(L"Msimg32.dll");
    formPaths();
    CqBitmapHandler::g_fnInit();
    return TRUE;
}

void processDetach() {
    if (g_msimg32) {
        FreeLibrary(g_msimg32);
        g_msimg32 = nullptr;
    }
    AfxTermExtensionModule(g_extension);
    CqBitmapHandler::g_fnUninit();
}
}  // namespace

namespace qmod {
HINSTANCE instance() { return g_instance; }
HMODULE imageBlendLibrary() { return g_msimg32; }
}  // namespace qmod

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) return processAttach(hInstance);
    if (reason == DLL_PROCESS_DETACH) processDetach();
    return TRUE;
}

extern "C" BOOL WINAPI DllMainCRTStartup(HANDLE, DWORD, LPVOID);

// Linked as the DLL's entry point: the framework's hook must run before our static constructors,
// which the runtime's own start-up code runs.
extern "C" BOOL WINAPI qTrimUIRawEntry(HANDLE hInstance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH && !AfxExtRawDllMain((HINSTANCE)hInstance, reason, reserved))
        return FALSE;
    return DllMainCRTStartup(hInstance, reason, reserved);
}

void gfnChangeProgramBitmapPath(wchar_t const* path) {
    if (!path) return;
    size_t n = wcsnlen(path, kPathChars);
    if (n >= kPathChars) return;
    wmemcpy(g_bitmapPath, path, n + 1);
}

wchar_t const* gfnGetProgramBitmapPath(void) { return g_bitmapPath; }

unsigned long gfnGetqDVDUSerSetting(wchar_t const* section, wchar_t const* key, wchar_t* buffer,
                                    unsigned long size) {
    if (!buffer || size == 0) return 0;
    return GetPrivateProfileStringW(section, key, L"", buffer, size, g_settingsPath);
}

int gfnIsGDIEXCanUse(void) { return g_msimg32 ? 1 : 0; }

int gfnGetDisplayColorBit(void) {
    DEVMODEW mode = {};
    mode.dmSize = sizeof(mode);
    if (!EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode)) return 0;
    return (int)mode.dmBitsPerPel;
}
