// Core of the framework stand-in: objects with run-time class records, extension-module start-up,
// strings and the file finder.
#pragma once
#include "uifwdef.h"
#include <stdarg.h>

class CObject;
class CString;

struct __POSITION {};
typedef __POSITION* POSITION;
// Start value of a map iteration that has not produced an element yet.
#define BEFORE_START_POSITION ((POSITION)-1L)

struct UIFW_API CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;
    CObject* (PASCAL* m_pfnCreateObject)();
    CRuntimeClass* m_pBaseClass;
    CRuntimeClass* m_pNextClass;   // chain of a module's registered classes

    CObject* CreateObject();
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
    // Looks a class up by name in the running module list and every extension library.
    static CRuntimeClass* PASCAL FromName(LPCSTR lpszClassName);
    static CRuntimeClass* PASCAL FromName(LPCWSTR lpszClassName);
    static CObject* PASCAL CreateObject(LPCSTR lpszClassName);
    static CObject* PASCAL CreateObject(LPCWSTR lpszClassName);
};

// Adds a class record to the current module's list at static-construction time.
struct UIFW_API AFX_CLASSINIT {
    explicit AFX_CLASSINIT(CRuntimeClass* pNewClass);
};

class UIFW_API CObject {
public:
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() = default;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;
    static CRuntimeClass classCObject;
    static CRuntimeClass* PASCAL GetThisClass();
protected:
    CObject() = default;
private:
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

#define DECLARE_DYNAMIC(class_name) \
public: \
    static CRuntimeClass class##class_name; \
    static CRuntimeClass* PASCAL GetThisClass(); \
    virtual CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name) \
    static CObject* PASCAL CreateObject();

#define UIFW_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew) \
    CRuntimeClass class_name::class##class_name = { \
        #class_name, (int)sizeof(class class_name), wSchema, pfnNew, \
        RUNTIME_CLASS(base_class_name), nullptr }; \
    CRuntimeClass* PASCAL class_name::GetThisClass() { return &class_name::class##class_name; } \
    CRuntimeClass* class_name::GetRuntimeClass() const { return &class_name::class##class_name; } \
    static const AFX_CLASSINIT _init_##class_name(&class_name::class##class_name);

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    UIFW_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name) \
    CObject* PASCAL class_name::CreateObject() { return new class_name; } \
    UIFW_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

// Module handles -------------------------------------------------------------------------------

// The process's executable unless a host set another one.
UIFW_API HINSTANCE AfxGetInstanceHandle();
UIFW_API void AfxSetInstanceHandle(HINSTANCE hInstance);
// Where resources are looked for first: the executable unless a host set another module.
UIFW_API HINSTANCE AfxGetResourceHandle();
UIFW_API void AfxSetResourceHandle(HINSTANCE hResource);

// Extension modules ---------------------------------------------------------------------------

struct AFX_EXTENSION_MODULE {
    BOOL bInitialized;
    HMODULE hModule;
    HMODULE hResource;
    CRuntimeClass* pFirstSharedClass;   // the classes this module registered while it was constructed
    void* pFirstSharedFactory;
};

// The framework's record of a loaded extension library, kept in a process-wide chain.
class UIFW_API CDynLinkLibrary : public CObject {
    DECLARE_DYNAMIC(CDynLinkLibrary)
public:
    explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem = FALSE);
    ~CDynLinkLibrary() override;

    HMODULE m_hModule;
    HMODULE m_hResource;
    CRuntimeClass* m_pFirstClass;
    BOOL m_bSystem;
    CDynLinkLibrary* m_pNextDLL;
};

UIFW_API BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule);
UIFW_API void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll = FALSE);
// The raw entry hook of extension modules: at process attach, before the module's static
// constructors, it moves the class list aside so AfxInitExtensionModule can collect the new classes.
UIFW_API BOOL WINAPI AfxExtRawDllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved);
// Head of the chain of extension libraries (most recent first).
UIFW_API CDynLinkLibrary* AfxGetFirstDynLinkLibrary();
// Finds the module holding a resource of that type and name: the resource module first, then the
// extension chain, then the executable. Returns the resource module when none has it.
UIFW_API HINSTANCE AfxFindResourceHandle(LPCWSTR lpszName, LPCWSTR lpszType);

// Strings ---------------------------------------------------------------------------------------

// Wide string whose storage is allocated and freed inside the framework module. Empty strings
// share one static buffer, so a default-constructed string allocates nothing.
class UIFW_API CString {
public:
    CString();
    CString(const CString& src);
    CString(CString&& src) noexcept;
    CString(LPCWSTR psz);
    CString(LPCWSTR pch, int nLength);
    CString(LPCSTR psz);             // converted from the ANSI code page
    CString(LPCSTR pch, int nLength);
    explicit CString(WCHAR ch, int nRepeat = 1);
    ~CString();

    CString& operator=(const CString& src);
    CString& operator=(CString&& src) noexcept;
    CString& operator=(LPCWSTR psz);
    CString& operator=(LPCSTR psz);
    CString& operator=(WCHAR ch);
    CString& operator+=(const CString& str);
    CString& operator+=(LPCWSTR psz);
    CString& operator+=(WCHAR ch);

    int GetLength() const;
    BOOL IsEmpty() const { return GetLength() == 0; }
    void Empty();
    LPCWSTR GetString() const { return m_pszData; }
    operator LPCWSTR() const { return m_pszData; }
    WCHAR GetAt(int iChar) const;           // 0 for an index outside the string
    void SetAt(int iChar, WCHAR ch);        // ignored outside the string
    WCHAR operator[](int iChar) const { return GetAt(iChar); }

