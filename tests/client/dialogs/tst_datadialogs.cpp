#include "addreaddata.h"
#include "addwritedata.h"
#include "dialogtesting.h"
#include "writedata.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include <limits>
#include <memory>

// The read request, stored write request and immediate write dialogs.
class tst_datadialogs : public QObject
{
    Q_OBJECT

private:
    template<typename T> static T *control(QDialog &dialog, const char *name)
    {
        T *found = dialog.findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    static QStringList items(QComboBox *box)
    {
        QStringList list;
        for (int i = 0; i < box->count(); ++i)
            list << box->itemText(i);
        return list;
    }
    // The user picks an item of a list.
    static void choose(QDialog &dialog, const char *list, const QString &text)
    {
        QComboBox *box = control<QComboBox>(dialog, list);
        const int index = box->findText(text);
        QVERIFY2(index >= 0, qPrintable(text));
        box->setCurrentIndex(index);
    }
    static const QStringList types;

private slots:
    void readInitial();
    void readFormatFollowsType_data();
    void readFormatFollowsType();
    void readEditPreset_data();
    void readEditPreset();
    void readHash_data();
    void readHash();
    void readScaling();
    void writeScaling();
    void writeInitial();
    void writeRanges_data();
    void writeRanges();
    void writeUnknownTypeChangesNothing();
    void writeValueText_data();
    void writeValueText();
    void writeValueClampedByNewType();
    void writeEditPreset();
    void writeHash_data();
    void writeHash();
    void answers();
    void kindOffersTypes_data();
    void kindOffersTypes();
    void controlsFollowType_data();
    void controlsFollowType();
    void readValuesRoundTrip_data();
    void readValuesRoundTrip();
    void writeValuesRoundTrip_data();
    void writeValuesRoundTrip();
    void typedValueChecks_data();
    void typedValueChecks();
    void longerTextWaitsForRegisters();
};

const QStringList tst_datadialogs::types {
    "F32", "U32", "S32", "U16", "S16", "U64", "S64", "F64", "STR"};

void tst_datadialogs::readInitial()
{
    addReadData dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("ReadData"));
    QVERIFY(!dialog.windowIcon().isNull());
    QVERIFY(!(dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
    QCOMPARE(items(control<QComboBox>(dialog, "type")), types);
    QCOMPARE(dialog.type(), QStringLiteral("F32"));
    auto *address = control<QSpinBox>(dialog, "address");
    QCOMPARE(address->minimum(), 0);
    QCOMPARE(address->maximum(), 65535);
    QCOMPARE(dialog.address(), QStringLiteral("0"));
    auto *format = control<QComboBox>(dialog, "format");
    QCOMPARE(items(format), (QStringList {"", "F_X", "F_X_X", "F_X_XX", "F_X_XXX", "F_X_XXXX"}));
    QCOMPARE(dialog.format(), QString());
    QVERIFY(!format->isEnabled());
    QCOMPARE(dialog.savedFormat(), QString());
    QCOMPARE(dialog.desc(), QString());
}

void tst_datadialogs::readFormatFollowsType_data()
{
    // Steps: "type:X" picks a type, "format:X" picks a format.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("saved");

    QTest::newRow("integer type enables the format")
        << QStringList {"type:U16"} << "" << true << "";
    QTest::newRow("format kept across integer types")
        << QStringList {"type:U16", "format:F_X_XX", "type:U32"} << "F_X_XX" << true << "F_X_XX";
    QTest::newRow("F32 clears the saved format")
        << QStringList {"type:U16", "format:F_X_XX", "type:F32", "type:U16"} << "" << true << "";
    QTest::newRow("F32 shows the empty format disabled")
        << QStringList {"type:S32", "format:F_X", "type:F32"} << "" << false << "";
    QTest::newRow("last choice wins")
        << QStringList {"type:S16", "format:F_X", "format:F_X_XXXX", "type:U16"} << "F_X_XXXX"
        << true << "F_X_XXXX";
}

void tst_datadialogs::readFormatFollowsType()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, format);
    QFETCH(bool, enabled);
    QFETCH(QString, saved);

