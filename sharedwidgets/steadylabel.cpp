#include "steadylabel.h"

#include <QLabel>

namespace steadyLabel {

void fix(QLabel *label, const QString &widest)
{
    const QString text = label->text();
    label->setText(widest);
    const QSize size = label->sizeHint().expandedTo(label->minimumSize());
    label->setText(text);
    label->setFixedSize(size);
}

void setText(QLabel *label, const QString &text)
{
    label->setText(text);
    // The hint is the new text's; a label that was never fixed follows its
    // text anyway.
    const int needed = label->sizeHint().width();
    if (needed > label->maximumWidth())
        label->setFixedWidth(needed);
}

} // namespace steadyLabel
