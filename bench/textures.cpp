// Start-up cost of the procedural textures: the seeded pattern (one
// generator draw per texel) and its relief map, 512 x 512 each, plus the
// CRC-32 summary the --inspect report prints.
#include <benchmark/benchmark.h>

#include "gfx/texture_images.h"

namespace {

void BM_MakeTextureImages(benchmark::State& state) {
    int32_t seed = 1;
    for (auto _ : state) {
        vortel::Generator rng;
        vortel::TextureImages images = vortel::makeTextureImages(seed++, rng);
        benchmark::DoNotOptimize(images.relief.data());
    }
    state.SetItemsProcessed(state.iterations() * 2 * 512 * 512);  // texels
}
BENCHMARK(BM_MakeTextureImages)->Unit(benchmark::kMillisecond);

void BM_ReliefMapOnly(benchmark::State& state) {
    vortel::Generator rng;
    vortel::TextureImages images = vortel::makeTextureImages(7, rng);
    for (auto _ : state) {
        vortel::fillReliefMap(images.pattern.data(), images.relief.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 512 * 512);
}
BENCHMARK(BM_ReliefMapOnly)->Unit(benchmark::kMillisecond);

void BM_TextureSummary(benchmark::State& state) {
    int32_t seed = 1;
    for (auto _ : state) benchmark::DoNotOptimize(vortel::textureSummary(seed++));
}
BENCHMARK(BM_TextureSummary)->Unit(benchmark::kMillisecond);

}  // namespace
