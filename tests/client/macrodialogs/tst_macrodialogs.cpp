#include "fd_macro.h"
#include "fingerprint.h"
#include "macrodialogfactory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTextBrowser>
#include <QTextEdit>
#include <QTranslator>
#include <QtTest>

#include <memory>

namespace {

using Dialog = std::unique_ptr<FD_MACRO>;

Dialog open(const QString &name)
{
    return Dialog(createMacroDialog(name));
}

// Everything a user can see of the parameter controls, one "name=value" per control in the
// order of the object names, so two states compare as texts.
QString stateOf(const FD_MACRO &dialog)
{
    QStringList parts;
    for (const QComboBox *list : dialog.findChildren<QComboBox *>())
        parts << QStringLiteral("%1=%2:%3")
                     .arg(list->objectName())
                     .arg(list->currentIndex())
                     .arg(list->currentText());
    for (const QSpinBox *spin : dialog.findChildren<QSpinBox *>())
        parts << QStringLiteral("%1=%2%3")
                     .arg(spin->objectName())
                     .arg(spin->value())
                     .arg(spin->isHidden() ? QStringLiteral(" hidden") : QString());
    for (const QCheckBox *box : dialog.findChildren<QCheckBox *>())
        parts << QStringLiteral("%1=%2").arg(box->objectName()).arg(box->isChecked());
    parts.sort();
    return parts.join(QLatin1Char(';'));
}

template<class Widget> Widget *child(const FD_MACRO &dialog, const char *name)
{
    Widget *widget = dialog.findChild<Widget *>(QLatin1String(name));
    if (!widget)
        qWarning("no %s named %s in %s", Widget::staticMetaObject.className(), name,
            qPrintable(dialog.metaObject()->className()));
    return widget;
}

QString md5Hex(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

// Catalogue name, class name and title of every dialog.
struct DialogRow
{
    const char *name;
    const char *className;
    const char *title;
    const char *initial;
};

const DialogRow dialogRows[] = {
    {"FD_MACRO_CLEAR_COUNTERS", "FD_MACRO_CLEAR_COUNTERS", "Clear counters", "0"},
    {"FD_MACRO_CLEAR_SIGNALS", "FD_MACRO_CLEAR_SIGNALS", "Clear alarms", "1 7"},
    {"FD_MACRO_CONTROL_SWITCH", "FD_MACRO_CONTROL_SWITCH", "Switch control", "0 1 0"},
    {"FD_MACRO_LOGIN", "FD_MACRO_LOGIN", "Login", "0 0000"},
    {"FD_MACRO_LOGOUT", "FD_MACRO_LOGOUT", "LOGOUT", ""},
    {"FD_MACRO_SET", "FD_MACRO_SET", "Macro", "1 1 0 0 0 0 0 0 0 0 0 0 0"},
    {"FD_MACRO_SET_ACTIVE_PROFILE", "FD_MACRO_SET_ACTIVE_PROFILE", "Active profile", "0"},
    {"FD_MACRO_SET_ACTIVE_SETofSETTINGS", "FD_MACRO_SET_ACTIVE_SETOFSETTINGS",
        "Active set of settings", "0"},
    {"FD_MACRO_SET_CONTROL_LR", "FD_MACRO_SET_CONTROL_LR", "Device control location", "0"},
    {"FD_MACRO_SET_DATE_TIME", "FD_MACRO_SET_DATE_TIME", "Date", ""},
    {"FD_MACRO_SET_IP_ADDRESS", "FD_MACRO_SET_IP_ADDRESS", "IP address", "0 1 0 0 127"},
    {"FD_MACRO_SET_IP_GATEWAY", "FD_MACRO_SET_IP_GATEWAY", "IP gateway", "0 0 0 0 0"},
    {"FD_MACRO_SET_IP_MASK", "FD_MACRO_SET_IP_MASK", "IP mask", "0 0 255 255 255"},
    {"FD_MACRO_SET_PASSWORD_TIME", "FD_MACRO_SET_PASSWORD_TIME", "Auto-logout time", "0 1"},
    {"FD_MACRO_SET_PORT_ADDRESS", "FD_MACRO_SET_PORT_ADDRESS", "Port address", "0 1"},
    {"FD_MACRO_SET_PORT_PROTOCOL", "FD_MACRO_SET_PORT_PROTOCOL", "Port protocol", "0 0"},
    {"FD_MACRO_SET_PORT_SETTINGS", "FD_MACRO_SET_PORT_SETTINGS", "Port settings", "0 0 0 0"},
    {"FD_MACRO_SET_PORT_TIMEOUT", "FD_MACRO_SET_PORT_TIMEOUT", "Port timeout", "0 1"},
    {"FD_MACRO_SET_USER_COMMANDS", "FD_MACRO_SET_USER_COMMANDS", "User command", "1"},
    {"FD_MACRO_SET_USER_PRIVILEGES", "FD_MACRO_SET_USER_PRIVILEGES", "User privileges", "0 0"},
    {"FD_MACRO_SET_WORK_MODE", "FD_MACRO_SET_WORK_MODE", "Work mode", "0"},
};

} // namespace

class TestMacroDialogs : public QObject
{
    Q_OBJECT

private slots:
    void fingerprintOfValues_data();
    void fingerprintOfValues();
    void factoryKnowsEveryDialog();
    void factoryRefusesUnknownNames_data();
    void factoryRefusesUnknownNames();
    void initialState_data();
    void initialState();
    void formParts_data();
    void formParts();
    void buttonsAcceptAndReject_data();
    void buttonsAcceptAndReject();
    void roundTrip_data();
    void roundTrip();
    void wrongShapeIgnored_data();
    void wrongShapeIgnored();
    void fieldsConvertedAndClamped_data();
    void fieldsConvertedAndClamped();
    void controlsGiveText_data();
    void controlsGiveText();
    void unknownListCodeKept_data();
    void unknownListCodeKept();
    void userPrivilegesReadBack_data();
    void userPrivilegesReadBack();
    void loginPasswordAsFourDigits_data();
    void loginPasswordAsFourDigits();
    void macroSetShowsAnnouncedParams_data();
    void macroSetShowsAnnouncedParams();
    void macroSetFollowsParamsBox();
    void description_data();
    void description();
    void hashOfStoredTriple();
    void clearSignalsDescriptionReadOnly();
    void baseHasNoParameters();
    void polishTexts_data();
    void polishTexts();
};

void TestMacroDialogs::fingerprintOfValues_data()
{
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QString>("hash");
    QTest::newRow("nothing") << QStringList() << "d41d8cd98f00b204e9800998ecf8427e";
    QTest::newRow("three empty") << QStringList {"", "", ""} << "d41d8cd98f00b204e9800998ecf8427e";
    QTest::newRow("abc in one") << QStringList {"abc"} << "900150983cd24fb0d6963f7d28e17f72";
    QTest::newRow("abc in three") << QStringList {"a", "b", "c"}
                                  << "900150983cd24fb0d6963f7d28e17f72";
    QTest::newRow("non-ASCII as UTF-8")
        << QStringList {QString::fromUtf8("zażółć"), "FD_MACRO_LOGIN", "1 0042"}
        << md5Hex(QByteArray("za\xc5\xbc\xc3\xb3\xc5\x82\xc4\x87"
                             "FD_MACRO_LOGIN1 0042"));
}

void TestMacroDialogs::fingerprintOfValues()
{
    QFETCH(QStringList, values);
    QFETCH(QString, hash);
    QCOMPARE(fingerprint(values), hash);
}

void TestMacroDialogs::factoryKnowsEveryDialog()
{
    QStringList expected;
    for (const DialogRow &row : dialogRows)
        expected << QString::fromLatin1(row.name);
    QCOMPARE(macroDialogNames(), expected);
    for (const DialogRow &row : dialogRows) {
        Dialog dialog = open(QString::fromLatin1(row.name));
        QVERIFY2(dialog, row.name);
        QCOMPARE(dialog->metaObject()->className(), row.className);
        QCOMPARE(dialog->macroName(), QString::fromLatin1(row.name));
        QVERIFY(!dialog->parent());
    }
}

void TestMacroDialogs::factoryRefusesUnknownNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("macroName"); // empty: no dialog
    QTest::newRow("lower case") << "fd_macro_login"
                                << "";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("catalogue macro without dialog") << "FD_MACRO_GET_SN"
                                                    << "";
    QTest::newRow("trailing blank") << "FD_MACRO_LOGIN "
                                    << "";
    QTest::newRow("set of settings, catalogue spelling") << "FD_MACRO_SET_ACTIVE_SETofSETTINGS"
                                                         << "FD_MACRO_SET_ACTIVE_SETofSETTINGS";
    QTest::newRow("set of settings, class spelling") << "FD_MACRO_SET_ACTIVE_SETOFSETTINGS"
                                                     << "FD_MACRO_SET_ACTIVE_SETofSETTINGS";
}

