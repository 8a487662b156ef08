// Collections of the framework: CMap, CList and CPtrList over many node blocks.
#include <gtest/gtest.h>
#include <afxtempl.h>
#include <map>
#include <numeric>
#include <vector>

namespace {
// Counts live elements so leaks and double destruction show.
struct Counted {
    static inline int live = 0;
    int value;
    explicit Counted(int v = 0) : value(v) { ++live; }
    Counted(const Counted& o) : value(o.value) { ++live; }
    Counted& operator=(const Counted& o) = default;
    ~Counted() { --live; }
    bool operator==(const Counted& o) const { return value == o.value; }
};

// The same walk through a list of either kind: of(i) makes the element for i, val reads it back.
template <class List, class Of, class Val>
void exerciseList(List& list, Of of, Val val) {
    for (int i = 0; i < 100; ++i) list.AddTail(of(i));
    list.AddHead(of(-1));
    POSITION p50 = list.FindIndex(51);
    list.InsertBefore(p50, of(1000));
    list.InsertAfter(p50, of(1001));
    EXPECT_EQ(p50, list.Find(of(50)));
    list.RemoveAt(list.Find(of(1001), p50));   // searches after the start
    list.RemoveAt(p50);
    list.SetAt(list.FindIndex(1), of(2000));
    EXPECT_TRUE(val(list.RemoveHead()) == -1 && val(list.RemoveTail()) == 99 && !list.FindIndex(99));
    std::vector<int> fwd, back, want(99);   // forward and backward walks agree
    for (POSITION pos = list.GetHeadPosition(); pos;) fwd.push_back(val(list.GetNext(pos)));
    for (POSITION pos = list.GetTailPosition(); pos;) back.insert(back.begin(), val(list.GetPrev(pos)));
    std::iota(want.begin(), want.end(), 0);
    want[0] = 2000, want[50] = 1000;
    EXPECT_TRUE(want == fwd && want == back);
    list.RemoveAll();
    list.AddTail(of(5));   // usable after emptying
    EXPECT_EQ(5, val(list.GetHead()));
}
}  // namespace

TEST(FrameworkCollections, MapsAndListsThroughManyNodeBlocks) {
    {
        CMap<UINT_PTR, UINT_PTR, Counted, const Counted&> map(10);
        for (int i = 0; i < 500; ++i) map[(UINT_PTR)i * 16].value = i;   // aligned keys, like handles
        map.SetAt(16, Counted(-1));   // replaces, does not add
        for (int i = 0; i < 500; i += 2) EXPECT_TRUE(map.RemoveKey((UINT_PTR)i * 16));
        EXPECT_FALSE(map.RemoveKey(0));
        EXPECT_EQ(250, Counted::live);
        // Freed nodes are reused before new blocks are taken; every entry is visited once.
        for (int i = 0; i < 250; ++i) map[(UINT_PTR)100000 + i].value = i;
        std::map<UINT_PTR, int> seen, expected;
        Counted found;
        for (POSITION pos = map.GetStartPosition(); pos;) {
            UINT_PTR key;
            map.GetNextAssoc(pos, key, found);
            EXPECT_TRUE(seen.emplace(key, found.value).second);
        }
        for (int i = 1; i < 500; i += 2) expected[(UINT_PTR)i * 16] = i == 1 ? -1 : i;
        for (int i = 0; i < 250; ++i) expected[(UINT_PTR)100000 + i] = i;
        EXPECT_EQ(expected, seen);
        map.RemoveAll();
        EXPECT_EQ(1, Counted::live);   // found
    }
    CMap<HWND, HWND, void*, void*> windows;
    windows.InitHashTable(31);
    windows[(HWND)8] = nullptr;
    windows.InitHashTable(5);   // ignored once there are entries
    EXPECT_EQ(31u, windows.GetHashTableSize());
    // String keys hash their text: another pointer to equal text finds them.
    CMap<CString, LPCWSTR, int, int> names;
    names[L"alpha"] = 1, names[L"beta"] = 2;
    EXPECT_TRUE(!names.PLookup(L"Beta") && names.RemoveKey(L"alpha"));
    ASSERT_NE(nullptr, names.PLookup(CString(L"beta").GetString()));
    EXPECT_EQ(2, names.PLookup(L"beta")->value);
    // Lists keep their order through inserts and removals.
    {
        CList<Counted, const Counted&> list(3);   // small blocks: many of them
        exerciseList(list, [](int i) { return Counted(i); }, [](const Counted& c) { return c.value; });
        EXPECT_EQ(1, Counted::live);
    }
    EXPECT_EQ(0, Counted::live);
    std::vector<int> items(2003);
    std::iota(items.begin(), items.end(), -1);
    auto of = [&](int i) { return (void*)&items[i + 1]; };
    CPtrList ptrs(4);
    exerciseList(ptrs, of, [](void* p) { return *(int*)p; });
    ptrs.AddTail(of(6));
    CPtrList copy;
    copy.AddTail(&ptrs), copy.AddHead(&ptrs);
    EXPECT_TRUE(copy.GetCount() == 4 && copy.GetTail() == of(6));
    ptrs.RemoveAll();
    EXPECT_EQ(nullptr, ptrs.RemoveHead());   // empty: nothing, no crash
}
