#include "comms/SituationList.h"

#include <algorithm>
#include <string_view>

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

// Byte-wise with unsigned bytes, whatever the signedness of char: an
// accented letter sorts after every ASCII one.
bool chassisBefore(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  });
}

}  // namespace

void SituationList::sort() {
  index_.clear();
  index_.reserve(rows_.size());
  for (const SituationRow& row : rows_) index_.push_back(&row);
  std::sort(index_.begin(), index_.end(), [](const SituationRow* a, const SituationRow* b) {
    if (a->azienda != b->azienda) return a->azienda < b->azienda;
    return chassisBefore(a->telaio, b->telaio);
  });
}

std::size_t SituationList::countMatching(const SituationFilter& filter) const {
  return static_cast<std::size_t>(std::count_if(
      rows_.begin(), rows_.end(), [&](const SituationRow& row) { return filter.matches(row); }));
}

}  // namespace veltra::comms
