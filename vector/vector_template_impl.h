// The memory side of KVectorTemplate<T>: construction, copies, indexed
// access, capacity and the heap step. Included only by the file that
// instantiates the template for its element types.
#ifndef LUMORA_VECTOR_TEMPLATE_IMPL_H
#define LUMORA_VECTOR_TEMPLATE_IMPL_H

#include <lumora/vector.h>

#include "frame/report.h"
#include "vector/vector_element_traits.h"

#include <climits>
#include <cstring>
#include <new>
#include <type_traits>

namespace lumora::detail {

// A new, uninitialised array of n elements, or null when it cannot be had.
// The byte count is checked before the allocator sees it, where size_t is too
// narrow to hold it.
template <class T>
T* AllocateElements(unsigned int n) {
    size_t bytes;
    if (__builtin_mul_overflow(static_cast<size_t>(n), sizeof(T), &bytes)) {
        return nullptr;
    }
    return new (std::nothrow) T[n];
}

}  // namespace lumora::detail

template <class T>
T KVectorTemplate<T>::s_OutOfRangeElement;

template <class T>
KVectorTemplate<T>::KVectorTemplate()
    : m_un32Reserved1(0), m_un32Reserved2(0), m_un32NumElements(0), m_un32MaxElements(0), m_pData(nullptr) {
    static_assert(std::is_trivially_copyable<T>::value, "elements are copied as bytes");
}

template <class T>
KVectorTemplate<T>::KVectorTemplate(unsigned int n) : KVectorTemplate() {
    if (n == 0) {
        return;
    }
    T* data = lumora::detail::AllocateElements<T>(n);
    if (!data) {
        KSetError(K_ERROR_ALLOCATION);
        return;
    }
    std::memset(static_cast<void*>(data), 0, static_cast<size_t>(n) * sizeof(T));
    m_pData = data;
    m_un32NumElements = n;
    m_un32MaxElements = n;
}

template <class T>
KVectorTemplate<T>::KVectorTemplate(const KVectorTemplate& other) : KVectorTemplate() {
    other.CopyTo(this);
}

template <class T>
KVectorTemplate<T>& KVectorTemplate<T>::operator=(const KVectorTemplate& other) {
    other.CopyTo(this);
    return *this;
}

template <class T>
KVectorTemplate<T>::~KVectorTemplate() {
    delete[] m_pData;
}

template <class T>
T& KVectorTemplate<T>::OutOfRangeElement() const {
    lumora::detail::Fail(K_ERROR_PARAMETER_1_OUT_OF_RANGE, "KVector::operator[]");
    return s_OutOfRangeElement;
}

template <class T>
T KVectorTemplate<T>::GetElement(int index) const {
    if (index < 0 || static_cast<unsigned int>(index) >= m_un32NumElements) {
        lumora::detail::Fail(K_ERROR_PARAMETER_1_OUT_OF_RANGE, "KVector::operator[]");
        return VectorElementTraits<T>::OutOfRangeValue();
    }
    return m_pData[index];
}

template <class T>
void KVectorTemplate<T>::SetElement(int index, T value) {
    if (index < 0 || static_cast<unsigned int>(index) >= m_un32NumElements) {
        lumora::detail::Fail(K_ERROR_PARAMETER_1_OUT_OF_RANGE, "KVector::operator[]");
        return;
    }
    m_pData[index] = value;
}

template <class T>
bool KVectorTemplate<T>::Reallocate(unsigned int n, bool keep) {
    T* data = nullptr;
    if (n > 0) {
        data = lumora::detail::AllocateElements<T>(n);
        if (!data) {
            KSetError(K_ERROR_ALLOCATION);
            return false;
        }
    }
    m_un32MaxElements = n;
    if (m_un32NumElements > n) {
        m_un32NumElements = n;
    }
    if (keep) {
        if (m_un32NumElements > 0) {
            std::memcpy(static_cast<void*>(data), m_pData, static_cast<size_t>(m_un32NumElements) * sizeof(T));
        }
    } else {
        m_un32NumElements = 0;
    }
    delete[] m_pData;
    m_pData = data;
    return true;
}

