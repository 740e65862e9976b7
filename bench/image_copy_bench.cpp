// Copying an owning 4096 x 4096 KImage<KBW8> against memcpy of the same
// bytes, in one run. Reported: bytes per second of each; their ratio is the
// figure of merit (the image copy should reach at least 0.9 of memcpy).
#include <lumora/image.h>

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

constexpr int kSide = 4096;

void BM_ImageCopy_KBW8_4096(benchmark::State& state) {
    KImage<KBW8> source(kSide, kSide);
    std::memset(source.GetGenericImagePtr(0, 0), 0x5A, static_cast<size_t>(source.GetImgPitch()));
    KImage<KBW8> dest;
    for (auto _ : state) {
        source.CopyTo(&dest, 0);
        benchmark::DoNotOptimize(dest.GetGenericImagePtr(0, 0));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(source.GetImgPitch()));
}
BENCHMARK(BM_ImageCopy_KBW8_4096)->Unit(benchmark::kMillisecond);

// The reference: memcpy of the same bytes into a destination that exists.
void BM_Memcpy_4096x4096(benchmark::State& state) {
    const size_t bytes = static_cast<size_t>(KImage<KBW8>(kSide, 1).GetRowPitch()) * kSide;
    std::vector<unsigned char> source(bytes, 0x5A);
    std::vector<unsigned char> dest(bytes, 0);
    for (auto _ : state) {
        std::memcpy(dest.data(), source.data(), bytes);
        benchmark::DoNotOptimize(dest.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}
BENCHMARK(BM_Memcpy_4096x4096)->Unit(benchmark::kMillisecond);

// An unchanged size must cost nothing measurable.
void BM_SetSize_Unchanged(benchmark::State& state) {
    KImage<KBW8> image(kSide, kSide);
    for (auto _ : state) {
        image.SetSize(kSide, kSide);
        benchmark::DoNotOptimize(image.GetGenericImagePtr(0, 0));
    }
}
BENCHMARK(BM_SetSize_Unchanged);

}  // namespace