    // A writable buffer of at least nMinBufferLength characters (plus the terminator); the
    // contents up to the current length are kept. ReleaseBuffer(-1) takes the length from the
    // terminator; a length beyond the buffer is clamped.
    LPWSTR GetBuffer(int nMinBufferLength);
    LPWSTR GetBuffer();
    LPWSTR GetBufferSetLength(int nLength);
    void ReleaseBuffer(int nNewLength = -1);
    void Preallocate(int nLength);
    void FreeExtra();
    void SetString(LPCWSTR psz);
    void SetString(LPCWSTR pch, int nLength);

    void Append(LPCWSTR psz);
    void Append(LPCWSTR pch, int nLength);
    void Append(const CString& str);
    void AppendChar(WCHAR ch);
    int Insert(int iIndex, WCHAR ch);
    int Insert(int iIndex, LPCWSTR psz);
    int Delete(int iIndex, int nCount = 1);
    int Remove(WCHAR chRemove);
    int Replace(WCHAR chOld, WCHAR chNew);
    int Replace(LPCWSTR pszOld, LPCWSTR pszNew);

    int Compare(LPCWSTR psz) const;
    int CompareNoCase(LPCWSTR psz) const;
    int Find(WCHAR ch, int iStart = 0) const;
    int Find(LPCWSTR pszSub, int iStart = 0) const;
    int ReverseFind(WCHAR ch) const;
    int FindOneOf(LPCWSTR pszCharSet) const;

    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString Mid(int iFirst) const;
    CString Mid(int iFirst, int nCount) const;
    CString SpanIncluding(LPCWSTR pszCharSet) const;
    CString SpanExcluding(LPCWSTR pszCharSet) const;
    // Next token after iStart; iStart becomes -1 and the result empty when none is left.
    CString Tokenize(LPCWSTR pszTokens, int& iStart) const;

    CString& Trim();
    CString& Trim(WCHAR chTarget);
    CString& Trim(LPCWSTR pszTargets);
    CString& TrimLeft();
    CString& TrimLeft(WCHAR chTarget);
    CString& TrimLeft(LPCWSTR pszTargets);
    CString& TrimRight();
    CString& TrimRight(WCHAR chTarget);
    CString& TrimRight(LPCWSTR pszTargets);
    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();

    void __cdecl Format(LPCWSTR pszFormat, ...);
    void __cdecl Format(UINT nFormatID, ...);
    void __cdecl AppendFormat(LPCWSTR pszFormat, ...);
    void FormatV(LPCWSTR pszFormat, va_list args);
    void AppendFormatV(LPCWSTR pszFormat, va_list args);

    // Reads string nID from the module that holds it (AfxFindResourceHandle), or from hInstance.
    BOOL LoadString(UINT nID);
    BOOL LoadString(HINSTANCE hInstance, UINT nID);

private:
    LPWSTR m_pszData;
};

UIFW_API CString operator+(const CString& str1, const CString& str2);
UIFW_API CString operator+(const CString& str1, LPCWSTR psz2);
UIFW_API CString operator+(LPCWSTR psz1, const CString& str2);
UIFW_API CString operator+(const CString& str1, WCHAR ch2);
UIFW_API CString operator+(WCHAR ch1, const CString& str2);
inline bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
inline bool operator==(const CString& a, LPCWSTR b) { return a.Compare(b) == 0; }
inline bool operator==(LPCWSTR a, const CString& b) { return b.Compare(a) == 0; }
inline bool operator!=(const CString& a, const CString& b) { return a.Compare(b) != 0; }
inline bool operator!=(const CString& a, LPCWSTR b) { return a.Compare(b) != 0; }
inline bool operator!=(LPCWSTR a, const CString& b) { return b.Compare(a) != 0; }
inline bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
inline bool operator<(const CString& a, LPCWSTR b) { return a.Compare(b) < 0; }
inline bool operator<(LPCWSTR a, const CString& b) { return b.Compare(a) > 0; }
inline bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
inline bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
inline bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }

// File finder -----------------------------------------------------------------------------------

// Enumerates the files matching a pattern. FindNextFile returns FALSE when the file it has just
// made current is the last one: that file is still readable.
class UIFW_API CFileFind : public CObject {
    DECLARE_DYNAMIC(CFileFind)
public:
    CFileFind();
    ~CFileFind() override;

    BOOL FindFile(LPCWSTR pstrName = nullptr, DWORD dwUnused = 0);   // null means "*.*"
    BOOL FindNextFile();
    void Close();

    CString GetRoot() const;       // the pattern's directory, with its trailing separator
    CString GetFilePath() const;
    CString GetFileName() const;
    CString GetFileTitle() const;  // the name without its extension
    ULONGLONG GetLength() const;
    BOOL GetLastWriteTime(FILETIME* pTimeStamp) const;
    BOOL MatchesMask(DWORD dwMask) const;
    BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
    BOOL IsReadOnly() const { return MatchesMask(FILE_ATTRIBUTE_READONLY); }
    BOOL IsHidden() const { return MatchesMask(FILE_ATTRIBUTE_HIDDEN); }
    BOOL IsDots() const;

private:
    HANDLE m_hContext;
    WIN32_FIND_DATAW* m_pFoundInfo;   // current file (valid after FindNextFile)
    WIN32_FIND_DATAW* m_pNextInfo;    // the file FindNextFile makes current next
    CString m_strRoot;
};