template <class T>
void KVectorTemplate<T>::SetMaxElements(unsigned int n, int keep) {
    if (n == m_un32MaxElements) {
        return;
    }
    if (!Reallocate(n, keep != 0)) {
        KTraceError("KVector::SetMaxElements");
    }
}

// Growth inside SetNumElements and AddElement is traced once, under the name
// of the operation the caller made.
template <class T>
void KVectorTemplate<T>::SetNumElements(unsigned int n) {
    if (n <= m_un32MaxElements) {
        m_un32NumElements = n;
        return;
    }
    KOk();
    if (!Reallocate(n, true)) {
        KTraceError("KVector::SetNumElements");
        return;
    }
    m_un32NumElements = n;
}

// Doubling from 1; a capacity past half the range goes to the largest count
// instead, and a vector already that full cannot grow.
template <class T>
bool KVectorTemplate<T>::GrowForAppend(const char* operation) {
    KOk();
    const unsigned int capacity = m_un32MaxElements;
    if (capacity == UINT_MAX) {
        lumora::detail::Fail(K_ERROR_ALLOCATION, operation);
        return false;
    }
    const unsigned int grown = capacity == 0 ? 1 : (capacity > UINT_MAX / 2 ? UINT_MAX : 2 * capacity);
    if (!Reallocate(grown, true)) {
        KTraceError(operation);
        return false;
    }
    return true;
}

template <class T>
void KVectorTemplate<T>::AddElement(T value) {
    if (m_un32NumElements == m_un32MaxElements && !GrowForAppend("KVector::AddElement")) {
        return;
    }
    m_pData[m_un32NumElements++] = value;
}

template <class T>
void KVectorTemplate<T>::AddElementByRef(T& value) {
    // The value may live in this vector's array, which growth frees.
    const T copy = value;
    if (m_un32NumElements == m_un32MaxElements && !GrowForAppend("KVector::AddElementByRef")) {
        return;
    }
    m_pData[m_un32NumElements++] = copy;
}

template <class T>
void KVectorTemplate<T>::RemoveElement(unsigned int index) {
    if (index >= m_un32NumElements) {
        lumora::detail::Fail(K_ERROR_PARAMETER_1_OUT_OF_RANGE, "KVector::RemoveElement");
        return;
    }
    const size_t following = m_un32NumElements - index - 1;
    if (following > 0) {
        std::memmove(static_cast<void*>(m_pData + index), m_pData + index + 1, following * sizeof(T));
    }
    --m_un32NumElements;
}

template <class T>
void KVectorTemplate<T>::Sift(const T& value, CompareFunction compare) {
    if (!m_pData) {
        return;
    }
    // The value may be one of the elements that the loop moves.
    const T moving = value;
    const size_t n = m_un32NumElements;
    size_t i = 0;
    for (;;) {
        size_t child = 2 * i + 1;
        if (child + 1 < n && compare(m_pData[child + 1], m_pData[child])) {
            ++child;
        }
        if (child >= n || !compare(m_pData[child], moving)) {
            break;
        }
        m_pData[i] = m_pData[child];
        i = child;
    }
    m_pData[i] = moving;
}

template <class T>
KVectorTemplate<T>* KVectorTemplate<T>::CopyTo(KVectorTemplate* target) const {
    if (target == this) {
        return target;
    }
    KVectorTemplate* created = nullptr;
    if (!target) {
        created = new (std::nothrow) KVectorTemplate();
        if (!created) {
            KSetError(K_ERROR_ALLOCATION);
            return nullptr;
        }
        target = created;
    }
    target->SetMaxElements(m_un32NumElements, 0);
    if (target->m_un32MaxElements != m_un32NumElements) {
        // The allocation failed (1303, traced) and the target is unchanged.
        delete created;
        return created ? nullptr : target;
    }
    target->m_un32NumElements = m_un32NumElements;
    if (m_un32NumElements > 0) {
        std::memcpy(static_cast<void*>(target->m_pData), m_pData, static_cast<size_t>(m_un32NumElements) * sizeof(T));
    }
    return target;
}

#endif
