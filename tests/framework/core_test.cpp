// Run-time classes, extension modules, resources, strings, the file finder and GDI objects.
#include <gtest/gtest.h>
#include <afxwin.h>
#include "testutil.h"
#include <algorithm>
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
CRuntimeClass g_lateClass = {"LateLoadedClass", (int)sizeof(CObject), 0xFFFF, nullptr, RUNTIME_CLASS(CObject), nullptr};
}  // namespace

TEST(FrameworkCore, RuntimeClassesExtensionModulesAndStrings) {
    EXPECT_TRUE(Dog().IsKindOf(RUNTIME_CLASS(Animal)));
    EXPECT_FALSE(Animal().IsKindOf(RUNTIME_CLASS(Dog)));
    EXPECT_TRUE(RUNTIME_CLASS(Dog) == CRuntimeClass::FromName(L"Dog") && !CRuntimeClass::FromName((LPCSTR) nullptr) &&
                RUNTIME_CLASS(CWnd) == CRuntimeClass::FromName("CWnd"));
    CObject* made = CRuntimeClass::CreateObject(L"Dog");
    ASSERT_TRUE(made && made->IsKindOf(RUNTIME_CLASS(Dog)));
    EXPECT_EQ(4, static_cast<Animal*>(made)->legs());
    delete made;
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CObject)->CreateObject());   // not dynamically creatable
    // The library is on the chain with its own module handle, and its strings are found through it.
    HMODULE lib = LoadLibraryW(L"qTrimUI.dll");
    bool listed = false;
    for (CDynLinkLibrary* d = AfxGetFirstDynLinkLibrary(); d; d = d->m_pNextDLL) listed |= d->m_hModule == lib;
    EXPECT_TRUE(listed);
    CString s;
    ASSERT_TRUE(s.LoadString(5001));
    EXPECT_TRUE(!s.LoadString(60000) && s == CString(L"MS Sans Serif"));   // fails and leaves the string alone
    EXPECT_EQ(lib, AfxFindResourceHandle(MAKEINTRESOURCEW(5001 / 16 + 1), (LPCWSTR)RT_STRING));
    // A module's start-up: the raw hook, its static constructors, its DllMain.
    AFX_EXTENSION_MODULE state = {};
    AfxExtRawDllMain(GetModuleHandleW(nullptr), DLL_PROCESS_ATTACH, nullptr);
    AFX_CLASSINIT registerLate(&g_lateClass);
    ASSERT_TRUE(AfxInitExtensionModule(state, GetModuleHandleW(nullptr)));
    EXPECT_EQ(&g_lateClass, state.pFirstSharedClass);
    EXPECT_EQ(nullptr, g_lateClass.m_pNextClass);   // only what the module registered
    EXPECT_EQ(RUNTIME_CLASS(Dog), CRuntimeClass::FromName("Dog"));
    new CDynLinkLibrary(state);
    EXPECT_EQ(&g_lateClass, CRuntimeClass::FromName("LateLoadedClass"));
    AfxTermExtensionModule(state);
    EXPECT_EQ(nullptr, CRuntimeClass::FromName("LateLoadedClass"));
    for (CDynLinkLibrary* d = AfxGetFirstDynLinkLibrary(); d; d = d->m_pNextDLL)
        EXPECT_NE(GetModuleHandleW(nullptr), d->m_hModule);
    // Strings: formatting, searching, editing in place.
    s.Format(L"%s=%d (0x%04X) %hs %c %.2f %lld%%", L"key", -12, 0xBEEF, "narrow", L'W', 2.5, 1LL << 40);
    EXPECT_STREQ(L"key=-12 (0xBEEF) narrow W 2.50 1099511627776%", s);
    s.Format(L"%0500d|%s", 7, s.GetString());   // longer than a first guess; an argument is the string itself
    EXPECT_EQ(CString(L"7|key=-12"), s.Mid(499, 9));
    CString copy(s);   // copies are independent
    copy.SetAt(0, L'X');
    EXPECT_EQ(L'0', s[0]);
    CString t(L"  Hello, World \t\n");
    t.Trim();
    EXPECT_EQ((std::vector<int>{7, -1, 8, 8}),
              (std::vector<int>{t.Find(L"World"), t.Find(L"world"), t.Find(L'o', 5), t.ReverseFind(L'o')}));
    EXPECT_TRUE(t.Mid(3, 5) == CString(L"lo, W") && t.Mid(50).IsEmpty() && t.CompareNoCase(L"HELLO, world") == 0);
    EXPECT_EQ(3, t.Replace(L"l", L"LL"));   // grows in place
    EXPECT_EQ(6, t.Remove(L'L'));
    EXPECT_EQ(CString(L"Heo, Word"), t);
}

