// What the drag source and the drop target share inside the library: the format names, a locked
// view of a global block bounded by its size, and the identity lookup that guards reference records.
#pragma once
#include "qDragDrop.h"
#include "dragdrop/payload.h"
#include "drawing/gdiutil.h"

namespace qdd {

const wchar_t kThumbListFormat[] = L"THUMBLISTPRIVATECLIPFORMAT";
const wchar_t kMenuViewFormat[] = L"5E686CEC-92BE-4f79-BD7E-ABA723A8E015";
const wchar_t kMenuObjectAttributeFormat[] = L"2D81248A_520E_45d2_813F_B8511F34BD3C";

inline void registerFormats(UINT& thumbList, UINT& menuView, UINT& menuObjectAttribute) {
    thumbList = RegisterClipboardFormatW(kThumbListFormat);
    menuView = RegisterClipboardFormatW(kMenuViewFormat);
    menuObjectAttribute = RegisterClipboardFormatW(kMenuObjectAttributeFormat);
}

// A global block locked for the view's life, with the size the system reports for it: every
// read of a payload stays inside [data, data + size).
class BlockView {
public:
    explicit BlockView(HGLOBAL block)
        : m_size(block ? GlobalSize(block) : 0), m_lock(m_size ? block : nullptr) {}
    const void* data() const { return m_lock.get(); }
    size_t size() const { return m_lock ? m_size : 0; }

private:
    SIZE_T m_size;
    qdraw::GlobalLockGuard<void> m_lock;
};

}  // namespace qdd

// Finds the object a reference record names: only a live source whose identity matches, and only
// its own list (menu view) or attribute, so a record can never point anywhere else.
struct CDragDropSourceAccess {
    static void* resolve(const qdd::ReferenceRecord& record, bool menuView);
};