    addReadData dialog;
    for (const QString &step : qAsConst(steps)) {
        const QString list = step.section(QLatin1Char(':'), 0, 0);
        choose(dialog, list == QLatin1String("type") ? "type" : "format",
            step.section(QLatin1Char(':'), 1));
    }
    QCOMPARE(dialog.format(), format);
    QCOMPARE(control<QComboBox>(dialog, "format")->isEnabled(), enabled);
    QCOMPARE(dialog.savedFormat(), saved);
}

void tst_datadialogs::readEditPreset_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("integer with format") << "U32"
                                         << "F_X_XX" << true;
    QTest::newRow("integer without format") << "U16"
                                            << "" << true;
    QTest::newRow("float") << "F32"
                           << "" << false;
    QTest::newRow("format the list lacks") << "U16"
                                           << "F_X_X" << true;
}

void tst_datadialogs::readEditPreset()
{
    QFETCH(QString, type);
    QFETCH(QString, format);
    QFETCH(bool, enabled);

    // The order in which a read element presets its editor.
    addReadData dialog;
    dialog.setAddress(1024);
    dialog.setDesc(QStringLiteral("Meter total"));
    dialog.setFormat(format);
    dialog.setType(type);
    QCOMPARE(dialog.type(), type);
    QCOMPARE(dialog.address(), QStringLiteral("1024"));
    QCOMPARE(dialog.desc(), QStringLiteral("Meter total"));
    QCOMPARE(dialog.format(), format);
    QCOMPARE(dialog.savedFormat(), format);
    QCOMPARE(control<QComboBox>(dialog, "format")->isEnabled(), enabled);
}

void tst_datadialogs::readHash_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("address");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("desc");
    QTest::addColumn<QString>("hash");

    QTest::newRow("as built") << "F32" << 0 << ""
                              << ""
                              << "9bb13570e6f48a11675105234f4189e1";
    QTest::newRow("meter total") << "U32" << 1024 << "F_X_XX"
                                 << "Meter total"
                                 << "d5cb4bd57c768c3a8110e566f223c68e";
    QTest::newRow("pump start") << "U16" << 55 << "F_X"
                                << "Pump start"
                                << "739c484ae295e9a722b88fb152727985";
}

void tst_datadialogs::readHash()
{
    QFETCH(QString, type);
    QFETCH(int, address);
    QFETCH(QString, format);
    QFETCH(QString, desc);
    QFETCH(QString, hash);

    addReadData dialog;
    dialog.setAddress(address);
    dialog.setDesc(desc);
    dialog.setFormat(format);
    dialog.setType(type);
    QCOMPARE(dialog.hash(), hash);
}

// The engineering value: taken as typed (a decimal comma as a point), given
// back as preset, and OK refused with the reason while it is not valid.
void tst_datadialogs::readScaling()
{
    addReadData dialog;
    readValues stored;
    stored.type = "S32";
    stored.scaling = {"0.01", "-40", "°C"};
    dialog.setValues(stored);
    QCOMPARE(dialog.values().scaling, stored.scaling);
    const QString unscaledHash = [] {
        addReadData plain;
        readValues values;
        values.type = "S32";
        plain.setValues(values);
        return plain.hash();
    }();
    QVERIFY(dialog.hash() != unscaledHash);

    QPushButton *ok = control<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Ok);
    QLabel *problem = control<QLabel>(dialog, "scalingProblem");
    control<QLineEdit>(dialog, "scale")->setText("0");
    QVERIFY(!ok->isEnabled());
    QCOMPARE(problem->text(), QString("the scale must not be 0"));
    control<QLineEdit>(dialog, "scale")->setText(" 0,5 ");
    control<QLineEdit>(dialog, "offset")->setText("x");
    QVERIFY(!ok->isEnabled());
    QCOMPARE(problem->text(), QString("the offset x is not a number"));
    control<QLineEdit>(dialog, "offset")->clear();
    QVERIFY(ok->isEnabled());
    QVERIFY(problem->isHidden());
    QCOMPARE(dialog.values().scaling.scale, QString("0.5"));
    QCOMPARE(dialog.values().scaling.offset, QString());
}

