#pragma once
// The texts of a long list kept one after the other in one buffer, the same
// number for every row: a row takes its texts' bytes and four more each,
// where as strings each would take thirty-two, and a column's texts can be
// looked at as views without a copy.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace veltra::reports {

class PackedTexts {
 public:
  explicit PackedTexts(std::size_t perRow) : perRow_(perRow) {}

  // Rows are filled in order, perRow texts each.
  void append(std::string_view text) {
    buffer_ += text;
    ends_.push_back(static_cast<std::uint32_t>(buffer_.size()));
  }
  void clear() {
    buffer_.clear();
    ends_.clear();
  }

  std::size_t rows() const { return perRow_ == 0 ? 0 : ends_.size() / perRow_; }
  // Text n of the row.
  std::string_view text(std::size_t row, std::size_t n) const {
    const std::size_t index = row * perRow_ + n;
    const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
    return std::string_view(buffer_).substr(begin, ends_[index] - begin);
  }

 private:
  std::size_t perRow_;
  std::string buffer_;
  std::vector<std::uint32_t> ends_;
};

}  // namespace veltra::reports
