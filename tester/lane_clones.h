// Functions whose loops run on vector lanes are built twice on x86-64, with AVX-512 (sixteen
// 32-bit lanes in one register) and without, and the loader picks; elsewhere once.
#pragma once

namespace zentrope {

#if defined(__x86_64__) && defined(__GNUC__)
#define ZENTROPE_LANE_CLONES [[gnu::target_clones("avx512f", "default")]]
inline bool WideLanes() {
    return __builtin_cpu_supports("avx512f");
}
#else
#define ZENTROPE_LANE_CLONES
inline bool WideLanes() {
    return false;
}
#endif

} // namespace zentrope
