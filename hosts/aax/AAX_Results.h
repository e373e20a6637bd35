#pragma once

#include <cstdint>

/** The result of almost every operation across the AAX boundary: 0 is success, anything else a failure. */
using ResultCode = std::int32_t;

constexpr ResultCode resultSuccess           = 0;
constexpr ResultCode resultUnknownParameter  = -20001;
constexpr ResultCode resultConversionFailed  = -20002;
constexpr ResultCode resultHostObjectMissing = -20004;
constexpr ResultCode resultBadChunkIndex     = -20006;
constexpr ResultCode resultBadChunkId        = -20007;
constexpr ResultCode resultBadChunkSize      = -20008;
constexpr ResultCode resultNotAvailable      = -20009;
constexpr ResultCode resultNotInitialized    = -20011;
constexpr ResultCode resultStepCountOverflow = -20033;
constexpr ResultCode resultChunkOverflow     = -333;

// The component-object layer's own codes have the top bit set.
constexpr ResultCode resultNoInterface = static_cast<ResultCode> (0x80000004u);
constexpr ResultCode resultNullPointer = static_cast<ResultCode> (0x80000005u);
constexpr ResultCode resultUnexpected  = static_cast<ResultCode> (0x8000FFFFu);
