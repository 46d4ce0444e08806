#include "drivercommand.h"
#include "engineeringscale.h"
#include "readvalues.h"
#include "writevalues.h"

#include <QJsonDocument>
#include <QtTest>

// Engineering values: raw × scale + offset, exactly for integer types at the
// edges of their ranges, and the raw value a write sends for an engineering
// value, refused when it is not a whole raw value in the type's range.
class tst_engineeringScale : public QObject
{
    Q_OBJECT

private slots:
    void shown_data();
    void shown();
    void rawValue_data();
    void rawValue();
    void roundTripAtEdges();
    void projectKeysOnlyWhenSet();
    void refusedWriteIsNotRun();
};

namespace {

engineeringScale scaling(const QString &scale, const QString &offset, const QString &unit = {})
{
    engineeringScale values;
    values.scale = scale;
    values.offset = offset;
    values.unit = unit;
    return values;
}

} // namespace

void tst_engineeringScale::shown_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("raw");
    QTest::addColumn<QString>("scale");
    QTest::addColumn<QString>("offset");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("shown");

    QTest::newRow("no scaling keeps the format") << "U16"
                                                 << "4567"
                                                 << ""
                                                 << ""
                                                 << ""
                                                 << "F_X_XX"
                                                 << "45.67";
    QTest::newRow("unit alone") << "U16"
                                << "4567"
                                << ""
                                << ""
                                << "kWh"
                                << "F_X_XX"
                                << "45.67 kWh";
    QTest::newRow("current") << "U16"
                             << "1234"
                             << "0.01"
                             << ""
                             << "A"
                             << ""
                             << "12.34 A";
    QTest::newRow("largest U16") << "U16"
                                 << "65535"
                                 << "0.01"
                                 << ""
                                 << ""
                                 << ""
                                 << "655.35";
    QTest::newRow("most negative S16") << "S16"
                                       << "-32768"
                                       << "0.1"
                                       << ""
                                       << ""
                                       << ""
                                       << "-3276.8";
    QTest::newRow("largest U32") << "U32"
                                 << "4294967295"
                                 << "0.001"
                                 << ""
                                 << ""
                                 << ""
                                 << "4294967.295";
    QTest::newRow("most negative S32, negative scale") << "S32"
                                                       << "-2147483648"
                                                       << "-1"
                                                       << ""
                                                       << ""
                                                       << ""
                                                       << "2147483648";
    // A double would round these.
    QTest::newRow("largest U64") << "U64"
                                 << "18446744073709551615"
                                 << "0.01"
                                 << ""
                                 << ""
                                 << ""
                                 << "184467440737095516.15";
    QTest::newRow("most negative S64 with offset") << "S64"
                                                   << "-9223372036854775808"
                                                   << "0.5"
                                                   << "0.25"
                                                   << ""
                                                   << ""
                                                   << "-4611686018427387903.75";
    QTest::newRow("most negative S64 negated") << "S64"
                                               << "-9223372036854775808"
                                               << "-1"
                                               << ""
                                               << ""
                                               << ""
                                               << "9223372036854775808";
    QTest::newRow("temperature offset") << "S16"
                                        << "250"
                                        << "0.1"
                                        << "-40"
                                        << "°C"
                                        << ""
                                        << "-15 °C";
    QTest::newRow("exponent scale") << "U16"
                                    << "5"
                                    << "1e-3"
                                    << ""
                                    << ""
                                    << ""
                                    << "0.005";
    QTest::newRow("decimal comma scale") << "U16"
                                         << "3"
                                         << "0,5"
                                         << ""
                                         << ""
                                         << ""
                                         << "1.5";
    QTest::newRow("format after scaling") << "U16"
                                          << "1234"
                                          << "10"
                                          << ""
                                          << ""
                                          << "F_X_XX"
                                          << "123.40";
    QTest::newRow("format on a fraction") << "U16"
                                          << "1234"
                                          << "0.1"
                                          << ""
                                          << ""
                                          << "F_X_X"
                                          << "12.34";
    QTest::newRow("F32 fraction") << "F32"
                                  << "12.5"
                                  << "0.1"
                                  << ""
                                  << ""
                                  << ""
                                  << "1.25";
    QTest::newRow("F64 large") << "F64"
                               << "1e+300"
                               << "10"
                               << ""
                               << ""
                               << ""
                               << "1e+301";
    QTest::newRow("F32 not a number") << "F32"
                                      << "nan"
                                      << "2"
                                      << ""
                                      << ""
                                      << ""
                                      << "nan";
    QTest::newRow("raw that is no number") << "U16"
                                           << "abc"
                                           << "2"
                                           << ""
                                           << ""
                                           << ""
                                           << "abc";
}

