#include "macroanswers.h"

QVector<quint16> MacroAnswers::textWords(const QString &text, int wordCount)
{
    QByteArray bytes = text.toLatin1().left(wordCount * 2);
    bytes.append(QByteArray(wordCount * 2 - bytes.size(), '\0'));
    QVector<quint16> words(wordCount);
    for (int i = 0; i < wordCount; ++i) {
        words[i] = static_cast<quint16>(
            static_cast<quint8>(bytes.at(2 * i)) | (static_cast<quint8>(bytes.at(2 * i + 1)) << 8));
    }
    return words;
}

QVector<quint16> MacroAnswers::profileHeader(const MacroAnswers &data, quint16 profileNumber)
{
    QVector<quint16> words(48, 0);
    words[0] = profileNumber;
    words[2] = data.profileVersion;
    words[3] = data.profileSize;
    const QVector<quint16> model = textWords(data.profileModel, 8);
    const QVector<quint16> name = textWords(data.profileName, 16);
    const QVector<quint16> description = textWords(data.profileDescription, 16);
    std::copy(model.cbegin(), model.cend(), words.begin() + 5);
    std::copy(name.cbegin(), name.cend(), words.begin() + 13);
    std::copy(description.cbegin(), description.cend(), words.begin() + 29);
    words[45] = data.profileBlocknet;
    words[46] = data.profileProgramCrc;
    words[47] = data.profileHeaderCrc;
    return words;
}

std::optional<QVector<quint16>> MacroAnswers::answer(
    int code, const QVector<quint16> &parameters, const DeviceProfile &device) const
{
    if (overrides.contains(code))
        return overrides.value(code);
    switch (code) {
    case GetSerialNumber:
        return QVector<quint16> {device.serialNumber};
    case GetDeviceInfo:
        return deviceInfo;
    case GetProfileHeader:
        return profileHeader(*this, parameters.isEmpty() ? 0 : parameters.first());
    case GetDeviceKey:
        return deviceKey;
    case GetEventsCount:
        return eventsCount;
    default:
        return std::nullopt;
    }
}
