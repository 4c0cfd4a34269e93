#pragma once
// The company files are Windows-1252; inside the program every text is UTF-8.
// A byte or a character that has no counterpart on the other side is an
// error for the caller to report, never replaced by something else.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace veltra::comms {

class Windows1252Codec {
 public:
  Windows1252Codec();
  ~Windows1252Codec();
  Windows1252Codec(const Windows1252Codec&) = delete;
  Windows1252Codec& operator=(const Windows1252Codec&) = delete;

  // None when the bytes hold one of the five values Windows-1252 leaves undefined.
  std::optional<std::string> toUtf8(std::string_view bytes);
  // None when the text is not valid UTF-8 or holds a character Windows-1252 lacks.
  std::optional<std::string> fromUtf8(std::string_view text);

  // The same appended to out, for callers that build a long text line by
  // line; false, with out as it was, where the others give none.
  bool appendUtf8(std::string_view bytes, std::string& out);
  bool appendFromUtf8(std::string_view text, std::string& out);

 private:
  struct Converter;
  static bool convert(Converter& converter, std::string_view input, std::string& out);

  std::unique_ptr<Converter> toUtf8_;
  std::unique_ptr<Converter> fromUtf8_;
};

}  // namespace veltra::comms
