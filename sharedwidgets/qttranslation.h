#pragma once

class QTranslator;

// Loads Qt's own texts in Polish (file dialogs, standard buttons, the JSON
// parser's messages) from the translations installed with Qt into
// translator; returns whether they were found.
bool loadQtPolish(QTranslator &translator);
