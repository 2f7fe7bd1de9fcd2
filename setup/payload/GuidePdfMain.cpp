// Build-time tool: a guide or readme of the payload as a PDF made from a short text file:
//   TarnwickGuidePdf <text file> <PDF file>
// The first line is the title; an empty line separates paragraphs.
#include <QFile>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QStringList>
#include <QTextDocument>

#include <cstdio>

namespace {

constexpr int kResolution = 72;

QString Html(const QString& text) {
  QStringList lines = text.split(u'\n');
  const QString title = lines.isEmpty() ? QString() : lines.takeFirst().toHtmlEscaped();
  QString html = QStringLiteral("<h1>%1</h1><p>").arg(title);
  for (const QString& line : lines) {
    html += line.trimmed().isEmpty() ? QStringLiteral("</p><p>") : line.toHtmlEscaped() + u' ';
  }
  return html + QStringLiteral("</p>");
}

bool Write(const QString& text, const QString& path) {
  QPdfWriter writer(path);
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setResolution(kResolution);
  writer.setTitle(text.section(u'\n', 0, 0));
  writer.setCreator(QStringLiteral("Tarnwick Plus Lite"));
  QTextDocument document;
  document.setHtml(Html(text));
  document.setPageSize(writer.pageLayout().paintRectPixels(kResolution).size());
  QPainter painter;
  if (!painter.begin(&writer)) return false;
  document.drawContents(&painter);
  return painter.end();
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  const QGuiApplication application(argc, argv);
  const QStringList args = QGuiApplication::arguments();
  if (args.size() != 3) {
    std::fputs("usage: TarnwickGuidePdf <text file> <PDF file>\n", stderr);
    return 2;
  }
  QFile source(args.at(1));
  if (!source.open(QIODevice::ReadOnly)) return 1;
  return Write(QString::fromUtf8(source.readAll()), args.at(2)) ? 0 : 1;
}
