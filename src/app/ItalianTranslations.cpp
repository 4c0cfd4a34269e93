#include "app/ItalianTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <string_view>

namespace veltra::app {

namespace {

// The words of Qt's file type column that Qt's Italian file lacks: its
// translations predate the context Qt 6 moved them to.
class FileTypeWords : public QTranslator {
 public:
  using QTranslator::QTranslator;

  bool isEmpty() const override { return false; }

  QString translate(const char* context, const char* sourceText, const char* /*disambiguation*/,
                    int /*n*/) const override {
    if (context == nullptr || sourceText == nullptr ||
        std::string_view(context) != "QAbstractFileIconProvider")
      return {};
    const std::string_view text(sourceText);
    if (text == "Folder") return QStringLiteral("Cartella");
    if (text == "Drive") return QStringLiteral("Unità");
    if (text == "Unknown") return QStringLiteral("Sconosciuto");
    return {};
  }
};

}  // namespace

void installItalianTranslations(QCoreApplication& application) {
  auto* qtWords = new QTranslator(&application);
  if (qtWords->load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(qtWords);
  QCoreApplication::installTranslator(new FileTypeWords(&application));
}

}  // namespace veltra::app
