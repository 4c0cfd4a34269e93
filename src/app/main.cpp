// veltra: the desktop program.

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLocale>

#include "app/Application.h"
#include "app/ItalianTranslations.h"
#include "app/Pictures.h"
#include "comms/ExportFile.h"

namespace {

// Dates, sizes and numbers in Qt's own dialogs the Italian way, as the
// program's own texts are, whatever locale the session was started in. Qt
// takes the dates of its file dialogs from the system's locale, read from
// the environment when the application starts.
void useItalianLocale() {
  if (qEnvironmentVariableIsEmpty("LC_ALL")) qputenv("LC_TIME", "it_IT.UTF-8");
  QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
}

// An office program's look wherever it runs: one clear font, Windows' own
// Arial there and Liberation Sans, its metric twin, elsewhere, so that pages
// break alike; and, where no desktop chose an icon theme, the boxes' icons
// from Breeze rather than Qt's own small bitmaps. Windows keeps its own style
// and its own boxes' icons.
void useOfficeLook() {
#ifdef Q_OS_WIN
  QFont font(QStringLiteral("Arial"), 10);
#else
  QFont font(QStringLiteral("Liberation Sans"), 10);
#endif
  font.setStyleHint(QFont::SansSerif);
  QApplication::setFont(font);
#ifndef Q_OS_WIN
  const QString theme = QIcon::themeName();
  if (theme.isEmpty() || theme == QStringLiteral("hicolor"))
    QIcon::setThemeName(QStringLiteral("breeze"));
#endif
}

}  // namespace

int main(int argc, char** argv) {
  veltra::comms::LetWritesFailPastFileSizeLimit();
  useItalianLocale();
  QApplication qt(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Veltra"));
  QApplication::setOrganizationName(QStringLiteral("Veltra"));
  QApplication::setApplicationVersion(QStringLiteral(VELTRA_VERSION));
  QGuiApplication::setDesktopFileName(QStringLiteral("veltra"));
  QApplication::setWindowIcon(veltra::app::pictures::applicationIcon());
  veltra::app::installItalianTranslations(qt);
  useOfficeLook();

  veltra::app::Application application{veltra::qt::AssociationSettings()};
  if (!application.start()) return 1;
  return QApplication::exec();
}