// A scaled write takes its engineering value as text (the spin box's value
// carried over) and refuses one that lands on no raw value of the type.
void tst_datadialogs::writeScaling()
{
    addWriteData dialog;
    choose(dialog, "type", "U16");
    control<QDoubleSpinBox>(dialog, "value")->setValue(12);
    QLineEdit *text = control<QLineEdit>(dialog, "text");
    QPushButton *ok = control<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Ok);
    QLabel *problem = control<QLabel>(dialog, "scalingProblem");
    control<QLineEdit>(dialog, "scale")->setText("0.01");
    QVERIFY(!text->isHidden());
    QCOMPARE(text->text(), QString("12"));
    QVERIFY(ok->isEnabled());
    text->setText("12,345");
    QVERIFY(!ok->isEnabled());
    QVERIFY2(
        problem->text().startsWith("12.345 is not a whole raw value"), qPrintable(problem->text()));
    text->setText("655.36");
    QVERIFY(!ok->isEnabled());
    QVERIFY(problem->text().contains("outside 0 to 65535"));
    text->setText("12,34");
    QVERIFY(ok->isEnabled());
    QCOMPARE(dialog.values().value, QString("12.34"));
    QString error;
    QCOMPARE(dialog.values().rawValue(&error), QString("1234"));

    // Presetting a stored scaled write shows its engineering value.
    addWriteData edit;
    edit.setValues(dialog.values());
    QCOMPARE(edit.values().toJson(), dialog.values().toJson());
    // Without the scaling the spin box is back.
    control<QLineEdit>(edit, "scale")->clear();
    QVERIFY(control<QLineEdit>(edit, "text")->isHidden());
    QCOMPARE(edit.values().scaling.scale, QString());
}

void tst_datadialogs::writeInitial()
{
    addWriteData stored;
    writeData immediate;
    QCOMPARE(stored.windowTitle(), QStringLiteral("WriteData"));
    QCOMPARE(immediate.windowTitle(), QStringLiteral("WriteData"));
    QVERIFY(!stored.windowIcon().isNull() && !immediate.windowIcon().isNull());
    QVERIFY(!immediate.findChild<QPlainTextEdit *>(QStringLiteral("desc")));
    for (QDialog *dialog : {static_cast<QDialog *>(&stored), static_cast<QDialog *>(&immediate)}) {
        QVERIFY(!(dialog->windowFlags() & Qt::WindowContextHelpButtonHint));
        QCOMPARE(items(control<QComboBox>(*dialog, "type")), types);
        auto *address = control<QSpinBox>(*dialog, "address");
        QCOMPARE(address->minimum(), 0);
        QCOMPARE(address->maximum(), 65535);
        auto *value = control<QDoubleSpinBox>(*dialog, "value");
        QCOMPARE(value->decimals(), 3);
        QCOMPARE(value->maximum(), 3.4028234663852886e38);
        QCOMPARE(value->value(), 0.0);
    }
    QCOMPARE(stored.type(), QStringLiteral("F32"));
    QCOMPARE(stored.address(), QStringLiteral("0"));
    QCOMPARE(stored.value(), QStringLiteral("0"));
    QCOMPARE(immediate.value(), QStringLiteral("0"));
}

void tst_datadialogs::writeRanges_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<int>("decimals");

    QTest::newRow("F32") << "F32" << -3.4028234663852886e38 << 3.4028234663852886e38 << 3;
    QTest::newRow("U32") << "U32" << 0.0 << 4294967295.0 << 0;
    QTest::newRow("S32") << "S32" << -2147483648.0 << 2147483647.0 << 0;
    QTest::newRow("U16") << "U16" << 0.0 << 65535.0 << 0;
    QTest::newRow("S16") << "S16" << -32768.0 << 32767.0 << 0;
}

