#pragma once

#include "projectelement.h"

namespace Ui {
class macroElement;
}

// A macro request of the project, one row of the "Macro" list: macro name,
// parameter text and description. It is edited in the parameter dialog of
// its macro.
class macroElement : public projectElement
{
    Q_OBJECT

public:
    explicit macroElement(QWidget *parent = nullptr);
    ~macroElement() override;

    QString macro() const { return field(0); }
    QString param() const { return field(1); }
    QString desc() const { return field(2); }
    void setMacro(const QString &macro) { setField(0, macro); }
    void setParam(const QString &param) { setField(1, param); }
    void setDesc(const QString &desc) { setField(2, desc); }

    elementRequest request() const override;
    // The parameter dialog of the row's macro; null when no dialog serves it.
    QDialog *createDialog(QWidget *parent, bool preset) const override;
    QStringList dialogValues(const QDialog *dialog) const override;

private:
    Ui::macroElement *ui;
};
