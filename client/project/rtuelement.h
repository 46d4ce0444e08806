#pragma once

#include "portelement.h"

namespace Ui {
class rtuElement;
}

// A serial line of the project: port name, baud rate, device address, the
// framing with its byte form ("RTU 8N1", "ASCII 7E1") and description.
class rtuElement : public portElement
{
    Q_OBJECT

public:
    // values are of a serial line.
    explicit rtuElement(const portValues &values = portValues(), QWidget *parent = nullptr);
    ~rtuElement() override;

protected:
    void showValues() override;
    std::optional<rowValues> askValues(userPrompts &prompts) const override;

private:
    Ui::rtuElement *ui;
};
