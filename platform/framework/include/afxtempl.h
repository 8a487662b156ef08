// Collection templates of the framework stand-in: CList and CMap. Nodes come from CPlex blocks.
#pragma once
#include "afxcoll.h"
#include <new>
#include <type_traits>
#include <cstring>

// Element helpers, overridable by specialisation for a host's own types.
template <class TYPE>
inline void ConstructElements(TYPE* pElements, INT_PTR nCount) {
    for (; nCount-- > 0; ++pElements) ::new ((void*)pElements) TYPE();
}
template <class TYPE>
inline void DestructElements(TYPE* pElements, INT_PTR nCount) {
    for (; nCount-- > 0; ++pElements) pElements->~TYPE();
}
template <class TYPE, class ARG_TYPE>
inline BOOL CompareElements(const TYPE* pElement1, const ARG_TYPE* pElement2) {
    return *pElement1 == *pElement2;
}

// Hash of a key: integral and pointer keys are mixed so that aligned pointers and handles spread
// over the buckets; strings are hashed by character.
template <class ARG_KEY>
inline UINT HashKey(ARG_KEY key) {
    using K = typename std::remove_cv<typename std::remove_reference<ARG_KEY>::type>::type;
    ULONGLONG v;
    if constexpr (std::is_pointer<K>::value) v = (ULONGLONG)(UINT_PTR)key;
    else v = (ULONGLONG)key;
    v ^= v >> 33;
    v *= 0xff51afd7ed558ccdULL;
    v ^= v >> 33;
    return (UINT)v;
}
template <>
inline UINT HashKey<LPCWSTR>(LPCWSTR key) {
    UINT h = 0;
    if (key)
        while (*key) h = (h << 5) + h + (UINT)*key++;
    return h;
}
template <>
inline UINT HashKey<const CString&>(const CString& key) { return HashKey<LPCWSTR>(key.GetString()); }
template <>
inline UINT HashKey<CString>(CString key) { return HashKey<LPCWSTR>(key.GetString()); }

// CList -----------------------------------------------------------------------------------------

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
protected:
    struct CNode {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };
public:
    explicit CList(INT_PTR nBlockSize = 10)
        : m_pNodeHead(nullptr), m_pNodeTail(nullptr), m_nCount(0), m_pNodeFree(nullptr),
          m_pBlocks(nullptr), m_nBlockSize(nBlockSize > 0 ? nBlockSize : 10) {}
    ~CList() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    TYPE& GetHead() { return m_pNodeHead->data; }
    const TYPE& GetHead() const { return m_pNodeHead->data; }
    TYPE& GetTail() { return m_pNodeTail->data; }
    const TYPE& GetTail() const { return m_pNodeTail->data; }

    TYPE RemoveHead() {
        CNode* old = m_pNodeHead;
        TYPE value = old->data;
        m_pNodeHead = old->pNext;
        if (m_pNodeHead) m_pNodeHead->pPrev = nullptr; else m_pNodeTail = nullptr;
        FreeNode(old);
        return value;
    }
    TYPE RemoveTail() {
        CNode* old = m_pNodeTail;
        TYPE value = old->data;
        m_pNodeTail = old->pPrev;
        if (m_pNodeTail) m_pNodeTail->pNext = nullptr; else m_pNodeHead = nullptr;
        FreeNode(old);
        return value;
    }
    POSITION AddHead(ARG_TYPE newElement) {
        CNode* node = NewNode(nullptr, m_pNodeHead);
        node->data = newElement;
        if (m_pNodeHead) m_pNodeHead->pPrev = node; else m_pNodeTail = node;
        m_pNodeHead = node;
        return (POSITION)node;
    }
    POSITION AddTail(ARG_TYPE newElement) {
        CNode* node = NewNode(m_pNodeTail, nullptr);
        node->data = newElement;
        if (m_pNodeTail) m_pNodeTail->pNext = node; else m_pNodeHead = node;
        m_pNodeTail = node;
        return (POSITION)node;
    }
    void AddHead(CList* pNewList) {
        if (!pNewList) return;
        POSITION pos = pNewList->GetTailPosition();
        while (pos) AddHead(pNewList->GetPrev(pos));
    }
    void AddTail(CList* pNewList) {
        if (!pNewList) return;
        POSITION pos = pNewList->GetHeadPosition();
        while (pos) AddTail(pNewList->GetNext(pos));
    }
    void RemoveAll() {
        for (CNode* node = m_pNodeHead; node; node = node->pNext) DestructElements(&node->data, 1);
        m_nCount = 0;
        m_pNodeHead = m_pNodeTail = m_pNodeFree = nullptr;
        if (m_pBlocks) m_pBlocks->FreeDataChain();
        m_pBlocks = nullptr;
    }

    POSITION GetHeadPosition() const { return (POSITION)m_pNodeHead; }
    POSITION GetTailPosition() const { return (POSITION)m_pNodeTail; }
    TYPE& GetNext(POSITION& rPosition) {
        CNode* node = (CNode*)rPosition;
        rPosition = (POSITION)node->pNext;
        return node->data;
    }
    const TYPE& GetNext(POSITION& rPosition) const {
        CNode* node = (CNode*)rPosition;
        rPosition = (POSITION)node->pNext;
        return node->data;
    }
    TYPE& GetPrev(POSITION& rPosition) {
        CNode* node = (CNode*)rPosition;
        rPosition = (POSITION)node->pPrev;
        return node->data;
    }
    const TYPE& GetPrev(POSITION& rPosition) const {
        CNode* node = (CNode*)rPosition;
        rPosition = (POSITION)node->pPrev;
        return node->data;
    }
    TYPE& GetAt(POSITION position) { return ((CNode*)position)->data; }
    const TYPE& GetAt(POSITION position) const { return ((CNode*)position)->data; }
    void SetAt(POSITION pos, ARG_TYPE newElement) { ((CNode*)pos)->data = newElement; }
    void RemoveAt(POSITION position) {
        CNode* node = (CNode*)position;
        if (!node) return;
        if (node == m_pNodeHead) m_pNodeHead = node->pNext; else node->pPrev->pNext = node->pNext;
        if (node == m_pNodeTail) m_pNodeTail = node->pPrev; else node->pNext->pPrev = node->pPrev;
        FreeNode(node);
    }
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement) {
        if (!position) return AddHead(newElement);
        CNode* old = (CNode*)position;
        CNode* node = NewNode(old->pPrev, old);
        node->data = newElement;
        if (old->pPrev) old->pPrev->pNext = node; else m_pNodeHead = node;
        old->pPrev = node;
        return (POSITION)node;
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement) {
        if (!position) return AddTail(newElement);
        CNode* old = (CNode*)position;
        CNode* node = NewNode(old, old->pNext);
        node->data = newElement;
        if (old->pNext) old->pNext->pPrev = node; else m_pNodeTail = node;
        old->pNext = node;
        return (POSITION)node;
    }
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const {
        CNode* node = startAfter ? ((CNode*)startAfter)->pNext : m_pNodeHead;
        for (; node; node = node->pNext)
            if (CompareElements<TYPE, TYPE>(&node->data, &searchValue)) return (POSITION)node;
        return nullptr;
    }
    POSITION FindIndex(INT_PTR nIndex) const {
        if (nIndex < 0 || nIndex >= m_nCount) return nullptr;
        CNode* node = m_pNodeHead;
        while (nIndex--) node = node->pNext;
        return (POSITION)node;
    }

