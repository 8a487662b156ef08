// Wide strings. The characters live in one block allocated here: a small header (length and
// capacity) followed by the characters and a terminator.
#include "afx.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <new>

namespace {
struct StringData {
    int nDataLength;
    int nAllocLength;   // characters available, not counting the terminator; 0 for the shared empty
};

struct {
    StringData header;
    WCHAR chars[2];
} g_nil = {{0, 0}, {0, 0}};

LPWSTR nilChars() { return g_nil.chars; }
StringData* header(LPCWSTR psz) { return (StringData*)psz - 1; }
bool isNil(LPCWSTR psz) { return psz == g_nil.chars; }

int safeLength(LPCWSTR psz) { return psz ? (int)wcslen(psz) : 0; }

LPWSTR allocChars(int nAlloc) {
    void* block = ::operator new(sizeof(StringData) + sizeof(WCHAR) * ((size_t)nAlloc + 1));
    StringData* h = (StringData*)block;
    h->nDataLength = 0;
    h->nAllocLength = nAlloc;
    LPWSTR chars = (LPWSTR)(h + 1);
    chars[0] = 0;
    return chars;
}

void freeChars(LPWSTR psz) {
    if (!isNil(psz)) ::operator delete(header(psz));
}

bool isIn(WCHAR ch, LPCWSTR set) { return set && ch && wcschr(set, ch); }
}  // namespace

// Construction --------------------------------------------------------------------------------------

CString::CString() : m_pszData(nilChars()) {}
CString::CString(const CString& src) : m_pszData(nilChars()) { SetString(src.m_pszData, src.GetLength()); }
CString::CString(CString&& src) noexcept : m_pszData(src.m_pszData) { src.m_pszData = nilChars(); }
CString::CString(LPCWSTR psz) : m_pszData(nilChars()) { SetString(psz); }
CString::CString(LPCWSTR pch, int nLength) : m_pszData(nilChars()) { SetString(pch, nLength); }
CString::CString(LPCSTR psz) : m_pszData(nilChars()) { *this = psz; }
CString::CString(LPCSTR pch, int nLength) : m_pszData(nilChars()) {
    if (!pch || nLength <= 0) return;
    int n = MultiByteToWideChar(CP_ACP, 0, pch, nLength, nullptr, 0);
    if (n <= 0) return;
    LPWSTR buf = GetBuffer(n);
    MultiByteToWideChar(CP_ACP, 0, pch, nLength, buf, n);
    ReleaseBuffer(n);
}
CString::CString(WCHAR ch, int nRepeat) : m_pszData(nilChars()) {
    if (nRepeat <= 0) return;
    LPWSTR buf = GetBuffer(nRepeat);
    for (int i = 0; i < nRepeat; ++i) buf[i] = ch;
    ReleaseBuffer(nRepeat);
}
CString::~CString() { freeChars(m_pszData); }

CString& CString::operator=(const CString& src) {
    if (this != &src) SetString(src.m_pszData, src.GetLength());
    return *this;
}
CString& CString::operator=(CString&& src) noexcept {
    if (this != &src) {
        freeChars(m_pszData);
        m_pszData = src.m_pszData;
        src.m_pszData = nilChars();
    }
    return *this;
}
CString& CString::operator=(LPCWSTR psz) { SetString(psz); return *this; }
CString& CString::operator=(LPCSTR psz) {
    if (!psz) { Empty(); return *this; }
    *this = CString(psz, (int)strlen(psz));
    return *this;
}
CString& CString::operator=(WCHAR ch) { SetString(&ch, 1); return *this; }
CString& CString::operator+=(const CString& str) { Append(str); return *this; }
CString& CString::operator+=(LPCWSTR psz) { Append(psz); return *this; }
CString& CString::operator+=(WCHAR ch) { AppendChar(ch); return *this; }

// Buffer ------------------------------------------------------------------------------------------

int CString::GetLength() const { return header(m_pszData)->nDataLength; }

void CString::Empty() {
    freeChars(m_pszData);
    m_pszData = nilChars();
}

WCHAR CString::GetAt(int iChar) const {
    return (iChar >= 0 && iChar < GetLength()) ? m_pszData[iChar] : 0;
}

void CString::SetAt(int iChar, WCHAR ch) {
    if (iChar >= 0 && iChar < GetLength()) m_pszData[iChar] = ch;
}

