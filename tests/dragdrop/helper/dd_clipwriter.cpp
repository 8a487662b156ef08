// Another program on the same desktop: puts bytes given in hexadecimal on the clipboard under a
// registered format.   dd_clipwriter.exe FORMAT-NAME HEX
#include <windows.h>
#include <cstring>
#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    std::string bytes;
    for (const wchar_t* p = argv[2]; p[0] && p[1]; p += 2) {
        wchar_t pair[3] = {p[0], p[1], 0};
        bytes.push_back((char)wcstoul(pair, nullptr, 16));
    }
    UINT format = RegisterClipboardFormatW(argv[1]);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!format || !block) return 3;
    memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    if (!OpenClipboard(nullptr)) return 4;
    EmptyClipboard();
    bool ok = SetClipboardData(format, block) != nullptr;
    CloseClipboard();
    return ok ? 0 : 5;
}