void tst_engineeringScale::shown()
{
    QFETCH(QString, type);
    QFETCH(QString, raw);
    QFETCH(QString, scale);
    QFETCH(QString, offset);
    QFETCH(QString, unit);
    QFETCH(QString, format);
    QFETCH(QString, shown);
    readValues request;
    request.type = type;
    request.format = format;
    request.scaling = scaling(scale, offset, unit);
    QCOMPARE(request.shown(raw), shown);
    QCOMPARE(
        request.shownNumber(raw) + (unit.isEmpty() ? QString() : QLatin1Char(' ') + unit), shown);
}

void tst_engineeringScale::rawValue_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("scale");
    QTest::addColumn<QString>("offset");
    QTest::addColumn<QString>("raw"); // empty: refused
    QTest::addColumn<QString>("reason"); // a part of the refusal

    QTest::newRow("current") << "U16"
                             << "12.34"
                             << "0.01"
                             << ""
                             << "1234"
                             << "";
    QTest::newRow("decimal comma") << "U16"
                                   << "12,34"
                                   << "0.01"
                                   << ""
                                   << "1234"
                                   << "";
    QTest::newRow("between raw values") << "U16"
                                        << "12.345"
                                        << "0.01"
                                        << ""
                                        << ""
                                        << "whole raw value";
    QTest::newRow("above U16") << "U16"
                               << "655.36"
                               << "0.01"
                               << ""
                               << ""
                               << "outside 0 to 65535";
    QTest::newRow("below U16") << "U16"
                               << "-0.01"
                               << "0.01"
                               << ""
                               << ""
                               << "outside 0 to 65535";
    QTest::newRow("most negative S16") << "S16"
                                       << "-327.68"
                                       << "0.01"
                                       << ""
                                       << "-32768"
                                       << "";
    QTest::newRow("largest U64") << "U64"
                                 << "184467440737095516.15"
                                 << "0.01"
                                 << ""
                                 << "18446744073709551615"
                                 << "";
    QTest::newRow("one past U64") << "U64"
                                  << "184467440737095516.16"
                                  << "0.01"
                                  << ""
                                  << ""
                                  << "outside 0 to 18446744073709551615";
    QTest::newRow("most negative S64, negative scale") << "S64"
                                                       << "9223372036854775808"
                                                       << "-1"
                                                       << ""
                                                       << "-9223372036854775808"
                                                       << "";
    QTest::newRow("one past S64") << "S64"
                                  << "9223372036854775808"
                                  << "1"
                                  << ""
                                  << ""
                                  << "outside -9223372036854775808 to 9223372036854775807";
    QTest::newRow("offset and fraction scale") << "S16"
                                               << "20"
                                               << "0.5"
                                               << "-40"
                                               << "120"
                                               << "";
    QTest::newRow("offset alone") << "U16"
                                  << "-40"
                                  << ""
                                  << "-40"
                                  << "0"
                                  << "";
    QTest::newRow("scale of three") << "U16"
                                    << "10"
                                    << "3"
                                    << ""
                                    << ""
                                    << "whole raw value";
    QTest::newRow("F32") << "F32"
                         << "1.25"
                         << "0.1"
                         << ""
                         << "12.5"
                         << "";
    QTest::newRow("beyond F32") << "F32"
                                << "1"
                                << "1e-39"
                                << ""
                                << ""
                                << "range of F32";
    QTest::newRow("F64 beyond F32") << "F64"
                                    << "1"
                                    << "1e-39"
                                    << ""
                                    << "1e+39"
                                    << "";
    QTest::newRow("not a number") << "U16"
                                  << "twelve"
                                  << "0.01"
                                  << ""
                                  << ""
                                  << "not a number";
    QTest::newRow("scale of zero") << "U16"
                                   << "1"
                                   << "0"
                                   << ""
                                   << ""
                                   << "must not be 0";
    QTest::newRow("scale no number") << "U16"
                                     << "1"
                                     << "x"
                                     << ""
                                     << ""
                                     << "scale x";
    QTest::newRow("bit") << "BIT"
                         << "1"
                         << "2"
                         << ""
                         << ""
                         << "no scale";
    QTest::newRow("no scaling") << "U16"
                                << "7"
                                << ""
                                << ""
                                << "7"
                                << "";
}

