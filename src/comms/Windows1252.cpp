#include "comms/Windows1252.h"

#include "db/PlainText.h"

#ifdef _WIN32
#include <windows.h>

#include <algorithm>
#else
#include <iconv.h>

#include <array>
#include <cerrno>
#endif

namespace veltra::comms {

#ifdef _WIN32

// Windows converts with its own code pages, through UTF-16.
struct Windows1252Codec::Converter {
  UINT to;
  UINT from;
};

namespace {

constexpr UINT Windows1252 = 1252;

// Windows maps the five bytes that Windows-1252 leaves undefined to the
// control characters of the same value, and back: they are refused here.
bool undefinedIn1252(wchar_t c) {
  return c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

std::optional<std::wstring> wideText(UINT codePage, std::string_view text) {
  const int length = static_cast<int>(text.size());
  const int size =
      MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
  if (size <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), length, wide.data(), size);
  if (std::any_of(wide.begin(), wide.end(), undefinedIn1252)) return std::nullopt;
  return wide;
}

// Windows-1252 has no "invalid character" flag: a character it lacks shows
// as the default character having been used. No best fit: "ā" is no "a".
bool appendNarrow(UINT codePage, const std::wstring& wide, std::string& out) {
  const DWORD flags = codePage == CP_UTF8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  const int length = static_cast<int>(wide.size());
  BOOL usedDefault = FALSE;
  BOOL* defaultFlag = codePage == CP_UTF8 ? nullptr : &usedDefault;
  const int size =
      WideCharToMultiByte(codePage, flags, wide.data(), length, nullptr, 0, nullptr, defaultFlag);
  if (size <= 0 || usedDefault) return false;
  const std::size_t start = out.size();
  out.resize(start + static_cast<std::size_t>(size));
  WideCharToMultiByte(codePage, flags, wide.data(), length, out.data() + start, size, nullptr,
                      nullptr);
  return true;
}

}  // namespace

Windows1252Codec::Windows1252Codec()
    : toUtf8_(std::make_unique<Converter>(Converter{CP_UTF8, Windows1252})),
      fromUtf8_(std::make_unique<Converter>(Converter{Windows1252, CP_UTF8})) {}

bool Windows1252Codec::convert(Converter& converter, std::string_view input, std::string& out) {
  if (input.empty()) return true;
  const auto wide = wideText(converter.from, input);
  return wide && appendNarrow(converter.to, *wide, out);
}

#else

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

#endif

Windows1252Codec::~Windows1252Codec() = default;

namespace {

// ASCII is the same on both sides, and the accented letters of the files lie
// in 0xA0-0xFF, where Windows-1252 is Latin-1: U+00A0-U+00FF, two UTF-8
// bytes lead by 0xC2 or 0xC3. Those are converted here; anything else (the
// euro, the curly quotes, a byte Windows-1252 leaves undefined, invalid
// UTF-8) is left to the system's converter.
constexpr unsigned char FirstLatinHalf = 0xA0;

// The ASCII from start on, as far as it goes: it is copied in one piece.
// Whole blocks first: most lines are ASCII from end to end.
std::size_t asciiEnd(std::string_view text, std::size_t start) {
  constexpr std::size_t Block = 16;
  while (start + Block <= text.size() && db::IsAscii(text.substr(start, Block))) start += Block;
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
