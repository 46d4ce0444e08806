#pragma once

#include <QString>
#include <QVector>

// The report text (markup) for the answer words of a data-returning macro,
// chosen by the macro name: the serial number, the device information, the
// device key, the events count or the profile header. Too few words give
// "error: returned regs count < required"; any other name "unknown ???".
namespace MacroAnswer {

QString text(const QString &macroName, const QVector<quint16> &words);

} // namespace MacroAnswer
