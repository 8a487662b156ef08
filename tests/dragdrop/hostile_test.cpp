// Payloads anyone could have written: the readers at their bounds, then malformed and random blocks
// through a data object and through the real clipboard. Nothing may be read past a block, and
// nothing that cannot be trusted may reach a hook.
#include <gtest/gtest.h>
#include "ddtest.h"
// The readers are internal to the library: their source is built into this test as well.
#include "dragdrop/payload.cpp"
#include <random>

TEST(PayloadReaders, Bounds) {
    const char text[] = {'a', 'b', 0, 'c'};
    EXPECT_EQ(qdd::textLength(text, 4), 2);
    EXPECT_EQ(qdd::textLength(text, 3), 2);
    EXPECT_EQ(qdd::textLength(text, 2), -1);   // the terminator lies just past the block
    EXPECT_EQ(qdd::textLength(text + 2, 1), 0);
    EXPECT_EQ(qdd::textLength(text, 0), -1);
    EXPECT_EQ(qdd::textLength(nullptr, 4), -1);

    char thumb[105] = {};
    EXPECT_EQ(qdd::thumbRecord(thumb, 104), thumb);
    EXPECT_EQ(qdd::thumbRecord(thumb, 105), thumb);
    EXPECT_EQ(qdd::thumbRecord(thumb, 103), nullptr);
    EXPECT_EQ(qdd::thumbRecord(nullptr, 104), nullptr);

    // Written and read back at an odd address: the fields land where the layout says.
    unsigned char block[34] = {};
    const unsigned char id[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    qdd::writeReference(block + 1, id, (void*)0x1122334455667788ULL, (void*)0x99);
    EXPECT_EQ(block[1 + 16], 0x88);
    EXPECT_EQ(block[1 + 23], 0x11);
    EXPECT_EQ(block[1 + 24], 0x99);
    qdd::ReferenceRecord r;
    ASSERT_TRUE(qdd::readReference(block + 1, 32, &r));
    EXPECT_EQ(memcmp(r.identity, id, 16), 0);
    EXPECT_EQ(r.address, 0x1122334455667788ULL);
    EXPECT_EQ(r.cleanup, 0x99u);
    for (size_t n : {0, 1, 16, 24, 31, 33})
        EXPECT_FALSE(qdd::readReference(block, n, &r)) << n;
}

namespace {
enum Kind { kText, kThumb, kMenu, kAttr };

struct Hostile : public ::testing::Test {
    Scene& scene = Scene::get();
    ProbeTarget target;
    ProbeSource live;
    void SetUp() override {
        target.m_fnSetDropWindow(&scene.target);
        target.m_fnEnableDropOperation(1);
    }
    UINT format(Kind k) const {
        const UINT f[] = {CF_TEXT, target.m_cfThumbList, target.m_cfMenuView, target.m_cfMenuObjectAttribute};
        return f[k];
    }
    // What a correct reader hands over for this block: the kind letter (or nothing) and the text.
    std::string expect(Kind k, const std::string& b, std::wstring* text) const {
        switch (k) {
        case kText: {
            size_t nul = b.find('\0');
            if (nul == std::string::npos) return "";
            *text = CString(b.c_str(), (int)nul).GetString();
            return "T";
        }
        case kThumb:
            return b.size() >= 104 ? "H" : "";
        case kMenu:
            return b == referenceBytes(live.m_guidSource, &live.m_listMenuItem) ? "M" : "";
        case kAttr:
            return b == referenceBytes(live.m_guidSource, &live.m_stMenuObjectAttribute) ? "A" : "";
        }
        return "";
    }
    // Offers the block in one drag event; what reached the per-format hooks.
    std::string enter(Kind k, const std::string& b) {
        target.clear();
        COleDataSource data;
        offerAll(data, {{format(k), b}});
        POINTL pt = {scene.screen(scene.target, 9, 9).x, scene.screen(scene.target, 9, 9).y};
        DWORD effect = DROPEFFECT_COPY;
        target.dropTarget()->DragEnter(data.GetDataObject(), MK_LBUTTON, pt, &effect);
        target.dropTarget()->DragLeave();
        EXPECT_EQ(effect, target.extracts.empty() ? 0u : (DWORD)DROPEFFECT_COPY);
        return target.kinds();
    }
    // Puts the block on the clipboard and pastes it; false when the clipboard refused the block.
    bool paste(Kind k, const std::string& b, std::string& kinds) {
        if (!putClipboard(format(k), blockOf(b))) return false;
        target.clear();
        target.answer = [this, k](const Arrival& a) { return a.format == format(k) ? 1 : 0; };
        CPoint p(0, 0);
        EXPECT_TRUE(target.m_fnPasteClipboardData(p));
        target.answer = [](const Arrival&) { return 1; };
        kinds = target.kinds();
        return true;
    }
    void check(Kind k, const std::string& b, const char* via, const std::string& got) {
        std::wstring text;
        std::string want = expect(k, b, &text);
        if (k == kText && via[0] == 'c' && want.empty() && !got.empty()) {
            // The system may terminate unterminated text inside the block: only a prefix may show.
            ASSERT_EQ(got, "T");
            std::wstring whole = CString(b.c_str(), (int)b.size()).GetString();
            EXPECT_EQ(whole.compare(0, target.extracts[0].text.size(), target.extracts[0].text), 0);
            EXPECT_LT(target.extracts[0].text.size(), b.size());
            return;
        }
        ASSERT_EQ(got, want) << via << " kind " << k << " size " << b.size();
        if (want == "T") {
            EXPECT_EQ(target.extracts[0].text, text);
        } else if (want == "H") {
            EXPECT_EQ(target.extracts[0].bytes, b.substr(0, 104));
        }
    }
};

std::string randomBytes(std::mt19937& rng, size_t n, bool noZero) {
    std::string s(n, '\0');
    for (char& c : s) c = (char)(noZero ? 1 + rng() % 255 : rng() % 256);
    return s;
}
}  // namespace

// The malformed shapes one by one: unterminated text, short thumbnails, records of every wrong
// length, an empty block.
TEST_F(Hostile, MalformedBlocks) {
    std::string record = referenceBytes(live.m_guidSource, &live.m_listMenuItem);
    std::vector<std::pair<Kind, std::string>> blocks = {
        {kText, "abc"}, {kText, std::string(4096, 'x')}, {kText, ""}, {kText, std::string("\0", 1)},
        {kThumb, std::string(103, 'h')}, {kThumb, ""}, {kThumb, std::string(104, 'h')},
        {kMenu, ""}, {kAttr, ""}, {kMenu, record},
    };
    for (size_t n = 1; n < 64; ++n)
        if (n != 32) blocks.push_back({kMenu, (record + record).substr(0, n)});
    blocks.push_back({kAttr, referenceBytes(live.m_guidSource, &live.m_stMenuObjectAttribute) + "!"});
    for (const auto& b : blocks) {
        check(b.first, b.second, "data object", enter(b.first, b.second));
        std::string kinds;
        if (paste(b.first, b.second, kinds)) check(b.first, b.second, "clipboard", kinds);
        else EXPECT_TRUE(b.second.empty()) << "the clipboard refused a block of " << b.second.size();
    }
}

// A bounded random run with a fixed seed: thousands of blocks through a data object, hundreds
// through the clipboard, each checked against what a correct reader would hand over.
TEST_F(Hostile, RandomBlocks) {
    std::mt19937 rng(20261206);
    const std::string menuRecord = referenceBytes(live.m_guidSource, &live.m_listMenuItem);
    const std::string attrRecord = referenceBytes(live.m_guidSource, &live.m_stMenuObjectAttribute);
    auto block = [&](Kind k) {
        size_t sizes[] = {0, 1 + rng() % 31, 32, 33 + rng() % 70, 104, 105 + rng() % 200};
        size_t n = sizes[rng() % 6];
        std::string b = randomBytes(rng, n, k == kText && rng() % 2);
        if ((k == kMenu || k == kAttr) && n >= 16 && rng() % 2) {
            // A live identity, with the right address, a near miss, or the right record cut short.
            const std::string& good = k == kMenu ? menuRecord : attrRecord;
            b.replace(0, 16, good.substr(0, 16));
            if (rng() % 2) b = good.substr(0, std::min(n, good.size()));
            else if (n >= 24) b[16 + rng() % 8] ^= (char)(1 + rng() % 255);
        }
        return b;
    };
    int hooks = 0;
    for (int i = 0; i < 3000; ++i) {
        Kind k = (Kind)(rng() % 4);
        std::string b = block(k);
        std::string got = enter(k, b);
        hooks += !got.empty();
        check(k, b, "data object", got);
        if (HasFatalFailure()) return;
    }
    for (int i = 0; i < 200; ++i) {
        Kind k = (Kind)(rng() % 4);
        std::string b = block(k), kinds;
        if (paste(k, b, kinds)) check(k, b, "clipboard", kinds);
        if (HasFatalFailure()) return;
    }
    // The run met both outcomes often enough to mean something.
    EXPECT_GT(hooks, 300);
    EXPECT_LT(hooks, 2400);
}
