#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace lufuzz {

/// Returns a file path of this process's own, in memory where the system offers it; the file is
/// removed when the process exits normally.
const std::string& inputPath();

/// Writes the fuzzer's bytes to path, replacing the file; returns false when it cannot.
bool writeInput(const std::string& path, const uint8_t* data, size_t size);

} // namespace lufuzz
