#pragma once

#include "projectelement.h"

namespace Ui {
class writeElement;
}

// A write request of the project, one row of the "Write" list: data type,
// register address, value and description.
class writeElement : public projectElement
{
    Q_OBJECT

public:
    explicit writeElement(const writeValues &values = writeValues(), QWidget *parent = nullptr);
    ~writeElement() override;

    const writeValues &request() const { return std::get<writeValues>(values()); }

protected:
    void showValues() override;
    std::optional<rowValues> askValues(userPrompts &prompts) const override;

private:
    Ui::writeElement *ui;
};