void tst_datadialogs::writeRanges()
{
    QFETCH(QString, type);
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    QFETCH(int, decimals);

    addWriteData stored;
    writeData immediate;
    for (QDialog *dialog : {static_cast<QDialog *>(&stored), static_cast<QDialog *>(&immediate)}) {
        // Away from the type first, so that choosing it is a change.
        choose(*dialog, "type", type == QLatin1String("U16") ? "S16" : "U16");
        choose(*dialog, "type", type);
        auto *value = control<QDoubleSpinBox>(*dialog, "value");
        QCOMPARE(value->minimum(), minimum);
        QCOMPARE(value->maximum(), maximum);
        QCOMPARE(value->decimals(), decimals);
    }
}

void tst_datadialogs::writeUnknownTypeChangesNothing()
{
    addWriteData dialog;
    dialog.typeChange(QStringLiteral("U16"));
    dialog.typeChange(QStringLiteral("U64"));
    auto *value = control<QDoubleSpinBox>(dialog, "value");
    QCOMPARE(value->minimum(), 0.0);
    QCOMPARE(value->maximum(), 65535.0);
    QCOMPARE(value->decimals(), 0);
}

void tst_datadialogs::writeValueText_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<double>("entered");
    QTest::addColumn<QString>("text");

    QTest::newRow("U32 maximum exact") << "U32" << 4294967295.0 << "4294967295";
    QTest::newRow("U32 seven digits") << "U32" << 7654321.0 << "7654321";
    QTest::newRow("S32 minimum") << "S32" << -2147483648.0 << "-2147483648";
    QTest::newRow("S32 maximum") << "S32" << 2147483647.0 << "2147483647";
    QTest::newRow("U16 maximum") << "U16" << 65535.0 << "65535";
    QTest::newRow("S16 minimum") << "S16" << -32768.0 << "-32768";
    QTest::newRow("F32 2.5") << "F32" << 2.5 << "2.5";
    QTest::newRow("F32 tenth") << "F32" << 0.1 << "0.1";
    QTest::newRow("F32 three decimals") << "F32" << 123.456 << "123.456";
    QTest::newRow("F32 seven digits") << "F32" << 7654321.0 << "7654321";
    QTest::newRow("F32 million") << "F32" << 1000000.0 << "1e+06";
    QTest::newRow("F32 beyond single precision") << "F32" << 16777217.0 << "16777216";
    QTest::newRow("F32 negative") << "F32" << -12.5 << "-12.5";
    // The nearest 8-digit text of the extremes reads as a number beyond the range.
    QTest::newRow("F32 most negative") << "F32" << -3.4028234663852886e38 << "-3.4028234e+38";
    QTest::newRow("F32 largest") << "F32" << 3.4028234663852886e38 << "3.4028234e+38";
    QTest::newRow("F32 zero") << "F32" << 0.0 << "0";
}

void tst_datadialogs::writeValueText()
{
    QFETCH(QString, type);
    QFETCH(double, entered);
    QFETCH(QString, text);

    addWriteData stored;
    stored.setType(type);
    stored.setValue(entered);
    QCOMPARE(stored.value(), text);
    writeData immediate;
    immediate.setType(type);
    immediate.setValue(entered);
    QCOMPARE(immediate.value(), text);

    // The text reads back to the same value in the register's own type.
    if (type == QLatin1String("F32"))
        QCOMPARE(text.toFloat(), float(entered));
    else
        QCOMPARE(text.toDouble(), entered);
}

