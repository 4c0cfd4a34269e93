#pragma once
// The vehicle lines of the fleet file, made as the states are read: one
// text of lines instead of a row of strings per vehicle, so that reading,
// checking and writing each pass over the bytes once. Nearly every line fits
// the file as it is, and is kept as the file's Windows-1252 bytes; a line that
// does not (a field with a TAB or a line end, a character the code page
// lacks) keeps its UTF-8 text and its state beside it, for the checks that
// name the field at fault.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "comms/SituationList.h"
#include "comms/Windows1252Lines.h"

namespace veltra::comms {

class FleetLines {
 public:
  // Begins the line of a vehicle with its chassis. Lines come in chassis
  // order, and a chassis that is the last line's but for case is the same
  // vehicle: its line replaces the last one, under the spelling that came
  // first.
  void begin(std::string_view chassis);
  // Each field after the chassis: a TAB, then the field appended to text().
  void next() {
    text_ += '\t';
    lastField_ = text_.size();
    if (fields_++ == 0) chassisEnd_ = lastField_ - 1;
  }
  std::string& text() { return text_; }
  // Ends the line with the codes the filters look at; a line whose last
  // field (datrad) is empty is of an active vehicle. False when the line
  // does not fit the file as it is: keep must then be given its state.
  bool end(std::int32_t azienda, std::int32_t ambito);
  // The state of the last line; its chassis becomes the line's.
  void keep(SituationRow state);

  std::size_t size() const { return lines_.size(); }
  std::size_t countMatching(const SituationFilter& filter) const;
  // Why a line the filter selects cannot be written, for the first one in
  // the order read: a text with a TAB, CR or LF, or one Windows-1252 cannot
  // hold, named with its vehicle and field. None when every line fits.
  std::optional<std::string> refusal(const SituationFilter& filter) const;
  // The lines the filter selects, by company code, then chassis by the
  // unsigned bytes of its Windows-1252 text. False, as Windows1252Lines
  // refuses a line, at a character the code page lacks.
  bool addSorted(const SituationFilter& filter, Windows1252Lines& out) const;

 private:
  struct Line {
    std::size_t start;
    std::size_t chassisEnd;
    std::size_t end;
    std::int32_t azienda;
    std::int32_t ambito;
    bool active;
    // In states_; NoState for a line that fits the file, kept as its bytes.
    std::size_t state;
  };
  static constexpr std::size_t NoState = static_cast<std::size_t>(-1);

  std::string_view textOf(const Line& line) const {
    return std::string_view(text_).substr(line.start, line.end - line.start);
  }
  void dropLast();

  Windows1252Codec codec_;
  std::string converted_;  // room for a line's Windows-1252 bytes
  std::string text_;       // the lines one after the other, without terminators
  std::vector<Line> lines_;
  std::vector<SituationRow> states_;  // of the lines that are not plain, in their order
  std::string lastChassis_;           // of the last line begun, as read
  std::size_t start_ = 0;             // of the line being built
  std::size_t chassisEnd_ = 0;
  std::size_t lastField_ = 0;
  std::size_t fields_ = 0;  // after the chassis
};

}  // namespace veltra::comms
