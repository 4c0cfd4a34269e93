#pragma once
// Documents painted apart joined into one: a long report's pages are painted
// on several PDF writers at once, each a whole document, and the reader gets
// one file with every page in order. Only the layout the PDF writer makes is
// read: objects listed by a classic cross-reference table, one page tree.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltra::qt {

// The pages of every document in turn, under the first one's catalogue and
// information (title, creator, date). None when a document is not laid out
// as the writer lays them out.
std::optional<std::string> JoinPdfDocuments(const std::vector<std::string_view>& documents);

}  // namespace veltra::qt