void tst_datadialogs::writeValueClampedByNewType()
{
    addWriteData dialog;
    choose(dialog, "type", QStringLiteral("U32"));
    dialog.setValue(4294967295.0);
    QCOMPARE(dialog.value(), QStringLiteral("4294967295"));
    choose(dialog, "type", QStringLiteral("U16"));
    QCOMPARE(dialog.value(), QStringLiteral("65535"));
    choose(dialog, "type", QStringLiteral("S16"));
    QCOMPARE(dialog.value(), QStringLiteral("32767"));
}

void tst_datadialogs::writeEditPreset()
{
    // A write element whose value label is 2.5 opens its editor with 2.5.
    addWriteData dialog;
    dialog.setAddress(300);
    dialog.setDesc(QStringLiteral("Trip level"));
    dialog.setType(QStringLiteral("F32"));
    dialog.setValue(QStringLiteral("2.5").toDouble());
    QCOMPARE(dialog.value(), QStringLiteral("2.5"));
    QCOMPARE(dialog.address(), QStringLiteral("300"));
    QCOMPARE(dialog.desc(), QStringLiteral("Trip level"));
}

void tst_datadialogs::writeHash_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("address");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("desc");
    QTest::addColumn<QString>("hash");

    QTest::newRow("as built") << "F32" << 0 << 0.0 << ""
                              << "34b4a3d57ec6ed01ab721880d69abc6f";
    QTest::newRow("float") << "F32" << 0 << 2.5 << ""
                           << "9b6a3f685c589339254be557e9c711c8";
    QTest::newRow("setpoint") << "S16" << 100 << -32768.0 << "Setpoint trip delay"
                              << "19383a94764b5a837cf0dd58414735fd";
}

void tst_datadialogs::writeHash()
{
    QFETCH(QString, type);
    QFETCH(int, address);
    QFETCH(double, value);
    QFETCH(QString, desc);
    QFETCH(QString, hash);

    addWriteData dialog;
    dialog.setAddress(address);
    dialog.setDesc(desc);
    dialog.setType(type);
    dialog.setValue(value);
    QCOMPARE(dialog.hash(), hash);
}

void tst_datadialogs::answers()
{
    addReadData read;
    QCOMPARE(execAnswering(read, QDialogButtonBox::Ok), int(QDialog::Accepted));
    addWriteData stored;
    QCOMPARE(execAnswering(stored, QDialogButtonBox::Cancel), int(QDialog::Rejected));
    writeData immediate;
    QCOMPARE(execAnswering(immediate, QDialogButtonBox::Ok), int(QDialog::Accepted));
}

void tst_datadialogs::kindOffersTypes_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QStringList>("kinds"); // as the user reads them
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("offered");

    const QStringList readKinds {"Holding register", "Input register", "Coil", "Discrete input"};
    const QStringList writeKinds {"Holding register", "Coil"};
    QTest::newRow("read of input registers") << "read" << readKinds << "Input register" << types;
    QTest::newRow("read of coils") << "read" << readKinds << "Coil" << QStringList {"BIT"};
    QTest::newRow("read of discrete inputs")
        << "read" << readKinds << "Discrete input" << QStringList {"BIT"};
    QTest::newRow("stored write of a coil")
        << "stored" << writeKinds << "Coil" << QStringList {"BIT"};
    QTest::newRow("immediate write of a coil")
        << "immediate" << writeKinds << "Coil" << QStringList {"BIT"};
    QTest::newRow("immediate write of registers")
        << "immediate" << writeKinds << "Holding register" << types;
}

