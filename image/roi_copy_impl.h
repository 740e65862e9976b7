// KROI<T>: copying and cloning views. One routine does the work for the copy
// constructor, assignment, CopyTo and CreateROIClone.
#ifndef LUMORA_IMAGE_ROI_COPY_IMPL_H
#define LUMORA_IMAGE_ROI_COPY_IMPL_H

#include <lumora/image.h>
#include <lumora/settings.h>

template <class T>
KROI<T>* KROI<T>::InternalCopyTo(KROI<T>* dest, int recursive, int freshTarget) const {
    if (!dest) {
        dest = new KROI<T>();
    }
    if (dest == this) {
        return dest;
    }
    if (freshTarget) {
        dest->KGenericROI::InitEmpty();
        dest->InitEmpty();
    }
    if (dest->m_pParent && dest->m_pParent != m_pParent) {
        dest->Detach();
    }
    while (KGenericROI* first = dest->m_pFirstDaughter) {
        static_cast<KROI<T>*>(first)->Detach();
    }
    if (!dest->m_pParent && m_pParent) {
        dest->Attach(static_cast<KROI<T>*>(m_pParent));
    }

    dest->SetAuthor(m_pszAuthorASCII);
    dest->SetAuthor(m_pszAuthorUnicode);
    dest->SetComment(m_pszCommentASCII);
    dest->SetComment(m_pszCommentUnicode);
    dest->SetDate(m_pszDateASCII);
    dest->SetDate(m_pszDateUnicode);
    dest->SetTitle(m_pszTitleASCII);
    dest->SetTitle(m_pszTitleUnicode);

    // The placement is stored as it is, without clipping.
    dest->m_n32OrgX = m_n32OrgX;
    dest->m_n32OrgY = m_n32OrgY;
    dest->m_n32Width = m_n32Width;
    dest->m_n32Height = m_n32Height;
    dest->m_eColorSystem = m_eColorSystem;
    dest->m_bMaskOffsets = m_bMaskOffsets;
    dest->m_Mask = m_Mask;
    dest->m_n32CursorX = m_n32CursorX;
    dest->m_n32CursorY = m_n32CursorY;

    if (recursive) {
        for (const KGenericROI* node = m_pFirstDaughter; node; node = node->GetNextSiblingROI()) {
            KROI<T>* clone = static_cast<const KROI<T>*>(node)->CreateROIClone(1);
            clone->Detach();
            clone->Attach(dest);
        }
    }
    return dest;
}

template <class T>
KROI<T>* KROI<T>::CopyTo(KROI<T>* dest, int recursive) const {
    return InternalCopyTo(dest, recursive, 0);
}

template <class T>
KROI<T>& KROI<T>::operator=(const KROI<T>& other) {
    other.InternalCopyTo(this, KGetRecursiveCopyBehavior(), 0);
    return *this;
}

template <class T>
KROI<T>* KROI<T>::CreateROIClone(int recursive) const {
    auto* clone = new KROI<T>();
    InternalCopyTo(clone, recursive, 0);
    return clone;
}

#endif
