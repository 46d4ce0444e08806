#pragma once

#include "projectelement.h"

// A communication port of the project, one row of the "Communications" list.
// Its run button asks to make it the active port, the one all runs use; the
// file object carries whether it is active.
class portElement : public projectElement
{
    Q_OBJECT

public:
    const portValues &line() const { return std::get<portValues>(values()); }

    bool isActive() const override { return activePort; }
    // Marks this port as the active one or not, with the button's icon.
    void setActive(bool active) override;

    // Port values of the row's own kind (serial line or TCP) only.
    bool holds(const rowValues &values) const override;
    QJsonObject toJson() const override;
    void readState(const QJsonObject &object) override;

protected:
    portElement(const portValues &values, QWidget *parent);
    void runPressed() override;

private:
    bool activePort = false;
};
