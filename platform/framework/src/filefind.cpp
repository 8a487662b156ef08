// File finder over FindFirstFileW / FindNextFileW.
#include "afx.h"
#include <cwchar>

IMPLEMENT_DYNAMIC(CFileFind, CObject)

CFileFind::CFileFind() : m_hContext(nullptr), m_pFoundInfo(nullptr), m_pNextInfo(nullptr) {}

CFileFind::~CFileFind() { Close(); }

void CFileFind::Close() {
    delete m_pFoundInfo;
    delete m_pNextInfo;
    m_pFoundInfo = m_pNextInfo = nullptr;
    if (m_hContext && m_hContext != INVALID_HANDLE_VALUE) FindClose(m_hContext);
    m_hContext = nullptr;
    m_strRoot.Empty();
}

BOOL CFileFind::FindFile(LPCWSTR pstrName, DWORD) {
    Close();
    if (!pstrName) pstrName = L"*.*";
    if (!*pstrName) return FALSE;
    m_pNextInfo = new WIN32_FIND_DATAW;
    m_hContext = FindFirstFileW(pstrName, m_pNextInfo);
    if (m_hContext == INVALID_HANDLE_VALUE) {
        DWORD err = GetLastError();
        Close();
        SetLastError(err);
        return FALSE;
    }
    // The root is the full path of the pattern's directory, ending with its separator.
    WCHAR full[MAX_PATH * 2];
    LPWSTR filePart = nullptr;
    DWORD n = GetFullPathNameW(pstrName, MAX_PATH * 2, full, &filePart);
    if (n == 0 || n >= MAX_PATH * 2) {
        m_strRoot.Empty();
    } else {
        LPWSTR cut = filePart;
        if (!cut) {
            LPWSTR slash = wcsrchr(full, L'\\');
            LPWSTR fwd = wcsrchr(full, L'/');
            if (fwd > slash) slash = fwd;
            cut = slash ? slash + 1 : full + n;
        }
        *cut = 0;
        m_strRoot = full;
    }
    return TRUE;
}

BOOL CFileFind::FindNextFile() {
    if (!m_hContext || m_hContext == INVALID_HANDLE_VALUE || !m_pNextInfo) return FALSE;
    if (!m_pFoundInfo) m_pFoundInfo = new WIN32_FIND_DATAW;
    // The file found ahead becomes current; then look one further ahead.
    WIN32_FIND_DATAW* t = m_pFoundInfo;
    m_pFoundInfo = m_pNextInfo;
    m_pNextInfo = t;
    return ::FindNextFileW(m_hContext, m_pNextInfo);
}

CString CFileFind::GetRoot() const { return m_strRoot; }

CString CFileFind::GetFileName() const { return m_pFoundInfo ? CString(m_pFoundInfo->cFileName) : CString(); }

CString CFileFind::GetFilePath() const {
    if (!m_pFoundInfo) return CString();
    CString path(m_strRoot);
    int len = path.GetLength();
    if (len && path[len - 1] != L'\\' && path[len - 1] != L'/') path += L'\\';
    path += m_pFoundInfo->cFileName;
    return path;
}

CString CFileFind::GetFileTitle() const {
    CString name = GetFileName();
    int dot = name.ReverseFind(L'.');
    return dot > 0 ? name.Left(dot) : name;
}

ULONGLONG CFileFind::GetLength() const {
    if (!m_pFoundInfo) return 0;
    return ((ULONGLONG)m_pFoundInfo->nFileSizeHigh << 32) | m_pFoundInfo->nFileSizeLow;
}

BOOL CFileFind::GetLastWriteTime(FILETIME* pTimeStamp) const {
    if (!m_pFoundInfo || !pTimeStamp) return FALSE;
    *pTimeStamp = m_pFoundInfo->ftLastWriteTime;
    return TRUE;
}

BOOL CFileFind::MatchesMask(DWORD dwMask) const {
    return m_pFoundInfo ? (m_pFoundInfo->dwFileAttributes & dwMask) != 0 : FALSE;
}

BOOL CFileFind::IsDots() const {
    if (!m_pFoundInfo || !IsDirectory()) return FALSE;
    const WCHAR* n = m_pFoundInfo->cFileName;
    return (n[0] == L'.' && n[1] == 0) || (n[0] == L'.' && n[1] == L'.' && n[2] == 0);
}
