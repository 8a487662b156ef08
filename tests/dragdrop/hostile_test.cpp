// Payloads anyone could have written, through a data object and through the real clipboard, each
// checked against what a correct reader hands over: nothing past a block may be read, nothing
// untrusted may reach a hook.
#include "ddtest.h"
#include "tests/q32/q32Test.h"
#include <random>

namespace {
enum Kind { kText, kThumb, kMenu, kAttr };

struct Hostile : public TargetTest {
    ProbeSource live;
    UINT format(Kind k) const {
        const UINT f[] = {CF_TEXT, target.m_cfThumbList, target.m_cfMenuView, target.m_cfMenuObjectAttribute};
        return f[k];
    }
    std::string good(Kind k) const {
        return referenceBytes(live.m_guidSource, k == kMenu ? (void*)&live.m_listMenuItem : &live.m_stMenuObjectAttribute);
    }
    // Drops the block (enter, over, drop), or pastes it; checks what reached the hooks.
    void check(Kind k, const std::string& b, bool clipboard) {
        target.clear();
        if (!clipboard) {
            DWORD effect = drop({{format(k), b}});
            EXPECT_EQ(effect, target.extracts.empty() ? 0u : (DWORD)DROPEFFECT_COPY);
        } else if (putClipboard(format(k), blockOf(b))) {
            pasteOnly(format(k));
        } else {
            EXPECT_TRUE(b.empty()) << "the clipboard refused a block of " << b.size();
            return;
        }
        const std::string got = target.kinds().substr(0, 1);
        size_t nul = b.find('\0');
        std::string want = k == kText ? (nul != std::string::npos ? "T" : "") : k == kThumb ? (b.size() >= 104 ? "H" : "")
                         : b == good(k) ? (k == kMenu ? "M" : "A") : "";
        if (k == kText && clipboard && want.empty() && !got.empty())
            nul = b.size() - 1, want = "T";   // the system may end unterminated text inside the block, never after
        ASSERT_EQ(got, want) << (clipboard ? "clipboard" : "data object") << " kind " << k << " size " << b.size();
        EXPECT_TRUE(want != "T" || target.extracts[0].text == std::wstring(CString(b.c_str(), (int)nul)));
        EXPECT_TRUE(want != "H" || target.extracts[0].bytes == b.substr(0, 104));
    }
};
}  // namespace

// The malformed shapes one by one (unterminated text, short thumbnails, records of every wrong
// length, of another identity, a dead source or for the other object, empty blocks), then a
// bounded random run with a fixed seed.
TEST_F(Hostile, MalformedAndRandomBlocks) {
    auto* gone = new ProbeSource;
    const GUID goneId = gone->m_guidSource, madeUp = {0x12345678, 0x9abc, 0xdef0, {1, 2, 3, 4, 5, 6, 7, 8}};
    delete gone;
    std::vector<std::pair<Kind, std::string>> blocks = {{kText, "abc"}, {kText, std::string(4096, 'x')}, {kText, ""},
        {kText, std::string(1, '\0')}, {kThumb, std::string(103, 'h')}, {kThumb, ""}, {kThumb, std::string(104, 'h')},
        {kAttr, ""}, {kMenu, good(kMenu)}, {kAttr, good(kAttr)}, {kAttr, good(kAttr) + "!"},
        {kMenu, referenceBytes(live.m_guidSource, &live.m_stMenuObjectAttribute)},
        {kMenu, referenceBytes(live.m_guidSource, (char*)&live.m_listMenuItem + 8)},
        {kMenu, referenceBytes(madeUp, &live.m_listMenuItem)}, {kAttr, referenceBytes(goneId, &live.m_stMenuObjectAttribute)}};
    for (size_t n = 0; n < 64; ++n)
        if (n != 32) blocks.push_back({kMenu, (good(kMenu) + good(kMenu)).substr(0, n)});
    for (const auto& b : blocks)
        for (bool clipboard : {false, true}) check(b.first, b.second, clipboard);
    ASSERT_FALSE(HasFailure());
    std::mt19937 rng(20261206);
    int hooks = 0;
    size_t heap[2] = {};   // busy heap blocks after a warm-up and at the end of the data-object run
    for (int i = 0; i < 2200; ++i) {
        if (i == 100 || i == 2000) heap[i / 2000] = q32test::heapUse().blocks;
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
        check(k, b, i >= 2000);   // the last 200 through the clipboard
        hooks += !target.extracts.empty();
        if (HasFatalFailure()) return;
    }
    EXPECT_LT(heap[1], heap[0] + 100);   // every block a data object handed out was freed
    EXPECT_TRUE(hooks > 200 && hooks < 1800) << hooks;   // both outcomes often enough to mean something
}
