#include "db/sqlite/repair/FilePages.h"

#include <bit>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <string_view>

#include "db/platform/Files.h"

namespace veltra::db::engine {

namespace {

constexpr std::string_view Magic{"SQLite format 3\0", 16};
constexpr std::size_t FileHeaderSize = 100;
constexpr std::uint8_t TableInterior = 0x05;
constexpr std::uint8_t TableLeaf = 0x0d;
// The schema table's columns: type, name, tbl_name, rootpage, sql.
constexpr std::size_t SchemaColumns = 5;

std::uint64_t bigEndian(std::string_view bytes, std::size_t at, std::size_t width) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < width; ++i)
    value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
  return value;
}

// A varint of the file format at `at`, moving `at` past it; none when it runs
// past the end.
std::optional<std::uint64_t> varint(std::string_view bytes, std::size_t& at) {
  std::uint64_t value = 0;
  for (int i = 0; i < 9; ++i) {
    if (at >= bytes.size()) return std::nullopt;
    const auto byte = static_cast<std::uint8_t>(bytes[at++]);
    if (i == 8) return (value << 8) | byte;
    value = (value << 7) | (byte & 0x7f);
    if ((byte & 0x80) == 0) return value;
  }
  return value;
}

// How many bytes a value of the serial type takes.
std::optional<std::size_t> storedSize(std::uint64_t serial) {
  static constexpr std::size_t Fixed[] = {0, 1, 2, 3, 4, 6, 8, 8, 0, 0};
  if (serial < 10) return Fixed[serial];
  if (serial < 12) return std::nullopt;
  return static_cast<std::size_t>((serial - 12) / 2);
}

StoredValue valueOf(std::uint64_t serial, std::string_view data) {
  StoredValue value;
  if (serial == 0) return value;
  if (serial == 8 || serial == 9) {
    value.kind = StoredValue::Kind::Integer;
    value.integer = serial == 9 ? 1 : 0;
  } else if (serial == 7) {
    value.kind = StoredValue::Kind::Real;
    value.real = std::bit_cast<double>(bigEndian(data, 0, 8));
  } else if (serial < 7) {
    // Sign-extended from the stored width.
    const std::size_t width = data.size();
    const std::uint64_t raw = bigEndian(data, 0, width);
    const unsigned shift = static_cast<unsigned>(64 - 8 * width);
    value.kind = StoredValue::Kind::Integer;
    value.integer = static_cast<std::int64_t>(raw << shift) >> shift;
  } else {
    value.kind = serial % 2 == 0 ? StoredValue::Kind::Blob : StoredValue::Kind::Text;
    value.bytes.assign(data);
  }
  return value;
}

// The values of a record; none when its header and its body do not agree.
std::optional<std::vector<StoredValue>> recordValues(std::string_view record) {
  std::size_t at = 0;
  const auto headerSize = varint(record, at);
  if (!headerSize || *headerSize < at || *headerSize > record.size()) return std::nullopt;
  std::vector<std::uint64_t> serials;
  std::size_t bodySize = 0;
  while (at < *headerSize) {
    const auto serial = varint(record, at);
    const auto size = serial ? storedSize(*serial) : std::nullopt;
    // Each size within the record, so their sum cannot wrap around.
    if (!size || *size > record.size()) return std::nullopt;
    serials.push_back(*serial);
    bodySize += *size;
  }
  if (at != *headerSize || *headerSize + bodySize != record.size()) return std::nullopt;
  std::vector<StoredValue> values;
  std::size_t body = *headerSize;
  for (const std::uint64_t serial : serials) {
    const std::size_t size = *storedSize(serial);
    values.push_back(valueOf(serial, record.substr(body, size)));
    body += size;
  }
  return values;
}

}  // namespace

FilePages::FilePages(std::string bytes, std::size_t pageSize, std::size_t usable)
    : bytes_(std::move(bytes)), pageSize_(pageSize), usable_(usable) {}

