// The KSerializer interface: its own virtual defaults and the non-virtual
// operations that forward to the implementation.
#include <lumora/serializer.h>

#include <lumora/errors.h>
#include <lumora/exception.h>

KSerializer::~KSerializer() = default;

KSerializer::ObjectType KSerializer::GetNextObjectType() {
    if (!m_pImplementation) {
        KSetError(K_ERROR_SERIALIZER_NOT_OPEN);
        return OBJECT_FAILURE;
    }
    return m_pImplementation->GetNextObjectType();
}

void KSerializer::Close() {
    if (m_pImplementation) {
        m_pImplementation->Close();
    }
}

int KSerializer::IsFile() const { return 0; }

unsigned int KSerializer::GetData(unsigned char*, unsigned int) {
    KSetError(K_ERROR_INVALID_OPERATION);
    return 0;
}

unsigned int KSerializer::GetCurrentPos() {
    KSetError(K_ERROR_INVALID_OPERATION);
    return 0;
}

int KSerializer::IsReading() const { return m_pImplementation ? m_pImplementation->IsReading() : 0; }

int KSerializer::IsWriting() const { return m_pImplementation ? m_pImplementation->IsWriting() : 0; }

int KSerializer::IsEOS() const { return m_pImplementation ? m_pImplementation->IsEOS() : 1; }

void KSerializer::PushStreamPos() {
    if (!m_pImplementation) {
        throw Corvane::Lumora::Exception(K_ERROR_SERIALIZER_NOT_OPEN);
    }
    m_pImplementation->PushStreamPos();
}

void KSerializer::PopAndForgetStreamPos() {
    if (m_pImplementation) {
        m_pImplementation->PopAndForgetStreamPos();
    }
}

void KSerializer::PopAndApplyStreamPos() {
    if (m_pImplementation) {
        m_pImplementation->PopAndApplyStreamPos();
    }
}

KOpaqueSerializer::~KOpaqueSerializer() = default;
