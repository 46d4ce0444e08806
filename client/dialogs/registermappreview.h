#pragma once

#include "mapimport.h"
#include "mapoptions.h"
#include "rowvalues.h"

#include <QDialog>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QPlainTextEdit;
class QTableWidget;

// The preview of a register map's import: how the file is read (separator,
// encoding, decimal mark, address notation; each change reads it again),
// the requests that will be added and every line that cannot be, with its
// number, column and reason. Nothing is added by the dialog itself; OK is
// offered only when there is something to add.
class registerMapPreview : public QDialog
{
    Q_OBJECT

public:
    // port: the active port as the user knows it, empty for none.
    registerMapPreview(const QString &path, const mapOptions &options, const QString &port,
        QWidget *parent = nullptr);

    mapOptions options() const;
    const mapImport &result() const { return read; }
    // The requests to add: the reads, then the writes, each in map order.
    QList<rowValues> values() const;

private:
    QComboBox *choice(const QStringList &items, int current);
    void reread();
    void showRows();

    QString path;
    mapImport read;
    QComboBox *separator;
    QComboBox *encoding;
    QComboBox *decimal;
    QComboBox *addresses;
    QLabel *detected;
    QLabel *summary;
    QTableWidget *rows;
    QPlainTextEdit *problems;
    QDialogButtonBox *buttons;
};
