#include "grades/print_table.h"

#include <QPageSize>
#include <QPrinter>
#include <QTextDocument>

namespace grades {
namespace {

QString cells(const char* tag, const QStringList& texts) {
    QString row = QStringLiteral("<tr>");
    for (const QString& t : texts)
        row += QStringLiteral("<%1>%2</%1>").arg(QLatin1String(tag), t.toHtmlEscaped());
    return row + QStringLiteral("</tr>");
}

}  // namespace

void printTable(QPrinter& printer, const QString& title, const QStringList& headers,
                const QList<QStringList>& rows) {
    printer.setPageSize(QPageSize(QPageSize::A4));
    QString html = QStringLiteral(
                       "<h3>%1</h3><table border=\"1\" cellspacing=\"0\" "
                       "cellpadding=\"3\">")
                       .arg(title.toHtmlEscaped());
    html += cells("th", headers);
    for (const QStringList& r : rows) html += cells("td", r);
    html += QStringLiteral("</table>");
    QTextDocument document;
    document.setHtml(html);
    document.print(&printer);
}

}  // namespace grades
