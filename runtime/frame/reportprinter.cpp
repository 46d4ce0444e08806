#include "reportprinter.h"

#include "filenames.h"

#include <csignal>
#include <cstdio>

ReportPrinter &ReportPrinter::instance()
{
    static ReportPrinter printer;
    return printer;
}

QString ReportPrinter::toPlainText(const QString &markup, const QString &lineEnd)
{
    QString text = markup;
    text.replace(QLatin1String("<br>"), lineEnd);
    // Each "<" up to the next ">" goes, as the expression <[^>]*> would take
    // it; by hand, because a regular expression refuses text that holds the
    // kept bytes of a file name that is not UTF-8 and would remove nothing.
    for (int start = text.indexOf(QLatin1Char('<')); start >= 0;
         start = text.indexOf(QLatin1Char('<'), start)) {
        const int end = text.indexOf(QLatin1Char('>'), start);
        if (end < 0)
            break;
        text.remove(start, end - start + 1);
    }
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

void ReportPrinter::printText(const QString &text)
{
    write(stdout, text);
}

void keepRunningWhenOutputCloses()
{
#ifdef SIGPIPE
    std::signal(SIGPIPE, SIG_IGN);
#endif
}

void printReport(const QString &markup)
{
    ReportPrinter::instance().printReport(markup);
}

void printError(const QString &markup)
{
    ReportPrinter::instance().printError(markup);
}
