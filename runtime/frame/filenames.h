#pragma once

#include <QByteArray>
#include <QString>

// File names travel from the command line to open() as the bytes the user
// gave, also where they are not valid UTF-8.
//
// Qt turns bytes into text with the locale's codec (command-line arguments,
// QFile::decodeName) and back with the same codec (QFile::encodeName, used by
// QFile, QSaveFile, QFileInfo and QDir). keepBytesAsGiven() makes that codec
// UTF-8 in which every byte that is not part of a valid UTF-8 sequence becomes
// the lone surrogate U+DC80 + (byte - 0x80) and turns back into that byte, so
// decoding and encoding give the original bytes whatever they were.
namespace FileNames {

// Installs the byte-keeping codec as the locale's codec. Call it first in
// main(), before the command line is read.
void keepBytesAsGiven();

// The bytes of a text under the byte-keeping codec: UTF-8, with the kept
// bytes restored. For text without kept bytes this is QString::toUtf8().
QByteArray toBytes(const QString &text);
// The text of bytes under the byte-keeping codec; toBytes() gives them back.
QString fromBytes(const QByteArray &bytes);

// A "file:" URI of the name with every byte outside the unreserved set and
// "/" percent-encoded, for libraries that take names as UTF-8 text only
// (SQLite with URI names opens exactly the bytes given).
QString toFileUri(const QString &fileName);

} // namespace FileNames
