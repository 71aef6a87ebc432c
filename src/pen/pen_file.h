#pragma once
// Pen files (.pen): both current pens with their shape settings as two
// 7072-byte blocks, pen 0 first, no signature. One block holds the shape
// size and centre, the 80 × 80 shape bytes, the 20 slots, the pen record and
// the pen's ten shape settings, all integers 32-bit little-endian.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "pen/pen.h"

namespace nelmora {

inline constexpr size_t kPenBlockSize = 7072;
inline constexpr size_t kPenFileSize = kPenBlockSize * kPenCount;

using PenTable = std::array<Pen*, kPenCount>;
// The shape settings of pen 0 and pen 1.
using ShapeSettingsTable = std::array<ShapeSettings*, kPenCount>;

inline constexpr char kPathSeparator = '/';

// folder + '/' + name; a folder already ending in '/' gets no second one.
std::string joinPath(const std::string& folder, const std::string& name);

// Writes pen n with table[n]. The file is replaced only once complete; on
// failure the old file stays and `error` names the file and the reason.
bool savePenFile(const PenTable& pens, const ShapeSettingsTable& table, const std::string& folder,
                 const std::string& name, std::string* error = nullptr);
// All or nothing: a file that is too short or whose shape sizes do not fit the
// pens' maps changes nothing. The pens keep their map and slot storage; only
// its contents are replaced. Bytes beyond the two blocks are ignored.
bool loadPenFile(const PenTable& pens, const ShapeSettingsTable& table, const std::string& folder,
                 const std::string& name, std::string* error = nullptr);

// The same over bytes. Every pen must own an 80 × 80 map as createPen makes it.
// Empty when a pen, its storage or its settings block is missing.
std::vector<uint8_t> encodePenFile(const PenTable& pens, const ShapeSettingsTable& table);
bool decodePenFile(const uint8_t* data, size_t size, const PenTable& pens, const ShapeSettingsTable& table);

}  // namespace nelmora
