#include "comms/SituationList.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <string_view>

#include "comms/Windows1252.h"

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
std::vector<std::string> chassisKeys(const std::deque<SituationRow>& rows) {
  Windows1252Codec codec;
  std::vector<std::string> keys;
  keys.reserve(rows.size());
  for (const SituationRow& row : rows)
    keys.push_back(codec.fromUtf8(row.telaio).value_or(row.telaio));
  return keys;
}

bool bytesBefore(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  });
}

}  // namespace

void SituationList::sort() {
  const std::vector<std::string> keys = chassisKeys(rows_);
  std::vector<std::size_t> order(rows_.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    if (rows_[a].azienda != rows_[b].azienda) return rows_[a].azienda < rows_[b].azienda;
    return bytesBefore(keys[a], keys[b]);
  });
  index_.clear();
  index_.reserve(rows_.size());
  for (std::size_t i : order) index_.push_back(&rows_[i]);
}

std::size_t SituationList::countMatching(const SituationFilter& filter) const {
  return static_cast<std::size_t>(std::count_if(
      rows_.begin(), rows_.end(), [&](const SituationRow& row) { return filter.matches(row); }));
}

}  // namespace veltra::comms
