// Collections of the framework: CMap, CList and CPtrList over many node blocks.
#include <gtest/gtest.h>
#include <afxtempl.h>
#include <map>
#include <vector>

namespace {
// Counts live elements so leaks and double destruction show.
struct Counted {
    static int live;
    int value = 0;
    Counted() { ++live; }
    Counted(const Counted& o) : value(o.value) { ++live; }
    Counted& operator=(const Counted& o) = default;
    ~Counted() { --live; }
    bool operator==(const Counted& o) const { return value == o.value; }
};
int Counted::live = 0;
}  // namespace

TEST(FrameworkCollections, MapGrowsRemovesAndIterates) {
    CMap<UINT_PTR, UINT_PTR, Counted, const Counted&> map(10);
    EXPECT_EQ(nullptr, map.GetStartPosition());
    std::map<UINT_PTR, int> expected;
    for (int i = 0; i < 500; ++i) {
        UINT_PTR key = (UINT_PTR)i * 16;   // aligned keys, like handles and pointers
        map[key].value = i;
        expected[key] = i;
    }
    Counted c, found;
    c.value = -1;
    map.SetAt(32, c);   // replaces, does not add
    expected[32] = -1;
    EXPECT_EQ(500, map.GetCount());
    EXPECT_EQ(500 + 2, Counted::live);

    for (int i = 0; i < 500; i += 2) {
        EXPECT_TRUE(map.RemoveKey((UINT_PTR)i * 16));
        expected.erase((UINT_PTR)i * 16);
    }
    EXPECT_FALSE(map.RemoveKey(0));
    EXPECT_FALSE(map.RemoveKey(12345));
    EXPECT_EQ(250, map.GetCount());
    EXPECT_EQ(250 + 2, Counted::live);

    // Every remaining entry is visited once with its value.
    std::map<UINT_PTR, int> seen;
    for (POSITION pos = map.GetStartPosition(); pos;) {
        UINT_PTR key;
        map.GetNextAssoc(pos, key, found);
        EXPECT_TRUE(seen.emplace(key, found.value).second);
    }
    EXPECT_EQ(expected, seen);
    EXPECT_FALSE(map.Lookup(32, found));

    // Freed nodes are reused before new blocks are taken; the map stays consistent.
    for (int i = 0; i < 250; ++i) map[(UINT_PTR)100000 + i].value = i;
    EXPECT_EQ(500, map.GetCount());
    EXPECT_TRUE(map.Lookup(100249, found));
    EXPECT_EQ(249, found.value);
    EXPECT_TRUE(map.Lookup(16, found));
    EXPECT_EQ(1, found.value);

    map.RemoveAll();
    EXPECT_EQ(0, map.GetCount());
    EXPECT_EQ(2, Counted::live);   // c and found
    EXPECT_FALSE(map.Lookup(16, found));
    map[7].value = 70;   // usable after RemoveAll
    EXPECT_TRUE(map.Lookup(7, found));
}

TEST(FrameworkCollections, MapsOfWindowsAndStrings) {
    CMap<HWND, HWND, void*, void*> windows;
    windows.InitHashTable(31);
    for (int i = 1; i <= 40; ++i) windows[(HWND)(UINT_PTR)(i * 8)] = (void*)(UINT_PTR)i;
    windows.InitHashTable(5);   // ignored once there are entries
    EXPECT_EQ(31u, windows.GetHashTableSize());
    void* v = nullptr;
    EXPECT_TRUE(windows.Lookup((HWND)(UINT_PTR)80, v));
    EXPECT_EQ((void*)10, v);

    // String keys hash their text: lookups by another pointer to equal text find them.
    CMap<CString, LPCWSTR, int, int> names;
    names[L"alpha"] = 1;
    names[L"beta"] = 2;
    int n = 0;
    EXPECT_TRUE(names.Lookup(CString(L"beta").GetString(), n));
    EXPECT_EQ(2, n);
    EXPECT_FALSE(names.Lookup(L"Beta", n));
    EXPECT_TRUE(names.RemoveKey(L"alpha"));
    EXPECT_EQ(1, names.GetCount());
    const CMap<CString, LPCWSTR, int, int>::CPair* pair = names.PLookup(L"beta");
    ASSERT_NE(nullptr, pair);
    EXPECT_EQ(CString(L"beta"), pair->key);
    CMap<CString, const CString&, CString, const CString&> byRef;
    byRef[CString(L"key")] = L"value";
    CString value;
    EXPECT_TRUE(byRef.Lookup(CString(L"key"), value));
    EXPECT_EQ(CString(L"value"), value);
}

