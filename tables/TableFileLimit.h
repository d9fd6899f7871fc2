#pragma once
// The bound on a table file's size, apart from the readers that keep to it: the file
// layer (TextFilePlatform.h) refuses a larger file as it reads, and the tables above
// it (TextFile.h) name the bound in what they report.

#include <cstdint>

// Only regular files up to this size are read; anything else is refused, so a named
// pipe cannot block the editor and a device cannot fill its memory.
inline constexpr std::uint64_t kMaxTableFileBytes = 256ull << 20;
