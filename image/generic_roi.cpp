// Construction, the tree walk and total origin and size of KGenericROI.
#include <lumora/generic_roi.h>

#include "frame/report.h"

namespace {

// The archive format version every image and ROI writes.
constexpr unsigned int kArchiveVersion = 4;

}  // namespace

KGenericROI::KGenericROI() : m_aun32Reserved{0, 0} { InitEmpty(); }

KGenericROI::~KGenericROI() { MakeEmpty(); }

void KGenericROI::InitEmpty() {
    m_pszAuthorASCII = nullptr;
    m_pszAuthorUnicode = nullptr;
    m_pszCommentASCII = nullptr;
    m_pszCommentUnicode = nullptr;
    m_pszDateASCII = nullptr;
    m_pszDateUnicode = nullptr;
    m_pszTitleASCII = nullptr;
    m_pszTitleUnicode = nullptr;
    m_pParent = nullptr;
    m_pSibling = nullptr;
    m_pFirstDaughter = nullptr;
    m_n32OrgX = 0;
    m_n32OrgY = 0;
    m_n32Width = 0;
    m_n32Height = 0;
    m_eColorSystem = K_COLOR_SYSTEM_NONE;
    m_bAllocated = 0;
}

void KGenericROI::SetAllocated() { m_bAllocated = 1; }

unsigned int KGenericROI::GetCurrentVersion() const { return kArchiveVersion; }

const KGenericROI* KGenericROI::GetNextROI(const KGenericROI* stop) const {
    const KGenericROI* next = m_pFirstDaughter;
    if (!next) {
        const KGenericROI* node = this;
        while (!node->m_pSibling && node->m_pParent) {
            node = node->m_pParent;
        }
        next = node->m_pSibling ? node->m_pSibling : node;
    }
    return next == stop ? nullptr : next;
}

KGenericROI* KGenericROI::GetNextROI(KGenericROI* stop) {
    return const_cast<KGenericROI*>(static_cast<const KGenericROI*>(this)->GetNextROI(stop));
}

namespace {

// Sum of the origins along one axis from node up to, not including, the root.
int TotalOrigin(const KGenericROI* node, int (KGenericROI::*origin)() const) {
    int total = 0;
    for (; node->GetParent(); node = node->GetParent()) {
        total += (node->*origin)();
    }
    return total;
}

// Width or height of the top parent; 1416 under operation without one.
int TopExtent(const KGenericROI* top, int (KGenericROI::*extent)() const, const char* operation) {
    if (!top) {
        lumora::detail::Fail(K_ERROR_ROI_NO_PARENT, operation);
        return 0;
    }
    return (top->*extent)();
}

}  // namespace

int KGenericROI::GetTotalOrgX() const { return TotalOrigin(this, &KGenericROI::GetOrgX); }

int KGenericROI::GetTotalOrgY() const { return TotalOrigin(this, &KGenericROI::GetOrgY); }

int KGenericROI::GetTotalWidth() const {
    return TopExtent(GetTopParent(), &KGenericROI::GetWidth, "KROI::GetTotalWidth");
}

int KGenericROI::GetTotalHeight() const {
    return TopExtent(GetTopParent(), &KGenericROI::GetHeight, "KROI::GetTotalHeight");
}
