#include "comms/Windows1252.h"

#include <iconv.h>

#include <algorithm>
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

bool isAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::optional<std::string> Windows1252Codec::convert(Converter& converter, std::string_view input) {
  // ASCII is the same on both sides and is nearly everything the files hold.
  if (isAscii(input)) return std::string(input);
  if (!converter.valid()) return std::nullopt;
  iconv(converter.handle, nullptr, nullptr, nullptr, nullptr);
  std::string output;
  std::array<char, 1024> chunk{};
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  while (inLeft > 0) {
    char* out = chunk.data();
    std::size_t outLeft = chunk.size();
    const std::size_t result = iconv(converter.handle, &in, &inLeft, &out, &outLeft);
    output.append(chunk.data(), out);
    if (result == static_cast<std::size_t>(-1) && errno != E2BIG) return std::nullopt;
  }
  return output;
}

std::optional<std::string> Windows1252Codec::toUtf8(std::string_view bytes) {
  return convert(*toUtf8_, bytes);
}

std::optional<std::string> Windows1252Codec::fromUtf8(std::string_view text) {
  return convert(*fromUtf8_, text);
}

}  // namespace veltra::comms