protected:
    CNode* NewNode(CNode* pPrev, CNode* pNext) {
        if (!m_pNodeFree) {
            CPlex::GrowFreeList(m_pBlocks, m_pNodeFree, m_nBlockSize);
        }
        CNode* node = m_pNodeFree;
        m_pNodeFree = m_pNodeFree->pNext;
        node->pPrev = pPrev;
        node->pNext = pNext;
        ++m_nCount;
        ConstructElements(&node->data, 1);
        return node;
    }
    void FreeNode(CNode* pNode) {
        DestructElements(&pNode->data, 1);
        pNode->pNext = m_pNodeFree;
        m_pNodeFree = pNode;
        if (--m_nCount == 0) RemoveAll();   // all nodes free: give the blocks back
    }

    CNode* m_pNodeHead;
    CNode* m_pNodeTail;
    INT_PTR m_nCount;
    CNode* m_pNodeFree;
    CPlex* m_pBlocks;
    INT_PTR m_nBlockSize;
};

// CMap ------------------------------------------------------------------------------------------

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
public:
    // The key/value pair a position refers to.
    class CPair {
    public:
        const KEY key;
        VALUE value;
    protected:
        explicit CPair(ARG_KEY keyval) : key(keyval) {}
    };
protected:
    class CAssoc : public CPair {
        friend class CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>;
        friend struct CPlex;   // threads free nodes through pNext
        CAssoc* pNext;
        UINT nHashValue;
    public:
        explicit CAssoc(ARG_KEY key) : CPair(key), pNext(nullptr), nHashValue(0) {}
    };
