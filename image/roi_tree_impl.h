// KROI<T>: construction, destruction and the tree operations of a view
// (attach, detach, top parent, emptying).
#ifndef LUMORA_IMAGE_ROI_TREE_IMPL_H
#define LUMORA_IMAGE_ROI_TREE_IMPL_H

#include <lumora/image.h>
#include <lumora/settings.h>

#include "frame/report.h"

template <class T>
KROI<T>::KROI() : m_bMaskOffsets(0), m_n32CursorX(0), m_n32CursorY(0) {
    SetColorSystem();
}

template <class T>
KROI<T>::KROI(KROI<T>* parent, int orgX, int orgY, int width, int height) : KROI() {
    Attach(parent);
    m_n32OrgX = orgX;
    m_n32OrgY = orgY;
    SetExtent(Horizontal(), width);
    SetExtent(Vertical(), height);
}

template <class T>
KROI<T>::KROI(const KROI<T>& other) : KGenericROI(), m_bMaskOffsets(0), m_n32CursorX(0), m_n32CursorY(0) {
    other.InternalCopyTo(this, KGetRecursiveCopyBehavior(), 1);
}

template <class T>
KROI<T>::~KROI() {
    MakeEmpty();
}

template <class T>
void KROI<T>::InitEmpty() {
    m_pParent = nullptr;
    m_pSibling = nullptr;
    m_pFirstDaughter = nullptr;
    SetColorSystem();
    m_bMaskOffsets = 0;
}

template <class T>
void KROI<T>::MakeEmpty() {
    m_Mask.Empty();
    if (IsAnROI()) {
        Detach();
    }
    while (KGenericROI* first = m_pFirstDaughter) {
        auto* daughter = static_cast<KROI<T>*>(first);
        daughter->Detach();
        if (daughter->IsAllocated()) {
            delete daughter;
        }
    }
    InitEmpty();
}

template <class T>
const KGenericROI* KROI<T>::GetTopParent() const {
    if (!m_pParent) {
        lumora::detail::Fail(K_ERROR_ROI_NO_PARENT, "KROI::GetTopParent");
        return nullptr;
    }
    return static_cast<const KGenericROI*>(m_pParent)->GetTopParent();
}

template <class T>
KGenericROI* KROI<T>::GetTopParent() {
    return const_cast<KGenericROI*>(static_cast<const KROI<T>*>(this)->GetTopParent());
}

template <class T>
const KImage<T>* KROI<T>::TopImage() const {
    // Only an image is its own top parent, and a view's tree can only end in
    // an image of the same pixel type.
    return static_cast<const KImage<T>*>(GetTopParent());
}

template <class T>
void KROI<T>::Attach(KROI<T>* parent) {
    KOk();
    if (m_pParent) {
        lumora::detail::Fail(K_ERROR_ROI_HAS_PARENT, "KROI::Attach");
        return;
    }
    if (!IsAnROI()) {
        lumora::detail::Fail(K_ERROR_APPLIED_TO_IMAGE, "KROI::Attach");
        return;
    }
    // Attaching to itself or below itself would make the tree a cycle.
    for (const KGenericROI* node = parent; node; node = node->GetParent()) {
        if (node == this) {
            lumora::detail::Fail(K_ERROR_PARAMETER_1_OUT_OF_RANGE, "KROI::Attach");
            return;
        }
    }
    m_pParent = parent;
    if (parent) {
        m_eColorSystem = parent->m_eColorSystem;
        if (!parent->m_pFirstDaughter) {
            parent->m_pFirstDaughter = this;
        } else {
            KGenericROI* last = parent->m_pFirstDaughter;
            while (static_cast<KROI<T>*>(last)->m_pSibling) {
                last = static_cast<KROI<T>*>(last)->m_pSibling;
            }
            static_cast<KROI<T>*>(last)->m_pSibling = this;
        }
    }
    SetExtent(Horizontal(), m_n32Width);
    SetExtent(Vertical(), m_n32Height);
}

template <class T>
void KROI<T>::Detach() {
    KOk();
    if (!IsAnROI()) {
        lumora::detail::Fail(K_ERROR_APPLIED_TO_IMAGE, "KROI::Detach");
        return;
    }
    if (!m_pParent) {
        return;
    }
    auto* parent = static_cast<KROI<T>*>(m_pParent);
    if (parent->m_pFirstDaughter == this) {
        parent->m_pFirstDaughter = m_pSibling;
    } else {
        for (KGenericROI* node = parent->m_pFirstDaughter; node;) {
            auto* previous = static_cast<KROI<T>*>(node);
            if (previous->m_pSibling == this) {
                previous->m_pSibling = m_pSibling;
                break;
            }
            node = previous->m_pSibling;
        }
    }
    m_pParent = nullptr;
    m_pSibling = nullptr;
}

template <class T>
int KROI<T>::IsAnROI() {
    return 1;
}

#endif