LPWSTR CString::GetBuffer(int nMinBufferLength) {
    int len = GetLength();
    if (nMinBufferLength < len) nMinBufferLength = len;
    StringData* h = header(m_pszData);
    if (isNil(m_pszData) || h->nAllocLength < nMinBufferLength) {
        // Grow geometrically so that repeated appends stay linear.
        int nAlloc = nMinBufferLength;
        if (!isNil(m_pszData) && h->nAllocLength + h->nAllocLength / 2 > nAlloc)
            nAlloc = h->nAllocLength + h->nAllocLength / 2;
        LPWSTR chars = allocChars(nAlloc);
        wmemcpy(chars, m_pszData, (size_t)len + 1);
        header(chars)->nDataLength = len;
        freeChars(m_pszData);
        m_pszData = chars;
    }
    return m_pszData;
}

LPWSTR CString::GetBuffer() { return GetBuffer(0); }

LPWSTR CString::GetBufferSetLength(int nLength) {
    if (nLength < 0) nLength = 0;
    LPWSTR buf = GetBuffer(nLength);
    header(buf)->nDataLength = nLength;
    buf[nLength] = 0;
    return buf;
}

void CString::ReleaseBuffer(int nNewLength) {
    if (isNil(m_pszData)) return;
    StringData* h = header(m_pszData);
    if (nNewLength < 0) nNewLength = (int)wcsnlen(m_pszData, (size_t)h->nAllocLength);
    if (nNewLength > h->nAllocLength) nNewLength = h->nAllocLength;
    h->nDataLength = nNewLength;
    m_pszData[nNewLength] = 0;
}

void CString::Preallocate(int nLength) { GetBuffer(nLength); }

void CString::FreeExtra() {
    int len = GetLength();
    if (isNil(m_pszData) || header(m_pszData)->nAllocLength == len) return;
    if (len == 0) { Empty(); return; }
    LPWSTR chars = allocChars(len);
    wmemcpy(chars, m_pszData, (size_t)len + 1);
    header(chars)->nDataLength = len;
    freeChars(m_pszData);
    m_pszData = chars;
}

void CString::SetString(LPCWSTR psz) { SetString(psz, safeLength(psz)); }

void CString::SetString(LPCWSTR pch, int nLength) {
    if (!pch || nLength <= 0) { Empty(); return; }
    // The source may lie inside this string's own buffer.
    if (pch >= m_pszData && pch <= m_pszData + GetLength()) {
        CString copy(pch, nLength);
        *this = static_cast<CString&&>(copy);
        return;
    }
    LPWSTR buf = isNil(m_pszData) || header(m_pszData)->nAllocLength < nLength ? nullptr : m_pszData;
    if (!buf) {
        Empty();
        buf = GetBuffer(nLength);
    }
    wmemcpy(buf, pch, (size_t)nLength);
    ReleaseBuffer(nLength);
}

// Editing -----------------------------------------------------------------------------------------

void CString::Append(LPCWSTR psz) { Append(psz, safeLength(psz)); }
void CString::Append(const CString& str) { Append(str.m_pszData, str.GetLength()); }

void CString::Append(LPCWSTR pch, int nLength) {
    if (!pch || nLength <= 0) return;
    int len = GetLength();
    if (pch >= m_pszData && pch <= m_pszData + len) {   // appending a piece of itself
        CString copy(pch, nLength);
        Append(copy);
        return;
    }
    LPWSTR buf = GetBuffer(len + nLength);
    wmemcpy(buf + len, pch, (size_t)nLength);
    ReleaseBuffer(len + nLength);
}

void CString::AppendChar(WCHAR ch) { Append(&ch, 1); }

int CString::Insert(int iIndex, WCHAR ch) { return Insert(iIndex, CString(ch, 1)); }

int CString::Insert(int iIndex, LPCWSTR psz) {
    int len = GetLength();
    if (iIndex < 0) iIndex = 0;
    if (iIndex > len) iIndex = len;
    CString ins(psz);
    int n = ins.GetLength();
    if (n == 0) return len;
    LPWSTR buf = GetBuffer(len + n);
    wmemmove(buf + iIndex + n, buf + iIndex, (size_t)(len - iIndex));
    wmemcpy(buf + iIndex, ins.m_pszData, (size_t)n);
    ReleaseBuffer(len + n);
    return len + n;
}

int CString::Delete(int iIndex, int nCount) {
    int len = GetLength();
    if (iIndex < 0) iIndex = 0;
    if (nCount <= 0 || iIndex >= len) return len;
    if (nCount > len - iIndex) nCount = len - iIndex;
    LPWSTR buf = GetBuffer();
    wmemmove(buf + iIndex, buf + iIndex + nCount, (size_t)(len - iIndex - nCount));
    ReleaseBuffer(len - nCount);
    return len - nCount;
}

int CString::Remove(WCHAR chRemove) {
    int len = GetLength();
    if (len == 0) return 0;
    LPWSTR buf = GetBuffer();
    int out = 0;
    for (int i = 0; i < len; ++i)
        if (buf[i] != chRemove) buf[out++] = buf[i];
    ReleaseBuffer(out);
    return len - out;
}

