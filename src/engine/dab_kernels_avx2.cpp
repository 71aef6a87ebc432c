// The AVX2 level: built with -mavx2 and only ever called after the CPU
// reported AVX2. The map sampling gathers eight map bytes at a time; the
// rest is the shared source, vectorised by the compiler.
#include <immintrin.h>

#include <cstdint>
#include <cstring>

#include "engine/dab_kernels.h"

namespace nelmora::kernels_avx2 {
namespace {

// Each byte is read as the aligned 32-bit word that holds it, so a gather
// never crosses a page the map does not occupy.
void sampleMapAvx2(const uint8_t* map, int32_t stride, int32_t u, int32_t v, int32_t du, int32_t dv,
                   int32_t count, uint8_t* out)
{
    const int32_t misalign = int32_t(reinterpret_cast<uintptr_t>(map) & 3);
    const int* words = reinterpret_cast<const int*>(map - misalign);
    const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    __m256i uu = _mm256_add_epi32(_mm256_set1_epi32(u), _mm256_mullo_epi32(lanes, _mm256_set1_epi32(du)));
    __m256i vv = _mm256_add_epi32(_mm256_set1_epi32(v), _mm256_mullo_epi32(lanes, _mm256_set1_epi32(dv)));
    const __m256i stepU = _mm256_set1_epi32(int32_t(uint32_t(du) * 8u));
    const __m256i stepV = _mm256_set1_epi32(int32_t(uint32_t(dv) * 8u));
    const __m256i strideLanes = _mm256_set1_epi32(stride), offset = _mm256_set1_epi32(misalign);
    // Byte 0 of each 32-bit lane to the low four bytes of each 128-bit half.
    const __m256i firstBytes = _mm256_setr_epi8(0, 4, 8, 12, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 0, 4, 8,
                                                12, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1);
    int32_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i at = _mm256_add_epi32(
            _mm256_add_epi32(_mm256_mullo_epi32(_mm256_srai_epi32(vv, 8), strideLanes), _mm256_srai_epi32(uu, 8)),
            offset);
        const __m256i word = _mm256_i32gather_epi32(words, _mm256_srli_epi32(at, 2), 4);
        const __m256i shift = _mm256_slli_epi32(_mm256_and_si256(at, _mm256_set1_epi32(3)), 3);
        const __m256i bytes = _mm256_shuffle_epi8(_mm256_srlv_epi32(word, shift), firstBytes);
        const uint32_t low = uint32_t(_mm256_cvtsi256_si32(bytes));
        const uint32_t high = uint32_t(_mm256_extract_epi32(bytes, 4));
        std::memcpy(out + i, &low, 4);
        std::memcpy(out + i + 4, &high, 4);
        uu = _mm256_add_epi32(uu, stepU);
        vv = _mm256_add_epi32(vv, stepV);
    }
    for (; i < count; ++i) {
        const int32_t mu = int32_t(uint32_t(u) + uint32_t(i) * uint32_t(du)) >> 8;
        const int32_t mv = int32_t(uint32_t(v) + uint32_t(i) * uint32_t(dv)) >> 8;
        out[i] = map[mv * stride + mu];
    }
}

}  // namespace
}  // namespace nelmora::kernels_avx2

#define NELMORA_KERNEL_NS kernels_avx2
#define NELMORA_KERNEL_LEVEL SimdLevel::avx2
#define NELMORA_KERNEL_SAMPLE sampleMapAvx2
#include "engine/dab_kernels_impl.h"
