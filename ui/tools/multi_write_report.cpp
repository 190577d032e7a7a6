#include "ui/tools/multi_write_report.h"

#include <QStringList>

namespace {

// A field with a comma, a quote or a line break goes in quotes, its quotes doubled.
QString Field(const QString& text) {
  if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
      !text.contains(QLatin1Char('\n'))) {
    return text;
  }
  QString quoted = text;
  quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
  return QLatin1Char('"') + quoted + QLatin1Char('"');
}

}  // namespace

QString MultiWriteReportText(const MultiWriteReportHeading& heading,
                             const std::vector<MultiWriteResult>& rows) {
  QString text = QStringLiteral("# Written %1, port %2, %3 baud, settings %4\n")
                     .arg(heading.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                          heading.port, QString::number(heading.baud), heading.settingsFile);
  text += QStringLiteral("Address,Result,Time (ms)\n");
  for (const MultiWriteResult& row : rows) {
    text += QStringList{QString::number(row.address), Field(QString::fromStdString(row.text)),
                        QString::number(row.ms)}
                .join(QLatin1Char(',')) +
            QLatin1Char('\n');
  }
  return text;
}
