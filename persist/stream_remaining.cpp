// BytesLeft for the library's three serializers.
//
// The serializers keep their streams, ends and read positions private and
// offer no query for what is left. Rather than widen their interface for the
// archive alone, this file reaches those members through explicit
// instantiations of a template taking a member pointer: access is not checked
// in an explicit instantiation, and the member pointers it captures are
// handed out by a friend function. Renaming one of the members breaks the
// build here, never silently.
#include "persist/stream_remaining.h"

#include <lumora/serializer.h>

#include <sys/types.h>

#include <cstdio>
#include <vector>

namespace {

template <class Class, class Member>
struct MemberTag {
    using Pointer = Member Class::*;
};

struct MemBuffer : MemberTag<KMemSerializer, std::vector<unsigned char>> {};
struct MemReadPos : MemberTag<KMemSerializer, uint32_t> {};
struct FileStream : MemberTag<KFileSerializer, FILE*> {};
struct FileSize : MemberTag<KFileSerializer, int64_t> {};
struct PointerStream : MemberTag<KFilePointerSerializer, FILE*> {};
struct PointerEnd : MemberTag<KFilePointerSerializer, int64_t> {};

MemBuffer::Pointer Reach(MemBuffer);
MemReadPos::Pointer Reach(MemReadPos);
FileStream::Pointer Reach(FileStream);
FileSize::Pointer Reach(FileSize);
PointerStream::Pointer Reach(PointerStream);
PointerEnd::Pointer Reach(PointerEnd);

template <class Tag, typename Tag::Pointer Member>
struct Expose {
    friend typename Tag::Pointer Reach(Tag) { return Member; }
};

template struct Expose<MemBuffer, &KMemSerializer::m_aun8Buffer>;
template struct Expose<MemReadPos, &KMemSerializer::m_un32ReadPos>;
template struct Expose<FileStream, &KFileSerializer::m_pFile>;
template struct Expose<FileSize, &KFileSerializer::m_n64FileSize>;
template struct Expose<PointerStream, &KFilePointerSerializer::m_pStream>;
template struct Expose<PointerEnd, &KFilePointerSerializer::m_n64EndOffset>;

int64_t LeftInFile(FILE* stream, int64_t end) {
    if (!stream || end < 0) {
        return -1;
    }
    const off_t here = ftello(stream);
    if (here < 0) {
        return -1;
    }
    return here >= end ? 0 : end - here;
}

}  // namespace

namespace lumora::detail {

int64_t BytesLeft(const KSerializer& serializer) {
    if (!serializer.IsReading()) {
        return -1;
    }
    if (const auto* memory = dynamic_cast<const KMemSerializer*>(&serializer)) {
        const size_t length = (memory->*Reach(MemBuffer{})).size();
        const uint32_t position = memory->*Reach(MemReadPos{});
        return position >= length ? 0 : static_cast<int64_t>(length - position);
    }
    if (const auto* file = dynamic_cast<const KFileSerializer*>(&serializer)) {
        return LeftInFile(file->*Reach(FileStream{}), file->*Reach(FileSize{}));
    }
    if (const auto* pointer = dynamic_cast<const KFilePointerSerializer*>(&serializer)) {
        return LeftInFile(pointer->*Reach(PointerStream{}), pointer->*Reach(PointerEnd{}));
    }
    return -1;
}

}  // namespace lumora::detail