void tst_engineeringScale::rawValue()
{
    QFETCH(QString, type);
    QFETCH(QString, value);
    QFETCH(QString, scale);
    QFETCH(QString, offset);
    QFETCH(QString, raw);
    QFETCH(QString, reason);
    QString error;
    QCOMPARE(scaling(scale, offset).rawValue(value, type, &error), raw);
    QVERIFY2(reason.isEmpty() ? error.isEmpty() : error.contains(reason), qPrintable(error));
}

// Every edge raw value of every integer type, shown and written back under
// scales of every sign and size, lands on itself.
void tst_engineeringScale::roundTripAtEdges()
{
    const QList<QPair<QString, QStringList>> edges {
        {"U16", {"0", "1", "65535"}},
        {"S16", {"-32768", "-1", "32767"}},
        {"U32", {"0", "4294967295"}},
        {"S32", {"-2147483648", "2147483647"}},
        {"U64", {"0", "18446744073709551615"}},
        {"S64", {"-9223372036854775808", "-1", "9223372036854775807"}},
    };
    const QList<QPair<QString, QString>> scalings {{"0.01", ""}, {"-0.5", "7.25"}, {"3", "-40"},
        {"1e-3", ""}, {"-1", ""}, {"123.456", "0.001"}};
    for (const auto &[type, raws] : edges) {
        for (const auto &[scale, offset] : scalings) {
            const engineeringScale values = scaling(scale, offset);
            for (const QString &raw : raws) {
                const QString shown = values.engineering(raw, type);
                QString error;
                QCOMPARE(values.rawValue(shown, type, &error), raw);
                QVERIFY2(error.isEmpty(), qPrintable(error));
            }
        }
    }
}

void tst_engineeringScale::projectKeysOnlyWhenSet()
{
    const QByteArray old = R"({"addr":"100","desc":"I1","format":"","type":"U16"})";
    const readValues read = readValues::fromJson(QJsonDocument::fromJson(old).object());
    QVERIFY(read.scaling.isEmpty());
    QCOMPARE(QJsonDocument(read.toJson()).toJson(QJsonDocument::Compact), old);

    readValues scaled = read;
    scaled.scaling = scaling("0.01", "", "A");
    const QJsonObject object = scaled.toJson();
    QCOMPARE(object.value("scale").toString(), QString("0.01"));
    QVERIFY(!object.contains("offset"));
    QCOMPARE(object.value("unit").toString(), QString("A"));
    QVERIFY(readValues::fromJson(object).scaling == scaled.scaling);
    QVERIFY(scaled.fingerprint() != read.fingerprint());
    // The key is in the fingerprint: a unit "0.01" is not a scale "0.01".
    readValues unitOnly = read;
    unitOnly.scaling = scaling("", "", "0.01");
    readValues scaleOnly = read;
    scaleOnly.scaling = scaling("0.01", "");
    QVERIFY(unitOnly.fingerprint() != scaleOnly.fingerprint());

    writeValues write;
    write.type = "U16";
    write.value = "12.5";
    write.scaling = scaling("0.5", "", "V");
    QCOMPARE(writeValues::fromJson(write.toJson()).scaling, write.scaling);
    QCOMPARE(write.shown(), QString("12.5 V (25)"));
    QCOMPARE(write.arguments(), QStringList({"--write_u16", "32768", "--data", "25"}));
}

// A write whose engineering value has no raw value never reaches a driver.
void tst_engineeringScale::refusedWriteIsNotRun()
{
    writeValues write;
    write.type = "U16";
    write.value = "1.005";
    write.scaling = scaling("0.01", "");
    const driverCommand command = driverCommand::write(std::nullopt, write, false);
    QVERIFY(command.problem().startsWith("Not run: 1.005 is not a whole raw value"));
    write.value = "1.05";
    QVERIFY(driverCommand::write(std::nullopt, write, false).problem().isEmpty());
}

QTEST_GUILESS_MAIN(tst_engineeringScale)
#include "tst_engineeringscale.moc"
