#include "comms/SituationList.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "comms/Windows1252.h"
#include "db/PlainText.h"

namespace veltra::comms {

bool SituationFilter::matches(const SituationRow& row) const {
  return (allCompanies || row.azienda == azienda) && (allAmbits || row.vehicle.ambito == ambito) &&
         (!activeOnly || row.vehicle.datrad.empty());
}

void SituationList::clear() {
  index_.clear();
  rows_.clear();
}

void SituationList::addOrMerge(SituationRow row) {
  if (!rows_.empty() && rows_.back().telaio == row.telaio)
    rows_.back() = std::move(row);
  else
    rows_.push_back(std::move(row));
}

namespace {

// The exported files are Windows-1252 and are read in that order: chassis
// compare by their Windows-1252 bytes, unsigned, so "€" (0x80) comes before
// "Š" (0x8A), "À" (0xC0) and "ÿ" (0xFF), which their UTF-8 bytes would not
// give. A chassis that Windows-1252 cannot hold keeps its UTF-8 bytes.
struct SortEntry {
  std::int32_t azienda;
  std::string_view chassisBytes;
  const SituationRow* row;
};

}  // namespace

void SituationList::sort() {
  // An ASCII chassis is its own Windows-1252 bytes; only the others are
  // converted, into room reserved up front so the views stay valid.
  Windows1252Codec codec;
  std::vector<std::string> converted;
  converted.reserve(rows_.size());
  std::vector<SortEntry> entries;
  entries.reserve(rows_.size());
  for (const SituationRow& row : rows_) {
    std::string_view bytes = row.telaio;
    if (!db::IsAscii(bytes))
      bytes = converted.emplace_back(codec.fromUtf8(bytes).value_or(row.telaio));
    entries.push_back({row.azienda, bytes, &row});
  }
  // Rows arrive in chassis order, so grouping them by company without
  // reordering mostly leaves each company's chassis in byte order already:
  // only a company whose are not is sorted.
  std::stable_sort(entries.begin(), entries.end(),
                   [](const SortEntry& a, const SortEntry& b) { return a.azienda < b.azienda; });
  // char_traits<char> compares bytes as unsigned char.
  const auto byBytes = [](const SortEntry& a, const SortEntry& b) {
    return a.chassisBytes < b.chassisBytes;
  };
  for (auto first = entries.begin(); first != entries.end();) {
    const auto last = std::find_if(first, entries.end(), [&](const SortEntry& entry) {
      return entry.azienda != first->azienda;
    });
    if (!std::is_sorted(first, last, byBytes)) std::sort(first, last, byBytes);
    first = last;
  }
  index_.clear();
  index_.reserve(entries.size());
  for (const SortEntry& entry : entries) index_.push_back(entry.row);
}

std::size_t SituationList::countMatching(const SituationFilter& filter) const {
  return static_cast<std::size_t>(std::count_if(
      rows_.begin(), rows_.end(), [&](const SituationRow& row) { return filter.matches(row); }));
}

}  // namespace veltra::comms
