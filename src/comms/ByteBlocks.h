#pragma once
// Walks the bytes of a text in blocks of a fixed size, then the few left
// over: a loop over a known number of bytes is one the compiler turns into a
// handful of vector instructions, where a byte-by-byte loop over a line of
// any length stays byte by byte. The readers look at every byte of files of
// many megabytes.

#include <cstddef>
#include <string_view>

namespace veltra::comms {

template <class Take>
void ForEachByteInBlocks(std::string_view text, Take&& take) {
  constexpr std::size_t Block = 16;
  std::size_t at = 0;
  for (; at + Block <= text.size(); at += Block)
    for (std::size_t i = 0; i < Block; ++i) take(text[at + i]);
  for (; at < text.size(); ++at) take(text[at]);
}

}  // namespace veltra::comms
