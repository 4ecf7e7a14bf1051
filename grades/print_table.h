// Prints a titled table of texts (a header line and rows) on A4 through `printer`.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QPrinter;

namespace grades {

void printTable(QPrinter& printer, const QString& title, const QStringList& headers,
                const QList<QStringList>& rows);

}  // namespace grades
