// Process-wide maps from handles to framework objects.
#pragma once
#include <windows.h>
#include <unordered_map>
#include <vector>

namespace uifw {

// Keeps compilers from assuming an object pointer is not null (members that accept null objects).
template <class T>
inline T* opaque(T* p) {
    asm("" : "+r"(p));
    return p;
}

class Lock {
public:
    explicit Lock(CRITICAL_SECTION& cs) : m_cs(cs) { EnterCriticalSection(&m_cs); }
    ~Lock() { LeaveCriticalSection(&m_cs); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;
private:
    CRITICAL_SECTION& m_cs;
};

// Permanent entries belong to objects that attached a handle; temporary ones are made on demand
// for unknown handles and freed together by deleteTemporaries.
template <class H, class T>
class HandleMap {
public:
    typedef T* (*MakeTemp)(H);
    typedef void (*FreeTemp)(T*);

    HandleMap(MakeTemp make, FreeTemp free) : m_make(make), m_free(free) { InitializeCriticalSection(&m_cs); }

    T* permanent(H h) {
        Lock lock(m_cs);
        auto it = m_permanent.find(h);
        return it == m_permanent.end() ? nullptr : it->second;
    }
    T* fromHandle(H h) {
        if (!h) return nullptr;
        Lock lock(m_cs);
        auto it = m_permanent.find(h);
        if (it != m_permanent.end()) return it->second;
        auto t = m_temporary.find(h);
        if (t != m_temporary.end()) return t->second;
        T* obj = m_make(h);
        m_temporary[h] = obj;
        return obj;
    }
    bool isTemporary(H h, const T* obj) {
        Lock lock(m_cs);
        auto t = m_temporary.find(h);
        return t != m_temporary.end() && t->second == obj;
    }
    bool hasTemporaries() {
        Lock lock(m_cs);
        return !m_temporary.empty();
    }
    // False when the handle already has a permanent object.
    bool add(H h, T* obj) {
        Lock lock(m_cs);
        return m_permanent.emplace(h, obj).second;
    }
    void remove(H h, const T* obj) {
        Lock lock(m_cs);
        auto it = m_permanent.find(h);
        if (it != m_permanent.end() && it->second == obj) m_permanent.erase(it);
    }
    // The handle went away: its temporary object leaves the map (a new object is made if the
    // handle value comes back) but lives until the next deleteTemporaries, as callers may hold it.
    void retire(H h) {
        Lock lock(m_cs);
        auto t = m_temporary.find(h);
        if (t == m_temporary.end()) return;
        m_retired.push_back(t->second);
        m_temporary.erase(t);
    }
    void deleteTemporaries() {
        std::vector<T*> doomed;
        {
            Lock lock(m_cs);
            for (auto& e : m_temporary) doomed.push_back(e.second);
            doomed.insert(doomed.end(), m_retired.begin(), m_retired.end());
            m_temporary.clear();
            m_retired.clear();
        }
        for (T* obj : doomed) m_free(obj);
    }

private:
    CRITICAL_SECTION m_cs;
    std::unordered_map<H, T*> m_permanent;
    std::unordered_map<H, T*> m_temporary;
    std::vector<T*> m_retired;
    MakeTemp m_make;
    FreeTemp m_free;
};

}  // namespace uifw
