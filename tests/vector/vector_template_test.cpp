#include <lumora/errors.h>
#include <lumora/vector.h>

#include "support/message_box_capture.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define LUMORA_TEST_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LUMORA_TEST_UNDER_ASAN 1
#endif
#endif

namespace {

using UIntVector = KVectorTemplate<unsigned int>;
using Values = std::vector<unsigned int>;

// After the pointer to the virtual table: four 32-bit words, then T*.
static_assert(sizeof(KVectorTemplate<KRun>) == sizeof(void*) + 16 + sizeof(void*), "object layout");

// "capacity: elements", to compare the whole of a vector in one line.
std::string State(const UIntVector& v) {
    std::string state = std::to_string(v.GetMaxElements()) + ":";
    for (unsigned int i = 0; i < v.GetNumElements(); ++i) {
        state += " " + std::to_string(v.GetDataPtr()[i]);
    }
    return state;
}

UIntVector Filled(const Values& values) {
    UIntVector v;
    for (unsigned int value : values) {
        v.AddElement(value);
    }
    return v;
}

int Greater(const unsigned int& a, const unsigned int& b) { return a > b; }

// Every test starts with a clear error word and sees the traced names.
class VectorTemplate : public ::testing::Test {
protected:
    void SetUp() override {
        KSetTraceMode(K_TRACE_MESSAGE_BOX);
        KOk();
    }
    bool LastTraceIs(const std::string& name) { return boxes.Boxes().back().text.rfind(name + "\n", 0) == 0; }
    MessageBoxCapture boxes;
};

TEST_F(VectorTemplate, CapacityRules) {
    UIntVector v;
    EXPECT_EQ(State(v), "0:");
    const unsigned int expected[] = {1, 2, 4, 4, 8, 8, 8, 8, 16};
    for (unsigned int i = 0; i < 9; ++i) {
        v.AddElement(i * 10);
        EXPECT_EQ(v.GetMaxElements(), expected[i]) << "after " << i + 1 << " elements";
    }
    EXPECT_EQ(State(v), "16: 0 10 20 30 40 50 60 70 80");
    UIntVector pair = Filled({7, 8});
    pair.AddElementByRef(pair[0]);  // growth frees the array the reference points into
    EXPECT_EQ(State(pair), "4: 7 8 7");
    EXPECT_EQ(KGetError(), 0);

    KVectorTemplate<KRun> runs(3);  // the sized constructor zeroes every byte
    const auto* bytes = reinterpret_cast<const unsigned char*>(runs.GetDataPtr());
    EXPECT_TRUE(std::all_of(bytes, bytes + 3 * sizeof(KRun), [](unsigned char b) { return b == 0; }));
    EXPECT_EQ(KVectorTemplate<KC24>(0).GetDataPtr(), nullptr);

    v = Filled({1, 2, 3});
    v.SetMaxElements(3, 0);
    EXPECT_EQ(State(v), "3: 1 2 3") << "the same capacity keeps even without keep";
    v.SetMaxElements(2, 1);
    EXPECT_EQ(State(v), "2: 1 2") << "keep shrinks to the first elements";
    v.SetMaxElements(6, 1);
    EXPECT_EQ(State(v), "6: 1 2");
    v.SetMaxElements(10, 0);
    EXPECT_EQ(State(v), "10:") << "another capacity without keep empties";
    v.SetMaxElements(0, 1);
    EXPECT_EQ(v.GetDataPtr(), nullptr);

    v = Filled({1, 2, 3, 4, 5});
    v.AddElement(6);  // doubles the copy's capacity of 5
    const unsigned int* array = v.GetDataPtr();
    v.SetNumElements(0);
    v.SetNumElements(10);
    EXPECT_EQ(v.GetDataPtr(), array) << "a count up to the capacity keeps the array";
    v.SetNumElements(6);
    EXPECT_EQ(State(v), "10: 1 2 3 4 5 6") << "the array kept its bytes";
    v.SetNumElements(11);
    EXPECT_EQ(v.GetNumElements(), 11u);
    EXPECT_EQ(v.GetMaxElements(), 11u) << "grows to exactly n";
    EXPECT_EQ(v[5], 6u);
    EXPECT_EQ(KGetError(), 0);
}

TEST_F(VectorTemplate, RemoveAndOutOfRangeIndices) {
    UIntVector v = Filled({10, 20, 30});
    v.RemoveElement(3);
    EXPECT_EQ(KGetError(), K_ERROR_PARAMETER_1_OUT_OF_RANGE);
    EXPECT_TRUE(LastTraceIs("Function: KVector::RemoveElement"));
    v.RemoveElement(0);
    EXPECT_EQ(State(v), "4: 20 30");
    v.RemoveElement(1);
    EXPECT_EQ(State(v), "4: 20");

    v.AddElement(60);
    KOk();
    v[static_cast<unsigned int>(-1)] = 99;  // the bit pattern of -1, unsigned
    EXPECT_EQ(KGetError(), K_ERROR_PARAMETER_1_OUT_OF_RANGE);
    v[2] = 98;  // past the count, within the capacity
    EXPECT_TRUE(LastTraceIs("Function: KVector::operator[]"));
    KOk();
    EXPECT_EQ(v.GetElement(-1), 0u) << "the zero value, whatever was written out of range";
    EXPECT_EQ(KGetError(), K_ERROR_PARAMETER_1_OUT_OF_RANGE);
    v.SetElement(2, 77);
    v.SetElement(-1, 77);
    v.SetElement(1, 61);
    EXPECT_EQ(boxes.Count(), 6u) << "each out-of-range call traced once";
    EXPECT_EQ(State(v), "4: 20 61");
    const KRun run = KVectorTemplate<KRun>().GetElement(0);
    EXPECT_TRUE(!run.pBeg && !run.pEnd && run.n16X == 0 && run.n16Y == 0);
}

TEST_F(VectorTemplate, CopiesAreDeepAndSizedToTheCount) {
    UIntVector source = Filled({1, 2, 3});
    source.SetMaxElements(8, 1);
    UIntVector constructed(source);
    UIntVector assigned = Filled({9, 9, 9, 9, 9});
    assigned = source;
    UIntVector* heap = source.CopyTo(nullptr);
    ASSERT_NE(heap, nullptr);
    for (const UIntVector* copy : {&constructed, &assigned, heap}) {
        EXPECT_EQ(State(*copy), "3: 1 2 3");
        EXPECT_NE(copy->GetDataPtr(), source.GetDataPtr());
    }
    delete heap;
    EXPECT_EQ(source.CopyTo(&source), &source);
    source = static_cast<const UIntVector&>(source);
    EXPECT_EQ(State(source), "8: 1 2 3");
    assigned = UIntVector();
    EXPECT_EQ(assigned.GetDataPtr(), nullptr);
}

TEST_F(VectorTemplate, SiftReplacesTheRootOfAMaxHeap) {
    UIntVector v = Filled({9, 5, 7});
    v.Sift(6, Greater);
    EXPECT_EQ(State(v), "4: 7 5 6");
    v = Filled({5, 9, 7});
    v.Sift(v[0], Greater);  // the value is an element the loop moves
    EXPECT_EQ(State(v), "3: 9 5 7");
    v.SetNumElements(2);  // the 7 past the count is no child
    v.Sift(1, Greater);
    EXPECT_EQ(State(v), "3: 5 1");
    v.Empty();
    v.Sift(3, Greater);
    EXPECT_EQ(v.GetDataPtr()[0], 3u) << "an empty vector takes the value at index 0";
    UIntVector().Sift(3, Greater);  // no array to write to

    // Popping a heap gives its elements in order at any depth: both children,
    // ties and the childless last level.
    Values values(200), popped;
    std::generate(values.begin(), values.end(), [i = 0u]() mutable { return i++ * 37 % 50; });
    std::make_heap(values.begin(), values.end());
    UIntVector heap = Filled(values);
    for (unsigned int n = heap.GetNumElements(); n > 0; --n) {
        popped.push_back(heap[0]);
        heap.SetNumElements(n - 1);
        heap.Sift(heap.GetDataPtr()[n - 1], Greater);
    }
    std::sort(values.rbegin(), values.rend());
    EXPECT_EQ(popped, values);
}

// Growth that cannot be had leaves the vector as it was. Run in a child
// process whose address space is capped, so the allocation fails on any
// machine; the sanitizer allocator reserves more than the cap allows.
[[maybe_unused]] [[noreturn]] void FailGrowthUnderACappedAddressSpace() {
    const rlimit limit{rlim_t{4} << 30, rlim_t{4} << 30};
    setrlimit(RLIMIT_AS, &limit);
    MessageBoxCapture boxes;
    KSetTraceMode(K_TRACE_MESSAGE_BOX);
    KOk();
    KVectorTemplate<KRun> huge(0xFFFFFFFFu);
    bool ok = KGetError() == K_ERROR_ALLOCATION && huge.GetMaxElements() == 0 && boxes.Count() == 0;
    KVectorTemplate<KRun> runs(2);
    const KRun* array = runs.GetDataPtr();
    runs.SetMaxElements(0xFFFFFFFFu, 1);
    ok = ok && KGetError() == K_ERROR_ALLOCATION && runs.GetDataPtr() == array && runs.GetMaxElements() == 2;
    KOk();
    runs.SetNumElements(0xFFFFFFFFu);
    ok = ok && KGetError() == K_ERROR_ALLOCATION && runs.GetNumElements() == 2;
    const auto shown = boxes.Boxes();
    ok = ok && shown.size() == 2 && shown[0].text.rfind("Function: KVector::SetMaxElements\n", 0) == 0 &&
         shown[1].text.rfind("Function: KVector::SetNumElements\n", 0) == 0;
    std::_Exit(ok ? 0 : 1);
}

TEST(VectorTemplateAllocation, FailedGrowthSets1303AndChangesNothing) {
#ifdef LUMORA_TEST_UNDER_ASAN
    GTEST_SKIP() << "address space cannot be capped under AddressSanitizer";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(FailGrowthUnderACappedAddressSpace(), ::testing::ExitedWithCode(0), "");
#endif
}

}  // namespace