void TestMacroDialogs::factoryRefusesUnknownNames()
{
    QFETCH(QString, name);
    QFETCH(QString, macroName);
    Dialog dialog = open(name);
    if (macroName.isEmpty()) {
        QVERIFY(!dialog);
        return;
    }
    QVERIFY(dialog);
    QCOMPARE(dialog->macroName(), macroName);
}

void TestMacroDialogs::initialState_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("params");
    for (const DialogRow &row : dialogRows)
        QTest::newRow(row.name) << row.name << row.title << row.initial;
}

void TestMacroDialogs::initialState()
{
    QFETCH(QString, name);
    QFETCH(QString, title);
    QFETCH(QString, params);
    Dialog dialog = open(name);
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), title);
    QCOMPARE(dialog->macroParams(), params);
    QCOMPARE(dialog->macroDesc(), QString());
    QCOMPARE(dialog->macroHash(), md5Hex((name + params).toUtf8()));
    QVERIFY(!(dialog->windowFlags() & Qt::WindowContextHelpButtonHint));
}

void TestMacroDialogs::formParts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("descName");
    QTest::addColumn<QString>("buttonsName");
    for (const DialogRow &row : dialogRows) {
        const bool port = QByteArray(row.name) == "FD_MACRO_SET_PORT_SETTINGS";
        QTest::newRow(row.name) << row.name << (port ? "desc_2" : "desc")
                                << (port ? "buttonBox_2" : "buttonBox");
    }
}

void TestMacroDialogs::formParts()
{
    QFETCH(QString, name);
    QFETCH(QString, descName);
    QFETCH(QString, buttonsName);
    Dialog dialog = open(name);
    QVERIFY(dialog);
    const QList<QGroupBox *> groups = dialog->findChildren<QGroupBox *>();
    QCOMPARE(groups.size(), 1);
    QCOMPARE(groups.first()->title(), QStringLiteral("Parameters"));
    QTextEdit *desc = dialog->findChild<QTextEdit *>(descName);
    QVERIFY(desc);
    QVERIFY(groups.first()->isAncestorOf(desc));
    QDialogButtonBox *buttons = dialog->findChild<QDialogButtonBox *>(buttonsName);
    QVERIFY(buttons);
    QCOMPARE(buttons->standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    // Every parameter control sits in the group box.
    for (QWidget *control : dialog->findChildren<QWidget *>()) {
        if (qobject_cast<QComboBox *>(control) || qobject_cast<QSpinBox *>(control)
            || qobject_cast<QCheckBox *>(control))
            QVERIFY2(groups.first()->isAncestorOf(control), qPrintable(control->objectName()));
    }
}

void TestMacroDialogs::buttonsAcceptAndReject_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("result");
    for (const DialogRow &row : dialogRows) {
        QTest::newRow(QByteArray(row.name) + " OK")
            << row.name << int(QDialogButtonBox::Ok) << int(QDialog::Accepted);
        QTest::newRow(QByteArray(row.name) + " Cancel")
            << row.name << int(QDialogButtonBox::Cancel) << int(QDialog::Rejected);
    }
}

void TestMacroDialogs::buttonsAcceptAndReject()
{
    QFETCH(QString, name);
    QFETCH(int, button);
    QFETCH(int, result);
    Dialog dialog = open(name);
    QVERIFY(dialog);
    QDialogButtonBox *buttons = dialog->findChild<QDialogButtonBox *>();
    QVERIFY(buttons);
    dialog->setResult(-1);
    dialog->show();
    QVERIFY(dialog->isVisible());
    buttons->button(QDialogButtonBox::StandardButton(button))->click();
    QCOMPARE(dialog->result(), result);
    QVERIFY(!dialog->isVisible());
}

