#pragma once
// Qt's own dialogs in Italian: Qt's translations where the system has them,
// and the few words they leave in English (the type of a folder in the file
// dialog) from the program itself.

class QCoreApplication;

namespace veltra::app {

// Installs both on the application, which owns them.
void installItalianTranslations(QCoreApplication& application);

}  // namespace veltra::app