std::optional<FilePages> FilePages::read(const std::string& path) {
  std::ifstream in(platform::FilePath(path), std::ios::binary);
  std::string bytes{std::istreambuf_iterator<char>(in), {}};
  if (!in.good() && !in.eof()) return std::nullopt;
  if (bytes.size() < FileHeaderSize || bytes.compare(0, Magic.size(), Magic) != 0)
    return std::nullopt;
  std::size_t pageSize = bigEndian(bytes, 16, 2);
  if (pageSize == 1) pageSize = 65536;
  const std::size_t reserved = static_cast<std::uint8_t>(bytes[20]);
  if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0 || reserved + 480 > pageSize)
    return std::nullopt;
  return FilePages(std::move(bytes), pageSize, pageSize - reserved);
}

std::size_t FilePages::pageCount() const {
  return bytes_.size() / pageSize_;
}

std::string_view FilePages::page(PageNumber number) const {
  if (number == 0 || number > pageCount()) return {};
  return std::string_view(bytes_).substr((number - 1) * pageSize_, usable_);
}

std::size_t FilePages::headerAt(PageNumber number) {
  return number == 1 ? FileHeaderSize : 0;
}

// The pages of the free list: trunks and the leaves they list. Their bytes
// are rows deleted long ago, never to be brought back.
std::set<PageNumber> FilePages::freePages() const {
  std::set<PageNumber> free;
  auto trunk = static_cast<PageNumber>(bigEndian(bytes_, 32, 4));
  while (trunk != 0 && free.insert(trunk).second) {
    const std::string_view bytes = page(trunk);
    if (bytes.size() < 8) break;
    const std::size_t leaves = bigEndian(bytes, 4, 4);
    for (std::size_t i = 0; i < leaves && 8 + 4 * i + 4 <= bytes.size(); ++i)
      free.insert(static_cast<PageNumber>(bigEndian(bytes, 8 + 4 * i, 4)));
    trunk = static_cast<PageNumber>(bigEndian(bytes, 0, 4));
  }
  return free;
}

// Whether every rowid on the leaf lies in (low, high], the range its parent's
// keys give it: a leaf of another table grafted into the tree lies outside.
bool FilePages::leafWithin(PageNumber leaf, std::int64_t low, std::int64_t high) const {
  const std::string_view bytes = page(leaf);
  const std::size_t header = headerAt(leaf);
  const std::size_t cells = bigEndian(bytes, header + 3, 2);
  for (std::size_t i = 0; i < cells && header + 10 + 2 * i <= bytes.size(); ++i) {
    std::size_t at = bigEndian(bytes, header + 8 + 2 * i, 2);
    const auto size = varint(bytes, at);
    const auto key = size ? varint(bytes, at) : std::nullopt;
    const auto rowid = static_cast<std::int64_t>(key.value_or(0));
    if (key && (rowid <= low || rowid > high)) return false;
  }
  return true;
}

std::vector<PageNumber> FilePages::leavesUnder(PageNumber root, std::set<PageNumber>& seen) const {
  struct Pending {
    PageNumber page;
    std::int64_t low, high;
  };
  std::vector<PageNumber> leaves;
  std::vector<Pending> pending{
      {root, std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max()}};
  while (!pending.empty()) {
    const auto [number, low, high] = pending.back();
    pending.pop_back();
    const std::string_view bytes = page(number);
    const std::size_t header = headerAt(number);
    if (bytes.size() < header + 12 || seen.count(number) != 0) continue;
    const auto type = static_cast<std::uint8_t>(bytes[header]);
    if (type == TableLeaf && leafWithin(number, low, high)) {
      seen.insert(number);
      leaves.push_back(number);
    }
    if (type != TableInterior) continue;
    seen.insert(number);
    const std::size_t cells = bigEndian(bytes, header + 3, 2);
    std::int64_t below = low;
    for (std::size_t i = 0; i < cells && header + 14 + 2 * i <= bytes.size(); ++i) {
      std::size_t cell = bigEndian(bytes, header + 12 + 2 * i, 2);
      if (cell + 4 > bytes.size()) continue;
      const auto child = static_cast<PageNumber>(bigEndian(bytes, cell, 4));
      cell += 4;
      const auto key = varint(bytes, cell);
      if (!key) continue;
      pending.push_back({child, below, static_cast<std::int64_t>(*key)});
      below = static_cast<std::int64_t>(*key);
    }
    pending.push_back({static_cast<PageNumber>(bigEndian(bytes, header + 8, 4)), below, high});
  }
  return leaves;
}