void TestMacroDialogs::roundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("params"); // a state set first; empty: the initial state
    for (const DialogRow &row : dialogRows)
        QTest::newRow(QByteArray(row.name) + " initial") << row.name << QString();
    QTest::newRow("clear counters") << "FD_MACRO_CLEAR_COUNTERS"
                                    << "6";
    QTest::newRow("clear signals") << "FD_MACRO_CLEAR_SIGNALS"
                                   << "1 5";
    QTest::newRow("clear signals none") << "FD_MACRO_CLEAR_SIGNALS"
                                        << "1 0";
    QTest::newRow("switch") << "FD_MACRO_CONTROL_SWITCH"
                            << "5 65535 1";
    QTest::newRow("login") << "FD_MACRO_LOGIN"
                           << "13 9999";
    QTest::newRow("login short password") << "FD_MACRO_LOGIN"
                                          << "11 0007";
    QTest::newRow("set") << "FD_MACRO_SET"
                         << "256 10 10 1 2 3 4 5 6 7 8 9 65535";
    QTest::newRow("set hidden values") << "FD_MACRO_SET"
                                       << "100 2 1 7 8 9 10 11 12 13 14 15 16";
    QTest::newRow("active profile") << "FD_MACRO_SET_ACTIVE_PROFILE"
                                    << "15";
    QTest::newRow("set of settings") << "FD_MACRO_SET_ACTIVE_SETofSETTINGS"
                                     << "3";
    QTest::newRow("control lr") << "FD_MACRO_SET_CONTROL_LR"
                                << "2";
    QTest::newRow("ip address") << "FD_MACRO_SET_IP_ADDRESS"
                                << "5 10 1 168 192";
    QTest::newRow("ip gateway") << "FD_MACRO_SET_IP_GATEWAY"
                                << "3 254 1 168 192";
    QTest::newRow("ip mask") << "FD_MACRO_SET_IP_MASK"
                             << "4 128 255 255 255";
    QTest::newRow("password time") << "FD_MACRO_SET_PASSWORD_TIME"
                                   << "5 600";
    QTest::newRow("port address") << "FD_MACRO_SET_PORT_ADDRESS"
                                  << "2 247";
    QTest::newRow("port protocol") << "FD_MACRO_SET_PORT_PROTOCOL"
                                   << "3 7";
    QTest::newRow("port settings") << "FD_MACRO_SET_PORT_SETTINGS"
                                   << "5 8 2 1";
    QTest::newRow("port timeout") << "FD_MACRO_SET_PORT_TIMEOUT"
                                  << "1 65535";
    QTest::newRow("user commands") << "FD_MACRO_SET_USER_COMMANDS"
                                   << "65535";
    QTest::newRow("user privileges") << "FD_MACRO_SET_USER_PRIVILEGES"
                                     << "12 2730";
    QTest::newRow("work mode") << "FD_MACRO_SET_WORK_MODE"
                               << "4";
    QTest::newRow("unknown list code") << "FD_MACRO_SET_WORK_MODE"
                                       << "9";
}

void TestMacroDialogs::roundTrip()
{
    QFETCH(QString, name);
    QFETCH(QString, params);
    Dialog dialog = open(name);
    QVERIFY(dialog);
    dialog->setMacroDesc(QStringLiteral("Feeder 7, breaker Q1"));
    if (!params.isEmpty()) {
        dialog->setMacroParams(params);
        QCOMPARE(dialog->macroParams(), params);
    }
    const QString state = stateOf(*dialog);
    const QString text = dialog->macroParams();
    const QString hash = dialog->macroHash();

    dialog->setMacroParams(text);
    QCOMPARE(stateOf(*dialog), state);
    QCOMPARE(dialog->macroParams(), text);
    QCOMPARE(dialog->macroHash(), hash);

    // A second dialog read back from the text shows the same state.
    Dialog second = open(name);
    second->setMacroDesc(dialog->macroDesc());
    second->setMacroParams(text);
    QCOMPARE(stateOf(*second), state);
    QCOMPARE(second->macroHash(), hash);

    // The description alone changes the fingerprint.
    dialog->setMacroDesc(QStringLiteral("Feeder 8, breaker Q1"));
    QVERIFY(dialog->macroHash() != hash);
}

