#pragma once

#include "macrovalues.h"

#include <QDialog>
#include <QString>

class QDialogButtonBox;
class QTextEdit;

// Base of the macro parameter dialogs. A dialog turns the state of its controls into the
// parameter text of one device macro and reads such a text back; it also carries the free-text
// description of the request, which the base handles. The base itself has no controls: until a
// dialog hands it its description box, its getters return empty texts and its setters do
// nothing.
class FD_MACRO : public QDialog
{
    Q_OBJECT

public:
    explicit FD_MACRO(QWidget *parent = nullptr);
    ~FD_MACRO() override;

    // Catalogue name of the dialog's macro, as the macro driver expects it.
    virtual QString macroName() const;
    // Parameter text: decimal numbers joined by single blanks, built from the controls.
    virtual QString macroParams() const;
    // Content of the description box as plain text.
    virtual QString macroDesc() const;
    // Fingerprint of the request the dialog holds (see macroValues::fingerprint()).
    virtual QString macroHash() const;
    // Sets the controls from a parameter text; a text of the wrong shape changes nothing.
    virtual void setMacroParams(const QString &params);
    // Puts a description into the description box (text that looks like HTML is shown
    // formatted).
    virtual void setMacroDesc(const QString &desc);

    // The request the dialog holds: its macro's name, the parameter text and the
    // description.
    macroValues values() const;
    // Presets the description and the controls from a stored request (its name is the
    // dialog's own).
    void setValues(const macroValues &values);

protected:
    // Finishes the construction of a dialog whose form has been set up: no context-help
    // button in the title bar, OK accepts and Cancel rejects; desc is the description box.
    void connectButtons(QDialogButtonBox *buttons, QTextEdit *desc);
    // Undoes connectButtons() before the form is deleted.
    void disconnectButtons(QDialogButtonBox *buttons);

private:
    QTextEdit *descBox = nullptr;
};
