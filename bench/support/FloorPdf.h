#pragma once
// The least a program must do to print a report's rows into a PDF: the same
// texts at fixed places in one standard font (no embedding, no measuring),
// a rule over each row, one deflated content stream a page. The report
// benchmark runs it beside the real report to say how far from that floor
// the report is.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace veltra::bench {

// One cell: its left edge in points from the page's left, and its text.
struct FloorCell {
  double x = 0.0;
  std::string_view text;
};

class FloorPdf {
 public:
  explicit FloorPdf(double pageWidth, double pageHeight)
      : pageWidth_(pageWidth), pageHeight_(pageHeight) {}

  // Starts a page with its three header lines at the top.
  void beginPage(const std::vector<std::string>& header) {
    content_.clear();
    content_ += "BT /F1 8 Tf\n";
    double y = pageHeight_ - 30;
    for (const std::string& line : header) {
      textAt(30, y, line);
      y -= 12;
    }
    rowY_ = y - 20;
  }

  void row(const std::vector<FloorCell>& cells) {
    for (const FloorCell& cell : cells) textAt(cell.x, rowY_, cell.text);
    rules_ += QByteArray::number(30) + ' ' + QByteArray::number(rowY_ + 9, 'f', 1) + " m " +
              QByteArray::number(pageWidth_ - 30) + ' ' + QByteArray::number(rowY_ + 9, 'f', 1) +
              " l S\n";
    rowY_ -= 11;
  }

  void endPage() {
    content_ += "ET\n0.2 w\n" + rules_;
    rules_.clear();
    // qCompress puts the length before a zlib stream: the stream is what
    // FlateDecode reads.
    pages_.push_back(qCompress(content_).mid(4));
  }

  std::size_t pageCount() const { return pages_.size(); }

  // Catalog 1, pages 2, font 3, then each page and its content.
  bool write(const QString& path) const {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    QByteArray out = "%PDF-1.4\n";
    std::vector<qsizetype> offsets;
    const auto object = [&](const QByteArray& body) {
      offsets.push_back(out.size());
      out += QByteArray::number(offsets.size()) + " 0 obj\n" + body + "\nendobj\n";
    };
    object("<< /Type /Catalog /Pages 2 0 R >>");
    QByteArray kids;
    for (std::size_t n = 0; n < pages_.size(); ++n) kids += QByteArray::number(4 + 2 * n) + " 0 R ";
    object("<< /Type /Pages /Count " + QByteArray::number(pages_.size()) + " /Kids [" + kids +
           "] >>");
    object("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>");
    for (std::size_t n = 0; n < pages_.size(); ++n) {
      object("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + QByteArray::number(pageWidth_) + ' ' +
             QByteArray::number(pageHeight_) +
             "] /Resources << /Font << /F1 3 0 R >> >> /Contents " + QByteArray::number(5 + 2 * n) +
             " 0 R >>");
      object("<< /Length " + QByteArray::number(pages_[n].size()) +
             " /Filter /FlateDecode >>\nstream\n" + pages_[n] + "\nendstream");
    }
    const qsizetype xref = out.size();
    out += "xref\n0 " + QByteArray::number(offsets.size() + 1) + "\n0000000000 65535 f \n";
    for (qsizetype offset : offsets)
      out += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    out += "trailer\n<< /Size " + QByteArray::number(offsets.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return file.write(out) == out.size();
  }

 private:
  void textAt(double x, double y, std::string_view text) {
    content_ +=
        "1 0 0 1 " + QByteArray::number(x, 'f', 1) + ' ' + QByteArray::number(y, 'f', 1) + " Tm (";
    for (char c : QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toLatin1()) {
      if (c == '(' || c == ')' || c == '\\') content_ += '\\';
      content_ += c;
    }
    content_ += ") Tj\n";
  }

  double pageWidth_;
  double pageHeight_;
  double rowY_ = 0.0;
  QByteArray content_;
  QByteArray rules_;
  std::vector<QByteArray> pages_;
};

}  // namespace veltra::bench
