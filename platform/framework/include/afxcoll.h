// Collections of the framework stand-in: the block allocator and the pointer list.
#pragma once
#include "afx.h"

// A block of nodes, chained to the previously allocated blocks. Collections carve their nodes
// out of blocks so that many small elements cost few allocations.
struct UIFW_API CPlex {
    CPlex* pNext;
    void* data() { return this + 1; }
    // Allocates a block of nMax elements of cbElement bytes and links it at the head of head.
    static CPlex* PASCAL Create(CPlex*& head, UINT_PTR nMax, UINT_PTR cbElement);
    void FreeDataChain();   // frees this block and every one after it

    // Allocates a block of nMax nodes and pushes them, lowest address on top, onto a free list
    // linked through each node's pNext; the nodes are raw storage until taken.
    template <class NODE>
    static void GrowFreeList(CPlex*& head, NODE*& freeList, INT_PTR nMax) {
        CPlex* block = Create(head, (UINT_PTR)nMax, sizeof(NODE));
        NODE* node = (NODE*)block->data() + (nMax - 1);
        for (INT_PTR i = nMax - 1; i >= 0; --i, --node) {
            node->pNext = freeList;
            freeList = node;
        }
    }
};

// Doubly linked list of pointers.
class UIFW_API CPtrList : public CObject {
    DECLARE_DYNAMIC(CPtrList)
protected:
    struct CNode {
        CNode* pNext;
        CNode* pPrev;
        void* data;
    };
public:
    explicit CPtrList(INT_PTR nBlockSize = 10);
    ~CPtrList() override;

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    void*& GetHead();
    const void* GetHead() const;
    void*& GetTail();
    const void* GetTail() const;
    void* RemoveHead();
    void* RemoveTail();
    POSITION AddHead(void* newElement);
    POSITION AddTail(void* newElement);
    void AddHead(CPtrList* pNewList);
    void AddTail(CPtrList* pNewList);
    void RemoveAll();

    POSITION GetHeadPosition() const { return (POSITION)m_pNodeHead; }
    POSITION GetTailPosition() const { return (POSITION)m_pNodeTail; }
    void*& GetNext(POSITION& rPosition);
    const void* GetNext(POSITION& rPosition) const;
    void*& GetPrev(POSITION& rPosition);
    const void* GetPrev(POSITION& rPosition) const;
    void*& GetAt(POSITION position);
    const void* GetAt(POSITION position) const;
    void SetAt(POSITION pos, void* newElement);
    void RemoveAt(POSITION position);
    POSITION InsertBefore(POSITION position, void* newElement);
    POSITION InsertAfter(POSITION position, void* newElement);

    // Position of the first node holding searchValue after startAfter (from the head when null).
    POSITION Find(void* searchValue, POSITION startAfter = nullptr) const;
    // Position of the nIndex-th node, or null when out of range.
    POSITION FindIndex(INT_PTR nIndex) const;

protected:
    CNode* NewNode(CNode* pPrev, CNode* pNext);
    void FreeNode(CNode* pNode);

    CNode* m_pNodeHead;
    CNode* m_pNodeTail;
    INT_PTR m_nCount;
    CNode* m_pNodeFree;
    CPlex* m_pBlocks;
    INT_PTR m_nBlockSize;
};
