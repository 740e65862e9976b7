// Saving and loading a 4096 x 4096 KImage<KBW8> through a file serializer
// against plain fwrite and fread of the same number of bytes, in the same
// run and the same (temporary) directory. The figure of merit is the ratio
// of each archive operation's time to its plain counterpart (target: within
// 1.2x).
#include <lumora/image.h>
#include <lumora/serializer.h>

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kSide = 4096;

std::string ScratchPath(const char* name) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/lumora_archive_bench_" + name + "_" +
           std::to_string(getpid());
}

KImage<KBW8>& Source() {
    static KImage<KBW8>* image = [] {
        auto* made = new KImage<KBW8>(kSide, kSide);
        for (int y = 0; y < kSide; ++y) {
            auto* row = static_cast<unsigned char*>(made->GetGenericImagePtr(0, y));
            for (int x = 0; x < kSide; ++x) {
                row[x] = static_cast<unsigned char>(x ^ y);
            }
        }
        return made;
    }();
    return *image;
}

int64_t ArchiveBytes() { return static_cast<int64_t>(Source().GetRowPitch()) * kSide; }

void SaveArchive(const std::string& path) {
    KSerializer* writer = KSerializer::CreateFileWriter(path, KSerializer::Overwrite);
    Source().Save(writer);
    delete writer;
}

void BM_ArchiveSave_KBW8_4096(benchmark::State& state) {
    const std::string path = ScratchPath("save");
    for (auto _ : state) {
        SaveArchive(path);
    }
    if (KFailure()) {
        state.SkipWithError("save failed");
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(state.iterations() * ArchiveBytes());
}
BENCHMARK(BM_ArchiveSave_KBW8_4096)->Unit(benchmark::kMillisecond);

void BM_PlainFwrite_4096x4096(benchmark::State& state) {
    const std::string path = ScratchPath("fwrite");
    const std::vector<unsigned char> bytes(static_cast<size_t>(ArchiveBytes()), 0x5A);
    for (auto _ : state) {
        FILE* file = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(state.iterations() * ArchiveBytes());
}
BENCHMARK(BM_PlainFwrite_4096x4096)->Unit(benchmark::kMillisecond);

void BM_ArchiveLoad_KBW8_4096(benchmark::State& state) {
    const std::string path = ScratchPath("load");
    SaveArchive(path);
    KImage<KBW8> loaded;
    for (auto _ : state) {
        KSerializer* reader = KSerializer::CreateFileReader(path);
        loaded.Load(reader);
        delete reader;
        benchmark::DoNotOptimize(loaded.GetGenericImagePtr(0, 0));
    }
    if (KFailure() || loaded.GetWidth() != kSide) {
        state.SkipWithError("load failed");
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(state.iterations() * ArchiveBytes());
}
BENCHMARK(BM_ArchiveLoad_KBW8_4096)->Unit(benchmark::kMillisecond);

// The reference reads the same bytes into a buffer allocated for each read,
// as the load allocates the image's buffer afresh.
void BM_PlainFread_4096x4096(benchmark::State& state) {
    const std::string path = ScratchPath("fread");
    SaveArchive(path);
    const size_t size = static_cast<size_t>(ArchiveBytes());
    for (auto _ : state) {
        FILE* file = std::fopen(path.c_str(), "rb");
        auto* bytes = static_cast<unsigned char*>(std::malloc(size));
        const size_t got = std::fread(bytes, 1, size, file);
        std::fclose(file);
        benchmark::DoNotOptimize(bytes);
        benchmark::DoNotOptimize(got);
        std::free(bytes);
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(state.iterations() * ArchiveBytes());
}
BENCHMARK(BM_PlainFread_4096x4096)->Unit(benchmark::kMillisecond);

}  // namespace