TEST(FrameworkCore, FileFinderWalksAFolder) {
    const std::wstring dir = testutil::libraryDir() + L"uifw_find_" + std::to_wstring(GetCurrentProcessId());
    ASSERT_TRUE(testutil::writeTextFile(dir + L"\\alpha.txt", std::string(10, 'x')));
    ASSERT_TRUE(testutil::writeTextFile(dir + L"\\beta.long.name.ini", "abc"));
    CreateDirectoryW((dir + L"\\sub").c_str(), nullptr);
    CFileFind ff;
    EXPECT_FALSE(ff.FindNextFile());   // nothing started
    std::vector<std::wstring> seen;    // path, title, kind and length of each entry, dots included
    for (BOOL more = ff.FindFile((dir + L"\\*.*").c_str()); more;) {
        more = ff.FindNextFile();   // FALSE for the last one, which is still current
        CString entry;
        entry.Format(L"%s %s %s %d", ff.GetFilePath().Mid(dir.size()).GetString(), ff.GetFileTitle().GetString(),
                     ff.IsDots() ? L"dots" : ff.IsDirectory() ? L"dir" : L"file", (int)ff.GetLength());
        seen.push_back(entry.GetString());
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ((std::vector<std::wstring>{L"\\. . dots 0", L"\\.. . dots 0", L"\\alpha.txt alpha file 10",
                                         L"\\beta.long.name.ini beta.long.name file 3", L"\\sub sub dir 0"}),
              seen);
    ASSERT_TRUE(ff.FindFile((dir + L"\\alpha.txt").c_str()));   // one exact match
    EXPECT_TRUE(!ff.FindNextFile() && ff.GetFileName() == CString(L"alpha.txt"));
    EXPECT_FALSE(ff.FindFile((dir + L"\\missing*.none").c_str()));
    EXPECT_TRUE(ff.GetFileName().IsEmpty());
    ff.Close();
    for (const wchar_t* name : {L"\\alpha.txt", L"\\beta.long.name.ini", L"\\sub", L""})
        DeleteFileW((dir + name).c_str()) || RemoveDirectoryW((dir + name).c_str());
}

// Drawing through the framework's DCs; GDI objects delete what they created, never what they were lent.
TEST(FrameworkGdi, DrawingAndOwnership) {
    testutil::Canvas canvas(14, 10, RGB(10, 20, 30));
    CDC* dc = CDC::FromHandle(canvas.dc());   // a temporary, for a DC the framework did not make
    EXPECT_EQ(canvas.bitmap(), dc->GetCurrentBitmap()->m_hObject);
    // Top and left edges in the first colour; the far edges, with both their corners, in the second.
    dc->Draw3dRect(CRect(2, 2, 12, 8), RGB(255, 0, 0), RGB(0, 0, 255));
    EXPECT_TRUE(testutil::pixelsAre(canvas, [](int x, int y) {
        const bool in = x >= 2 && x < 12 && y >= 2 && y < 8, farEdge = x == 11 || y == 7;
        return !in || (x > 2 && x < 11 && y > 2 && y < 7) ? RGB(10, 20, 30) : farEdge ? RGB(0, 0, 255) : RGB(255, 0, 0);
    }));
    CClientDC screen(nullptr);
    EXPECT_EQ(&screen, CDC::FromHandle(screen.m_hDC));   // a permanent one
    HGDIOBJ made;
    {
        CPen pen(PS_SOLID, 2, RGB(1, 2, 3));
        made = pen.m_hObject;
        EXPECT_EQ(&pen, CGdiObject::FromHandle(made));
    }
    EXPECT_EQ(0u, (UINT)GetObjectType(made));
    HBRUSH external = CreateSolidBrush(RGB(4, 5, 6));
    EXPECT_TRUE(CBrush::FromHandle(external)->IsKindOf(RUNTIME_CLASS(CBrush)) &&
                CGdiObject::FromHandle(GetStockObject(DEFAULT_GUI_FONT))->IsKindOf(RUNTIME_CLASS(CFont)));
    AfxDeleteTempMap();
    {
        CBrush attached;
        EXPECT_TRUE(attached.Attach(external) && attached.Detach() == external);
    }
    EXPECT_TRUE(DeleteObject(external) && GetObjectType(canvas.bitmap()) == OBJ_BITMAP);   // both still there
    CPen* none = nullptr;
    EXPECT_EQ(nullptr, none->GetSafeHandle());
}
