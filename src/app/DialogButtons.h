#pragma once
// The button row of the program's dialogs: "OK", the default button that
// Enter presses, and "Annulla" where the dialog can be cancelled (Escape
// cancels through QDialog itself), centred below the controls.

class QBoxLayout;
class QDialog;
class QPushButton;

namespace veltra::app {

struct DialogButtons {
  QPushButton* ok = nullptr;
  QPushButton* cancel = nullptr;  // none in a dialog that only closes
};

// The buttons, added as the last row of the layout; "Annulla" rejects the
// dialog, what "OK" does is the dialog's own.
// The dialog's title is kept whole in sight too (see keepTitleInSight).
DialogButtons addDialogButtons(QDialog& dialog, QBoxLayout& layout, bool withCancel);

// The dialog, laid out in a column, at least as wide as its title bar needs
// for the whole title beside the window's own buttons.
void keepTitleInSight(QDialog& dialog, QBoxLayout& column);

}  // namespace veltra::app