void TestMacroDialogs::wrongShapeIgnored_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("preset");
    QTest::addColumn<QString>("text");
    QTest::newRow("clear counters trailing blank") << "FD_MACRO_CLEAR_COUNTERS"
                                                   << "4"
                                                   << "3 ";
    QTest::newRow("clear counters leading blank") << "FD_MACRO_CLEAR_COUNTERS"
                                                  << "4"
                                                  << " 3";
    QTest::newRow("clear counters two fields") << "FD_MACRO_CLEAR_COUNTERS"
                                               << "4"
                                               << "3 1";
    QTest::newRow("clear signals two blanks") << "FD_MACRO_CLEAR_SIGNALS"
                                              << "1 2"
                                              << "1  7";
    QTest::newRow("clear signals one field") << "FD_MACRO_CLEAR_SIGNALS"
                                             << "1 2"
                                             << "1";
    QTest::newRow("clear signals empty") << "FD_MACRO_CLEAR_SIGNALS"
                                         << "1 2"
                                         << "";
    QTest::newRow("switch two fields") << "FD_MACRO_CONTROL_SWITCH"
                                       << "2 9 1"
                                       << "1 1";
    QTest::newRow("switch four fields") << "FD_MACRO_CONTROL_SWITCH"
                                        << "2 9 1"
                                        << "1 1 0 0";
    QTest::newRow("switch empty") << "FD_MACRO_CONTROL_SWITCH"
                                  << "2 9 1"
                                  << "";
    QTest::newRow("login three fields") << "FD_MACRO_LOGIN"
                                        << "3 1234"
                                        << "1 2 3";
    QTest::newRow("login tab") << "FD_MACRO_LOGIN"
                               << "3 1234"
                               << "1\t2";
    QTest::newRow("login empty") << "FD_MACRO_LOGIN"
                                 << "3 1234"
                                 << "";
    QTest::newRow("set twelve fields") << "FD_MACRO_SET"
                                       << "9 2 2 5 6 0 0 0 0 0 0 0 0"
                                       << "1 1 3 1 2 3 4 5 6 7 8 9";
    QTest::newRow("set fourteen fields") << "FD_MACRO_SET"
                                         << "9 2 2 5 6 0 0 0 0 0 0 0 0"
                                         << "1 1 3 1 2 3 4 5 6 7 8 9 10 11";
    QTest::newRow("set as the driver takes it") << "FD_MACRO_SET"
                                                << "9 2 2 5 6 0 0 0 0 0 0 0 0"
                                                << "100 1 1 7";
    QTest::newRow("set empty") << "FD_MACRO_SET"
                               << "9 2 2 5 6 0 0 0 0 0 0 0 0"
                               << "";
    QTest::newRow("set of settings two") << "FD_MACRO_SET_ACTIVE_SETofSETTINGS"
                                         << "2"
                                         << "1 1";
    QTest::newRow("control lr two") << "FD_MACRO_SET_CONTROL_LR"
                                    << "3"
                                    << "1 ";
    QTest::newRow("ip address four") << "FD_MACRO_SET_IP_ADDRESS"
                                     << "1 10 1 168 192"
                                     << "0 1 0 0";
    QTest::newRow("ip address dotted") << "FD_MACRO_SET_IP_ADDRESS"
                                       << "1 10 1 168 192"
                                       << "192.168.1.10";
    QTest::newRow("ip address empty") << "FD_MACRO_SET_IP_ADDRESS"
                                      << "1 10 1 168 192"
                                      << "";
    QTest::newRow("ip gateway six") << "FD_MACRO_SET_IP_GATEWAY"
                                    << "1 1 1 1 1"
                                    << "0 0 0 0 0 0";
    QTest::newRow("ip mask four") << "FD_MACRO_SET_IP_MASK"
                                  << "2 0 0 0 255"
                                  << "0 0 255 255";
    QTest::newRow("password time one") << "FD_MACRO_SET_PASSWORD_TIME"
                                       << "2 30"
                                       << "2";
    QTest::newRow("password time empty") << "FD_MACRO_SET_PASSWORD_TIME"
                                         << "2 30"
                                         << "";
    QTest::newRow("port address three") << "FD_MACRO_SET_PORT_ADDRESS"
                                        << "2 30"
                                        << "2 30 1";
    QTest::newRow("port protocol one") << "FD_MACRO_SET_PORT_PROTOCOL"
                                       << "2 3"
                                       << "2";
    QTest::newRow("port settings three") << "FD_MACRO_SET_PORT_SETTINGS"
                                         << "2 4 2 0"
                                         << "2 4 2";
    QTest::newRow("port settings empty") << "FD_MACRO_SET_PORT_SETTINGS"
                                         << "2 4 2 0"
                                         << "";
    QTest::newRow("port timeout three") << "FD_MACRO_SET_PORT_TIMEOUT"
                                        << "2 30"
                                        << "1 2 3";
    QTest::newRow("privileges one") << "FD_MACRO_SET_USER_PRIVILEGES"
                                    << "11 2051"
                                    << "13";
    QTest::newRow("privileges empty") << "FD_MACRO_SET_USER_PRIVILEGES"
                                      << "11 2051"
                                      << "";
    QTest::newRow("work mode two") << "FD_MACRO_SET_WORK_MODE"
                                   << "2"
                                   << "2 2";
}

void TestMacroDialogs::wrongShapeIgnored()
{
    QFETCH(QString, name);
    QFETCH(QString, preset);
    QFETCH(QString, text);
    Dialog dialog = open(name);
    QVERIFY(dialog);
    dialog->setMacroParams(preset);
    QCOMPARE(dialog->macroParams(), preset);
    const QString state = stateOf(*dialog);
    dialog->setMacroParams(text);
    QCOMPARE(stateOf(*dialog), state);
    QCOMPARE(dialog->macroParams(), preset);
}

void TestMacroDialogs::fieldsConvertedAndClamped_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("preset");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("params");
    // The empty text is one empty field.
    QTest::newRow("clear counters empty") << "FD_MACRO_CLEAR_COUNTERS"
                                          << "5"
                                          << ""
                                          << "0";
    QTest::newRow("set of settings empty") << "FD_MACRO_SET_ACTIVE_SETofSETTINGS"
                                           << "3"
                                           << ""
                                           << "0";
    QTest::newRow("control lr empty") << "FD_MACRO_SET_CONTROL_LR"
                                      << "3"
                                      << ""
                                      << "0";
    QTest::newRow("work mode empty") << "FD_MACRO_SET_WORK_MODE"
                                     << "4"
                                     << ""
                                     << "0";
    QTest::newRow("active profile empty") << "FD_MACRO_SET_ACTIVE_PROFILE"
                                          << "9"
                                          << ""
                                          << "0";
    QTest::newRow("user commands empty") << "FD_MACRO_SET_USER_COMMANDS"
                                         << "900"
                                         << ""
                                         << "1";
    // Whole-text dialogs do not split.
    QTest::newRow("active profile two numbers") << "FD_MACRO_SET_ACTIVE_PROFILE"
                                                << "9"
                                                << "3 4"
                                                << "0";
    QTest::newRow("active profile above range") << "FD_MACRO_SET_ACTIVE_PROFILE"
                                                << "9"
                                                << "16"
                                                << "15";
    QTest::newRow("active profile negative") << "FD_MACRO_SET_ACTIVE_PROFILE"
                                             << "9"
                                             << "-1"
                                             << "0";
    QTest::newRow("user commands word") << "FD_MACRO_SET_USER_COMMANDS"
                                        << "900"
                                        << "ten"
                                        << "1";
    QTest::newRow("user commands above range") << "FD_MACRO_SET_USER_COMMANDS"
                                               << "900"
                                               << "65536"
                                               << "65535";
    QTest::newRow("user commands beyond int") << "FD_MACRO_SET_USER_COMMANDS"
                                              << "900"
                                              << "99999999999"
                                              << "65535";
    QTest::newRow("user commands hex") << "FD_MACRO_SET_USER_COMMANDS"
                                       << "900"
                                       << "0x10"
                                       << "1";
    // Invalid fields count as 0, spin boxes clamp.
    QTest::newRow("switch invalid") << "FD_MACRO_CONTROL_SWITCH"
                                    << "2 9 1"
                                    << "x y z"
                                    << "0 1 0";
    QTest::newRow("switch above") << "FD_MACRO_CONTROL_SWITCH"
                                  << "2 9 1"
                                  << "1 70000 0"
                                  << "1 65535 0";
    QTest::newRow("switch negative number") << "FD_MACRO_CONTROL_SWITCH"
                                            << "2 9 1"
                                            << "1 -4 1"
                                            << "1 1 1";
    QTest::newRow("clear signals field clamps") << "FD_MACRO_CLEAR_SIGNALS"
                                                << "1 0"
                                                << "5 7"
                                                << "1 7";
    QTest::newRow("clear signals mask high bits") << "FD_MACRO_CLEAR_SIGNALS"
                                                  << "1 0"
                                                  << "1 10"
                                                  << "1 2";
    QTest::newRow("clear signals mask invalid") << "FD_MACRO_CLEAR_SIGNALS"
                                                << "1 7"
                                                << "1 x"
                                                << "1 0";
    QTest::newRow("clear signals mask negative") << "FD_MACRO_CLEAR_SIGNALS"
                                                 << "1 7"
                                                 << "1 -1"
                                                 << "1 0";
    QTest::newRow("login password invalid") << "FD_MACRO_LOGIN"
                                            << "3 1234"
                                            << "2 pass"
                                            << "2 0000";
    QTest::newRow("login password above") << "FD_MACRO_LOGIN"
                                          << "3 1234"
                                          << "2 12345"
                                          << "2 9999";
    QTest::newRow("ip bytes clamp") << "FD_MACRO_SET_IP_ADDRESS"
                                    << "1 10 1 168 192"
                                    << "1 256 -1 x 300"
                                    << "1 255 0 0 255";
    QTest::newRow("ip with plus sign") << "FD_MACRO_SET_IP_MASK"
                                       << "0 0 255 255 255"
                                       << "+1 +2 3 4 5"
                                       << "1 2 3 4 5";
    QTest::newRow("port address clamps") << "FD_MACRO_SET_PORT_ADDRESS"
                                         << "2 30"
                                         << "1 0"
                                         << "1 1";
    QTest::newRow("port address above") << "FD_MACRO_SET_PORT_ADDRESS"
                                        << "2 30"
                                        << "1 248"
                                        << "1 247";
    QTest::newRow("set clamps every box") << "FD_MACRO_SET"
                                          << "9 2 2 5 6 0 0 0 0 0 0 0 0"
                                          << "0 11 11 -1 65536 x 1 1 1 1 1 1 70000"
                                          << "1 10 10 0 65535 0 1 1 1 1 1 1 65535";
    QTest::newRow("privileges invalid mask") << "FD_MACRO_SET_USER_PRIVILEGES"
                                             << "11 2051"
                                             << "1 many"
                                             << "1 0";
    QTest::newRow("privileges negative mask") << "FD_MACRO_SET_USER_PRIVILEGES"
                                              << "11 2051"
                                              << "1 -1"
                                              << "1 0";
    QTest::newRow("privileges mask high bits") << "FD_MACRO_SET_USER_PRIVILEGES"
                                               << "11 2051"
                                               << "2 1099511627777"
                                               << "2 1";
    QTest::newRow("privileges negative user") << "FD_MACRO_SET_USER_PRIVILEGES"
                                              << "11 2051"
                                              << "-3 1"
                                              << "0 1";
    QTest::newRow("privileges invalid user") << "FD_MACRO_SET_USER_PRIVILEGES"
                                             << "11 2051"
                                             << "admin 1"
                                             << "0 1";
}

