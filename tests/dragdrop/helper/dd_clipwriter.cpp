// Another program on the same desktop: puts bytes given in hexadecimal on the clipboard under a
// registered format.   dd_clipwriter.exe FORMAT-NAME HEX
#include <windows.h>
#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    std::string bytes;
    for (const wchar_t* p = argv[2]; p[0] && p[1]; p += 2) bytes.push_back((char)wcstoul(std::wstring(p, 2).c_str(), nullptr, 16));
    UINT format = RegisterClipboardFormatW(argv[1]);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!format || !block || !OpenClipboard(nullptr)) return 3;
    memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    EmptyClipboard();
    bool ok = SetClipboardData(format, block) != nullptr;
    CloseClipboard();
    return ok ? 0 : 5;
}