// The kinds each dialog offers, holding registers first, and the types of
// the kind chosen; a coil's value is 0 or 1.
void tst_datadialogs::kindOffersTypes()
{
    QFETCH(QString, dialog);
    QFETCH(QStringList, kinds);
    QFETCH(QString, kind);
    QFETCH(QStringList, offered);

    std::unique_ptr<QDialog> shown;
    if (dialog == "read")
        shown.reset(new addReadData);
    else if (dialog == "stored")
        shown.reset(new addWriteData);
    else
        shown.reset(new writeData);
    QCOMPARE(items(control<QComboBox>(*shown, "kind")), kinds);
    choose(*shown, "type", "U32");
    choose(*shown, "kind", kind);
    QCOMPARE(items(control<QComboBox>(*shown, "type")), offered);
    // The type shown stays when the kind has it, otherwise the kind's first.
    QCOMPARE(control<QComboBox>(*shown, "type")->currentText(),
        offered.contains("U32") ? "U32" : offered.first());
    if (dialog != "read" && offered == QStringList {"BIT"}) {
        auto *value = control<QDoubleSpinBox>(*shown, "value");
        QCOMPARE(value->minimum(), 0.0);
        QCOMPARE(value->maximum(), 1.0);
        QCOMPARE(value->decimals(), 0);
    }
    // Back to the first kind: its types again.
    control<QComboBox>(*shown, "kind")->setCurrentIndex(0);
    QCOMPARE(items(control<QComboBox>(*shown, "type")), types);
}

void tst_datadialogs::controlsFollowType_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("order");
    QTest::addColumn<bool>("length");
    QTest::addColumn<bool>("single"); // function 6 can be chosen
    QTest::addColumn<bool>("typed"); // the value is typed as text

    QTest::newRow("F32") << "F32" << true << false << false << false;
    QTest::newRow("U32") << "U32" << true << false << false << false;
    QTest::newRow("S32") << "S32" << true << false << false << false;
    QTest::newRow("U16") << "U16" << false << false << true << false;
    QTest::newRow("S16") << "S16" << false << false << true << false;
    QTest::newRow("U64") << "U64" << true << false << false << true;
    QTest::newRow("S64") << "S64" << true << false << false << true;
    QTest::newRow("F64") << "F64" << true << false << false << true;
    QTest::newRow("STR") << "STR" << false << true << false << true;
}

// The byte order applies to 32- and 64-bit types, the registers to text,
// function 6 to 16-bit values; what does not apply is not in the request.
void tst_datadialogs::controlsFollowType()
{
    QFETCH(QString, type);
    QFETCH(bool, order);
    QFETCH(bool, length);
    QFETCH(bool, single);
    QFETCH(bool, typed);

    addReadData read;
    choose(read, "order", "ABCD");
    control<QSpinBox>(read, "length")->setValue(5);
    choose(read, "type", type);
    QCOMPARE(control<QComboBox>(read, "order")->isEnabled(), order);
    QCOMPARE(control<QSpinBox>(read, "length")->isEnabled(), length);
    QCOMPARE(read.values().order, order ? "ABCD" : "CDAB");
    QCOMPARE(read.values().length, length ? "5" : "");

    writeData write;
    write.show();
    choose(write, "order", "DCBA");
    control<QCheckBox>(write, "single")->setChecked(true);
    choose(write, "type", type);
    QCOMPARE(control<QComboBox>(write, "order")->isEnabled(), order);
    QCOMPARE(control<QCheckBox>(write, "single")->isEnabled(), single);
    QCOMPARE(control<QLineEdit>(write, "text")->isVisible(), typed);
    QCOMPARE(control<QDoubleSpinBox>(write, "value")->isVisible(), !typed);
    QCOMPARE(write.values().order, order ? "DCBA" : "CDAB");
    QCOMPARE(write.values().single, single);
}

