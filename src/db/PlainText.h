#pragma once
// Small text tests shared by every layer. Texts are UTF-8; case is folded for
// ASCII letters only, as the database's NOCASE comparison does, whatever
// locale the desktop has set.

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace veltra::db {

constexpr bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// In blocks of 16 bytes OR-ed together: a loop of a known length the compiler
// turns into a few vector instructions, where stopping at the first high byte
// stays byte by byte. Every line of an export goes through here.
constexpr bool IsAscii(std::string_view text) {
  constexpr std::size_t Block = 16;
  std::size_t at = 0;
  unsigned char high = 0;
  for (; at + Block <= text.size() && high < 0x80; at += Block)
    for (std::size_t i = 0; i < Block; ++i) high |= static_cast<unsigned char>(text[at + i]);
  if (high >= 0x80) return false;
  for (; at < text.size(); ++at) high |= static_cast<unsigned char>(text[at]);
  return high < 0x80;
}

constexpr char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

// The number of characters: every byte but the continuation bytes.
constexpr std::size_t Utf8Length(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

}  // namespace veltra::db
