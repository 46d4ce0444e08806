#include "reportprinter.h"

#include "filenames.h"

#include <QRegularExpression>

#include <cstdio>

ReportPrinter &ReportPrinter::instance()
{
    static ReportPrinter printer;
    return printer;
}

QString ReportPrinter::toPlainText(const QString &markup, const QString &lineEnd)
{
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    QString text = markup;
    text.replace(QLatin1String("<br>"), lineEnd);
    text.remove(tag);
    text.replace(QLatin1String("&nbsp;"), QLatin1String(" "));
    return text;
}

// The engine writes its trace with stdio, so reports go through the same
// streams to keep the order of everything a program prints.
static void write(FILE *stream, const QString &text)
{
    // UTF-8, with the bytes of file names that are not UTF-8 as given.
    const QByteArray bytes = FileNames::toBytes(text);
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

void ReportPrinter::printReport(const QString &markup)
{
    write(stdout, toPlainText(markup, QStringLiteral("\r\n")));
}

void ReportPrinter::printError(const QString &markup)
{
    write(stderr, toPlainText(markup, QStringLiteral("\n")));
}

void printReport(const QString &markup)
{
    ReportPrinter::instance().printReport(markup);
}

void printError(const QString &markup)
{
    ReportPrinter::instance().printError(markup);
}
