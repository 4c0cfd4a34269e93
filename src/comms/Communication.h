#pragma once
// A company communication: the company, the date and its vehicles in the
// order they came. A list of them is what the situation export builds.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <list>
#include <string>

#include "comms/VehicleEntry.h"

namespace veltra::comms {

class Communication {
 public:
  Communication(std::int32_t azienda, std::string date)
      : azienda_(azienda), date_(std::move(date)) {}

  std::int32_t azienda() const { return azienda_; }
  // "GG/MM/AAAA" as the company wrote it.
  const std::string& date() const { return date_; }

  // The entry becomes the last one.
  VehicleEntry& append(VehicleEntry entry) { return entries_.emplace_back(std::move(entry)); }
  // An empty entry, for a reader that fills it in place.
  VehicleEntry& append() { return entries_.emplace_back(); }
  // Takes back the last entry appended, for a reader that found it incomplete.
  void removeLast() { entries_.pop_back(); }
  std::size_t entryCount() const { return entries_.size(); }
  const std::deque<VehicleEntry>& entries() const { return entries_; }

 private:
  std::int32_t azienda_;
  std::string date_;
  // A deque grows without moving what it holds, so a large communication
  // never needs room for itself twice.
  std::deque<VehicleEntry> entries_;
};

class CommunicationList {
 public:
  // Appends an empty communication and returns it; it stays valid while the
  // list lives, whatever is appended later.
  Communication& append(std::int32_t azienda, std::string date) {
    return items_.emplace_back(azienda, std::move(date));
  }
  bool empty() const { return items_.empty(); }
  std::size_t size() const { return items_.size(); }
  const std::list<Communication>& items() const { return items_; }

 private:
  std::list<Communication> items_;
};

}  // namespace veltra::comms
