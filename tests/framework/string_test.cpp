// Strings of the framework.
#include <gtest/gtest.h>
#include <afxwin.h>

TEST(FrameworkString, FormatUsesWideConventions) {
    CString s;
    s.Format(L"%s=%d (0x%04X) %hs %c %.2f %lld%%", L"key", -12, 0xBEEF, "narrow", L'W', 2.5, 1LL << 40);
    EXPECT_STREQ(L"key=-12 (0xBEEF) narrow W 2.50 1099511627776%", s);
    CString big;   // longer than any first guess at a buffer
    big.Format(L"%0500d|%s", 7, L"end");
    EXPECT_EQ(504, big.GetLength());
    big.AppendFormat(L"+%u", 3u);
    EXPECT_EQ(CString(L"7|end+3"), big.Right(7));
    s.Format(L"");
    EXPECT_TRUE(s.IsEmpty());
    // Arguments may be the string being formatted.
    CString self(L"abc");
    self.AppendFormat(L"-%s-%s", self.GetString(), self.GetString());
    EXPECT_EQ(CString(L"abc-abc-abc"), self);
    self.Format(L"[%s]", self.GetString());
    EXPECT_EQ(CString(L"[abc-abc-abc]"), self);
}

TEST(FrameworkString, BuffersKeepContentsAndTakeLength) {
    CString s(L"abc");
    LPWSTR buf = s.GetBuffer(100);
    EXPECT_STREQ(L"abc", buf);   // contents kept when growing
    wcscpy(buf, L"a much longer text");
    s.ReleaseBuffer();
    EXPECT_EQ(18, s.GetLength());
    s.GetBuffer()[3] = L'X';
    s.ReleaseBuffer(5);   // an explicit length cuts there
    EXPECT_EQ(CString(L"a mXc"), s);
    EXPECT_EQ(5, (int)wcslen(s));
    s.GetBufferSetLength(2);
    s.ReleaseBuffer();
    EXPECT_EQ(CString(L"a "), s);

    // Copies are independent; a string may take pieces of itself.
    CString a(L"one");
    CString b(a);
    b.SetAt(0, L'O');
    EXPECT_EQ(CString(L"one"), a);
    EXPECT_EQ(CString(L"One"), b);
    a += a;
    a.Append(a.GetString() + 3, 2);
    EXPECT_EQ(CString(L"oneoneon"), a);
}

TEST(FrameworkString, EditingSearchingAndBounds) {
    CString s(L"  Hello, World \t\n");
    s.Trim();
    EXPECT_EQ(CString(L"Hello, World"), s);
    EXPECT_EQ(7, s.Find(L"World"));
    EXPECT_EQ(-1, s.Find(L"world"));
    EXPECT_EQ(8, s.Find(L'o', 5));
    EXPECT_EQ(8, s.ReverseFind(L'o'));
    EXPECT_EQ(5, s.FindOneOf(L",!"));
    EXPECT_EQ(CString(L"lo, W"), s.Mid(3, 5));
    EXPECT_EQ(CString(), s.Mid(50));
    EXPECT_EQ(s, s.Left(999));
    EXPECT_EQ(0, s.GetAt(100));
    EXPECT_EQ(0, s.CompareNoCase(L"HELLO, world"));

    CString u(s);
    u.MakeLower();
    EXPECT_EQ(3, u.Replace(L"l", L"LL"));   // grows in place
    EXPECT_EQ(CString(L"heLLLLo, worLLd"), u);
    EXPECT_EQ(6, u.Remove(L'L'));
    u.Insert(2, L"ll");
    u.Delete(0, 1);
    EXPECT_EQ(CString(L"ello, word"), u);
    EXPECT_EQ(CString(L"xx--yy"), CString(L"--xx--yy--").Trim(L'-'));
    EXPECT_EQ(CString(L"narrow text"), CString("narrow text"));

    // Tokens skip empty fields; the end is position -1.
    CString list(L"one, two,,three");
    int pos = 0;
    for (const wchar_t* want : {L"one", L"two", L"three", L""}) EXPECT_EQ(CString(want), list.Tokenize(L", ", pos));
    EXPECT_EQ(-1, pos);
}
