#include "comms/FleetLines.h"

#include <algorithm>

#include "comms/ByteBlocks.h"
#include "comms/RecordLine.h"
#include "db/PlainText.h"

namespace veltra::comms {

void FleetLines::begin(std::string_view chassis) {
  // The last line may be in Windows-1252 by now: its chassis is compared as read.
  if (!lines_.empty() && db::EqualsIgnoringCase(chassis, lastChassis_))
    dropLast();
  else
    lastChassis_ = chassis;
  start_ = text_.size();
  text_.append(lastChassis_);
  chassisEnd_ = lastField_ = text_.size();
  fields_ = 0;
}

void FleetLines::dropLast() {
  if (lines_.back().state != NoState) states_.pop_back();
  text_.resize(lines_.back().start);
  lines_.pop_back();
}

namespace {

// What a line's bytes say of it: whether any is outside ASCII, and how many
// are TABs or line ends. Every line passes here.
struct LineBytes {
  bool ascii = true;
  std::size_t breaks = 0;
};

LineBytes scanLine(std::string_view line) {
  unsigned char high = 0;
  LineBytes scan;
  ForEachByteInBlocks(line, [&](char letter) {
    const auto byte = static_cast<unsigned char>(letter);
    high |= byte;
    scan.breaks += byte == '\t' || byte == '\r' || byte == '\n' ? 1 : 0;
  });
  scan.ascii = high < 0x80;
  return scan;
}

}  // namespace

bool FleetLines::end(std::int32_t azienda, std::int32_t ambito) {
  const bool active = lastField_ == text_.size();
  Line& line = lines_.emplace_back(
      Line{start_, chassisEnd_, text_.size(), azienda, ambito, active, NoState});
  // The TABs between the fields are the line's only ones and it has no line
  // end: then no field breaks the line, and one Windows-1252 can hold whole
  // has every field held. Such a line is kept as the file's bytes.
  const LineBytes scan = scanLine(textOf(line));
  if (scan.breaks != fields_) return false;
  if (scan.ascii) return true;
  converted_.clear();
  if (!codec_.appendFromUtf8(textOf(line), converted_)) return false;
  text_.replace(line.start, std::string::npos, converted_);
  line.end = text_.size();
  line.chassisEnd = text_.find('\t', line.start);
  return true;
}

void FleetLines::keep(SituationRow state) {
  Line& line = lines_.back();
  state.telaio = lastChassis_;
  line.state = states_.size();
  states_.push_back(std::move(state));
}

std::size_t FleetLines::countMatching(const SituationFilter& filter) const {
  return static_cast<std::size_t>(std::count_if(lines_.begin(), lines_.end(), [&](const Line& l) {
    return filter.matches(l.azienda, l.ambito, l.active);
  }));
}

std::optional<std::string> FleetLines::refusal(const SituationFilter& filter) const {
  // A plain line has nothing to refuse, and the others kept their states in
  // the order read.
  Windows1252Codec codec;
  for (const SituationRow& row : states_) {
    if (!filter.matches(row)) continue;
    auto refused = VehicleLineRefusal(row.telaio, row.vehicle, codec);
    if (!refused) refused = TextLineRefusal(row.telaio, "regazi.denom", row.companyName, codec);
    if (!refused) refused = TextLineRefusal(row.telaio, "regprv.denom", row.ambitName, codec);
    if (refused) return refused;
  }
  return std::nullopt;
}

namespace {

// The exported files are Windows-1252 and are read in that order: chassis
// compare by their Windows-1252 bytes, unsigned, so "€" (0x80) comes before
// "Š" (0x8A), "À" (0xC0) and "ÿ" (0xFF), which their UTF-8 bytes would not
// give. A chassis that Windows-1252 cannot hold keeps its UTF-8 bytes.
struct SortEntry {
  std::int32_t azienda;
  std::string_view chassisBytes;
  std::size_t line;
};

void sortByCompanyAndChassis(std::vector<SortEntry>& entries) {
  // Lines come in chassis order, so grouping them by company without
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
}

}  // namespace

bool FleetLines::addSorted(const SituationFilter& filter, Windows1252Lines& out) const {
  // An ASCII chassis is its own Windows-1252 bytes, and a line kept as the
  // file's bytes has them already; only the others are converted, into room
  // reserved up front so the views stay valid.
  Windows1252Codec codec;
  std::vector<std::string> converted;
  converted.reserve(lines_.size());
  std::vector<SortEntry> entries;
  entries.reserve(lines_.size());
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const Line& line = lines_[i];
    if (!filter.matches(line.azienda, line.ambito, line.active)) continue;
    std::string_view chassis =
        std::string_view(text_).substr(line.start, line.chassisEnd - line.start);
    if (line.state != NoState && !db::IsAscii(chassis))
      chassis = converted.emplace_back(codec.fromUtf8(chassis).value_or(std::string(chassis)));
    entries.push_back({line.azienda, chassis, i});
    bytes += line.end - line.start;
  }
  sortByCompanyAndChassis(entries);
  out.reserve(bytes + 2 * entries.size());
  for (const SortEntry& entry : entries) {
    const Line& line = lines_[entry.line];
    if (line.state == NoState)
      out.addBytes(textOf(line));
    else if (!out.add(textOf(line)))
      return false;
  }
  return true;
}

}  // namespace veltra::comms
