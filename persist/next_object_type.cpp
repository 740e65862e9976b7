// GetNextObjectType: peeks at the 4-byte header of the next object (0x4B,
// type, version, XOR of the three) and puts the stream back where it was.
//
// The version is not checked here; the loader of the object does that. The
// position pushed at the start is popped on every path, so an outer caller's
// saved positions are never touched. If rewinding after a failure fails too,
// the rewind's code (1100 for a failed seek) is stored instead of the first
// one, since the stream is then no longer where the caller left it.
#include <lumora/serializer.h>

#include <lumora/errors.h>
#include <lumora/exception.h>

#include <cstdint>

namespace {

constexpr uint8_t kSignature = 0x4B;

// Rewinds to the pushed position; returns the code to store instead of
// failureCode when the rewind fails.
K_ERRORS RewindAfterFailure(KOpaqueSerializer& serializer, K_ERRORS failureCode) {
    try {
        serializer.PopAndApplyStreamPos();
        return failureCode;
    } catch (const Corvane::Lumora::Exception& error) {
        return error.GetCode();
    } catch (...) {
        return K_ERROR_ARCHIVE_UNEXPECTED;
    }
}

}  // namespace

KSerializer::ObjectType KOpaqueSerializer::GetNextObjectType() {
    KOk();
    bool pushed = false;
    K_ERRORS failure = K_SUCCESS;
    try {
        PushStreamPos();
        pushed = true;
        if (!IsReading()) {
            throw Corvane::Lumora::Exception(K_ERROR_SERIALIZER_NOT_READING);
        }
        if (IsEOS()) {
            pushed = false;
            PopAndForgetStreamPos();
            return END_OF_STREAM;
        }
        uint8_t signature = 0;
        uint8_t type = 0;
        uint8_t version = 0;
        uint8_t checkSum = 0;
        SerializeBytes(&signature, 1, "fileSig");
        SerializeBytes(&type, 1, "objType");
        SerializeBytes(&version, 1, "objVersion");
        SerializeBytes(&checkSum, 1, "checkSum");
        // Type 0 would read as "no further object", so it is no valid header.
        if (signature != kSignature || checkSum != (signature ^ type ^ version) || type == 0) {
            throw Corvane::Lumora::Exception(K_ERROR_BAD_FILE_FORMAT);
        }
        pushed = false;
        PopAndApplyStreamPos();
        return static_cast<ObjectType>(type);
    } catch (const Corvane::Lumora::Exception& error) {
        failure = error.GetCode();
    } catch (...) {
        failure = K_ERROR_ARCHIVE_UNEXPECTED;
    }
    if (pushed) {
        failure = RewindAfterFailure(*this, failure);
    }
    KSetError(failure);
    return OBJECT_FAILURE;
}
