// Run-time classes, extension modules and the file finder.
#include <gtest/gtest.h>
#include <afxwin.h>
#include <string>
#include <vector>
#include <algorithm>

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
    EXPECT_TRUE(dog.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(Animal().IsKindOf(RUNTIME_CLASS(Dog)));
    EXPECT_STREQ("Dog", dog.GetRuntimeClass()->m_lpszClassName);
    EXPECT_EQ(RUNTIME_CLASS(Animal), RUNTIME_CLASS(Dog)->m_pBaseClass);

    EXPECT_EQ(RUNTIME_CLASS(Dog), CRuntimeClass::FromName("Dog"));
    EXPECT_EQ(RUNTIME_CLASS(Dog), CRuntimeClass::FromName(L"Dog"));
    EXPECT_EQ(nullptr, CRuntimeClass::FromName("Cat"));
    EXPECT_EQ(nullptr, CRuntimeClass::FromName((LPCSTR) nullptr));
    // Classes of the framework module are found the same way.
    EXPECT_EQ(RUNTIME_CLASS(CWnd), CRuntimeClass::FromName("CWnd"));
    EXPECT_TRUE(RUNTIME_CLASS(CButton)->IsDerivedFrom(RUNTIME_CLASS(CWnd)));
    EXPECT_TRUE(RUNTIME_CLASS(CPaintDC)->IsDerivedFrom(RUNTIME_CLASS(CDC)));

    CObject* made = CRuntimeClass::CreateObject(L"Dog");
    ASSERT_NE(nullptr, made);
    ASSERT_TRUE(made->IsKindOf(RUNTIME_CLASS(Dog)));
    EXPECT_EQ(4, static_cast<Animal*>(made)->legs());
    delete made;
    Abstractish plain;
    EXPECT_EQ(RUNTIME_CLASS(Abstractish), plain.GetRuntimeClass());
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

namespace {
std::wstring makeTempFolder() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    std::wstring dir = std::wstring(base) + L"uifw_find_" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(dir.c_str(), nullptr);
    return dir;
}
void writeFile(const std::wstring& path, DWORD bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    std::vector<char> data(bytes, 'x');
    DWORD written = 0;
    if (bytes) WriteFile(h, data.data(), bytes, &written, nullptr);
    CloseHandle(h);
}
}  // namespace

TEST(FrameworkCore, FileFinderWalksAFolder) {
    std::wstring dir = makeTempFolder();
    writeFile(dir + L"\\alpha.txt", 10);
    writeFile(dir + L"\\beta.long.name.ini", 3);
    CreateDirectoryW((dir + L"\\sub").c_str(), nullptr);

    CFileFind ff;
    EXPECT_FALSE(ff.FindNextFile());   // nothing started
    BOOL more = ff.FindFile((dir + L"\\*.*").c_str());
    ASSERT_TRUE(more);
    std::vector<std::wstring> files, dirs;
    int dots = 0;
    while (more) {
        more = ff.FindNextFile();   // FALSE for the last one, which is still current
        if (ff.IsDots()) {
            ++dots;
            continue;
        }
        EXPECT_EQ(CString((dir + L"\\").c_str()) + ff.GetFileName(), ff.GetFilePath());
        (ff.IsDirectory() ? dirs : files).push_back(ff.GetFileName().GetString());
        if (ff.GetFileName() == L"alpha.txt") {
            EXPECT_EQ(10u, ff.GetLength());
            EXPECT_EQ(CString(L"alpha"), ff.GetFileTitle());
        }
        if (ff.GetFileName() == L"beta.long.name.ini") {
            EXPECT_EQ(CString(L"beta.long.name"), ff.GetFileTitle());
        }
    }
    std::sort(files.begin(), files.end());
    EXPECT_EQ((std::vector<std::wstring>{L"alpha.txt", L"beta.long.name.ini"}), files);
    EXPECT_EQ(std::vector<std::wstring>{L"sub"}, dirs);
    EXPECT_EQ(2, dots);
    EXPECT_EQ(CString((dir + L"\\").c_str()), ff.GetRoot());

    // One exact match: FindNextFile answers FALSE at once, the file is readable.
    ASSERT_TRUE(ff.FindFile((dir + L"\\alpha.txt").c_str()));
    EXPECT_FALSE(ff.FindNextFile());
    EXPECT_EQ(CString(L"alpha.txt"), ff.GetFileName());
    EXPECT_FALSE(ff.IsDirectory());

    // A relative pattern gets an absolute root.
    wchar_t cwd[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, cwd);
    SetCurrentDirectoryW(dir.c_str());
    ASSERT_TRUE(ff.FindFile(L"sub"));
    ff.FindNextFile();
    EXPECT_TRUE(ff.IsDirectory());
    EXPECT_EQ(CString((dir + L"\\").c_str()), ff.GetRoot());
    SetCurrentDirectoryW(cwd);

    EXPECT_FALSE(ff.FindFile((dir + L"\\missing*.none").c_str()));
    EXPECT_TRUE(ff.GetFileName().IsEmpty());
    EXPECT_FALSE(ff.FindFile(L""));
    ff.Close();

    DeleteFileW((dir + L"\\alpha.txt").c_str());
    DeleteFileW((dir + L"\\beta.long.name.ini").c_str());
    RemoveDirectoryW((dir + L"\\sub").c_str());
    RemoveDirectoryW(dir.c_str());
}
