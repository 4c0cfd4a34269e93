#include "qt/PdfJoin.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <functional>
#include <numeric>
#include <string_view>

namespace veltra::qt {

namespace {

bool isSpace(char c) {
  return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

bool endsToken(std::string_view text, std::size_t at) {
  return at >= text.size() || isSpace(text[at]) ||
         std::string_view("()<>[]{}/%").find(text[at]) != std::string_view::npos;
}

// The digits at `at`, after any blank; `at` moves past them.
std::optional<long> numberAt(std::string_view text, std::size_t& at) {
  while (at < text.size() && isSpace(text[at])) ++at;
  long number = 0;
  const auto [end, error] = std::from_chars(text.data() + at, text.data() + text.size(), number);
  if (error != std::errc() || number < 0) return std::nullopt;
  at = static_cast<std::size_t>(end - text.data());
  return number;
}

// The number written after a key of a dictionary, or the object a key refers to.
std::optional<long> valueOf(std::string_view dictionary, std::string_view key) {
  std::size_t at = dictionary.find(key);
  while (at != std::string_view::npos && !endsToken(dictionary, at + key.size()))
    at = dictionary.find(key, at + 1);
  if (at == std::string_view::npos) return std::nullopt;
  at += key.size();
  return numberAt(dictionary, at);
}

// "n g R" at `at`: the object referred to, and where the reference ends.
std::optional<std::pair<long, std::size_t>> referenceAt(std::string_view text, std::size_t at) {
  std::size_t end = at;
  const auto number = numberAt(text, end);
  if (!number || !numberAt(text, end)) return std::nullopt;
  while (end < text.size() && isSpace(text[end])) ++end;
  if (end >= text.size() || text[end] != 'R' || !endsToken(text, end + 1)) return std::nullopt;
  return std::pair{*number, end + 1};
}

// Where a stream's bytes begin: nothing after it is an object reference.
bool opensStream(std::string_view text, std::size_t at) {
  constexpr std::string_view Keyword = "stream";
  if (text.substr(at, Keyword.size()) != Keyword) return false;
  const std::size_t after = at + Keyword.size();
  const bool sepBefore = at > 0 && (isSpace(text[at - 1]) || text[at - 1] == '>');
  return sepBefore && after < text.size() && (text[after] == '\n' || text[after] == '\r');
}

using Renumbering = std::function<long(long)>;

// The object's text with every reference renumbered; strings and stream
// bytes are copied as they are.
void appendRenumbered(std::string_view text, const Renumbering& renumber, std::string& out) {
  int depth = 0;  // of parentheses: inside a string
  std::size_t at = 0;
  while (at < text.size()) {
    const char c = text[at];
    if (depth > 0) {
      out += c;
      if (c == '\\' && at + 1 < text.size()) out += text[++at];
      depth += c == '(' ? 1 : c == ')' ? -1 : 0;
      ++at;
    } else if (c == '(') {
      depth = 1;
      out += c;
      ++at;
    } else if (opensStream(text, at)) {
      out.append(text.substr(at));
      return;
    } else if (isDigit(c) && (at == 0 || endsToken(text, at - 1))) {
      std::size_t digitsEnd = at;
      while (digitsEnd < text.size() && isDigit(text[digitsEnd])) ++digitsEnd;
      if (const auto reference = referenceAt(text, at)) {
        out += std::to_string(renumber(reference->first));
        out.append(text.substr(digitsEnd, reference->second - digitsEnd));
        at = reference->second;
      } else {
        out.append(text.substr(at, digitsEnd - at));
        at = digitsEnd;
      }
    } else {
      out += c;
      ++at;
    }
  }
}

// A document as its cross-reference table lists it.
struct Listed {
  std::string_view header;                // the version line and its comment
  std::vector<std::string_view> objects;  // by number, each from "n 0 obj"; empty when free
  long root = 0;
  long info = 0;
  long pages = 0;  // the page tree's top
  long pageCount = 0;
};

bool readTable(std::string_view bytes, Listed& listed, std::size_t& tableAt) {
  const std::size_t start = bytes.rfind("startxref");
  if (start == std::string_view::npos) return false;
  std::size_t at = start + 9;
  const auto offset = numberAt(bytes, at);
  if (!offset || static_cast<std::size_t>(*offset) >= start) return false;
  tableAt = static_cast<std::size_t>(*offset);
  if (bytes.substr(tableAt, 4) != "xref") return false;
  at = tableAt + 4;
  const auto first = numberAt(bytes, at);
  const auto count = numberAt(bytes, at);
  if (first != 0L || !count || *count < 2 || *count > 10'000'000) return false;
  std::vector<long> offsets(static_cast<std::size_t>(*count), -1);
  for (long& entry : offsets) {
    const auto position = numberAt(bytes, at);
    if (!position || !numberAt(bytes, at)) return false;
    while (at < bytes.size() && isSpace(bytes[at])) ++at;
    if (at >= bytes.size() || (bytes[at] != 'n' && bytes[at] != 'f')) return false;
    if (bytes[at++] == 'n') entry = *position;
  }
  const std::string_view trailer = bytes.substr(at, start - at);
  const auto root = valueOf(trailer, "/Root");
  const auto info = valueOf(trailer, "/Info");
  if (trailer.find("trailer") == std::string_view::npos || !root || !info) return false;
  listed.root = *root;
  listed.info = *info;
  listed.objects.assign(offsets.size(), {});
  std::vector<long> starts(offsets);
  starts.push_back(static_cast<long>(tableAt));
  std::sort(starts.begin(), starts.end());
  for (std::size_t number = 1; number < offsets.size(); ++number) {
    if (offsets[number] < 0) continue;
    const auto next = *std::upper_bound(starts.begin(), starts.end(), offsets[number]);
    listed.objects[number] = bytes.substr(static_cast<std::size_t>(offsets[number]),
                                          static_cast<std::size_t>(next - offsets[number]));
  }
  const long firstObject = *std::upper_bound(starts.begin(), starts.end(), -1L);
  listed.header = bytes.substr(0, static_cast<std::size_t>(firstObject));
  return true;
}

// The object's own text between "n 0 obj" and "endobj"; empty when it is not there.
std::string_view bodyOf(const Listed& listed, long number) {
  if (number <= 0 || static_cast<std::size_t>(number) >= listed.objects.size()) return {};
  std::string_view text = listed.objects[static_cast<std::size_t>(number)];
  std::size_t at = 0;
  if (numberAt(text, at) != number || numberAt(text, at) != 0L) return {};
  while (at < text.size() && isSpace(text[at])) ++at;
  if (text.substr(at, 3) != "obj") return {};
  text.remove_prefix(at + 3);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  constexpr std::string_view End = "endobj";
  if (text.size() < End.size() || text.substr(text.size() - End.size()) != End) return {};
  text.remove_suffix(End.size());
  return text;
}

std::optional<Listed> listed(std::string_view bytes) {
  Listed listed;
  std::size_t tableAt = 0;
  if (!readTable(bytes, listed, tableAt)) return std::nullopt;
  for (std::size_t number = 1; number < listed.objects.size(); ++number)
    if (!listed.objects[number].empty() && bodyOf(listed, static_cast<long>(number)).empty())
      return std::nullopt;
  const auto pages = valueOf(bodyOf(listed, listed.root), "/Pages");
  if (!pages) return std::nullopt;
  listed.pages = *pages;
  const std::string_view tree = bodyOf(listed, listed.pages);
  const auto count = valueOf(tree, "/Count");
  if (!count || tree.find("<<") == std::string_view::npos || bodyOf(listed, listed.info).empty())
    return std::nullopt;
  listed.pageCount = *count;
  return listed;
}

class JoinedDocument {
 public:
  explicit JoinedDocument(std::vector<Listed> documents) : documents_(std::move(documents)) {
    long shift = 0;
    for (const Listed& document : documents_) {
      shifts_.push_back(shift);
      shift += static_cast<long>(document.objects.size()) - 1;
    }
    top_ = shift + 1;
  }

  std::string bytes() {
    // Room for the whole file at once: a string of megabytes grown step by
    // step is held twice at every step.
    std::size_t room = 1024;
    for (const Listed& document : documents_)
      room += document.header.size() + document.objects.size() * 48 +
              std::accumulate(
                  document.objects.begin(), document.objects.end(), std::size_t{0},
                  [](std::size_t sum, std::string_view object) { return sum + object.size(); });
    out_.reserve(room);
    out_.assign(documents_.front().header);
    offsets_.assign(static_cast<std::size_t>(top_) + 1, -1);
    for (std::size_t index = 0; index < documents_.size(); ++index) appendDocument(index);
    appendTop();
    appendTable();
    return std::move(out_);
  }

 private:
  void appendDocument(std::size_t index) {
    const Listed& document = documents_[index];
    const long shift = shifts_[index];
    const Renumbering shifted = [shift](long number) { return number + shift; };
    for (std::size_t number = 1; number < document.objects.size(); ++number) {
      if (document.objects[number].empty()) continue;
      const auto own = static_cast<long>(number);
      std::string_view body = bodyOf(document, own);
      openObject(own + shift);
      if (own == document.pages) {
        // Each document's tree hangs under the joined tree's top.
        const std::size_t open = body.find("<<");
        appendRenumbered(body.substr(0, open + 2), shifted, out_);
        out_ += "\n/Parent " + std::to_string(top_) + " 0 R";
        body.remove_prefix(open + 2);
      }
      appendRenumbered(body, index == 0 && own == document.root ? toTop(document.pages) : shifted,
                       out_);
      out_ += "endobj\n";
    }
  }

  // The first document's catalogue names the joined tree's top as its pages.
  Renumbering toTop(long pages) const {
    return [pages, top = top_](long number) { return number == pages ? top : number; };
  }

  void openObject(long number) {
    offsets_[static_cast<std::size_t>(number)] = static_cast<long>(out_.size());
    out_ += std::to_string(number) + " 0 obj";
  }

  void appendTop() {
    openObject(top_);
    out_ += "\n<<\n/Type /Pages\n/Kids [";
    long count = 0;
    for (std::size_t index = 0; index < documents_.size(); ++index) {
      out_ += std::to_string(documents_[index].pages + shifts_[index]) + " 0 R ";
      count += documents_[index].pageCount;
    }
    out_ += "]\n/Count " + std::to_string(count) + "\n>>\nendobj\n";
  }

  void appendTable() {
    const std::size_t tableAt = out_.size();
    out_ += "xref\n0 " + std::to_string(top_ + 1) + "\n0000000000 65535 f \n";
    char entry[32];
    for (std::size_t number = 1; number < offsets_.size(); ++number) {
      if (offsets_[number] < 0)
        std::snprintf(entry, sizeof entry, "0000000000 65535 f \n");
      else
        std::snprintf(entry, sizeof entry, "%010ld 00000 n \n", offsets_[number]);
      out_ += entry;
    }
    const Listed& first = documents_.front();
    out_ += "trailer\n<<\n/Size " + std::to_string(top_ + 1) + "\n/Info " +
            std::to_string(first.info) + " 0 R\n/Root " + std::to_string(first.root) +
            " 0 R\n>>\nstartxref\n" + std::to_string(tableAt) + "\n%%EOF\n";
  }

  std::vector<Listed> documents_;
  std::vector<long> shifts_;  // what each document's object numbers grow by
  long top_ = 0;              // the joined page tree's top
  std::vector<long> offsets_;
  std::string out_;
};

}  // namespace

std::optional<std::string> JoinPdfDocuments(const std::vector<std::string_view>& documents) {
  std::vector<Listed> read;
  for (const std::string_view document : documents) {
    auto one = listed(document);
    if (!one) return std::nullopt;
    read.push_back(std::move(*one));
  }
  if (read.empty()) return std::nullopt;
  return JoinedDocument(std::move(read)).bytes();
}

}  // namespace veltra::qt
