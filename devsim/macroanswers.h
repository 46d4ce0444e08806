#pragma once

#include "deviceprofile.h"

#include <QMap>
#include <QString>
#include <QVector>
#include <optional>

// The words that the data-returning macros answer with (function 0x41).
struct MacroAnswers
{
    enum Code : quint16 {
        GetEventsCount = 202,
        GetDeviceKey = 220,
        GetProfileHeader = 224,
        GetDeviceInfo = 225,
        GetSerialNumber = 226,
    };

    QVector<quint16> deviceInfo {3, 2, 1}; // profile, sets of settings, state
    QString profileName = QStringLiteral("Feeder protection");
    QString profileDescription = QStringLiteral("Simulated profile");
    QString profileModel = QStringLiteral("QEL-SIM");
    quint16 profileVersion = 10;
    quint16 profileSize = 4096;
    quint16 profileBlocknet = 7;
    quint16 profileProgramCrc = 0xBEEF;
    quint16 profileHeaderCrc = 0xCAFE;
    QVector<quint16> deviceKey {0x1234, 0xABCD};
    QVector<quint16> eventsCount {0x0000, 0x002A};
    // Answers given for a code instead of the ones above ("this code answers these words").
    QMap<int, QVector<quint16>> overrides;

    // The answer of one macro for one device; nothing when the code answers no data.
    std::optional<QVector<quint16>> answer(
        int code, const QVector<quint16> &parameters, const DeviceProfile &device) const;

    // Text as words of two Latin-1 characters, the first in the low byte,
    // cut or padded with zeros to the given number of words.
    static QVector<quint16> textWords(const QString &text, int wordCount);
    static QVector<quint16> profileHeader(const MacroAnswers &data, quint16 profileNumber);
};
