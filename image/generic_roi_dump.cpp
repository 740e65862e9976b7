// The text dump of the generic part of an image or ROI. Each line starts
// with indent blanks; daughters dump themselves three blanks further in.
#include <lumora/generic_roi.h>

#include <ostream>
#include <string>

namespace {

void DumpText(std::ostream& stream, const std::string& pad, const char* field, const char* text) {
    stream << pad << field << (text ? " = " : " = NULL");
    if (text) {
        stream << text;
    }
    stream << std::endl;
}

}  // namespace

void KGenericROI::DumpToStream(std::ostream& stream, int indent) const {
    const std::string pad(indent > 0 ? static_cast<size_t>(indent) : 0u, ' ');
    stream << pad << "Dumping KGenericROI( " << static_cast<const void*>(this) << ") : " << std::endl;
    DumpText(stream, pad, "m_pszAuthorASCII", m_pszAuthorASCII);
    DumpText(stream, pad, "m_pszCommentASCII", m_pszCommentASCII);
    DumpText(stream, pad, "m_pszDateASCII", m_pszDateASCII);
    DumpText(stream, pad, "m_pszTitleASCII", m_pszTitleASCII);
    stream << pad << "m_pParent = " << static_cast<const void*>(m_pParent) << std::endl;
    stream << pad << "m_pSibling = " << static_cast<const void*>(m_pSibling) << std::endl;
    stream << pad << "Dumping children : ";
    if (!m_pFirstDaughter) {
        stream << " <NO CHILDREN TO DUMP>";
    }
    stream << std::endl;
    for (const KGenericROI* daughter = m_pFirstDaughter; daughter; daughter = daughter->m_pSibling) {
        daughter->DumpToStream(stream, indent + 3);
    }
    stream << pad << "m_n32OrgX" << " = " << m_n32OrgX << std::endl;
    stream << pad << "m_n32OrgY" << " = " << m_n32OrgY << std::endl;
    stream << pad << "m_n32Height" << " = " << m_n32Height << std::endl;
    stream << pad << "m_n32Width" << " = " << m_n32Width << std::endl;
    stream << pad << "m_eColorSystem = " << KColorSystemName(m_eColorSystem) << std::endl;
}

std::ostream& operator<<(std::ostream& stream, const KGenericROI& roi) {
    stream << "+--------------------------------+" << std::endl;
    stream << "| DUMPING KGenericROI [subclass] |" << std::endl;
    stream << "+--------------------------------+" << std::endl;
    roi.DumpToStream(stream, 0);
    return stream;
}
