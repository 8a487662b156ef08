// Payloads anyone could have written: the readers at their bounds, then malformed and random blocks
// through a data object and through the real clipboard, each checked against what a correct
// reader hands over. Nothing past a block may be read, nothing untrusted may reach a hook.
#include "ddtest.h"
// The readers are internal to the library: their source is built into this test as well.
#include "dragdrop/payload.cpp"
#include "tests/q32/q32Test.h"
#include <random>

TEST(PayloadReaders, Bounds) {
    const char text[] = {'a', 'b', 0, 'c'};
    EXPECT_EQ(qdd::textLength(text, 3), 2);
    EXPECT_EQ(qdd::textLength(text, 2), -1);   // the terminator lies just past the block
    EXPECT_EQ(qdd::textLength(text, 0), -1);
    char thumb[104] = {};
    EXPECT_EQ(qdd::thumbRecord(thumb, 104), thumb);
    EXPECT_EQ(qdd::thumbRecord(thumb, 103), nullptr);
    unsigned char block[33] = {};   // written and read at an odd address
    qdd::writeReference(block + 1, "0123456789abcdef", (void*)0x1122334455667788ULL, (void*)0x99);
    EXPECT_EQ(block[1 + 16] * 0x100 + block[1 + 23], 0x8811);
    qdd::ReferenceRecord r;
    ASSERT_TRUE(qdd::readReference(block + 1, 32, &r));
    EXPECT_EQ(std::string((char*)r.identity, 16) + std::to_string(r.address) + "/" + std::to_string(r.cleanup),
              "0123456789abcdef1234605616436508552/153");
    for (size_t n : {0, 16, 31, 33}) EXPECT_FALSE(qdd::readReference(block, n, &r)) << n;
}

namespace {
enum Kind { kText, kThumb, kMenu, kAttr };

struct Hostile : public TargetTest {
    ProbeSource live;
    UINT format(Kind k) const {
        return k == kText ? CF_TEXT : k == kThumb ? target.m_cfThumbList : k == kMenu ? target.m_cfMenuView
                                                                         : target.m_cfMenuObjectAttribute;
    }
    std::string good(Kind k) const {
        return referenceBytes(live.m_guidSource, k == kMenu ? (void*)&live.m_listMenuItem : &live.m_stMenuObjectAttribute);
    }
    // Offers the block in one drag event (or pastes it); the kinds that reached the hooks.
    std::string enter(Kind k, const std::string& b) {
        target.clear();
        COleDataSource data;
        offerAll(data, {{format(k), b}});
        POINTL pt = {400, 100};
        DWORD effect = DROPEFFECT_COPY;
        target.dropTarget()->DragEnter(data.GetDataObject(), MK_LBUTTON, pt, &effect);
        target.dropTarget()->DragLeave();
        EXPECT_EQ(effect, target.extracts.empty() ? 0u : (DWORD)DROPEFFECT_COPY);
        return target.kinds();
    }
    void check(Kind k, const std::string& b, bool clipboard) {
        std::string got;
        if (!clipboard) {
            got = enter(k, b);
        } else if (putClipboard(format(k), blockOf(b))) {
            got = pasteOnly(format(k));
        } else {
            EXPECT_TRUE(b.empty()) << "the clipboard refused a block of " << b.size();
            return;
        }
        size_t nul = b.find('\0');
        std::string want = k == kText ? (nul != std::string::npos ? "T" : "") : k == kThumb ? (b.size() >= 104 ? "H" : "")
                         : b == good(k) ? (k == kMenu ? "M" : "A") : "";
        if (k == kText && clipboard && want.empty() && !got.empty()) {
            nul = b.size() - 1;   // the system may end unterminated text inside the block, never after
            want = "T";
        }
        ASSERT_EQ(got, want) << (clipboard ? "clipboard" : "data object") << " kind " << k << " size " << b.size();
        if (want == "T") {
            EXPECT_EQ(target.extracts[0].text, std::wstring(CString(b.c_str(), (int)nul)));
        }
        if (want == "H") {
            EXPECT_EQ(target.extracts[0].bytes, b.substr(0, 104));
        }
    }
};
}  // namespace

// The malformed shapes one by one (unterminated text, short thumbnails, records of every wrong
// length, empty blocks), then a bounded random run with a fixed seed.
TEST_F(Hostile, MalformedAndRandomBlocks) {
    std::vector<std::pair<Kind, std::string>> blocks = {
        {kText, "abc"}, {kText, std::string(4096, 'x')}, {kText, ""}, {kText, std::string(1, '\0')},
        {kThumb, std::string(103, 'h')}, {kThumb, ""}, {kThumb, std::string(104, 'h')}, {kAttr, ""},
        {kMenu, good(kMenu)}, {kAttr, good(kAttr) + "!"}};
    for (size_t n = 0; n < 64; ++n)
        if (n != 32) blocks.push_back({kMenu, (good(kMenu) + good(kMenu)).substr(0, n)});
    for (const auto& b : blocks)
        for (bool clipboard : {false, true}) check(b.first, b.second, clipboard);

    std::mt19937 rng(20261206);
    int hooks = 0;
    size_t heap[2] = {};   // busy heap blocks after a warm-up and at the end of the data-object run
    for (int i = 0; i < 3200; ++i) {
        if (i == 100 || i == 3000) heap[i / 3000] = q32test::heapUse().blocks;
        Kind k = (Kind)(rng() % 4);
        size_t sizes[] = {0, 1 + rng() % 31, 32, 33 + rng() % 70, 104, 105 + rng() % 200};
        std::string b(sizes[rng() % 6], '\0');
        bool noZero = k == kText && rng() % 2;
        for (char& c : b) c = (char)(noZero ? 1 + rng() % 255 : rng() % 256);
        if ((k == kMenu || k == kAttr) && b.size() >= 16 && rng() % 2) {
            // A live identity, with the right record cut to size or one byte of the address off.
            b.replace(0, 16, good(k).substr(0, 16));
            if (rng() % 2) b = good(k).substr(0, b.size());
            else if (b.size() >= 24) b[16 + rng() % 8] ^= (char)(1 + rng() % 255);
        }
        check(k, b, i >= 3000);   // the last 200 through the clipboard
        hooks += !target.extracts.empty();
        if (HasFatalFailure()) return;
    }
    EXPECT_LT(heap[1], heap[0] + 100);   // every block a data object handed out was freed
    EXPECT_GT(hooks, 300);   // the run met both outcomes often enough to mean something
    EXPECT_LT(hooks, 2500);
}
