#pragma once

#include "projectelement.h"

namespace Ui {
class macroElement;
}

// A macro request of the project, one row of the "Macro" list: macro name,
// parameter text and description. It is edited in the parameter dialog of
// its macro; a row whose name no dialog serves opens none.
class macroElement : public projectElement
{
    Q_OBJECT

public:
    explicit macroElement(const macroValues &values = macroValues(), QWidget *parent = nullptr);
    ~macroElement() override;

    const macroValues &request() const { return std::get<macroValues>(values()); }

protected:
    void showValues() override;
    std::optional<rowValues> askValues(userPrompts &prompts) const override;

private:
    Ui::macroElement *ui;
};
