// Strings and geometry of the framework.
#include <gtest/gtest.h>
#include <afxwin.h>
#include "support.h"

TEST(FrameworkString, FormatUsesWideConventions) {
    CString s;
    s.Format(L"%s=%d (0x%04X) %hs %c %.2f %lld%%", L"key", -12, 0xBEEF, "narrow", L'W', 2.5, 1LL << 40);
    EXPECT_STREQ(L"key=-12 (0xBEEF) narrow W 2.50 1099511627776%", s);
    // Longer than any first guess at a buffer.
    CString big;
    big.Format(L"%0500d|%s", 7, L"end");
    EXPECT_EQ(504, big.GetLength());
    EXPECT_EQ(CString(L"7|end"), big.Right(5));
    big.AppendFormat(L"+%u", 3u);
    EXPECT_EQ(CString(L"end+3"), big.Right(5));
    s.Format(L"");
    EXPECT_TRUE(s.IsEmpty());
}

TEST(FrameworkString, BuffersKeepContentsAndTakeLength) {
    CString s(L"abc");
    LPWSTR buf = s.GetBuffer(100);
    EXPECT_STREQ(L"abc", buf);   // contents kept when growing
    wcscpy(buf, L"a much longer text");
    s.ReleaseBuffer();
    EXPECT_EQ(18, s.GetLength());
    buf = s.GetBuffer();
    buf[3] = L'X';
    s.ReleaseBuffer(5);          // explicit length cuts there
    EXPECT_EQ(CString(L"a mXc"), s);
    EXPECT_EQ(5, (int)wcslen(s));
    LPWSTR fixed = s.GetBufferSetLength(2);
    EXPECT_EQ(L'a', fixed[0]);
    s.ReleaseBuffer();
    EXPECT_EQ(CString(L"a "), s);
    // Filling by a system call, the usual pattern.
    CString dir;
    DWORD n = GetWindowsDirectoryW(dir.GetBuffer(MAX_PATH), MAX_PATH);
    dir.ReleaseBuffer();
    EXPECT_EQ((int)n, dir.GetLength());
    // Copies are independent.
    CString a(L"one");
    CString b(a);
    b.SetAt(0, L'O');
    EXPECT_EQ(CString(L"one"), a);
    EXPECT_EQ(CString(L"One"), b);
    // Appending a piece of itself.
    a += a;
    EXPECT_EQ(CString(L"oneone"), a);
    a.Append(a.GetString() + 3, 2);
    EXPECT_EQ(CString(L"oneoneon"), a);
}

TEST(FrameworkString, EditingSearchingAndComparing) {
    CString s(L"  Hello, World \t\n");
    s.Trim();
    EXPECT_EQ(CString(L"Hello, World"), s);
    EXPECT_EQ(7, s.Find(L"World"));
    EXPECT_EQ(-1, s.Find(L"world"));
    EXPECT_EQ(4, s.Find(L'o'));
    EXPECT_EQ(8, s.Find(L'o', 5));
    EXPECT_EQ(8, s.ReverseFind(L'o'));
    EXPECT_EQ(5, s.FindOneOf(L",!"));
    EXPECT_EQ(CString(L"Hello"), s.Left(5));
    EXPECT_EQ(CString(L"World"), s.Right(5));
    EXPECT_EQ(CString(L"lo, W"), s.Mid(3, 5));
    EXPECT_EQ(CString(L"World"), s.Mid(7));
    EXPECT_EQ(CString(), s.Mid(50));
    EXPECT_EQ(s, s.Left(999));
    EXPECT_EQ(0, s.CompareNoCase(L"HELLO, world"));
    EXPECT_NE(0, s.Compare(L"HELLO, world"));
    EXPECT_TRUE(CString(L"abc") < CString(L"abd"));
    EXPECT_TRUE(L"abc" == CString(L"abc"));
    EXPECT_TRUE(CString(L"abc") != L"ab");
    EXPECT_EQ(L'W', s[7]);
    EXPECT_EQ(0, s.GetAt(100));

    CString u(s);
    EXPECT_EQ(CString(L"HELLO, WORLD"), u.MakeUpper());
    EXPECT_EQ(CString(L"hello, world"), u.MakeLower());
    EXPECT_EQ(2, u.Replace(L"l", L"LL") - 1);   // three l's become six
    EXPECT_EQ(CString(L"heLLLLo, worLLd"), u);
    EXPECT_EQ(6, u.Remove(L'L'));
    EXPECT_EQ(CString(L"heo, word"), u);
    u.Insert(2, L"ll");
    u.Delete(0, 1);
    EXPECT_EQ(CString(L"ello, word"), u);
    EXPECT_EQ(CString(L"xx--yy"), CString(L"--xx--yy--").Trim(L'-'));
    EXPECT_EQ(CString(L"ab"), CString(L"..ab").TrimLeft(L"."));

    CString t = CString(L"a") + L"b" + L'c' + CString(L"d");
    EXPECT_EQ(CString(L"abcd"), t);
    CString narrow("narrow text");
    EXPECT_EQ(CString(L"narrow text"), narrow);

    CString list(L"one, two,,three");
    int pos = 0;
    EXPECT_EQ(CString(L"one"), list.Tokenize(L", ", pos));
    EXPECT_EQ(CString(L"two"), list.Tokenize(L", ", pos));
    EXPECT_EQ(CString(L"three"), list.Tokenize(L", ", pos));
    EXPECT_TRUE(list.Tokenize(L", ", pos).IsEmpty());
    EXPECT_EQ(-1, pos);
    s.Empty();
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_STREQ(L"", s.GetString());
}