void TestMacroDialogs::fieldsConvertedAndClamped()
{
    QFETCH(QString, name);
    QFETCH(QString, preset);
    QFETCH(QString, text);
    QFETCH(QString, params);
    Dialog dialog = open(name);
    QVERIFY(dialog);
    dialog->setMacroParams(preset);
    QCOMPARE(dialog->macroParams(), preset);
    dialog->setMacroParams(text);
    QCOMPARE(dialog->macroParams(), params);
}

void TestMacroDialogs::controlsGiveText_data()
{
    QTest::addColumn<QString>("name");
    // Controls to set, "objectName=value" (a list takes its item text, check boxes 0 or 1).
    QTest::addColumn<QStringList>("controls");
    QTest::addColumn<QString>("params");
    QTest::newRow("privileges administrator 1 2 12")
        << "FD_MACRO_SET_USER_PRIVILEGES"
        << QStringList {"user_number=Administrator", "checkBox_1=1", "checkBox_2=1",
               "checkBox_12=1"}
        << "11 2051";
    QTest::newRow("privileges box 3 is 4")
        << "FD_MACRO_SET_USER_PRIVILEGES" << QStringList {"checkBox_3=1"} << "0 4";
    QTest::newRow("clear signals only alarm")
        << "FD_MACRO_CLEAR_SIGNALS" << QStringList {"trip=0", "interlock=0"} << "1 2";
    QTest::newRow("clear signals only interlock")
        << "FD_MACRO_CLEAR_SIGNALS" << QStringList {"trip=0", "alarm=0"} << "1 4";
    QTest::newRow("ip address 192.168.1.10 on COM 1")
        << "FD_MACRO_SET_IP_ADDRESS"
        << QStringList {"comboBox=COM 1", "firstbyte=192", "secondbyte=168", "thirdbyte=1",
               "fourthbyte=10"}
        << "1 10 1 168 192";
    QTest::newRow("ip gateway on System")
        << "FD_MACRO_SET_IP_GATEWAY"
        << QStringList {"comboBox=System", "firstbyte=10", "fourthbyte=254"} << "5 254 0 0 10";
    QTest::newRow("ip mask on User Interface")
        << "FD_MACRO_SET_IP_MASK" << QStringList {"comboBox=User Interface", "thirdbyte=0"}
        << "4 0 0 255 255";
    QTest::newRow("port settings 115200 even 1 on COM 2")
        << "FD_MACRO_SET_PORT_SETTINGS"
        << QStringList {"com=COM 2", "speed=115200", "parity=Even", "stopbit=1"} << "2 4 2 0";
    QTest::newRow("port settings 1228800 odd 2")
        << "FD_MACRO_SET_PORT_SETTINGS"
        << QStringList {"com=COM S", "speed=1228800", "parity=Odd", "stopbit=2"} << "0 8 1 1";
    QTest::newRow("switch close breaker 3")
        << "FD_MACRO_CONTROL_SWITCH" << QStringList {"type=BREAKER", "no=3", "command=Close"}
        << "1 3 1";
    QTest::newRow("switch truck") << "FD_MACRO_CONTROL_SWITCH" << QStringList {"type=TRUCK"}
                                  << "5 1 0";
    QTest::newRow("counters operation time")
        << "FD_MACRO_CLEAR_COUNTERS" << QStringList {"comboBox=Operation time [h:m]"} << "6";
    QTest::newRow("counters energy")
        << "FD_MACRO_CLEAR_COUNTERS" << QStringList {"comboBox=Energy counters"} << "4";
    QTest::newRow("login producer 42")
        << "FD_MACRO_LOGIN" << QStringList {"comboBox=Producer", "password=42"} << "13 0042";
    QTest::newRow("login user 10")
        << "FD_MACRO_LOGIN" << QStringList {"comboBox=User 10", "password=1000"} << "10 1000";
    QTest::newRow("set of settings 4")
        << "FD_MACRO_SET_ACTIVE_SETofSETTINGS" << QStringList {"comboBox=Settings 4"} << "3";
    QTest::newRow("control autonomous")
        << "FD_MACRO_SET_CONTROL_LR" << QStringList {"comboBox=Autonomous control"} << "3";
    QTest::newRow("protocol IEC 61850 on COM 3")
        << "FD_MACRO_SET_PORT_PROTOCOL" << QStringList {"com=COM 3", "protocol=IEC 61850"} << "3 4";
    QTest::newRow("protocol TKP2")
        << "FD_MACRO_SET_PORT_PROTOCOL" << QStringList {"protocol=TKP2"} << "0 6";
    QTest::newRow("password time")
        << "FD_MACRO_SET_PASSWORD_TIME" << QStringList {"comboBox=COM 2", "no=300"} << "2 300";
    QTest::newRow("port timeout") << "FD_MACRO_SET_PORT_TIMEOUT"
                                  << QStringList {"comboBox=User Interface", "no=50"} << "4 50";
    QTest::newRow("port address") << "FD_MACRO_SET_PORT_ADDRESS"
                                  << QStringList {"comboBox=COM 3", "no=247"} << "3 247";
    QTest::newRow("work mode test")
        << "FD_MACRO_SET_WORK_MODE" << QStringList {"comboBox=Test"} << "3";
    QTest::newRow("active profile")
        << "FD_MACRO_SET_ACTIVE_PROFILE" << QStringList {"no=12"} << "12";
    QTest::newRow("user commands")
        << "FD_MACRO_SET_USER_COMMANDS" << QStringList {"no=4711"} << "4711";
    QTest::newRow("set with two params")
        << "FD_MACRO_SET"
        << QStringList {"macro=63", "specification=1", "params=2", "param_1=4", "param_2=9"}
        << "63 1 2 4 9 0 0 0 0 0 0 0 0";
    QTest::newRow("logout whatever") << "FD_MACRO_LOGOUT" << QStringList() << "";
}

