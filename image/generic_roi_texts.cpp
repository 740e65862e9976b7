// The eight descriptive texts. Each object owns its copies; the narrow and
// the UTF-16 form of a text are independent of each other. The setters do
// not clear the error word on success.
#include <lumora/generic_roi.h>

#include "frame/report.h"
#include "frame/text_length.h"

#include <cstring>
#include <initializer_list>
#include <new>

namespace {

// Replaces *field by a copy of text (null clears it). Setting the pointer
// already stored changes nothing, so SetTitle(GetTitle()) is safe.
template <class Char>
void FreeBufferAndCopy(Char*& field, const Char* text, const char* operation) {
    if (text == field) {
        return;
    }
    delete[] field;
    field = nullptr;
    if (!text) {
        return;
    }
    const size_t length = lumora::detail::TextLength(text);
    Char* copy = new (std::nothrow) Char[length + 1];
    if (!copy) {
        lumora::detail::Fail(K_ERROR_ALLOCATION, operation);
        return;
    }
    std::memcpy(copy, text, (length + 1) * sizeof(Char));
    field = copy;
}

constexpr const char* kCopyNarrow = "KGenericROI::FreeBufferAndCopyASCIIString( )";
constexpr const char* kCopyWide = "KGenericROI::FreeBufferAndCopyUnicodeString( )";

}  // namespace

void KGenericROI::MakeEmpty() {
    for (char** field : {&m_pszAuthorASCII, &m_pszCommentASCII, &m_pszDateASCII, &m_pszTitleASCII}) {
        delete[] *field;
        *field = nullptr;
    }
    for (unsigned short** field :
         {&m_pszAuthorUnicode, &m_pszCommentUnicode, &m_pszDateUnicode, &m_pszTitleUnicode}) {
        delete[] *field;
        *field = nullptr;
    }
}

void KGenericROI::SetAuthor(const char* text) { FreeBufferAndCopy(m_pszAuthorASCII, text, kCopyNarrow); }
void KGenericROI::SetAuthor(const unsigned short* text) { FreeBufferAndCopy(m_pszAuthorUnicode, text, kCopyWide); }
void KGenericROI::SetComment(const char* text) { FreeBufferAndCopy(m_pszCommentASCII, text, kCopyNarrow); }
void KGenericROI::SetComment(const unsigned short* text) { FreeBufferAndCopy(m_pszCommentUnicode, text, kCopyWide); }
void KGenericROI::SetDate(const char* text) { FreeBufferAndCopy(m_pszDateASCII, text, kCopyNarrow); }
void KGenericROI::SetDate(const unsigned short* text) { FreeBufferAndCopy(m_pszDateUnicode, text, kCopyWide); }
void KGenericROI::SetTitle(const char* text) { FreeBufferAndCopy(m_pszTitleASCII, text, kCopyNarrow); }
void KGenericROI::SetTitle(const unsigned short* text) { FreeBufferAndCopy(m_pszTitleUnicode, text, kCopyWide); }
