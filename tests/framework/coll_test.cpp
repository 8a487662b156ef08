// Collections of the framework: CMap, CList and CPtrList over many node blocks.
#include <gtest/gtest.h>
#include <afxtempl.h>
#include <map>
#include <numeric>
#include <vector>

namespace {
// Counts live elements so leaks and double destruction show.
struct Counted {
    static int live;
    int value;
    explicit Counted(int v = 0) : value(v) { ++live; }
    Counted(const Counted& o) : value(o.value) { ++live; }
    Counted& operator=(const Counted& o) = default;
    ~Counted() { --live; }
    bool operator==(const Counted& o) const { return value == o.value; }
};
int Counted::live = 0;

// The same walk through a list of either kind: of(i) makes the element for i, val reads it back.
template <class List, class Of, class Val>
void exerciseList(List& list, Of of, Val val) {
    for (int i = 0; i < 100; ++i) list.AddTail(of(i));
    list.AddHead(of(-1));
    POSITION p50 = list.FindIndex(51);
    ASSERT_NE(nullptr, p50);
    EXPECT_EQ(50, val(list.GetAt(p50)));
    list.InsertBefore(p50, of(1000));
    list.InsertAfter(p50, of(1001));
    EXPECT_EQ(p50, list.Find(of(50)));
    POSITION after = list.Find(of(1001), p50);   // searches after the start
    ASSERT_NE(nullptr, after);
    list.RemoveAt(after);
    list.RemoveAt(p50);
    list.SetAt(list.FindIndex(1), of(2000));
    EXPECT_EQ(-1, val(list.RemoveHead()));
    EXPECT_EQ(99, val(list.RemoveTail()));
    EXPECT_EQ(99, list.GetCount());
    EXPECT_EQ(nullptr, list.FindIndex(99));
    EXPECT_EQ(nullptr, list.FindIndex(-1));

    // Forward and backward walks agree.
    std::vector<int> fwd, back;
    for (POSITION pos = list.GetHeadPosition(); pos;) fwd.push_back(val(list.GetNext(pos)));
    for (POSITION pos = list.GetTailPosition(); pos;) back.insert(back.begin(), val(list.GetPrev(pos)));
    EXPECT_EQ(fwd, back);
    ASSERT_EQ(99u, fwd.size());
    EXPECT_EQ(2000, fwd[0]);
    EXPECT_EQ((std::vector<int>{49, 1000, 51}), std::vector<int>(fwd.begin() + 49, fwd.begin() + 52));
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    list.AddTail(of(5));   // usable after emptying
    EXPECT_EQ(5, val(list.GetHead()));
}
}  // namespace

TEST(FrameworkCollections, MapsGrowRemoveIterateAndHashTheirKeys) {
    {
        CMap<UINT_PTR, UINT_PTR, Counted, const Counted&> map(10);
        EXPECT_EQ(nullptr, map.GetStartPosition());
        for (int i = 0; i < 500; ++i) map[(UINT_PTR)i * 16].value = i;   // aligned keys, like handles
        map.SetAt(16, Counted(-1));   // replaces, does not add
        EXPECT_EQ(500, map.GetCount());
        EXPECT_EQ(500, Counted::live);
        for (int i = 0; i < 500; i += 2) EXPECT_TRUE(map.RemoveKey((UINT_PTR)i * 16));
        EXPECT_FALSE(map.RemoveKey(0));
        EXPECT_FALSE(map.RemoveKey(12345));
        EXPECT_EQ(250, Counted::live);

        // Every remaining entry is visited once with its value.
        std::map<UINT_PTR, int> seen, expected;
        Counted found;
        for (POSITION pos = map.GetStartPosition(); pos;) {
            UINT_PTR key;
            map.GetNextAssoc(pos, key, found);
            EXPECT_TRUE(seen.emplace(key, found.value).second);
        }
        for (int i = 1; i < 500; i += 2) expected[(UINT_PTR)i * 16] = i == 1 ? -1 : i;
        EXPECT_EQ(expected, seen);

        // Freed nodes are reused before new blocks are taken; the map stays consistent.
        for (int i = 0; i < 250; ++i) map[(UINT_PTR)100000 + i].value = i;
        EXPECT_EQ(500, map.GetCount());
        EXPECT_TRUE(map.Lookup(100249, found));
        EXPECT_EQ(249, found.value);
        map.RemoveAll();
        EXPECT_EQ(1, Counted::live);   // found
        EXPECT_FALSE(map.Lookup(16, found));
        map[7].value = 70;   // usable after RemoveAll
        EXPECT_TRUE(map.Lookup(7, found));
    }
    EXPECT_EQ(0, Counted::live);

    CMap<HWND, HWND, void*, void*> windows;
    windows.InitHashTable(31);
    for (int i = 1; i <= 40; ++i) windows[(HWND)(UINT_PTR)(i * 8)] = (void*)(UINT_PTR)i;
    windows.InitHashTable(5);   // ignored once there are entries
    EXPECT_EQ(31u, windows.GetHashTableSize());
    void* v = nullptr;
    EXPECT_TRUE(windows.Lookup((HWND)(UINT_PTR)80, v));
    EXPECT_EQ((void*)10, v);

    // String keys hash their text: another pointer to equal text finds them.
    CMap<CString, LPCWSTR, int, int> names;
    names[L"alpha"] = 1;
    names[L"beta"] = 2;
    int n = 0;
    EXPECT_TRUE(names.Lookup(CString(L"beta").GetString(), n));
    EXPECT_EQ(2, n);
    EXPECT_FALSE(names.Lookup(L"Beta", n));
    EXPECT_TRUE(names.RemoveKey(L"alpha"));
    EXPECT_EQ(1, names.GetCount());
    ASSERT_NE(nullptr, names.PLookup(L"beta"));
    EXPECT_EQ(CString(L"beta"), names.PLookup(L"beta")->key);
    CMap<CString, const CString&, CString, const CString&> byRef;
    byRef[CString(L"key")] = L"value";
    CString value;
    EXPECT_TRUE(byRef.Lookup(CString(L"key"), value));
    EXPECT_EQ(CString(L"value"), value);
}

TEST(FrameworkCollections, ListsKeepOrderThroughInsertsAndRemovals) {
    {
        CList<Counted, const Counted&> list(3);   // small blocks: many of them
        exerciseList(list, [](int i) { return Counted(i); }, [](const Counted& c) { return c.value; });
        EXPECT_EQ(1, Counted::live);
    }
    EXPECT_EQ(0, Counted::live);

    std::vector<int> items(2003);
    std::iota(items.begin(), items.end(), -1);
    auto of = [&](int i) { return (void*)&items[i + 1]; };
    auto val = [](void* p) { return *(int*)p; };
    CPtrList ptrs(4);
    exerciseList(ptrs, of, val);
    ptrs.AddTail(of(6));
    CPtrList copy;
    copy.AddTail(&ptrs);
    copy.AddHead(&ptrs);
    std::vector<int> got;
    for (POSITION pos = copy.GetHeadPosition(); pos;) got.push_back(val(copy.GetNext(pos)));
    EXPECT_EQ((std::vector<int>{5, 6, 5, 6}), got);
    ptrs.RemoveAll();
    EXPECT_EQ(nullptr, ptrs.RemoveHead());   // empty: nothing, no crash
}
