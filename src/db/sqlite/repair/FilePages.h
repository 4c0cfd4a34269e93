#pragma once
// A reader of the SQLite file format itself: the pages of a database file,
// their b-trees and the records on their table-leaf pages, read without the
// library, so that rows whose tree is damaged can still be found. Nothing
// read is trusted beyond what a page's own bytes say: every offset is checked
// against the page it points into. Internal to the engine adapter.

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace veltra::db::engine {

using PageNumber = std::uint32_t;

// One value of a record, as stored.
struct StoredValue {
  enum class Kind { Null, Integer, Real, Text, Blob };
  Kind kind = Kind::Null;
  std::int64_t integer = 0;
  double real = 0;
  std::string bytes;  // a text's or a blob's
};

struct StoredRow {
  std::int64_t rowid = 0;
  std::vector<StoredValue> values;
};

// A table as the file's own schema table names it.
struct StoredTable {
  std::string name;
  PageNumber root = 0;
};

class FilePages {
 public:
  // None when the file cannot be read or does not start as an SQLite file.
  static std::optional<FilePages> read(const std::string& path);

  // The tables the schema table's pages still name, with their root pages.
  std::vector<StoredTable> tables() const;
  // The table-leaf pages the tree from root reaches, those in seen left out,
  // and those whose rowids lie outside the range the keys above them give;
  // every page taken is added to seen.
  std::vector<PageNumber> leavesUnder(PageNumber root, std::set<PageNumber>& seen) const;
  // Every page that looks like a table leaf and is not on the free list.
  std::vector<PageNumber> tableLeaves() const;
  // The rows whose records can be read whole from the leaf page; a cell that
  // breaks off or points outside the file is left out and counted in damaged.
  std::vector<StoredRow> rowsOn(PageNumber leaf, std::int64_t& damaged) const;

 private:
  FilePages(std::string bytes, std::size_t pageSize, std::size_t usable);

  std::size_t pageCount() const;
  // The bytes of the page, empty when it lies beyond the file.
  std::string_view page(PageNumber number) const;
  // Where the b-tree header of the page starts: past the file header on page 1.
  static std::size_t headerAt(PageNumber number);
  std::optional<std::string> payload(std::string_view leaf, std::size_t at,
                                     std::int64_t& rowid) const;
  std::set<PageNumber> freePages() const;
  bool leafWithin(PageNumber leaf, std::int64_t low, std::int64_t high) const;

  std::string bytes_;
  std::size_t pageSize_;
  std::size_t usable_;
};

}  // namespace veltra::db::engine
