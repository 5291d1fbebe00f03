#pragma once
// What the fuzzers take from their input: choices and numbers through FuzzedDataProvider, and
// texts as UTF-16, two bytes a code unit (low byte first), so that NULs, lone surrogates and long
// digit runs all occur.
#include <fuzzer/FuzzedDataProvider.h>

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace fuzzinput {

// A failed property ends the run as a crash, which the fuzzer reports with its input.
inline void Check(bool ok) {
  if (!ok)
    std::abort();
}

inline std::u16string Utf16Of(const std::vector<std::uint8_t>& bytes) {
  std::u16string text(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  return text;
}

// Up to `units` code units of text.
inline std::u16string ConsumeUtf16(FuzzedDataProvider& input, std::size_t units) {
  return Utf16Of(input.ConsumeBytes<std::uint8_t>(2 * units));
}

// The rest of the input as text.
inline std::u16string ConsumeRemainingUtf16(FuzzedDataProvider& input) {
  return Utf16Of(input.ConsumeRemainingBytes<std::uint8_t>());
}

// Any double, NaNs, infinities and subnormals included.
inline double ConsumeAnyDouble(FuzzedDataProvider& input) {
  return std::bit_cast<double>(input.ConsumeIntegral<std::uint64_t>());
}

}  // namespace fuzzinput