std::vector<PageNumber> FilePages::tableLeaves() const {
  const std::set<PageNumber> free = freePages();
  std::vector<PageNumber> leaves;
  for (PageNumber number = 1; number <= pageCount(); ++number) {
    const std::string_view bytes = page(number);
    if (static_cast<std::uint8_t>(bytes[headerAt(number)]) == TableLeaf && free.count(number) == 0)
      leaves.push_back(number);
  }
  return leaves;
}

// The record of the cell at `at`, its overflow pages followed; none when a
// part of it lies outside the file or a chain loops.
std::optional<std::string> FilePages::payload(std::string_view leaf, std::size_t at,
                                              std::int64_t& rowid) const {
  const auto size = varint(leaf, at);
  const auto key = varint(leaf, at);
  if (!size || !key || *size > bytes_.size()) return std::nullopt;
  rowid = static_cast<std::int64_t>(*key);
  // How much of the record stays on the leaf, as the file format computes it.
  const std::size_t most = usable_ - 35;
  const std::size_t least = (usable_ - 12) * 32 / 255 - 23;
  std::size_t local = *size;
  if (*size > most) {
    local = least + (*size - least) % (usable_ - 4);
    if (local > most) local = least;
  }
  const bool overflows = local < *size;
  if (at + local + (overflows ? 4 : 0) > leaf.size()) return std::nullopt;
  std::string record(leaf.substr(at, local));
  if (!overflows) return record;
  auto next = static_cast<PageNumber>(bigEndian(leaf, at + local, 4));
  std::set<PageNumber> chain;
  while (record.size() < *size) {
    const std::string_view overflow = page(next);
    if (overflow.size() < 4 || !chain.insert(next).second) return std::nullopt;
    record.append(overflow.substr(4, std::min(usable_ - 4, *size - record.size())));
    next = static_cast<PageNumber>(bigEndian(overflow, 0, 4));
  }
  return record;
}

std::vector<StoredRow> FilePages::rowsOn(PageNumber leaf, std::int64_t& damaged) const {
  std::vector<StoredRow> rows;
  const std::string_view bytes = page(leaf);
  const std::size_t header = headerAt(leaf);
  if (bytes.size() < header + 8 || static_cast<std::uint8_t>(bytes[header]) != TableLeaf)
    return rows;
  const std::size_t cells = bigEndian(bytes, header + 3, 2);
  for (std::size_t i = 0; i < cells; ++i) {
    const std::size_t pointer = header + 8 + 2 * i;
    const std::size_t cell = pointer + 2 <= bytes.size() ? bigEndian(bytes, pointer, 2) : 0;
    StoredRow row;
    const auto record =
        cell >= pointer + 2 && cell < bytes.size() ? payload(bytes, cell, row.rowid) : std::nullopt;
    auto values = record ? recordValues(*record) : std::nullopt;
    if (!values) {
      ++damaged;
      continue;
    }
    row.values = std::move(*values);
    rows.push_back(std::move(row));
  }
  return rows;
}

std::vector<StoredTable> FilePages::tables() const {
  std::vector<StoredTable> found;
  std::set<PageNumber> seen;
  std::int64_t damaged = 0;
  for (const PageNumber leaf : leavesUnder(1, seen))
    for (const StoredRow& row : rowsOn(leaf, damaged)) {
      const auto& v = row.values;
      if (v.size() != SchemaColumns || v[0].bytes != "table" ||
          v[1].kind != StoredValue::Kind::Text || v[3].kind != StoredValue::Kind::Integer)
        continue;
      found.push_back({v[1].bytes, static_cast<PageNumber>(v[3].integer)});
    }
  return found;
}

}  // namespace veltra::db::engine
