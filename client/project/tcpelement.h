#pragma once

#include "portelement.h"

namespace Ui {
class tcpElement;
}

// A TCP connection of the project: IP address, TCP port, device address,
// the framing ("MBAP", "RTU", "ASCII" through a gateway, or "TLS") and
// description.
class tcpElement : public portElement
{
    Q_OBJECT

public:
    // Shows the texts of a new TCP row.
    explicit tcpElement(QWidget *parent = nullptr);
    // values are of a TCP connection.
    explicit tcpElement(const portValues &values, QWidget *parent = nullptr);
    ~tcpElement() override;

protected:
    void showValues() override;
    std::optional<rowValues> askValues(userPrompts &prompts) const override;

private:
    Ui::tcpElement *ui;
};
