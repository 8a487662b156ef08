// Block allocator of the collections and the pointer list.
#include "afxcoll.h"
#include <new>

CPlex* PASCAL CPlex::Create(CPlex*& head, UINT_PTR nMax, UINT_PTR cbElement) {
    CPlex* p = (CPlex*)::operator new(sizeof(CPlex) + nMax * cbElement);
    p->pNext = head;
    head = p;
    return p;
}

void CPlex::FreeDataChain() {
    CPlex* p = this;
    while (p) {
        CPlex* next = p->pNext;
        ::operator delete(p);
        p = next;
    }
}

IMPLEMENT_DYNAMIC(CPtrList, CObject)

CPtrList::CPtrList(INT_PTR nBlockSize)
    : m_pNodeHead(nullptr), m_pNodeTail(nullptr), m_nCount(0), m_pNodeFree(nullptr), m_pBlocks(nullptr),
      m_nBlockSize(nBlockSize > 0 ? nBlockSize : 10) {}

CPtrList::~CPtrList() { RemoveAll(); }

void CPtrList::RemoveAll() {
    m_nCount = 0;
    m_pNodeHead = m_pNodeTail = m_pNodeFree = nullptr;
    if (m_pBlocks) m_pBlocks->FreeDataChain();
    m_pBlocks = nullptr;
}

CPtrList::CNode* CPtrList::NewNode(CNode* pPrev, CNode* pNext) {
    if (!m_pNodeFree) {
        CPlex::GrowFreeList(m_pBlocks, m_pNodeFree, m_nBlockSize);
    }
    CNode* node = m_pNodeFree;
    m_pNodeFree = node->pNext;
    node->pPrev = pPrev;
    node->pNext = pNext;
    node->data = nullptr;
    ++m_nCount;
    return node;
}

void CPtrList::FreeNode(CNode* pNode) {
    pNode->pNext = m_pNodeFree;
    m_pNodeFree = pNode;
    if (--m_nCount == 0) RemoveAll();   // all nodes free: give the blocks back
}

void*& CPtrList::GetHead() { return m_pNodeHead->data; }
const void* CPtrList::GetHead() const { return m_pNodeHead->data; }
void*& CPtrList::GetTail() { return m_pNodeTail->data; }
const void* CPtrList::GetTail() const { return m_pNodeTail->data; }

void* CPtrList::RemoveHead() {
    CNode* old = m_pNodeHead;
    if (!old) return nullptr;
    void* value = old->data;
    m_pNodeHead = old->pNext;
    if (m_pNodeHead) m_pNodeHead->pPrev = nullptr; else m_pNodeTail = nullptr;
    FreeNode(old);
    return value;
}

void* CPtrList::RemoveTail() {
    CNode* old = m_pNodeTail;
    if (!old) return nullptr;
    void* value = old->data;
    m_pNodeTail = old->pPrev;
    if (m_pNodeTail) m_pNodeTail->pNext = nullptr; else m_pNodeHead = nullptr;
    FreeNode(old);
    return value;
}

POSITION CPtrList::AddHead(void* newElement) {
    CNode* node = NewNode(nullptr, m_pNodeHead);
    node->data = newElement;
    if (m_pNodeHead) m_pNodeHead->pPrev = node; else m_pNodeTail = node;
    m_pNodeHead = node;
    return (POSITION)node;
}

POSITION CPtrList::AddTail(void* newElement) {
    CNode* node = NewNode(m_pNodeTail, nullptr);
    node->data = newElement;
    if (m_pNodeTail) m_pNodeTail->pNext = node; else m_pNodeHead = node;
    m_pNodeTail = node;
    return (POSITION)node;
}

void CPtrList::AddHead(CPtrList* pNewList) {
    if (!pNewList || pNewList == this) return;
    for (CNode* node = pNewList->m_pNodeTail; node; node = node->pPrev) AddHead(node->data);
}

void CPtrList::AddTail(CPtrList* pNewList) {
    if (!pNewList || pNewList == this) return;
    for (CNode* node = pNewList->m_pNodeHead; node; node = node->pNext) AddTail(node->data);
}

void*& CPtrList::GetNext(POSITION& rPosition) {
    CNode* node = (CNode*)rPosition;
    rPosition = (POSITION)node->pNext;
    return node->data;
}
const void* CPtrList::GetNext(POSITION& rPosition) const {
    CNode* node = (CNode*)rPosition;
    rPosition = (POSITION)node->pNext;
    return node->data;
}
void*& CPtrList::GetPrev(POSITION& rPosition) {
    CNode* node = (CNode*)rPosition;
    rPosition = (POSITION)node->pPrev;
    return node->data;
}
const void* CPtrList::GetPrev(POSITION& rPosition) const {
    CNode* node = (CNode*)rPosition;
    rPosition = (POSITION)node->pPrev;
    return node->data;
}
void*& CPtrList::GetAt(POSITION position) { return ((CNode*)position)->data; }
const void* CPtrList::GetAt(POSITION position) const { return ((CNode*)position)->data; }
void CPtrList::SetAt(POSITION pos, void* newElement) { ((CNode*)pos)->data = newElement; }

void CPtrList::RemoveAt(POSITION position) {
    CNode* node = (CNode*)position;
    if (!node) return;
    if (node == m_pNodeHead) m_pNodeHead = node->pNext; else node->pPrev->pNext = node->pNext;
    if (node == m_pNodeTail) m_pNodeTail = node->pPrev; else node->pNext->pPrev = node->pPrev;
    FreeNode(node);
}

POSITION CPtrList::InsertBefore(POSITION position, void* newElement) {
    if (!position) return AddHead(newElement);
    CNode* old = (CNode*)position;
    CNode* node = NewNode(old->pPrev, old);
    node->data = newElement;
    if (old->pPrev) old->pPrev->pNext = node; else m_pNodeHead = node;
    old->pPrev = node;
    return (POSITION)node;
}

POSITION CPtrList::InsertAfter(POSITION position, void* newElement) {
    if (!position) return AddTail(newElement);
    CNode* old = (CNode*)position;
    CNode* node = NewNode(old, old->pNext);
    node->data = newElement;
    if (old->pNext) old->pNext->pPrev = node; else m_pNodeTail = node;
    old->pNext = node;
    return (POSITION)node;
}

POSITION CPtrList::Find(void* searchValue, POSITION startAfter) const {
    CNode* node = startAfter ? ((CNode*)startAfter)->pNext : m_pNodeHead;
    for (; node; node = node->pNext)
        if (node->data == searchValue) return (POSITION)node;
    return nullptr;
}

POSITION CPtrList::FindIndex(INT_PTR nIndex) const {
    if (nIndex < 0 || nIndex >= m_nCount) return nullptr;
    CNode* node = m_pNodeHead;
    while (nIndex--) node = node->pNext;
    return (POSITION)node;
}
