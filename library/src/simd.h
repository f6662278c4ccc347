// Which vector instructions the block scan uses. SSE2 is always there on x86-64; AVX2 is
// taken when the processor has it, and the tests run both.
#pragma once

namespace orvek::detail {

enum class Simd { kBest, kSse2 };

// kBest: true when the processor has AVX2, POPCNT and BMI.
bool UseAvx2(Simd simd);

}  // namespace orvek::detail
