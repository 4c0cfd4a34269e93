#include "comms/Windows1252.h"

#include <iconv.h>

#include <array>
#include <cerrno>

namespace veltra::comms {

struct Windows1252Codec::Converter {
  iconv_t handle;
  Converter(const char* to, const char* from) : handle(iconv_open(to, from)) {}
  ~Converter() {
    if (valid()) iconv_close(handle);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool valid() const { return handle != reinterpret_cast<iconv_t>(-1); }
};

Windows1252Codec::Windows1252Codec()
    : toUtf8_(std::make_unique<Converter>("UTF-8", "WINDOWS-1252")),
      fromUtf8_(std::make_unique<Converter>("WINDOWS-1252", "UTF-8")) {}

Windows1252Codec::~Windows1252Codec() = default;

namespace {

// ASCII is the same on both sides, and the accented letters of the files lie
// in 0xA0-0xFF, where Windows-1252 is Latin-1: U+00A0-U+00FF, two UTF-8
// bytes lead by 0xC2 or 0xC3. Those are converted here; anything else (the
// euro, the curly quotes, a byte Windows-1252 leaves undefined, invalid
// UTF-8) is left to iconv.
constexpr unsigned char FirstLatinHalf = 0xA0;

// The ASCII from start on, as far as it goes: it is copied in one piece.
std::size_t asciiEnd(std::string_view text, std::size_t start) {
  while (start < text.size() && static_cast<unsigned char>(text[start]) < 0x80) ++start;
  return start;
}

// Copies the ASCII runs of text whole and hands the rest at each other byte
// to convert, which appends its conversion and returns how many bytes it
// took, or 0 when it cannot convert them.
template <class Convert>
bool appendConverting(std::string_view text, std::string& out, Convert convert) {
  out.reserve(out.size() + text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t ascii = asciiEnd(text, i);
    out.append(text.substr(i, ascii - i));
    if (ascii == text.size()) break;
    const std::size_t taken = convert(text.substr(ascii), out);
    if (taken == 0) return false;
    i = ascii + taken;
  }
  return true;
}

bool appendLatinUtf8(std::string_view bytes, std::string& out) {
  return appendConverting(bytes, out, [](std::string_view rest, std::string& to) -> std::size_t {
    const auto byte = static_cast<unsigned char>(rest[0]);
    if (byte < FirstLatinHalf) return 0;
    to += static_cast<char>(0xC0 | (byte >> 6));
    to += static_cast<char>(0x80 | (byte & 0x3F));
    return 1;
  });
}

bool appendLatinFromUtf8(std::string_view text, std::string& out) {
  return appendConverting(text, out, [](std::string_view rest, std::string& to) -> std::size_t {
    const auto lead = static_cast<unsigned char>(rest[0]);
    if ((lead != 0xC2 && lead != 0xC3) || rest.size() < 2) return 0;
    const auto trail = static_cast<unsigned char>(rest[1]);
    const unsigned char byte = static_cast<unsigned char>(((lead & 0x03) << 6) | (trail & 0x3F));
    if ((trail & 0xC0) != 0x80 || byte < FirstLatinHalf) return 0;
    to += static_cast<char>(byte);
    return 2;
  });
}

}  // namespace

bool Windows1252Codec::convert(Converter& converter, std::string_view input, std::string& out) {
  const std::size_t start = out.size();
  if (!converter.valid()) return false;
  iconv(converter.handle, nullptr, nullptr, nullptr, nullptr);
  std::array<char, 1024> chunk{};
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  while (inLeft > 0) {
    char* chunkEnd = chunk.data();
    std::size_t outLeft = chunk.size();
    const std::size_t result = iconv(converter.handle, &in, &inLeft, &chunkEnd, &outLeft);
    out.append(chunk.data(), chunkEnd);
    if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
      out.resize(start);
      return false;
    }
  }
  return true;
}

bool Windows1252Codec::appendUtf8(std::string_view bytes, std::string& out) {
  const std::size_t start = out.size();
  if (appendLatinUtf8(bytes, out)) return true;
  out.resize(start);
  return convert(*toUtf8_, bytes, out);
}

bool Windows1252Codec::appendFromUtf8(std::string_view text, std::string& out) {
  const std::size_t start = out.size();
  if (appendLatinFromUtf8(text, out)) return true;
  out.resize(start);
  return convert(*fromUtf8_, text, out);
}

std::optional<std::string> Windows1252Codec::toUtf8(std::string_view bytes) {
  std::string text;
  if (!appendUtf8(bytes, text)) return std::nullopt;
  return text;
}

std::optional<std::string> Windows1252Codec::fromUtf8(std::string_view text) {
  std::string bytes;
  if (!appendFromUtf8(text, bytes)) return std::nullopt;
  return bytes;
}

}  // namespace veltra::comms
