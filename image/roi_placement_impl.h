// KROI<T>: placement of a view inside its parent, with clipping. The public
// setters clear the error word at entry; the internal steps they are built
// from (SetExtent, SetOrigin) do not, so that a failure in one step of a
// composite placement stays visible to the caller.
//
// A view always lies inside its parent after a placement change. An origin
// exactly at the parent's edge leaves a view of size 0; an origin beyond it
// (clipping would give a negative size) resets the view to cover its whole
// parent and reports 1414. Sums of coordinates are taken in 64 bits.
#ifndef LUMORA_IMAGE_ROI_PLACEMENT_IMPL_H
#define LUMORA_IMAGE_ROI_PLACEMENT_IMPL_H

#include <lumora/image.h>

#include "frame/report.h"
#include "image/address_math.h"

template <class T>
void KROI<T>::ResetToWholeParent(K_ERRORS code, const char* operation) {
    if (m_pParent) {
        m_n32OrgX = 0;
        m_n32OrgY = 0;
        SetExtent(Horizontal(), m_pParent->GetWidth());
        SetExtent(Vertical(), m_pParent->GetHeight());
    }
    lumora::detail::Fail(code, operation);
}

template <class T>
void KROI<T>::ReclipDaughters() {
    for (KGenericROI* node = m_pFirstDaughter; node; node = node->GetNextSiblingROI()) {
        auto* daughter = static_cast<KROI<T>*>(node);
        daughter->SetExtent(Horizontal(), daughter->m_n32Width);
        daughter->SetExtent(Vertical(), daughter->m_n32Height);
    }
}

template <class T>
const typename KROI<T>::PlacementAxis& KROI<T>::Horizontal() {
    static const PlacementAxis axis{&KROI<T>::m_n32OrgX, &KROI<T>::m_n32Width, &KGenericROI::GetWidth,
                                    "KROI::SetOrgX", "KROI::SetWidth"};
    return axis;
}

template <class T>
const typename KROI<T>::PlacementAxis& KROI<T>::Vertical() {
    static const PlacementAxis axis{&KROI<T>::m_n32OrgY, &KROI<T>::m_n32Height, &KGenericROI::GetHeight,
                                    "KROI::SetOrgY", "KROI::SetHeight"};
    return axis;
}

// Width or height along one axis: clipped to the parent, then the daughters
// are re-clipped along the same axis.
template <class T>
void KROI<T>::SetExtent(const PlacementAxis& axis, int extent) {
    if (!IsAnROI()) {
        lumora::detail::Fail(K_ERROR_APPLIED_TO_IMAGE, axis.extentOperation);
        return;
    }
    if (extent < 0) {
        lumora::detail::Fail(K_ERROR_PARAMETER_1_OUT_OF_RANGE, axis.extentOperation);
        return;
    }
    if (m_pParent) {
        const int64_t room = static_cast<int64_t>((m_pParent->*axis.parentExtent)()) - this->*axis.origin;
        if (extent >= room) {
            if (room < 0) {
                ResetToWholeParent(K_ERROR_ROI_OUT_OF_PARENT, axis.extentOperation);
                return;
            }
            extent = static_cast<int>(room);
        }
    }
    this->*axis.extent = extent;
    for (KGenericROI* node = m_pFirstDaughter; node; node = node->GetNextSiblingROI()) {
        auto* daughter = static_cast<KROI<T>*>(node);
        daughter->SetExtent(axis, daughter->*axis.extent);
    }
}

// Origin along one axis: a negative origin cuts off what lies before the
// parent's first column (or row); an origin that puts the whole view before
// the parent's first column (or row) resets it to the whole parent.
template <class T>
void KROI<T>::SetOrigin(const PlacementAxis& axis, int origin) {
    if (!IsAnROI()) {
        lumora::detail::Fail(K_ERROR_APPLIED_TO_IMAGE, axis.originOperation);
        return;
    }
    const int64_t end = static_cast<int64_t>(this->*axis.extent) + origin;
    if (end < 0) {
        ResetToWholeParent(K_ERROR_ROI_OUT_OF_PARENT, axis.originOperation);
    } else if (origin < 0) {
        this->*axis.origin = 0;
        SetExtent(axis, static_cast<int>(end));
    } else {
        this->*axis.origin = origin;
        SetExtent(axis, this->*axis.extent);
    }
}

template <class T>
void KROI<T>::SetWidth(int width) {
    KOk();
    SetExtent(Horizontal(), width);
}

template <class T>
void KROI<T>::SetHeight(int height) {
    KOk();
    SetExtent(Vertical(), height);
}

template <class T>
void KROI<T>::SetOrgX(int x) {
    KOk();
    SetOrigin(Horizontal(), x);
}

template <class T>
void KROI<T>::SetOrgY(int y) {
    KOk();
    SetOrigin(Vertical(), y);
}

template <class T>
void KROI<T>::SetPlacement(int orgX, int orgY, int width, int height) {
    KOk();
    if (!IsAnROI()) {
        lumora::detail::Fail(K_ERROR_APPLIED_TO_IMAGE, "KROI::SetPlacement");
        return;
    }
    if (orgX < 0) {
        width = lumora::detail::AddCoordinates(width, orgX);
        m_n32OrgX = 0;
    } else {
        m_n32OrgX = orgX;
    }
    if (orgY < 0) {
        height = lumora::detail::AddCoordinates(height, orgY);
        m_n32OrgY = 0;
    } else {
        m_n32OrgY = orgY;
    }
    SetExtent(Horizontal(), width);
    SetExtent(Vertical(), height);
}

template <class T>
void KROI<T>::SetSize(int width, int height) {
    KOk();
    SetExtent(Horizontal(), width);
    SetExtent(Vertical(), height);
}

template <class T>
void KROI<T>::SetSize(const KGenericROI* other) {
    SetSize(other->GetWidth(), other->GetHeight());
}

template <class T>
void KROI<T>::SetSize(KGenericROI* other) {
    SetSize(other->GetWidth(), other->GetHeight());
}

#endif
