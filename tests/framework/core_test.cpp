// Run-time classes, extension modules, resources, the file finder and GDI objects.
#include <gtest/gtest.h>
#include <afxwin.h>
#include "testutil.h"
#include <algorithm>
#include <string>
#include <vector>

namespace {
class Animal : public CObject {
    DECLARE_DYNCREATE(Animal)
public:
    virtual int legs() const { return 0; }
};
IMPLEMENT_DYNCREATE(Animal, CObject)

class Dog : public Animal {
    DECLARE_DYNCREATE(Dog)
public:
    int legs() const override { return 4; }
};
IMPLEMENT_DYNCREATE(Dog, Animal)

class Abstractish : public CObject {
    DECLARE_DYNAMIC(Abstractish)
};
IMPLEMENT_DYNAMIC(Abstractish, CObject)
}  // namespace

TEST(FrameworkCore, RuntimeClassesByNameAndKind) {
    Dog dog;
    EXPECT_TRUE(dog.IsKindOf(RUNTIME_CLASS(Animal)));
    EXPECT_FALSE(Animal().IsKindOf(RUNTIME_CLASS(Dog)));
    EXPECT_STREQ("Dog", dog.GetRuntimeClass()->m_lpszClassName);
    // By name, narrow or wide, among this module's classes and the framework's.
    EXPECT_EQ(RUNTIME_CLASS(Dog), CRuntimeClass::FromName("Dog"));
    EXPECT_EQ(RUNTIME_CLASS(Dog), CRuntimeClass::FromName(L"Dog"));
    EXPECT_EQ(nullptr, CRuntimeClass::FromName("Cat"));
    EXPECT_EQ(nullptr, CRuntimeClass::FromName((LPCSTR) nullptr));
    EXPECT_EQ(RUNTIME_CLASS(CWnd), CRuntimeClass::FromName("CWnd"));
    EXPECT_TRUE(RUNTIME_CLASS(CButton)->IsDerivedFrom(RUNTIME_CLASS(CWnd)));

    CObject* made = CRuntimeClass::CreateObject(L"Dog");
    ASSERT_NE(nullptr, made);
    ASSERT_TRUE(made->IsKindOf(RUNTIME_CLASS(Dog)));
    EXPECT_EQ(4, static_cast<Animal*>(made)->legs());
    delete made;
    EXPECT_EQ(RUNTIME_CLASS(Abstractish), Abstractish().GetRuntimeClass());
    EXPECT_EQ(nullptr, RUNTIME_CLASS(Abstractish)->CreateObject());   // not dynamically creatable
    EXPECT_EQ(nullptr, CRuntimeClass::CreateObject("Nothing"));
}

namespace {
CRuntimeClass g_lateClass = {"LateLoadedClass", (int)sizeof(CObject), 0xFFFF, nullptr, RUNTIME_CLASS(CObject),
                             nullptr};
}

TEST(FrameworkCore, ExtensionModuleCollectsItsClasses) {
    // The library, loaded, is on the chain with its own module handle.
    HMODULE lib = LoadLibraryW(L"qTrimUI.dll");
    ASSERT_NE(nullptr, lib);
    bool listed = false;
    for (CDynLinkLibrary* d = AfxGetFirstDynLinkLibrary(); d; d = d->m_pNextDLL)
        listed |= d->m_hModule == lib;
    EXPECT_TRUE(listed);

    // A module's start-up as the raw hook, its static constructors and its DllMain see it.
    AFX_EXTENSION_MODULE state = {};
    AfxExtRawDllMain(GetModuleHandleW(nullptr), DLL_PROCESS_ATTACH, nullptr);
    AFX_CLASSINIT registerLate(&g_lateClass);
    ASSERT_TRUE(AfxInitExtensionModule(state, GetModuleHandleW(nullptr)));
    EXPECT_EQ(&g_lateClass, state.pFirstSharedClass);
    EXPECT_EQ(nullptr, g_lateClass.m_pNextClass);   // only what the module registered
    // The process's own classes are still found after the module's list was split off.
    EXPECT_EQ(RUNTIME_CLASS(Dog), CRuntimeClass::FromName("Dog"));

    new CDynLinkLibrary(state);
    EXPECT_EQ(&g_lateClass, CRuntimeClass::FromName("LateLoadedClass"));
    EXPECT_EQ(GetModuleHandleW(nullptr), AfxGetFirstDynLinkLibrary()->m_hModule);
    AfxTermExtensionModule(state);
    EXPECT_FALSE(state.bInitialized);
    EXPECT_EQ(nullptr, CRuntimeClass::FromName("LateLoadedClass"));
    for (CDynLinkLibrary* d = AfxGetFirstDynLinkLibrary(); d; d = d->m_pNextDLL)
        EXPECT_NE(GetModuleHandleW(nullptr), d->m_hModule);
}

TEST(FrameworkCore, LoadStringSearchesTheExtensionChain) {
    // The library is an extension module: its string table is found without naming it.
    ASSERT_NE(nullptr, LoadLibraryW(L"qTrimUI.dll"));
    CString s;
    ASSERT_TRUE(s.LoadString(5001));
    EXPECT_EQ(CString(L"MS Sans Serif"), s);
    // A missing entry fails and leaves the string as it was.
    EXPECT_FALSE(s.LoadString(60000));
    EXPECT_FALSE(s.LoadString(nullptr, 5001));
    EXPECT_EQ(CString(L"MS Sans Serif"), s);
    EXPECT_TRUE(s.LoadString(GetModuleHandleW(L"qTrimUI.dll"), 5002));
    EXPECT_EQ(CString(L"16"), s);
    EXPECT_EQ(GetModuleHandleW(L"qTrimUI.dll"),
              AfxFindResourceHandle(MAKEINTRESOURCEW(5001 / 16 + 1), (LPCWSTR)RT_STRING));
}

