#include "app/FileFilters.h"

#include <QRegularExpression>

namespace veltra::app {

namespace {

QString qtPatterns(const QString& patterns) {
  QStringList converted;
  for (const QString& pattern : patterns.split(u';', Qt::SkipEmptyParts)) {
    const QString trimmed = pattern.trimmed();
    converted << (trimmed == QStringLiteral("*.*") ? QStringLiteral("*") : trimmed);
  }
  return converted.join(u' ');
}

// The label usually repeats its patterns in brackets for the user to read;
// Qt reads the patterns from those brackets, so they are written anew.
QString labelWithoutPatterns(const QString& label) {
  static const QRegularExpression trailingBrackets(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
  return QString(label).remove(trailingBrackets);
}

}  // namespace

QStringList qtNameFilters(std::string_view filter) {
  const QStringList parts =
      QString::fromUtf8(filter.data(), static_cast<qsizetype>(filter.size())).split(u'|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].isEmpty()) break;  // the "||" that ends the list
    filters << labelWithoutPatterns(parts[i]) + QStringLiteral(" (") + qtPatterns(parts[i + 1]) +
                   u')';
  }
  return filters;
}

bool isNamePattern(std::string_view proposedName) {
  return proposedName.find_first_of("*?") != std::string_view::npos;
}

}  // namespace veltra::app