void tst_datadialogs::readValuesRoundTrip_data()
{
    QTest::addColumn<QByteArray>("json");

    QTest::newRow("today's read") << QByteArray(
        R"({"addr":"100","desc":"V","format":"F_X_XX","type":"U16"})");
    QTest::newRow("coil") << QByteArray(
        R"({"addr":"3","desc":"","format":"","kind":"coil","type":"BIT"})");
    QTest::newRow("discrete input")
        << QByteArray(R"({"addr":"65535","desc":"","format":"","kind":"discrete","type":"BIT"})");
    QTest::newRow("input U64 in ABCD with a format") << QByteArray(
        R"({"addr":"10","desc":"E","format":"F_X","kind":"input","order":"ABCD","type":"U64"})");
    QTest::newRow("S64 in BADC") << QByteArray(
        R"({"addr":"1","desc":"","format":"","order":"BADC","type":"S64"})");
    QTest::newRow("F64 in DCBA") << QByteArray(
        R"({"addr":"1","desc":"","format":"","order":"DCBA","type":"F64"})");
    QTest::newRow("F32 in ABCD") << QByteArray(
        R"({"addr":"1","desc":"","format":"","order":"ABCD","type":"F32"})");
    QTest::newRow("text of 120 registers") << QByteArray(
        R"({"addr":"40","desc":"","format":"","kind":"input","length":"120","type":"STR"})");
}

// A stored read presets the editor, which gives back the same request and
// fingerprint: an edit confirmed without changes changes nothing.
void tst_datadialogs::readValuesRoundTrip()
{
    QFETCH(QByteArray, json);
    const readValues stored = readValues::fromJson(QJsonDocument::fromJson(json).object());
    addReadData dialog;
    dialog.setValues(stored);
    QCOMPARE(QJsonDocument(dialog.values().toJson()).toJson(QJsonDocument::Compact), json);
    QCOMPARE(dialog.hash(), stored.fingerprint());
}

void tst_datadialogs::writeValuesRoundTrip_data()
{
    QTest::addColumn<QByteArray>("json");

    QTest::newRow("today's write")
        << QByteArray(R"({"addr":"300","desc":"T","type":"F32","value":"2.5"})");
    QTest::newRow("function 6, S16")
        << QByteArray(R"({"addr":"5","desc":"","function":"6","type":"S16","value":"-32768"})");
    QTest::newRow("function 6, U16")
        << QByteArray(R"({"addr":"5","desc":"","function":"6","type":"U16","value":"65535"})");
    QTest::newRow("coil on") << QByteArray(
        R"({"addr":"3","desc":"","kind":"coil","type":"BIT","value":"1"})");
    QTest::newRow("coil off") << QByteArray(
        R"({"addr":"3","desc":"","kind":"coil","type":"BIT","value":"0"})");
    QTest::newRow("U32 in BADC") << QByteArray(
        R"({"addr":"7","desc":"","order":"BADC","type":"U32","value":"4294967295"})");
    QTest::newRow("largest U64 in ABCD") << QByteArray(
        R"({"addr":"7","desc":"","order":"ABCD","type":"U64","value":"18446744073709551615"})");
    QTest::newRow("most negative S64")
        << QByteArray(R"({"addr":"7","desc":"","type":"S64","value":"-9223372036854775808"})");
    QTest::newRow("F64 in DCBA") << QByteArray(
        R"({"addr":"7","desc":"","order":"DCBA","type":"F64","value":"-1.7976931348623157e308"})");
    QTest::newRow("text filling its registers")
        << QByteArray(R"({"addr":"40","desc":"","length":"4","type":"STR","value":"Pole ł1"})");
    QTest::newRow("text with blanks")
        << QByteArray(R"({"addr":"40","desc":"","length":"8","type":"STR","value":"Feeder 1"})");
}

// Every value of a stored write comes back from its editor unchanged, the
// full 64-bit numbers included; the immediate write dialog holds the same.
void tst_datadialogs::writeValuesRoundTrip()
{
    QFETCH(QByteArray, json);
    const writeValues stored = writeValues::fromJson(QJsonDocument::fromJson(json).object());
    addWriteData dialog;
    dialog.setValues(stored);
    QCOMPARE(QJsonDocument(dialog.values().toJson()).toJson(QJsonDocument::Compact), json);
    QCOMPARE(dialog.hash(), stored.fingerprint());
    QVERIFY(dialog.findChild<QDialogButtonBox *>("buttonBox")
                ->button(QDialogButtonBox::Ok)
                ->isEnabled());
}