TEST(FrameworkCore, FileFinderWalksAFolder) {
    const std::wstring dir = testutil::libraryDir() + L"uifw_find_" + std::to_wstring(GetCurrentProcessId());
    const CString root((dir + L"\\").c_str());
    ASSERT_TRUE(testutil::writeTextFile(dir + L"\\alpha.txt", std::string(10, 'x')));
    ASSERT_TRUE(testutil::writeTextFile(dir + L"\\beta.long.name.ini", "abc"));
    CreateDirectoryW((dir + L"\\sub").c_str(), nullptr);

    CFileFind ff;
    EXPECT_FALSE(ff.FindNextFile());   // nothing started
    BOOL more = ff.FindFile((dir + L"\\*.*").c_str());
    ASSERT_TRUE(more);
    std::vector<std::wstring> seen;   // name, title, kind and length of each entry but the dots
    int dots = 0;
    while (more) {
        more = ff.FindNextFile();   // FALSE for the last one, which is still current
        dots += ff.IsDots() ? 1 : 0;
        if (ff.IsDots()) continue;
        EXPECT_EQ(root + ff.GetFileName(), ff.GetFilePath());
        CString entry;
        entry.Format(L"%s %s %s %d", ff.GetFileName().GetString(), ff.GetFileTitle().GetString(),
                     ff.IsDirectory() ? L"dir" : L"file", (int)ff.GetLength());
        seen.push_back(entry.GetString());
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ((std::vector<std::wstring>{L"alpha.txt alpha file 10", L"beta.long.name.ini beta.long.name file 3",
                                         L"sub sub dir 0"}),
              seen);
    EXPECT_EQ(2, dots);
    EXPECT_EQ(root, ff.GetRoot());

    // One exact match: FindNextFile answers FALSE at once, the file is readable.
    ASSERT_TRUE(ff.FindFile((dir + L"\\alpha.txt").c_str()));
    EXPECT_FALSE(ff.FindNextFile());
    EXPECT_EQ(CString(L"alpha.txt"), ff.GetFileName());

    EXPECT_FALSE(ff.FindFile((dir + L"\\missing*.none").c_str()));
    EXPECT_TRUE(ff.GetFileName().IsEmpty());
    EXPECT_FALSE(ff.FindFile(L""));
    ff.Close();
    for (const wchar_t* name : {L"\\alpha.txt", L"\\beta.long.name.ini"}) DeleteFileW((dir + name).c_str());
    RemoveDirectoryW((dir + L"\\sub").c_str());
    RemoveDirectoryW(dir.c_str());
}

TEST(FrameworkGdi, DrawingAndOwnership) {
    testutil::Canvas canvas(20, 10, RGB(10, 20, 30));
    CDC* dc = CDC::FromHandle(canvas.dc());   // a temporary, for a DC the framework did not make
    CBitmap* current = dc->GetCurrentBitmap();
    ASSERT_NE(nullptr, current);
    EXPECT_TRUE(current->IsKindOf(RUNTIME_CLASS(CBitmap)));
    EXPECT_EQ(canvas.bitmap(), current->m_hObject);
    // Top and left edges in the first colour; the far edges, with both their corners, in the second.
    dc->Draw3dRect(CRect(2, 2, 12, 8), RGB(255, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(RGB(255, 0, 0), canvas.at(10, 2));
    EXPECT_EQ(RGB(0, 0, 255), canvas.at(11, 2));
    EXPECT_EQ(RGB(0, 0, 255), canvas.at(2, 7));
    EXPECT_EQ(RGB(10, 20, 30), canvas.at(5, 5));
    CClientDC screen(nullptr);
    EXPECT_EQ(&screen, CDC::FromHandle(screen.m_hDC));   // a permanent one

    // Objects delete what they created, never what they were lent.
    HGDIOBJ made;
    {
        CPen pen(PS_SOLID, 2, RGB(1, 2, 3));
        made = pen.m_hObject;
        EXPECT_EQ(&pen, CGdiObject::FromHandle(made));
    }
    EXPECT_EQ(0u, (UINT)GetObjectType(made));
    HBRUSH external = CreateSolidBrush(RGB(4, 5, 6));
    EXPECT_TRUE(CBrush::FromHandle(external)->IsKindOf(RUNTIME_CLASS(CBrush)));
    EXPECT_TRUE(CGdiObject::FromHandle(GetStockObject(DEFAULT_GUI_FONT))->IsKindOf(RUNTIME_CLASS(CFont)));
    AfxDeleteTempMap();
    {
        CBrush attached;
        ASSERT_TRUE(attached.Attach(external));
        EXPECT_EQ(external, attached.Detach());
    }
    EXPECT_EQ((UINT)OBJ_BRUSH, (UINT)GetObjectType(external));
    EXPECT_EQ((UINT)OBJ_BITMAP, (UINT)GetObjectType(canvas.bitmap()));
    DeleteObject(external);
    CPen* nullPen = nullptr;
    EXPECT_EQ(nullptr, nullPen->GetSafeHandle());
    CWnd* nullWnd = nullptr;
    EXPECT_EQ(nullptr, nullWnd->GetSafeHwnd());
}
