#pragma once
// How a command of either front end ended. The desktop only needs to know
// whether something changed; the command line turns it into its exit status
// through one mapping.

namespace veltra::ui {

enum class Outcome {
  Done,
  // The user backed out before anything was done: no file or folder chosen,
  // or the command's own confirmation answered Annulla.
  Cancelled,
  // What was asked for succeeded, and the user chose not to go further (a
  // communication checked whole, then not applied).
  Declined,
  // Refused or failed; the user has been told why.
  Failed,
};

// An outcome with what the command produced besides.
template <class Payload>
struct Result {
  Outcome outcome = Outcome::Failed;
  Payload payload{};

  bool done() const { return outcome == Outcome::Done; }
};

}  // namespace veltra::ui
