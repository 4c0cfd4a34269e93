#pragma once
// The database associated with the installation: the questions asked before
// it is let go. Both front ends ask them through their own Prompter.

#include "ui/Prompter.h"

namespace veltra::schema {

// "Confermi sconnessione database ?": true when the user answered OK.
bool confirmDisconnect(ui::Prompter& prompter);

}  // namespace veltra::schema