TEST(FrameworkString, LoadStringSearchesTheExtensionChain) {
    // The library is an extension module: its string table is found without naming it.
    ASSERT_NE(nullptr, LoadLibraryW(L"qTrimUI.dll"));
    CString s;
    ASSERT_TRUE(s.LoadString(5001));
    EXPECT_EQ(CString(L"MS Sans Serif"), s);
    EXPECT_TRUE(s.LoadString(6362));
    EXPECT_EQ(CString(L"2,20,7,7,3,3,10,15"), s);
    // A missing entry fails and leaves the string as it was.
    EXPECT_FALSE(s.LoadString(5003));
    EXPECT_EQ(CString(L"2,20,7,7,3,3,10,15"), s);
    EXPECT_FALSE(s.LoadString(60000));
    EXPECT_FALSE(s.LoadString(nullptr, 5001));
    EXPECT_TRUE(s.LoadString(GetModuleHandleW(L"qTrimUI.dll"), 5002));
    EXPECT_EQ(CString(L"16"), s);
    EXPECT_EQ(GetModuleHandleW(L"qTrimUI.dll"),
              AfxFindResourceHandle(MAKEINTRESOURCEW(5001 / 16 + 1), (LPCWSTR)RT_STRING));
}

TEST(FrameworkGeometry, RectangleArithmetic) {
    CRect r(10, 20, 110, 70);
    EXPECT_EQ(100, r.Width());
    EXPECT_EQ(50, r.Height());
    EXPECT_EQ(CSize(100, 50), r.Size());
    EXPECT_EQ(CPoint(60, 45), r.CenterPoint());
    r.TopLeft() += CPoint(5, 5);
    EXPECT_EQ(CRect(15, 25, 110, 70), r);
    r.OffsetRect(-15, -25);
    EXPECT_EQ(CRect(0, 0, 95, 45), r);
    r.DeflateRect(5, 5);
    EXPECT_EQ(CRect(5, 5, 90, 40), r);
    r.InflateRect(1, 2, 3, 4);
    EXPECT_EQ(CRect(4, 3, 93, 44), r);
    EXPECT_TRUE(r.PtInRect(CPoint(4, 3)));
    EXPECT_FALSE(r.PtInRect(CPoint(93, 10)));   // right edge excluded

    CRect a(0, 0, 10, 10), b(5, 5, 20, 20), c;
    EXPECT_TRUE(c.IntersectRect(a, b));
    EXPECT_EQ(CRect(5, 5, 10, 10), c);
    EXPECT_FALSE(c.IntersectRect(a, CRect(30, 30, 40, 40)));
    EXPECT_TRUE(c.IsRectEmpty());
    EXPECT_TRUE(c.IsRectNull());
    c.UnionRect(a, b);
    EXPECT_EQ(CRect(0, 0, 20, 20), c);
    EXPECT_EQ(CRect(5, 5, 10, 10), a & b);
    EXPECT_EQ(CRect(0, 0, 20, 20), a | b);

    CRect flipped(10, 10, 0, 0);
    EXPECT_TRUE(flipped.IsRectEmpty());
    EXPECT_FALSE(flipped.IsRectNull());
    flipped.NormalizeRect();
    EXPECT_EQ(CRect(0, 0, 10, 10), flipped);
    LPCRECT asPtr = flipped;
    EXPECT_EQ(10, asPtr->right);
    EXPECT_EQ(CRect(2, 3, 12, 13), flipped + CPoint(2, 3));
    EXPECT_EQ(CSize(3, 4), CPoint(5, 7) - CPoint(2, 3));
    EXPECT_EQ(CPoint(-3, 7), CPoint(MAKELPARAM(-3, 7)));
    flipped.SetRectEmpty();
    EXPECT_TRUE(flipped.IsRectNull());
}
