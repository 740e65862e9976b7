// KFilePointerSerializer: a stream the caller opened and keeps. It is never
// closed here, so the caller finds it positioned after the last byte moved.
//
// A null stream behaves like a closed file: neither reading nor writing, at
// the end, and every transfer raises 1116. A reader measures the stream's end
// once at construction; over a stream that cannot seek, IsEOS peeks one byte.
#include <lumora/serializer.h>

#include <lumora/errors.h>

#include "persist/stream_io.h"

KFilePointerSerializer::KFilePointerSerializer(FILE* stream, int writing)
    : m_pStream(stream), m_n32Writing(writing != 0 ? 1 : 0), m_n64EndOffset(-1) {
    if (!m_n32Writing) {
        m_n64EndOffset = lumora::detail::MeasureEnd(m_pStream);
    }
}

void KFilePointerSerializer::Close() {}

int KFilePointerSerializer::IsFile() const { return 1; }

unsigned int KFilePointerSerializer::GetCurrentPos() {
    KOk();
    return lumora::detail::CurrentPos32(m_pStream);
}

KFilePointerSerializer::~KFilePointerSerializer() = default;

unsigned int KFilePointerSerializer::SerializeBytes(void* data, unsigned int size, const char*) {
    lumora::detail::TransferBytes(m_pStream, m_n32Writing != 0, data, size);
    return size;
}

int KFilePointerSerializer::IsWriting() const { return m_pStream && m_n32Writing ? 1 : 0; }

int KFilePointerSerializer::IsEOS() const {
    if (!m_pStream) {
        return 1;
    }
    return !m_n32Writing && lumora::detail::AtEnd(m_pStream, m_n64EndOffset) ? 1 : 0;
}

int KFilePointerSerializer::IsReading() const { return m_pStream && !m_n32Writing ? 1 : 0; }

void KFilePointerSerializer::PushStreamPos() { lumora::detail::PushOffset(m_pStream, m_an64Positions); }

void KFilePointerSerializer::PopAndForgetStreamPos() { lumora::detail::DropTopOffset(m_an64Positions); }

void KFilePointerSerializer::PopAndApplyStreamPos() { lumora::detail::ApplyTopOffset(m_pStream, m_an64Positions); }