void tst_datadialogs::typedValueChecks_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("registers");
    QTest::addColumn<QString>("typed"); // keystrokes
    QTest::addColumn<QString>("value"); // what the field holds then
    QTest::addColumn<bool>("ok");

    QTest::newRow("largest U64") << "U64" << 0 << "18446744073709551615"
                                 << "18446744073709551615" << true;
    QTest::newRow("U64 beyond its range") << "U64" << 0 << "18446744073709551616"
                                          << "1844674407370955161" << true;
    QTest::newRow("U64 refuses a sign") << "U64" << 0 << "-1"
                                        << "1" << true;
    QTest::newRow("most negative S64") << "S64" << 0 << "-9223372036854775808"
                                       << "-9223372036854775808" << true;
    QTest::newRow("S64 below its range") << "S64" << 0 << "-9223372036854775809"
                                         << "-922337203685477580" << true;
    QTest::newRow("a sign alone is no value") << "S64" << 0 << "-"
                                              << "-" << false;
    QTest::newRow("empty") << "U64" << 0 << ""
                           << "" << false;
    QTest::newRow("F64 with a decimal comma") << "F64" << 0 << "-2,5e-3"
                                              << "-2,5e-3" << true;
    QTest::newRow("F64 beyond its range is no value") << "F64" << 0 << "1e309"
                                                      << "1e309" << false;
    QTest::newRow("F64 unfinished exponent") << "F64" << 0 << "1e"
                                             << "1e" << false;
    QTest::newRow("F64 refuses NaN and infinity") << "F64" << 0 << "nan inf"
                                                  << "" << false;
    QTest::newRow("text fills its registers") << "STR" << 2 << "abcdef"
                                              << "abcd" << true;
    QTest::newRow("text counts UTF-8 bytes") << "STR" << 2 << "łłł"
                                             << "łł" << true;
    QTest::newRow("text refuses a double quote") << "STR" << 4 << "a\"b"
                                                 << "ab" << true;
}

// A value typed for a 64-bit type or a text is checked as it is typed;
// OK waits for a value the type takes.
void tst_datadialogs::typedValueChecks()
{
    QFETCH(QString, type);
    QFETCH(int, registers);
    QFETCH(QString, typed);
    QFETCH(QString, value);
    QFETCH(bool, ok);

    writeData dialog;
    choose(dialog, "type", type);
    if (registers)
        control<QSpinBox>(dialog, "length")->setValue(registers);
    QLineEdit *text = control<QLineEdit>(dialog, "text");
    // Character by character through the validator, as typing goes.
    for (const QChar c : typed)
        text->insert(c);
    QCOMPARE(text->text(), value);
    QCOMPARE(dialog.value(), value);
    QCOMPARE(dialog.findChild<QDialogButtonBox *>("buttonBox")
                 ->button(QDialogButtonBox::Ok)
                 ->isEnabled(),
        ok);
}

// Fewer registers than a text takes keep the text whole and hold OK back
// until there are registers enough again.
void tst_datadialogs::longerTextWaitsForRegisters()
{
    addWriteData dialog;
    choose(dialog, "type", "STR");
    QSpinBox *length = control<QSpinBox>(dialog, "length");
    length->setValue(4);
    control<QLineEdit>(dialog, "text")->insert("Feeder 1");
    QPushButton *ok
        = dialog.findChild<QDialogButtonBox *>("buttonBox")->button(QDialogButtonBox::Ok);
    QVERIFY(ok->isEnabled());
    length->setValue(3);
    QCOMPARE(dialog.value(), QStringLiteral("Feeder 1"));
    QVERIFY(!ok->isEnabled());
    length->setValue(4);
    QVERIFY(ok->isEnabled());
    // Another type: the text is no value of it.
    choose(dialog, "type", "U64");
    QCOMPARE(dialog.value(), QString());
    QVERIFY(!ok->isEnabled());
}

QTEST_MAIN(tst_datadialogs)
#include "tst_datadialogs.moc"
