#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

// Reads CSV text as RFC 4180 has it: fields separated by commas, records by
// CR LF, a quoted field may hold commas, line ends and doubled quotes.
// Returns false (and stops) at anything else: a bare LF, a quote inside an
// unquoted field, text after a closing quote, a record not ended by CR LF.
bool parseCsv(const QByteArray &utf8, QList<QStringList> *records);
