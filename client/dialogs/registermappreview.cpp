#include "registermappreview.h"

#include "registermapfile.h"
#include "registertypes.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

registerMapPreview::registerMapPreview(
    const QString &path, const mapOptions &options, const QString &port, QWidget *parent)
    : QDialog(parent)
    , path(path)
{
    setObjectName(QStringLiteral("registerMapPreview"));
    setWindowTitle(tr("Import register map"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setWindowIcon(QIcon(QStringLiteral(":/_icons/data_open_128.png")));
    resize(900, 600);

    separator = choice({tr("Detect"), tr("Comma"), tr("Semicolon")}, int(options.separator));
    encoding = choice({tr("Detect"), QStringLiteral("UTF-8"), QStringLiteral("Windows-1250")},
        int(options.encoding));
    decimal = choice({tr("Point or comma"), tr("Point"), tr("Comma")}, int(options.decimal));
    addresses = choice({tr("0-based, decimal or 0x hex"), tr("1-based, 4xxxx 3xxxx 0xxxx 1xxxx")},
        int(options.addresses));
    const bool csv = registerMapFile::kindOf(path) == registerMapFile::Kind::Csv;
    separator->setEnabled(csv);
    encoding->setEnabled(csv);

    auto *form = new QFormLayout;
    const auto addRow = [this, form](const QString &text, const char *name, QWidget *field) {
        auto *label = new QLabel(text, this);
        label->setObjectName(QLatin1String(name));
        label->setBuddy(field);
        form->addRow(label, field);
    };
    auto *file = new QLabel(QDir::toNativeSeparators(path), this);
    file->setObjectName(QStringLiteral("file"));
    file->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *portLabel = new QLabel(port.isEmpty() ? tr("no port is active") : port, this);
    portLabel->setObjectName(QStringLiteral("port"));
    detected = new QLabel(this);
    detected->setObjectName(QStringLiteral("detected"));
    addRow(tr("File"), "fileLabel", file);
    addRow(tr("Active port"), "portLabel", portLabel);
    addRow(tr("Separator"), "separatorLabel", separator);
    addRow(tr("Encoding"), "encodingLabel", encoding);
    addRow(tr("Decimal mark"), "decimalLabel", decimal);
    addRow(tr("Addresses"), "addressesLabel", addresses);
    addRow(tr("Read as"), "detectedLabel", detected);

    summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("summary"));
    summary->setWordWrap(true);
    rows = new QTableWidget(this);
    rows->setObjectName(QStringLiteral("rows"));
    rows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rows->setSelectionBehavior(QAbstractItemView::SelectRows);
    rows->verticalHeader()->hide();
    rows->setColumnCount(9);
    rows->setHorizontalHeaderLabels({tr("Line"), tr("Access"), tr("Name"), tr("Kind"),
        tr("Address"), tr("Type"), tr("Scale"), tr("Offset"), tr("Unit")});
    rows->horizontalHeader()->setStretchLastSection(true);
    problems = new QPlainTextEdit(this);
    problems->setObjectName(QStringLiteral("problems"));
    problems->setReadOnly(true);
    problems->setLineWrapMode(QPlainTextEdit::NoWrap);
    problems->setMaximumBlockCount(0);
    problems->setStyleSheet(QStringLiteral("color: #c00000"));
    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Add"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(summary);
    layout->addWidget(rows, 3);
    layout->addWidget(problems, 1);
    layout->addWidget(buttons);

    for (QComboBox *box : {separator, encoding, decimal, addresses})
        connect(box, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &registerMapPreview::reread);
    reread();
}

QComboBox *registerMapPreview::choice(const QStringList &items, int current)
{
    auto *box = new QComboBox(this);
    box->addItems(items);
    box->setCurrentIndex(qBound(0, current, items.size() - 1));
    return box;
}

mapOptions registerMapPreview::options() const
{
    mapOptions chosen;
    chosen.separator = mapOptions::Separator(separator->currentIndex());
    chosen.encoding = mapOptions::Encoding(encoding->currentIndex());
    chosen.decimal = mapOptions::Decimal(decimal->currentIndex());
    chosen.addresses = mapOptions::Addresses(addresses->currentIndex());
    return chosen;
}

QList<rowValues> registerMapPreview::values() const
{
    QList<rowValues> reads;
    QList<rowValues> writes;
    for (const mapEntry &entry : read.entries) {
        if (entry.read)
            reads << *entry.read;
        if (entry.write)
            writes << *entry.write;
    }
    return reads + writes;
}

void registerMapPreview::reread()
{
    QString how;
    read = registerMapFile::read(path, options(), &how);
    detected->setText(how.isEmpty() ? tr("workbook, first worksheet") : how);
    showRows();
}

void registerMapPreview::showRows()
{
    const int readCount = read.readCount();
    const int writeCount = read.writeCount();
    QString text = tr("To be added: %1 reads, %2 writes.").arg(readCount).arg(writeCount);
    if (!read.problems.empty())
        text += QLatin1Char(' ') + tr("Lines that cannot be added: %1.").arg(read.problems.size());
    summary->setText(text);

    rows->setUpdatesEnabled(false);
    rows->clearContents();
    rows->setRowCount(readCount + writeCount);
    int row = 0;
    const auto addRow = [this, &row](int line, const QString &access, const auto &values) {
        const QStringList cells {QString::number(line), access, values.desc,
            registerTypes::kindShortLabel(values.kind), values.addr,
            registerTypes::typeText(values.type, values.order, values.length), values.scaling.scale,
            values.scaling.offset, values.scaling.unit};
        for (int column = 0; column < cells.size(); ++column)
            rows->setItem(row, column, new QTableWidgetItem(cells.at(column)));
        ++row;
    };
    for (const mapEntry &entry : read.entries) {
        if (entry.read)
            addRow(entry.line, tr("read"), *entry.read);
        if (entry.write)
            addRow(entry.line, tr("write %1").arg(entry.write->value), *entry.write);
    }
    rows->resizeColumnsToContents();
    rows->setUpdatesEnabled(true);

    QStringList lines;
    for (const mapProblem &problem : read.problems)
        lines << problem.text();
    problems->setPlainText(lines.join(QLatin1Char('\n')));
    problems->setVisible(!lines.isEmpty());
    buttons->button(QDialogButtonBox::Ok)->setEnabled(!read.entries.empty());
}
