// Serializers: the two-way byte streams every archive operation runs over.
//
// A serializer is open either for reading or for writing. An object's
// Serialize routine hands each field to SerializeBytes as an address, a byte
// count and a field name; a reader fills the bytes from the stream, a writer
// appends them. Bytes move unchanged (little-endian, the width of the field's
// type), the field name is only a diagnostic and nothing separates fields.
//
// Three streams exist: KFileSerializer (a file it opens by name and owns),
// KFilePointerSerializer (a FILE* the caller opened and keeps) and
// KMemSerializer (a growable byte buffer). Callers hold them as KSerializer*
// and delete them through it.
//
// Errors. Transfers and the position stack report by throwing
// Corvane::Lumora::Exception with the error code; the factories,
// GetNextObjectType, GetData and GetCurrentPos store the code in the thread's
// error word instead. Serializers never trace: the archive operation that
// uses one traces the failure under its own name. The destructors and Close
// never clear the error word, so deleting a serializer after a failure keeps
// the failure's code.
//
// Choices of ours where behaviour is otherwise open:
// - File offsets are 64-bit internally (fseeko/ftello), so archives larger
//   than 2 GiB read and write correctly. GetCurrentPos returns an unsigned
//   32-bit value: past 4 GiB - 1 it returns 0xFFFFFFFF and stores 1007.
// - PopAndApplyStreamPos and PopAndForgetStreamPos on an empty stack do
//   nothing.
// - A closed KFileSerializer (and a KFilePointerSerializer over a null
//   stream) is neither reading nor writing, IsEOS is true, GetCurrentPos
//   returns 0 and stores 1116, and every transfer or PushStreamPos raises
//   1116. Close of a file whose final flush fails stores 1106.
// - A memory read past the end of the buffer raises 1103 and copies nothing;
//   the read position stays where it was. A memory buffer holds at most
//   0xFFFFFFFF bytes (its positions are 32-bit): a write beyond raises 1303,
//   as does a failed allocation.
// - SerializeBytes with a null address and a non-zero size raises 1011; a
//   null destination for GetData or null bytes for CreateMemoryReader store
//   1011.
// - A path holding an embedded zero, or naming a directory to read, is
//   refused with 1102. DontOverwrite creates the file exclusively, so an
//   existing file is never truncated, even one we may not read.
// - In Append mode the C library appends every write at the end of the file,
//   so rewinding a writer with PopAndApplyStreamPos does not overwrite bytes.
// - GetNextObjectType returns the header's type byte as its unsigned value
//   (1 to 255), so a stored type can never be mistaken for -1. A well-formed
//   header carrying type 0 is refused with 1105, because 0 means "no further
//   object". It always leaves the position stack as it found it.
// - A stream whose end cannot be measured (a pipe) reports IsEOS by peeking
//   one byte.
#ifndef LUMORA_SERIALIZER_H
#define LUMORA_SERIALIZER_H

#include <lumora/export.h>
#include <lumora/object_type.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class KOpaqueSerializer;
class KSerializer;

namespace lumora::detail {
// Internal to the library: the bytes a reading serializer can still deliver,
// or -1 when that cannot be told. The archive uses it to refuse hostile
// lengths and sizes before allocating for them.
int64_t BytesLeft(const KSerializer& serializer);
}  // namespace lumora::detail

class LUMORA_API KSerializer : public KObjectTypes {
public:
    // What CreateFileWriter does with an existing file; any other value
    // behaves as Overwrite.
    enum FileWriterMode : int {
        DontOverwrite = 0,  // refused with 1115
        Overwrite = 1,      // truncated and rewritten
        Append = 2,         // new bytes go after the old ones
    };

    // Each returns a new serializer owned by the caller, or null with the
    // code in the thread's error word (a library failure's own code, 1303
    // when memory runs out, 32767 for anything else).
    static KSerializer* CreateFileReader(const std::string& path);
    static KSerializer* CreateFileReader(const std::basic_string<unsigned short>& path);
    static KSerializer* CreateFileWriter(const std::string& path, FileWriterMode mode);
    static KSerializer* CreateFileWriter(const std::basic_string<unsigned short>& path, FileWriterMode mode);
    // A reader over its own copy of the size bytes at data; the caller may
    // free its bytes at once.
    static KSerializer* CreateMemoryReader(unsigned char* data, unsigned int size);
    static KSerializer* CreateMemoryWriter();

    // Peeks at the next object's header without consuming it: the type code,
    // END_OF_STREAM at the end, or OBJECT_FAILURE with the code stored (1113
    // on a writer, 1105 for a wrong signature or checksum, 1112 for a foreign
    // exception). The stream position is restored in every case.
    virtual ObjectType GetNextObjectType();
    virtual void Close();
    // 1 only for a serializer over the caller's FILE*.
    virtual int IsFile() const;
    // Copies the serialized bytes to destination; only memory serializers
    // have them (others store 1003 and return 0).
    virtual unsigned int GetData(unsigned char* destination, unsigned int capacity);
    virtual unsigned int GetCurrentPos();
    virtual ~KSerializer() = 0;

