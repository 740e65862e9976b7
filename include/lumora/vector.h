// Typed vectors: KVectorTemplate<T>, the growable array of plain elements
// behind profiles, look-up tables, the run lists of ROI masks and lists of
// offsets.
//
// The capacity doubles as elements are appended (0, 1, 2, 4, 8, ...) and never
// shrinks by appending or removing. Failures are reported through the calling
// thread's error word and traced; nothing throws. Only the file operations
// clear the error word at entry: the others may leave an earlier code in place
// when they succeed, so a caller that tests the word after them clears it
// first (KOk).
//
// Vector files: a 4-byte header ('K', type code, version, the XOR of the three)
// then the body that Serialize writes: the count as 32 bits little-endian and
// the elements at their file size (KC24 3 bytes, KRun 12 bytes: the low 32
// bits of each pointer, then the two coordinates).
//
// The template is instantiated in the library for KBW8, KBW16, KBW32, KC24,
// KINT32, KRun and unsigned int, and for no other element type.
#ifndef LUMORA_VECTOR_H
#define LUMORA_VECTOR_H

#include <lumora/export.h>
#include <lumora/pixel.h>

#include <cstdint>
#include <cstdio>

template <class T>
class LUMORA_API KVectorTemplate {
public:
    // compare(a, b) non-zero means that a belongs nearer the heap's root.
    typedef int (*CompareFunction)(const T& a, const T& b);

    // Empty: no elements, no array.
    KVectorTemplate();
    // n elements, every byte zero. If the array cannot be allocated the error
    // word holds 1303 and the vector is empty.
    explicit KVectorTemplate(unsigned int n);
    // Deep copies through CopyTo: the copy's capacity is the source's count.
    KVectorTemplate(const KVectorTemplate& other);
    KVectorTemplate& operator=(const KVectorTemplate& other);
    virtual ~KVectorTemplate();

    // The body of a vector file on an open stream, left open after what was
    // read or written: save non-zero writes, zero reads. Clears the error word,
    // then sets 1104 on a short write, 1103 on a short read or a count that
    // the rest of a seekable stream cannot hold, 1303 when the count cannot be
    // allocated. Reading replaces the elements; a failure may leave the count
    // changed and the elements partly read. The version does not change the
    // layout.
    virtual void Serialize(FILE* stream, int save, unsigned int version);

    unsigned int GetNumElements() const { return m_un32NumElements; }
    unsigned int GetMaxElements() const { return m_un32MaxElements; }
    T* GetDataPtr() const { return m_pData; }

    // The element at index; past the count, sets 1011 and returns a shared
    // scratch element whose value means nothing.
    T& operator[](unsigned int index) const {
        if (index < m_un32NumElements) {
            return m_pData[index];
        }
        return OutOfRangeElement();
    }
    // Outside [0, count): sets 1011 and returns a zero value.
    T GetElement(int index) const;
    // Outside [0, count): sets 1011 and stores nothing.
    void SetElement(int index, T value);

    // Appends one element, doubling the capacity when it is full. A failed
    // growth (1303) adds nothing.
    void AddElement(T value);
    void AddElementByRef(T& value);
    // Removes the element at index, keeping the order of the others;
    // index >= count sets 1011 and changes nothing.
    void RemoveElement(unsigned int index);
    // Sets the count, growing the capacity to n when needed. Elements between
    // the old and the new count are not initialised.
    void SetNumElements(unsigned int n);
    // Sets the capacity to exactly n. Nothing happens when n is already the
    // capacity; otherwise the first min(count, n) elements are kept when keep
    // is non-zero and the count becomes 0 when it is zero. A failed
    // allocation (1303) leaves the vector as it was.
    void SetMaxElements(unsigned int n, int keep);
    // Count 0; capacity and array are kept.
    void Empty() { m_un32NumElements = 0; }

    // Sift-down step of the binary heap held in the array (children of i at
    // 2i+1 and 2i+2): replaces the root by value. With an empty vector the
    // value goes to index 0, which needs a capacity of at least one; a
    // vector without an array is left alone.
    void Sift(const T& value, CompareFunction compare);

    // Deep copy into target (a new heap vector that the caller owns when
    // target is null; null if that cannot be allocated). The target's
    // capacity becomes the source's count. Returns the target.
    KVectorTemplate* CopyTo(KVectorTemplate* target) const;

    // Vector files by narrow (UTF-8) or UTF-16 path. Codes: 1102 open, 1103
    // read, 1104 write, 1105 header of another member or damaged, 1106 close,
    // 1303 allocation.
    void Save(const char* path);
    void Save(const unsigned short* path);
    void Load(const char* path);
    void Load(const unsigned short* path);

protected:
    uint32_t m_un32Reserved1;
    uint32_t m_un32Reserved2;
    unsigned int m_un32NumElements;
    unsigned int m_un32MaxElements;
    T* m_pData;

private:
    // Sets 1011, traces "KVector::operator[]" and returns the scratch element.
    T& OutOfRangeElement() const;
    // Replaces the array by one of exactly n elements (none when n is 0) as
    // SetMaxElements does, without tracing. Returns false, with 1303 stored and
    // the vector unchanged, when the array cannot be allocated.
    bool Reallocate(unsigned int n, bool keep);
    // Grows a full vector for AddElement; traces a failure as operation.
    bool GrowForAppend(const char* operation);
    void WriteBody(FILE* stream) const;
    void ReadBody(FILE* stream);

    // Target of out-of-range operator[], one per element type.
    static T s_OutOfRangeElement;
};

// The members the library provides; no other instantiation is made.
extern template class LUMORA_API KVectorTemplate<KBW8>;
extern template class LUMORA_API KVectorTemplate<KBW16>;
extern template class LUMORA_API KVectorTemplate<KBW32>;
extern template class LUMORA_API KVectorTemplate<KC24>;
extern template class LUMORA_API KVectorTemplate<KINT32>;
extern template class LUMORA_API KVectorTemplate<KRun>;
extern template class LUMORA_API KVectorTemplate<unsigned int>;

#endif