void TestMacroDialogs::controlsGiveText()
{
    QFETCH(QString, name);
    QFETCH(QStringList, controls);
    QFETCH(QString, params);
    Dialog dialog = open(name);
    QVERIFY(dialog);
    for (const QString &control : controls) {
        const QString object = control.section(QLatin1Char('='), 0, 0);
        const QString value = control.section(QLatin1Char('='), 1);
        if (auto *list = dialog->findChild<QComboBox *>(object)) {
            const int index = list->findText(value);
            QVERIFY2(index >= 0, qPrintable(control));
            list->setCurrentIndex(index);
        } else if (auto *spin = dialog->findChild<QSpinBox *>(object)) {
            spin->setValue(value.toInt());
            QCOMPARE(spin->value(), value.toInt());
        } else if (auto *box = dialog->findChild<QCheckBox *>(object)) {
            box->setChecked(value == QLatin1String("1"));
        } else {
            QFAIL(qPrintable(QStringLiteral("no control ") + object));
        }
    }
    QCOMPARE(dialog->macroParams(), params);
}

void TestMacroDialogs::unknownListCodeKept_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("shown");
    QTest::newRow("counter code 7") << "FD_MACRO_CLEAR_COUNTERS"
                                    << "7"
                                    << "comboBox"
                                    << "7";
    QTest::newRow("port code 6") << "FD_MACRO_SET_PORT_ADDRESS"
                                 << "6 12"
                                 << "comboBox"
                                 << "6";
    QTest::newRow("protocol code 8") << "FD_MACRO_SET_PORT_PROTOCOL"
                                     << "1 8"
                                     << "protocol"
                                     << "8";
    QTest::newRow("speed code 9") << "FD_MACRO_SET_PORT_SETTINGS"
                                  << "1 9 0 0"
                                  << "speed"
                                  << "9";
    QTest::newRow("user 14") << "FD_MACRO_SET_USER_PRIVILEGES"
                             << "14 3"
                             << "user_number"
                             << "14";
    QTest::newRow("known code") << "FD_MACRO_SET_PORT_PROTOCOL"
                                << "1 7"
                                << "protocol"
                                << "IEC 60870-5-101";
}

void TestMacroDialogs::unknownListCodeKept()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, list);
    QFETCH(QString, shown);
    Dialog dialog = open(name);
    QVERIFY(dialog);
    QComboBox *combo = child<QComboBox>(*dialog, qPrintable(list));
    QVERIFY(combo);
    const int items = combo->count();
    dialog->setMacroParams(text);
    QCOMPARE(combo->currentText(), shown);
    QCOMPARE(dialog->macroParams(), text);
    // Reading the same text again neither adds a second item nor moves the selection.
    const int afterFirst = combo->count();
    QVERIFY(afterFirst == items || afterFirst == items + 1);
    dialog->setMacroParams(dialog->macroParams());
    QCOMPARE(combo->count(), afterFirst);
    QCOMPARE(dialog->macroParams(), text);
    // The user can still pick a listed item, which then gives its own code.
    combo->setCurrentIndex(1);
    QVERIFY(dialog->macroParams() != text || afterFirst == items);
    dialog->setMacroParams(text);
    QCOMPARE(dialog->macroParams(), text);
}

void TestMacroDialogs::userPrivilegesReadBack_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("user");
    QTest::addColumn<int>("checked"); // bit n-1 set: checkBox_n checked
    QTest::newRow("13 4095") << "13 4095"
                             << "Producer" << 0xfff;
    QTest::newRow("13 4096") << "13 4096"
                             << "Producer" << 0;
    QTest::newRow("11 2051") << "11 2051"
                             << "Administrator" << 2051;
    QTest::newRow("0 1") << "0 1"
                         << "Non-logged in user" << 1;
    QTest::newRow("12 6144") << "12 6144"
                             << "Service" << 2048;
}