TEST(FrameworkCollections, ListKeepsOrderThroughInsertsAndRemovals) {
    {
        CList<Counted, const Counted&> list(3);   // small blocks: many of them
        Counted c;
        for (int i = 0; i < 100; ++i) {
            c.value = i;
            list.AddTail(c);
        }
        c.value = -1;
        list.AddHead(c);
        POSITION p50 = list.FindIndex(51);
        ASSERT_NE(nullptr, p50);
        EXPECT_EQ(50, list.GetAt(p50).value);
        c.value = 1000;
        list.InsertBefore(p50, c);
        c.value = 1001;
        list.InsertAfter(p50, c);
        POSITION after = list.Find(c, p50);
        ASSERT_NE(nullptr, after);
        list.RemoveAt(after);
        list.RemoveAt(p50);
        EXPECT_EQ(-1, list.RemoveHead().value);
        EXPECT_EQ(99, list.RemoveTail().value);
        EXPECT_EQ(99, list.GetCount());
        EXPECT_EQ(nullptr, list.FindIndex(99));
        EXPECT_EQ(nullptr, list.FindIndex(-1));

        // Forward and backward walks agree.
        std::vector<int> fwd, back;
        for (POSITION pos = list.GetHeadPosition(); pos;) fwd.push_back(list.GetNext(pos).value);
        for (POSITION pos = list.GetTailPosition(); pos;) back.insert(back.begin(), list.GetPrev(pos).value);
        EXPECT_EQ(fwd, back);
        ASSERT_EQ(99u, fwd.size());
        EXPECT_EQ((std::vector<int>{49, 1000, 51}), std::vector<int>(fwd.begin() + 49, fwd.begin() + 52));
        EXPECT_EQ(100, Counted::live);   // 99 in the list and c
        while (!list.IsEmpty()) list.RemoveHead();
        EXPECT_EQ(1, Counted::live);
        list.AddTail(c);   // usable after emptying
        EXPECT_EQ(1001, list.GetHead().value);
    }
    EXPECT_EQ(0, Counted::live);
}

TEST(FrameworkCollections, PointerListBehavesAsAList) {
    CPtrList list(4);
    std::vector<int> items(50);
    for (int i = 0; i < 50; ++i) list.AddTail(&items[i]);
    POSITION p = list.Find(&items[20]);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(p, list.FindIndex(20));
    list.SetAt(p, &items[0]);
    EXPECT_EQ(list.GetHeadPosition(), list.Find(&items[0]));
    EXPECT_EQ(p, list.Find(&items[0], list.GetHeadPosition()));   // searches after the start
    list.RemoveAt(p);
    EXPECT_EQ(nullptr, list.Find(&items[20]));
    POSITION q = list.InsertAfter(list.GetHeadPosition(), &items[49]);
    list.InsertBefore(q, &items[48]);
    EXPECT_EQ(&items[0], list.RemoveHead());
    EXPECT_EQ(&items[48], list.RemoveHead());
    EXPECT_EQ(&items[49], list.RemoveTail());
    EXPECT_EQ(&items[49], list.GetHead());
    EXPECT_EQ(48, list.GetCount());

    CPtrList copy;
    copy.AddTail(&list);
    copy.AddHead(&list);
    EXPECT_EQ(96, copy.GetCount());
    POSITION back = copy.GetTailPosition();
    EXPECT_EQ(&items[48], copy.GetPrev(back));
    list.RemoveAll();
    EXPECT_EQ(nullptr, list.RemoveHead());   // empty: nothing, no crash
    list.AddHead(&items[3]);
    EXPECT_EQ(&items[3], list.GetTail());
}
