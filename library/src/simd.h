// Which vector instructions the block scan and the row cleaning use. SSE2 is always there on
// x86-64; AVX2 (the scan) and SSSE3 (the cleaning) are taken when the processor has them, and
// the tests run both ways.
#pragma once

namespace orvek::detail {

enum class Simd { kBest, kSse2 };

// kBest: true when the processor has AVX2, POPCNT and BMI.
bool UseAvx2(Simd simd);

}  // namespace orvek::detail