int CString::Replace(WCHAR chOld, WCHAR chNew) {
    int count = 0;
    int len = GetLength();
    if (len == 0 || chOld == chNew) return 0;
    for (int i = 0; i < len; ++i)
        if (m_pszData[i] == chOld) { m_pszData[i] = chNew; ++count; }
    return count;
}

int CString::Replace(LPCWSTR pszOld, LPCWSTR pszNew) {
    int nOld = safeLength(pszOld);
    if (nOld == 0) return 0;
    int nNew = safeLength(pszNew);
    CString out;
    int count = 0, start = 0, len = GetLength();
    for (int i = 0; i + nOld <= len;) {
        if (wmemcmp(m_pszData + i, pszOld, (size_t)nOld) == 0) {
            out.Append(m_pszData + start, i - start);
            out.Append(pszNew, nNew);
            i += nOld;
            start = i;
            ++count;
        } else {
            ++i;
        }
    }
    if (count == 0) return 0;
    out.Append(m_pszData + start, len - start);
    *this = static_cast<CString&&>(out);
    return count;
}

// Comparison and search --------------------------------------------------------------------------------

int CString::Compare(LPCWSTR psz) const { return wcscmp(m_pszData, psz ? psz : L""); }

int CString::CompareNoCase(LPCWSTR psz) const { return _wcsicmp(m_pszData, psz ? psz : L""); }

int CString::Find(WCHAR ch, int iStart) const {
    int len = GetLength();
    if (iStart < 0) iStart = 0;
    for (int i = iStart; i < len; ++i)
        if (m_pszData[i] == ch) return i;
    return -1;
}

int CString::Find(LPCWSTR pszSub, int iStart) const {
    int len = GetLength();
    if (!pszSub || iStart < 0 || iStart > len) return -1;
    const wchar_t* p = wcsstr(m_pszData + iStart, pszSub);
    return p ? (int)(p - m_pszData) : -1;
}

int CString::ReverseFind(WCHAR ch) const {
    for (int i = GetLength() - 1; i >= 0; --i)
        if (m_pszData[i] == ch) return i;
    return -1;
}

int CString::FindOneOf(LPCWSTR pszCharSet) const {
    int len = GetLength();
    for (int i = 0; i < len; ++i)
        if (isIn(m_pszData[i], pszCharSet)) return i;
    return -1;
}

// Pieces ------------------------------------------------------------------------------------------

CString CString::Left(int nCount) const {
    if (nCount < 0) nCount = 0;
    if (nCount > GetLength()) nCount = GetLength();
    return CString(m_pszData, nCount);
}

CString CString::Right(int nCount) const {
    int len = GetLength();
    if (nCount < 0) nCount = 0;
    if (nCount > len) nCount = len;
    return CString(m_pszData + len - nCount, nCount);
}

CString CString::Mid(int iFirst) const { return Mid(iFirst, GetLength()); }

CString CString::Mid(int iFirst, int nCount) const {
    int len = GetLength();
    if (iFirst < 0) iFirst = 0;
    if (iFirst > len) iFirst = len;
    if (nCount < 0) nCount = 0;
    if (nCount > len - iFirst) nCount = len - iFirst;
    return CString(m_pszData + iFirst, nCount);
}

CString CString::SpanIncluding(LPCWSTR pszCharSet) const {
    int n = 0, len = GetLength();
    while (n < len && isIn(m_pszData[n], pszCharSet)) ++n;
    return Left(n);
}

CString CString::SpanExcluding(LPCWSTR pszCharSet) const {
    int n = 0, len = GetLength();
    while (n < len && !isIn(m_pszData[n], pszCharSet)) ++n;
    return Left(n);
}

CString CString::Tokenize(LPCWSTR pszTokens, int& iStart) const {
    int len = GetLength();
    if (iStart < 0 || iStart >= len) { iStart = -1; return CString(); }
    int i = iStart;
    while (i < len && isIn(m_pszData[i], pszTokens)) ++i;
    if (i >= len) { iStart = -1; return CString(); }
    int end = i;
    while (end < len && !isIn(m_pszData[end], pszTokens)) ++end;
    iStart = end < len ? end + 1 : end;
    return CString(m_pszData + i, end - i);
}

CString& CString::TrimLeft(LPCWSTR pszTargets) {
    int len = GetLength(), n = 0;
    while (n < len && isIn(m_pszData[n], pszTargets)) ++n;
    if (n) Delete(0, n);
    return *this;
}

CString& CString::TrimRight(LPCWSTR pszTargets) {
    int len = GetLength(), n = len;
    while (n > 0 && isIn(m_pszData[n - 1], pszTargets)) --n;
    if (n != len) ReleaseBuffer(n);
    return *this;
}

