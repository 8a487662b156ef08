// Gallery pages: each file adds its page with GALLERY_PAGE; the host shows them one at a time
// and, with --shot DIR, renders each into DIR\NN-name.png.
#pragma once
#include <windows.h>

struct GalleryPage {
    const wchar_t* name;                         // short, used in the file name
    int width, height;                           // client size of the page
    void (*build)(HWND panel);                   // optional: create child controls in the panel
    void (*paint)(HDC dc, const RECT& client);   // optional: draw the page's own content
    void (*teardown)(HWND panel);                // optional: release what build made (before the panel dies)
};

int galleryAddPage(const GalleryPage& page);

#define GALLERY_PAGE(id, ...) static const int gallery_page_##id = galleryAddPage(GalleryPage{__VA_ARGS__})

// Helpers for pages.
void galleryCheckerboard(HDC dc, const RECT& rc, int cell = 8);   // grey/white pattern behind alpha images
void galleryLabel(HDC dc, int x, int y, const wchar_t* text);     // small caption in the system font
// Runs the host's message loop for about ms milliseconds (pages that wait for something live).
void galleryPump(unsigned long ms);