void TestMacroDialogs::userPrivilegesReadBack()
{
    QFETCH(QString, text);
    QFETCH(QString, user);
    QFETCH(int, checked);
    Dialog dialog = open(QStringLiteral("FD_MACRO_SET_USER_PRIVILEGES"));
    QVERIFY(dialog);
    dialog->setMacroParams(QStringLiteral("5 1365"));
    dialog->setMacroParams(text);
    QCOMPARE(child<QComboBox>(*dialog, "user_number")->currentText(), user);
    for (int n = 1; n <= 12; ++n) {
        QCheckBox *box
            = child<QCheckBox>(*dialog, qPrintable(QStringLiteral("checkBox_%1").arg(n)));
        QVERIFY(box);
        QCOMPARE(box->text(), QStringLiteral("Prev_%1").arg(n));
        QCOMPARE(box->isChecked(), bool(checked & (1 << (n - 1))));
    }
}

void TestMacroDialogs::loginPasswordAsFourDigits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("password");
    QTest::addColumn<QString>("params");
    QTest::newRow("stored without zeros") << "1 42" << 42 << "1 0042";
    QTest::newRow("stored with zeros") << "1 0042" << 42 << "1 0042";
    QTest::newRow("zero") << "5 0" << 0 << "5 0000";
    QTest::newRow("one digit") << "2 7" << 7 << "2 0007";
    QTest::newRow("three digits") << "2 999" << 999 << "2 0999";
    QTest::newRow("four digits") << "13 1000" << 1000 << "13 1000";
    QTest::newRow("largest") << "11 9999" << 9999 << "11 9999";
}

void TestMacroDialogs::loginPasswordAsFourDigits()
{
    QFETCH(QString, text);
    QFETCH(int, password);
    QFETCH(QString, params);
    Dialog dialog = open(QStringLiteral("FD_MACRO_LOGIN"));
    QVERIFY(dialog);
    dialog->setMacroParams(text);
    QCOMPARE(child<QSpinBox>(*dialog, "password")->value(), password);
    QCOMPARE(dialog->macroParams(), params);
    // The device takes the first four characters of the password field.
    QCOMPARE(dialog->macroParams().section(QLatin1Char(' '), 1).size(), 4);
}

void TestMacroDialogs::macroSetShowsAnnouncedParams_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("shown");
    QTest::newRow("3") << "100 1 3 11 12 13 14 15 16 17 18 19 20" << 3;
    QTest::newRow("0") << "100 1 0 11 12 13 14 15 16 17 18 19 20" << 0;
    QTest::newRow("10") << "100 1 10 11 12 13 14 15 16 17 18 19 20" << 10;
    QTest::newRow("11 clamps to 10") << "100 1 11 11 12 13 14 15 16 17 18 19 20" << 10;
    QTest::newRow("negative") << "100 1 -2 11 12 13 14 15 16 17 18 19 20" << 0;
    QTest::newRow("1") << "100 1 1 11 12 13 14 15 16 17 18 19 20" << 1;
}

void TestMacroDialogs::macroSetShowsAnnouncedParams()
{
    QFETCH(QString, text);
    QFETCH(int, shown);
    Dialog dialog = open(QStringLiteral("FD_MACRO_SET"));
    QVERIFY(dialog);
    dialog->setMacroParams(QStringLiteral("1 1 5 0 0 0 0 0 0 0 0 0 0"));
    dialog->setMacroParams(text);
    for (int n = 1; n <= 10; ++n) {
        QSpinBox *box = child<QSpinBox>(*dialog, qPrintable(QStringLiteral("param_%1").arg(n)));
        QVERIFY(box);
        QCOMPARE(box->isHidden(), n > shown);
        QCOMPARE(box->value(), 10 + n);
    }
    QCOMPARE(dialog->macroParams().section(QLatin1Char(' '), 3),
        QStringLiteral("11 12 13 14 15 16 17 18 19 20"));
}

void TestMacroDialogs::macroSetFollowsParamsBox()
{
    Dialog dialog = open(QStringLiteral("FD_MACRO_SET"));
    QVERIFY(dialog);
    dialog->show();
    QSpinBox *params = child<QSpinBox>(*dialog, "params");
    QVERIFY(params);
    const auto visibleCount = [&]() {
        int visible = 0;
        for (int n = 1; n <= 10; ++n) {
            if (child<QSpinBox>(*dialog, qPrintable(QStringLiteral("param_%1").arg(n)))
                    ->isVisible())
                ++visible;
        }
        return visible;
    };
    QCOMPARE(visibleCount(), 0);
    const int steps[] = {4, 10, 2, 0, 7};
    for (int n : steps) {
        params->setValue(n);
        QCOMPARE(visibleCount(), n);
        QVERIFY(child<QSpinBox>(*dialog, "param_1")->isVisible() == (n > 0));
    }
}

void TestMacroDialogs::description_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("desc");
    QTest::addColumn<QString>("plain");
    QTest::newRow("plain") << "FD_MACRO_LOGIN"
                           << "Log in as admin"
                           << "Log in as admin";
    QTest::newRow("empty") << "FD_MACRO_SET"
                           << ""
                           << "";
    QTest::newRow("lines") << "FD_MACRO_SET_IP_MASK"
                           << "line 1\nline 2"
                           << "line 1\nline 2";
    QTest::newRow("html shown formatted") << "FD_MACRO_CLEAR_COUNTERS"
                                          << "<b>Reset</b> all counters"
                                          << "Reset all counters";
    QTest::newRow("html paragraph") << "FD_MACRO_SET_PORT_SETTINGS"
                                    << "<p>COM 2 &amp; COM 3</p>"
                                    << "COM 2 & COM 3";
    QTest::newRow("angle brackets that are no tag") << "FD_MACRO_SET_WORK_MODE"
                                                    << "<Feeder 3> if I>50 A"
                                                    << "<Feeder 3> if I>50 A";
    QTest::newRow("ampersand") << "FD_MACRO_SET_IP_ADDRESS"
                               << "R&D a<b"
                               << "R&D a<b";
    QTest::newRow("non-ASCII") << "FD_MACRO_SET_DATE_TIME" << QString::fromUtf8("Zegar łącznika")
                               << QString::fromUtf8("Zegar łącznika");
    QTest::newRow("read-only box") << "FD_MACRO_CLEAR_SIGNALS"
                                   << "<i>Trip</i> only"
                                   << "Trip only";
    QTest::newRow("logout") << "FD_MACRO_LOGOUT"
                            << "End of shift"
                            << "End of shift";
}

