#pragma once

class QWidget;

// Asks "Del current object ?" with Yes and No; true on Yes.
bool askDeleteElement(QWidget *parent);
