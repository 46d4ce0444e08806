#pragma once

#include "mainwindow.h"
#include "projectdocument.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMetaObject>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <functional>

// Helpers of the main window tests: project files, the window's lists,
// actions and slots, and the log it writes.

inline QJsonObject tcpPort(quint16 port, bool active = true, const QString &addr = "1")
{
    return {{"active", active}, {"addr", addr}, {"desc", "simulator"}, {"ip", "127.0.0.1"},
        {"port", QString::number(port)}, {"type", "TCP"}};
}

inline QJsonObject rtuPort(const QString &com, bool active = true, const QString &addr = "1",
    const QString &baudrate = "115200")
{
    return {{"active", active}, {"addr", addr}, {"baudrate", baudrate}, {"com", com},
        {"desc", "line"}, {"type", "RTU"}};
}

inline QJsonObject readRequest(const QString &type, const QString &addr,
    const QString &format = QString(), const QString &desc = "r")
{
    return {{"addr", addr}, {"desc", desc}, {"format", format}, {"type", type}};
}

inline QJsonObject writeRequest(
    const QString &type, const QString &addr, const QString &value, const QString &desc = "w")
{
    return {{"addr", addr}, {"desc", desc}, {"type", type}, {"value", value}};
}

inline QJsonObject macroRequest(
    const QString &macro, const QString &param, const QString &desc = "m")
{
    return {{"desc", desc}, {"macro", macro}, {"param", param}};
}

inline QJsonObject project(const QString &name, const QJsonArray &ports, const QJsonArray &reads,
    const QJsonArray &writes = {}, const QJsonArray &macros = {})
{
    return {{"communications", ports}, {"macro", macros}, {"name", name}, {"read", reads},
        {"write", writes}};
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline bool writeProject(const QString &path, const QJsonObject &root)
{
    return writeFile(path, QJsonDocument(root).toJson());
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The element widgets of class T in the window's list of that name, top to
// bottom.
template<class T> QList<T *> rows(const MainWindow &window, const char *layoutName)
{
    QList<T *> list;
    const QBoxLayout *layout = window.findChild<QBoxLayout *>(QLatin1String(layoutName));
    if (!layout)
        return list;
    for (int i = 0; i < layout->count(); ++i)
        if (T *element = qobject_cast<T *>(layout->itemAt(i)->widget()))
            list << element;
    return list;
}

inline QAction *action(const MainWindow &window, const char *name)
{
    return window.findChild<QAction *>(QLatin1String(name));
}

// Calls a slot of the window (the command slots are private) and lets the
// queued work it started run.
inline bool invoke(MainWindow &window, const char *slot)
{
    const bool found
        = QMetaObject::invokeMethod(&window, slot, Qt::DirectConnection, Q_ARG(bool, false));
    QCoreApplication::processEvents();
    return found;
}

// The statistics counters of the status bar: total, errors.
inline QStringList counters(const MainWindow &window)
{
    QStringList texts;
    for (const QLabel *label : window.findChildren<QLabel *>())
        if (label->parentWidget() && label->parentWidget()->inherits("QStatusBar")
            && label->objectName() != QLatin1String("recordingNote"))
            texts << label->text();
    // "  Statistics", "  Total", total, "  Errors", errors, progress
    return texts.size() == 6 ? QStringList {texts.at(2), texts.at(4)} : texts;
}

// Collects what the window writes to its log.
class logRecorder : public QObject
{
public:
    explicit logRecorder(MainWindow &window)
    {
        connect(&window, &MainWindow::logAppended, this,
            [this](const QString &html) { fragments << html; });
    }
    QStringList fragments;
    QString all() const { return fragments.join(QString()); }
    // Lines, each ending where a fragment ends with "<br>".
    QStringList lines() const
    {
        QStringList list;
        QString line;
        for (const QString &fragment : fragments) {
            line += fragment;
            if (fragment.endsWith("<br>")) {
                list << line;
                line.clear();
            }
        }
        if (!line.isEmpty())
            list << line;
        return list;
    }
};

inline const QString okStatus = "<b><font color=\"green\" >OK</font>\n</b><br>";
inline const QString errorStatus = "<b><font color=\"red\" >ERROR</font>\n</b><br>";
// The status of a failed request with its cause.
inline QString errorWith(const QString &cause)
{
    return "<b><font color=\"red\" >ERROR</font>\n</b> " + cause + "<br>";
}

// Answers the next modal window (a dialog or message box run with exec())
// once it is up: looks again every 10 ms, up to 1000 times.
inline void answerModal(std::function<void(QWidget *)> answer, int tries = 1000)
{
    QTimer::singleShot(10, qApp, [answer, tries]() {
        if (QWidget *modal = QApplication::activeModalWidget())
            answer(modal);
        else if (tries > 1)
            answerModal(answer, tries - 1);
    });
}