void TestMacroDialogs::description()
{
    QFETCH(QString, name);
    QFETCH(QString, desc);
    QFETCH(QString, plain);
    Dialog dialog = open(name);
    QVERIFY(dialog);
    const QString params = dialog->macroParams();
    dialog->setMacroDesc(desc);
    QCOMPARE(dialog->macroDesc(), plain);
    QCOMPARE(dialog->macroParams(), params);
    QCOMPARE(dialog->macroHash(), md5Hex((plain + name + params).toUtf8()));
    // Setting the plain text again keeps it.
    dialog->setMacroDesc(dialog->macroDesc());
    QCOMPARE(dialog->macroDesc(), plain);
}

void TestMacroDialogs::hashOfStoredTriple()
{
    // The client compares a dialog preset from a stored request with the fingerprint of the
    // stored texts: an untouched dialog must match, a touched one must not.
    const QString desc = QStringLiteral("Q1 breaker");
    const QString name = QStringLiteral("FD_MACRO_CONTROL_SWITCH");
    const QString param = QStringLiteral("1 3 1");
    const QString stored = fingerprint({desc, name, param});
    Dialog dialog = open(name);
    QVERIFY(dialog);
    dialog->setMacroDesc(desc);
    dialog->setMacroParams(param);
    QCOMPARE(dialog->macroHash(), stored);
    child<QComboBox>(*dialog, "command")->setCurrentIndex(0);
    QVERIFY(dialog->macroHash() != stored);
    child<QComboBox>(*dialog, "command")->setCurrentIndex(1);
    QCOMPARE(dialog->macroHash(), stored);

    // The old password form of a stored login is updated by the first edit.
    Dialog login = open(QStringLiteral("FD_MACRO_LOGIN"));
    login->setMacroDesc(desc);
    login->setMacroParams(QStringLiteral("1 42"));
    QVERIFY(login->macroHash() != fingerprint({desc, QStringLiteral("FD_MACRO_LOGIN"), "1 42"}));
    QCOMPARE(login->macroHash(), fingerprint({desc, QStringLiteral("FD_MACRO_LOGIN"), "1 0042"}));
}

void TestMacroDialogs::clearSignalsDescriptionReadOnly()
{
    Dialog dialog = open(QStringLiteral("FD_MACRO_CLEAR_SIGNALS"));
    QVERIFY(dialog);
    QTextBrowser *desc = dialog->findChild<QTextBrowser *>(QStringLiteral("desc"));
    QVERIFY(desc);
    QVERIFY(desc->isReadOnly());
    QCOMPARE(child<QSpinBox>(*dialog, "no")->minimum(), 1);
    QCOMPARE(child<QSpinBox>(*dialog, "no")->maximum(), 1);
    for (const char *box : {"trip", "alarm", "interlock"})
        QVERIFY(child<QCheckBox>(*dialog, box)->isChecked());
    // Every other dialog lets the user edit the description.
    for (const QString &name : macroDialogNames()) {
        Dialog other = open(name);
        QTextEdit *edit = other->findChild<QTextEdit *>(
            name == QLatin1String("FD_MACRO_SET_PORT_SETTINGS") ? "desc_2" : "desc");
        QVERIFY2(edit, qPrintable(name));
        QCOMPARE(edit->isReadOnly(), name == QLatin1String("FD_MACRO_CLEAR_SIGNALS"));
    }
}

void TestMacroDialogs::baseHasNoParameters()
{
    FD_MACRO base;
    base.setMacroParams(QStringLiteral("1 2"));
    base.setMacroDesc(QStringLiteral("text"));
    QCOMPARE(base.macroName(), QString());
    QCOMPARE(base.macroParams(), QString());
    QCOMPARE(base.macroDesc(), QString());
    QCOMPARE(base.macroHash(), QString());
    for (const char *name : {"FD_MACRO_LOGOUT", "FD_MACRO_SET_DATE_TIME"}) {
        Dialog dialog = open(QLatin1String(name));
        for (const char *text : {"1 2", "2024 01 02 1 10 11 12 123 0", "x", " "}) {
            dialog->setMacroParams(QLatin1String(text));
            QCOMPARE(dialog->macroParams(), QString());
        }
        QVERIFY(dialog->findChildren<QSpinBox *>().isEmpty());
        QVERIFY(dialog->findChildren<QComboBox *>().isEmpty());
    }
}

// Every text a user reads in a dialog: title, group title, labels, list items, box captions.
static QStringList textsOf(const FD_MACRO &dialog)
{
    QStringList texts {dialog.windowTitle()};
    for (const QGroupBox *group : dialog.findChildren<QGroupBox *>())
        texts << group->title();
    for (const QLabel *label : dialog.findChildren<QLabel *>())
        texts << label->text();
    for (const QComboBox *list : dialog.findChildren<QComboBox *>()) {
        for (int i = 0; i < list->count(); ++i)
            texts << list->itemText(i);
    }
    for (const QCheckBox *box : dialog.findChildren<QCheckBox *>())
        texts << box->text();
    return texts;
}

void TestMacroDialogs::polishTexts_data()
{
    QTest::addColumn<QString>("name");
    for (const DialogRow &row : dialogRows)
        QTest::newRow(row.name) << row.name;
}

void TestMacroDialogs::polishTexts()
{
    QFETCH(QString, name);
    // Names of things that read the same in Polish.
    static const QRegularExpression same(QStringLiteral(
        "^([0-9]+|COM [S1-3]|Alarm|Administrator|System|MODBUS (RTU|TCP)|IEC [-0-9.]+|TKP2)$"));
    Dialog english = open(name);
    QTranslator polish;
    QVERIFY(polish.load(QStringLiteral(QEL_MACRODIALOGS_QM)));
    QVERIFY(QCoreApplication::installTranslator(&polish));
    Dialog translated = open(name);
    QCoreApplication::removeTranslator(&polish);
    const QStringList source = textsOf(*english);
    const QStringList target = textsOf(*translated);
    QCOMPARE(target.size(), source.size());
    for (int i = 0; i < source.size(); ++i) {
        QVERIFY2(!target.at(i).isEmpty(), qPrintable(source.at(i)));
        if (!same.match(source.at(i)).hasMatch())
            QVERIFY2(target.at(i) != source.at(i), qPrintable(source.at(i)));
    }
    // The translation changes texts only, never what the dialog writes.
    translated->setMacroParams(english->macroParams());
    QCOMPARE(translated->macroParams(), english->macroParams());
    QCOMPARE(translated->macroName(), english->macroName());
}

QTEST_MAIN(TestMacroDialogs)
#include "tst_macrodialogs.moc"