public:
    explicit CMap(INT_PTR nBlockSize = 10)
        : m_pHashTable(nullptr), m_nHashTableSize(17), m_nCount(0), m_pFreeList(nullptr),
          m_pBlocks(nullptr), m_nBlockSize(nBlockSize > 0 ? nBlockSize : 10) {}
    ~CMap() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }
    UINT GetHashTableSize() const { return m_nHashTableSize; }

    BOOL Lookup(ARG_KEY key, VALUE& rValue) const {
        UINT nHashBucket, nHashValue;
        CAssoc* assoc = GetAssocAt(key, nHashBucket, nHashValue);
        if (!assoc) return FALSE;
        rValue = assoc->value;
        return TRUE;
    }
    const CPair* PLookup(ARG_KEY key) const {
        UINT nHashBucket, nHashValue;
        return GetAssocAt(key, nHashBucket, nHashValue);
    }
    CPair* PLookup(ARG_KEY key) {
        UINT nHashBucket, nHashValue;
        return GetAssocAt(key, nHashBucket, nHashValue);
    }
    // The value for key, added default-constructed when the key is new.
    VALUE& operator[](ARG_KEY key) {
        UINT nHashBucket, nHashValue;
        CAssoc* assoc = GetAssocAt(key, nHashBucket, nHashValue);
        if (!assoc) {
            if (!m_pHashTable) InitHashTable(m_nHashTableSize);
            assoc = NewAssoc(key);
            assoc->nHashValue = nHashValue;
            assoc->pNext = m_pHashTable[nHashBucket];
            m_pHashTable[nHashBucket] = assoc;
        }
        return assoc->value;
    }
    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }
    BOOL RemoveKey(ARG_KEY key) {
        if (!m_pHashTable) return FALSE;
        UINT nHashValue = HashKey<ARG_KEY>(key);
        CAssoc** link = &m_pHashTable[nHashValue % m_nHashTableSize];
        for (CAssoc* assoc = *link; assoc; link = &assoc->pNext, assoc = assoc->pNext) {
            if (assoc->nHashValue == nHashValue && CompareElements(&assoc->key, &key)) {
                *link = assoc->pNext;
                FreeAssoc(assoc);
                return TRUE;
            }
        }
        return FALSE;
    }
    void RemoveAll() {
        if (m_pHashTable) {
            for (UINT i = 0; i < m_nHashTableSize; ++i)
                for (CAssoc* assoc = m_pHashTable[i]; assoc; assoc = assoc->pNext) assoc->CAssoc::~CAssoc();
            delete[] m_pHashTable;
            m_pHashTable = nullptr;
        }
        m_nCount = 0;
        m_pFreeList = nullptr;
        if (m_pBlocks) m_pBlocks->FreeDataChain();
        m_pBlocks = nullptr;
    }

    POSITION GetStartPosition() const { return m_nCount == 0 ? nullptr : BEFORE_START_POSITION; }
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const {
        CAssoc* assoc = (CAssoc*)rNextPosition;
        if (assoc == (CAssoc*)BEFORE_START_POSITION) {
            assoc = nullptr;
            for (UINT i = 0; i < m_nHashTableSize && !assoc; ++i) assoc = m_pHashTable[i];
        }
        rKey = assoc->key;
        rValue = assoc->value;
        rNextPosition = (POSITION)NextAssoc(assoc);
    }
    const CPair* PGetFirstAssoc() const { return FirstAssoc(); }
    CPair* PGetFirstAssoc() { return FirstAssoc(); }
    const CPair* PGetNextAssoc(const CPair* pAssoc) const { return NextAssoc((CAssoc*)pAssoc); }
    CPair* PGetNextAssoc(const CPair* pAssoc) { return NextAssoc((CAssoc*)pAssoc); }

    // Sets the number of buckets; only while the map is empty (otherwise ignored).
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE) {
        if (m_nCount != 0 || hashSize == 0) return;
        delete[] m_pHashTable;
        m_pHashTable = nullptr;
        if (bAllocNow) {
            m_pHashTable = new CAssoc*[hashSize];
            std::memset(m_pHashTable, 0, sizeof(CAssoc*) * hashSize);
        }
        m_nHashTableSize = hashSize;
    }

protected:
    CAssoc* GetAssocAt(ARG_KEY key, UINT& nHashBucket, UINT& nHashValue) const {
        nHashValue = HashKey<ARG_KEY>(key);
        nHashBucket = nHashValue % m_nHashTableSize;
        if (!m_pHashTable) return nullptr;
        for (CAssoc* assoc = m_pHashTable[nHashBucket]; assoc; assoc = assoc->pNext)
            if (assoc->nHashValue == nHashValue && CompareElements(&assoc->key, &key)) return assoc;
        return nullptr;
    }
    CAssoc* NewAssoc(ARG_KEY key) {
        if (!m_pFreeList) {
            CPlex::GrowFreeList(m_pBlocks, m_pFreeList, m_nBlockSize);
        }
        CAssoc* assoc = m_pFreeList;
        CAssoc* next = assoc->pNext;
        ::new ((void*)assoc) CAssoc(key);
        m_pFreeList = next;
        ++m_nCount;
        return assoc;
    }
    void FreeAssoc(CAssoc* assoc) {
        assoc->CAssoc::~CAssoc();
        assoc->pNext = m_pFreeList;
        m_pFreeList = assoc;
        if (--m_nCount == 0) RemoveAll();   // all entries gone: give the blocks back
    }
    CAssoc* FirstAssoc() const {
        if (!m_pHashTable) return nullptr;
        for (UINT i = 0; i < m_nHashTableSize; ++i)
            if (m_pHashTable[i]) return m_pHashTable[i];
        return nullptr;
    }
    CAssoc* NextAssoc(CAssoc* assoc) const {
        if (!assoc) return nullptr;
        if (assoc->pNext) return assoc->pNext;
        for (UINT i = assoc->nHashValue % m_nHashTableSize + 1; i < m_nHashTableSize; ++i)
            if (m_pHashTable[i]) return m_pHashTable[i];
        return nullptr;
    }

    CAssoc** m_pHashTable;
    UINT m_nHashTableSize;
    INT_PTR m_nCount;
    CAssoc* m_pFreeList;
    CPlex* m_pBlocks;
    INT_PTR m_nBlockSize;
};
