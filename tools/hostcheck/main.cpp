// Links the installed import libraries and headers; exits 0 when the library answers.
#include <qModule.h>
#include <qBitmapLoad.h>
#include <cstdio>
#include <cwchar>

int main() {
    const wchar_t* path = gfnGetProgramBitmapPath();
    HBITMAP bmp = gfnLoadBitmap(nullptr, L"test\\rgb24.png");
    SIZE size = {};
    int ok = path && wcsstr(path, L"bitmap\\") && gfnGetBitmapSize(bmp, &size) && size.cx == 6;
    if (bmp) DeleteObject(bmp);
    std::printf("host check: %s\n", ok ? "ok" : "failed");
    return ok ? 0 : 1;
}