    int IsReading() const;
    int IsWriting() const;
    int IsEOS() const;
    void PushStreamPos();
    void PopAndForgetStreamPos();
    void PopAndApplyStreamPos();

    KSerializer(const KSerializer&) = delete;
    KSerializer& operator=(const KSerializer&) = delete;

protected:
    explicit KSerializer(KOpaqueSerializer* implementation) : m_pImplementation(implementation) {}

private:
    KOpaqueSerializer* m_pImplementation;
};

// The implementation base: every concrete serializer points the interface's
// implementation at itself.
class LUMORA_API KOpaqueSerializer : public KSerializer {
public:
    ObjectType GetNextObjectType() override;
    void Close() override = 0;

    // Moves size bytes between data and the stream in the serializer's
    // direction and returns size; throws on failure.
    virtual unsigned int SerializeBytes(void* data, unsigned int size, const char* fieldName) = 0;
    virtual int IsWriting() const = 0;
    virtual int IsEOS() const = 0;
    virtual int IsReading() const = 0;
    virtual void PushStreamPos() = 0;
    virtual void PopAndForgetStreamPos() = 0;
    virtual void PopAndApplyStreamPos() = 0;

protected:
    KOpaqueSerializer() : KSerializer(this) {}
    ~KOpaqueSerializer() override;
};

// A file opened by name and owned; made by CreateFileReader and
// CreateFileWriter.
class LUMORA_API KFileSerializer : public KOpaqueSerializer {
public:
    // Closes the file; a second Close does nothing.
    void Close() override;
    unsigned int GetCurrentPos() override;
    ~KFileSerializer() override;

    unsigned int SerializeBytes(void* data, unsigned int size, const char* fieldName) override;
    int IsWriting() const override;
    int IsEOS() const override;
    int IsReading() const override;
    void PushStreamPos() override;
    void PopAndForgetStreamPos() override;
    void PopAndApplyStreamPos() override;

private:
    friend class KSerializer;
    friend int64_t lumora::detail::BytesLeft(const KSerializer& serializer);
    KFileSerializer();
    // The factories' common path: exactly one of the two paths is given.
    static KSerializer* Open(const std::string* narrowPath, const std::basic_string<unsigned short>* widePath,
                             int32_t writing, FileWriterMode mode);
    void OpenReading(const std::string* narrowPath, const std::basic_string<unsigned short>* widePath);
    void OpenWriting(const std::string* narrowPath, const std::basic_string<unsigned short>* widePath,
                     FileWriterMode mode);

    FILE* m_pFile;
    int64_t m_n64FileSize;  // measured when opened for reading; -1 if unknown
    int32_t m_n32Writing;
    std::vector<int64_t> m_an64Positions;
};

// A stream the caller opened and keeps: never closed here, and left
// positioned after the last byte transferred.
class LUMORA_API KFilePointerSerializer : public KOpaqueSerializer {
public:
    KFilePointerSerializer(FILE* stream, int writing);

    void Close() override;
    int IsFile() const override;
    unsigned int GetCurrentPos() override;
    ~KFilePointerSerializer() override;

    unsigned int SerializeBytes(void* data, unsigned int size, const char* fieldName) override;
    int IsWriting() const override;
    int IsEOS() const override;
    int IsReading() const override;
    void PushStreamPos() override;
    void PopAndForgetStreamPos() override;
    void PopAndApplyStreamPos() override;

private:
    friend int64_t lumora::detail::BytesLeft(const KSerializer& serializer);
    FILE* m_pStream;
    int32_t m_n32Writing;
    std::vector<int64_t> m_an64Positions;
    int64_t m_n64EndOffset;  // measured at construction when reading; -1 if unknown
};

// A growable byte buffer. The position stack works only while reading.
class LUMORA_API KMemSerializer : public KOpaqueSerializer {
public:
    // An empty buffer, reading, at position 0.
    KMemSerializer();

    // Replaces the buffer by a copy of bytes and reads it from position 0;
    // on allocation failure stores 1303 and reads an empty buffer.
    void OpenReader(const std::vector<unsigned char>& bytes);
    // Empties the buffer and starts writing at position 0.
    void OpenWriter();
    // The bytes written so far, or the bytes being read.
    const std::vector<unsigned char>& GetBuffer() const;

    void Close() override;
    // Copies the whole buffer if it fits in capacity and returns its length;
    // otherwise stores 1302 and returns 0.
    unsigned int GetData(unsigned char* destination, unsigned int capacity) override;
    // The buffer length, not the read position.
    unsigned int GetCurrentPos() override;
    ~KMemSerializer() override;

    unsigned int SerializeBytes(void* data, unsigned int size, const char* fieldName) override;
    int IsWriting() const override;
    int IsEOS() const override;
    int IsReading() const override;
    void PushStreamPos() override;
    void PopAndForgetStreamPos() override;
    void PopAndApplyStreamPos() override;

private:
    friend class KSerializer;
    friend int64_t lumora::detail::BytesLeft(const KSerializer& serializer);

    std::vector<unsigned char> m_aun8Buffer;
    uint32_t m_un32ReadPos;
    uint8_t m_un8Writing;
    std::vector<uint32_t> m_aun32SavedPositions;
};

#endif
