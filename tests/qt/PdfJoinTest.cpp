// Documents joined as the PDF writer made them, read back with poppler: every
// page in order, the first document's title, and nothing joined from a file
// the writer did not lay out.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <fstream>
#include <string>

#include "qt/PdfJoin.h"
#include "support/PdfText.h"
#include "support/TempDir.h"

namespace veltra::qt {
namespace {

// A document whose pages say their own names; the title holds what looks
// like an object reference, which a join must leave as it is.
std::string document(const QString& title, const QStringList& pages) {
  QBuffer memory;
  memory.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&memory);
    writer.setTitle(title);
    QPainter painter(&writer);
    for (qsizetype page = 0; page < pages.size(); ++page) {
      if (page > 0) writer.newPage();
      painter.drawText(QPointF(100, 300), pages[page]);
    }
  }
  return memory.data().toStdString();
}

std::string written(const testing::TempDir& dir, const std::string& bytes) {
  const std::string path = dir.file("joined.pdf");
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

TEST(PdfJoinTest, PagesFollowInTurnUnderTheFirstTitle) {
  const std::string first = document("Elenco (3 0 R)", {"uno", "due"});
  const std::string second = document("Seconda parte 3 0 R", {"tre", "quattro", "cinque"});
  const auto joined = JoinPdfDocuments({first, second});
  ASSERT_TRUE(joined);

  testing::TempDir dir;
  const std::string path = written(dir, *joined);
  const auto info = testing::pdfInfo(path);
  ASSERT_EQ(info.exitStatus, 0) << info.err;
  EXPECT_NE(info.out.find("Title:           Elenco (3 0 R)\n"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("Pages:           5\n"), std::string::npos) << info.out;
  EXPECT_EQ(info.err, "") << "poppler found nothing to repair";

  const auto text = testing::pdfText(path);
  ASSERT_EQ(text.exitStatus, 0) << text.err;
  std::string pages;
  for (const char c : text.out)
    if (c == '\f' || (c >= 'a' && c <= 'z')) pages += c == '\f' ? '|' : c;
  EXPECT_EQ(pages, "uno|due|tre|quattro|cinque|");
}

TEST(PdfJoinTest, RefusesWhatTheWriterDidNotLayOut) {
  const std::string whole = document("Elenco", {"uno"});
  EXPECT_FALSE(JoinPdfDocuments({whole, whole.substr(0, whole.size() - 40)}));
  EXPECT_FALSE(JoinPdfDocuments({whole, "%PDF-1.4\nnot a document\n"}));
  EXPECT_FALSE(JoinPdfDocuments({}));
}

}  // namespace
}  // namespace veltra::qt