namespace {
const wchar_t kSpaces[] = L" \t\r\n\v\f";
}
CString& CString::Trim() { return TrimRight().TrimLeft(); }
CString& CString::Trim(WCHAR chTarget) { return TrimRight(chTarget).TrimLeft(chTarget); }
CString& CString::Trim(LPCWSTR pszTargets) { return TrimRight(pszTargets).TrimLeft(pszTargets); }
CString& CString::TrimLeft() { return TrimLeft(kSpaces); }
CString& CString::TrimRight() { return TrimRight(kSpaces); }
CString& CString::TrimLeft(WCHAR chTarget) {
    WCHAR set[2] = {chTarget, 0};
    return TrimLeft(set);
}
CString& CString::TrimRight(WCHAR chTarget) {
    WCHAR set[2] = {chTarget, 0};
    return TrimRight(set);
}

CString& CString::MakeUpper() {
    int len = GetLength();
    if (len) CharUpperBuffW(m_pszData, (DWORD)len);
    return *this;
}

CString& CString::MakeLower() {
    int len = GetLength();
    if (len) CharLowerBuffW(m_pszData, (DWORD)len);
    return *this;
}

CString& CString::MakeReverse() {
    int len = GetLength();
    for (int i = 0, j = len - 1; i < j; ++i, --j) {
        WCHAR t = m_pszData[i];
        m_pszData[i] = m_pszData[j];
        m_pszData[j] = t;
    }
    return *this;
}

// Formatting ------------------------------------------------------------------------------------------

void CString::AppendFormatV(LPCWSTR pszFormat, va_list args) {
    if (!pszFormat) return;
    va_list count;
    va_copy(count, args);
    // The runtime's own wide printf: %s is a wide string, %hs a narrow one.
    int n = _vscwprintf(pszFormat, count);
    va_end(count);
    if (n <= 0) return;
    int len = GetLength();
    LPWSTR buf = GetBuffer(len + n);
    int written = _vsnwprintf(buf + len, (size_t)n + 1, pszFormat, args);
    ReleaseBuffer(written >= 0 ? len + written : len);
}

void CString::FormatV(LPCWSTR pszFormat, va_list args) {
    CString out;
    out.AppendFormatV(pszFormat, args);
    *this = static_cast<CString&&>(out);
}

void __cdecl CString::Format(LPCWSTR pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void __cdecl CString::Format(UINT nFormatID, ...) {
    CString format;
    if (!format.LoadString(nFormatID)) return;
    va_list args;
    va_start(args, nFormatID);
    FormatV(format, args);
    va_end(args);
}

void __cdecl CString::AppendFormat(LPCWSTR pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    AppendFormatV(pszFormat, args);
    va_end(args);
}

// Resources -----------------------------------------------------------------------------------------

BOOL CString::LoadString(HINSTANCE hInstance, UINT nID) {
    // Strings are stored sixteen to a block: a length word then the characters, for each.
    LPCWSTR block = MAKEINTRESOURCEW((nID >> 4) + 1);
    HRSRC res = hInstance ? FindResourceW(hInstance, block, (LPCWSTR)RT_STRING) : nullptr;
    if (!res) return FALSE;
    HGLOBAL mem = LoadResource(hInstance, res);
    const WCHAR* p = mem ? (const WCHAR*)LockResource(mem) : nullptr;
    DWORD size = SizeofResource(hInstance, res) / sizeof(WCHAR);
    if (!p) return FALSE;
    const WCHAR* end = p + size;
    for (UINT i = 0; i < (nID & 15); ++i) {
        if (p >= end) return FALSE;
        p += 1 + *p;
    }
    if (p >= end || *p == 0 || p + 1 + *p > end) return FALSE;
    SetString(p + 1, *p);
    return TRUE;
}

BOOL CString::LoadString(UINT nID) {
    HINSTANCE h = AfxFindResourceHandle(MAKEINTRESOURCEW((nID >> 4) + 1), (LPCWSTR)RT_STRING);
    return LoadString(h, nID);
}

// Concatenation ---------------------------------------------------------------------------------------

CString operator+(const CString& str1, const CString& str2) {
    CString s(str1);
    s.Append(str2);
    return s;
}
CString operator+(const CString& str1, LPCWSTR psz2) {
    CString s(str1);
    s.Append(psz2);
    return s;
}
CString operator+(LPCWSTR psz1, const CString& str2) {
    CString s(psz1);
    s.Append(str2);
    return s;
}
CString operator+(const CString& str1, WCHAR ch2) {
    CString s(str1);
    s.AppendChar(ch2);
    return s;
}
CString operator+(WCHAR ch1, const CString& str2) {
    CString s(ch1, 1);
    s.Append(str2);
    return s;
}
