#pragma once

#include <QString>
#include <QVector>

// Register images in files: a range read saved with "--save", a block write
// loaded with "--load". Binary files hold two bytes per word, low-order byte
// first; text files hold the value texts joined by "," (WordList).
namespace RegisterImageFile {

// Saves the words as decimal text for the display value "DEC", as hexadecimal
// text for "HEX", otherwise as a binary image. Missing directories are made.
// The file is replaced only once it is written whole. On failure *error holds
// a message naming the file.
bool save(
    const QString &fileName, const QVector<quint16> &words, const QString &display, QString *error);

// Loads the words of a binary file for the format value "BIN", of a text file
// otherwise. A file that cannot be read, one that is not a regular file (a
// FIFO, a device: refused at once, never waited for), a file larger than
// 65535 registers take (its size is looked at first; memory stays bounded), a
// binary file of odd length, a control character or bytes that are not UTF-8
// in a text file (named by position) and a text value that does not read are
// errors: *error holds a message naming the file and no words are given. An
// empty file gives no words and succeeds.
bool load(const QString &fileName, const QString &format, QVector<quint16> *words, QString *error);

} // namespace RegisterImageFile
