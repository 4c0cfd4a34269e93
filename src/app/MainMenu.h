#pragma once
// The menu bar of the main window, built in code from one table.

#include <span>
#include <vector>

class QMenuBar;
class QAction;

namespace veltra::app {

struct MenuEntry {
  enum Kind { Popup, Item, Separator, BarCommand };
  Kind kind;
  const char* text;  // with "&" before the access key
  int id;            // 0 for popups and separators
};

// Left to right, each popup followed by its items top to bottom.
std::span<const MenuEntry> mainMenuEntries();

// Fills the bar and returns its command actions in menu order, each
// carrying its command id as data.
std::vector<QAction*> buildMainMenu(QMenuBar& bar);

}  // namespace veltra::app
