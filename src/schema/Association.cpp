#include "schema/Association.h"

namespace veltra::schema {

bool confirmDisconnect(ui::Prompter& prompter) {
  return prompter.message("Confermi sconnessione database ?", ui::Icon::Question,
                          ui::Buttons::OkCancel, "Sconnessione Database") == ui::Answer::Ok;
}

}  // namespace veltra::schema
